#pragma once

#include <QString>

class QFrame;
class QWidget;

namespace kq::mainwindow {

// A framed area of the window with its own background.
QFrame *panel(const QString &name, QWidget *parent);
// The same look for a frame that is a view class of its own.
void setUpPanel(QFrame *frame, const QString &name);

} // namespace kq::mainwindow

#include <QHBoxLayout>
#include <QRadioButton>

#include <initializer_list>
#include <span>

class QKeyEvent;
class QLineEdit;

namespace kq::mainwindow {

// A row of option buttons "<name>0", "<name>1", ...; chosen runs when the user selects one, so
// a click on the option that is already selected changes nothing.
template <typename Chosen>
QHBoxLayout *optionRow(std::span<QRadioButton *> options, const QString &name,
                       std::initializer_list<const char *> ids, QWidget *parent, Chosen chosen)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    int index = 0;
    for (const char *id : ids) {
        auto *option = new QRadioButton(QLatin1String(id), parent);
        option->setObjectName(name + QString::number(index));
        option->setAutoFillBackground(true);
        QObject::connect(option, &QRadioButton::toggled, parent, [chosen, index](bool on) {
            if (on)
                chosen(index);
        });
        row->addWidget(option);
        options[index++] = option;
    }
    row->addStretch(1);
    return row;
}

// Shows option index (or none for an index outside the row) without running its handler.
void showOption(std::span<QRadioButton *const> options, int index);

// The key filter of the time box and the script argument box: digits and Backspace pass, any
// other typed key is swallowed with a beep. True when the key is swallowed.
bool filterDigitKey(QLineEdit *box, QKeyEvent *event, bool zeroWhenEmpty);

// A line edit of the panel: fixed-pitch, limited to the width of its record field.
QLineEdit *textBox(const QString &name, int maxLength, QWidget *parent);

} // namespace kq::mainwindow
