#include "optionrow.h"

#include "localizecontrols.h"

#include <QRadioButton>
#include <QSignalBlocker>

namespace kq {

OptionRow::OptionRow(const QString &name, std::initializer_list<TextId> ids, QWidget *parent)
{
    setSpacing(6);
    for (const TextId id : ids) {
        const int index = int(mOptions.size());
        auto *option = new QRadioButton(parent);
        setCaptionId(option, id);
        option->setObjectName(name + QString::number(index));
        option->setAutoFillBackground(true);
        connect(option, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                emit chosen(index);
        });
        addWidget(option);
        mOptions << option;
    }
    addStretch(1);
}

void OptionRow::showOption(int index)
{
    for (QRadioButton *option : std::as_const(mOptions)) {
        const QSignalBlocker blocker(option);
        // A group whose buttons exclude each other cannot show no selection.
        option->setAutoExclusive(false);
        option->setChecked(false);
    }
    if (index >= 0 && index < count()) {
        const QSignalBlocker blocker(mOptions.at(index));
        mOptions.at(index)->setChecked(true);
    }
    for (QRadioButton *option : std::as_const(mOptions))
        option->setAutoExclusive(true);
}

} // namespace kq
