#include "projectstylebox.h"

#include "localizecontrols.h"
#include "optionrow.h"
#include "projectdocument.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kq {

ProjectStyleBox::ProjectStyleBox(ProjectDocument &document, QWidget *parent)
    : AreaFrame(QStringLiteral("projectbox"), parent), mDocument(document)
{
    auto *title = new QLabel(this);
    setCaptionId(title, TextId::ProjectStyle);
    title->setObjectName(QStringLiteral("Label10"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(4);
    layout->addWidget(title);
    mOptions =
        new OptionRow(QStringLiteral("prj_st"), {TextId::StyleSystem, TextId::StyleSkinned}, this);
    connect(mOptions, &OptionRow::chosen, this, &ProjectStyleBox::selectStyle);
    layout->addLayout(mOptions);
    layout->addStretch(1);
    // The box itself takes no focus; whoever focuses it (a finding about the header) lands on
    // the first style.
    setFocusProxy(mOptions->option(0));

    connect(&mDocument, &ProjectDocument::recordChanged, this, [this](int index) {
        if (index == 0)
            showHeader();
    });
    connect(&mDocument, &ProjectDocument::projectReplaced, this, &ProjectStyleBox::showHeader);
    showHeader();
}

void ProjectStyleBox::selectStyle(int style)
{
    mDocument.commitPendingEdits();
    mDocument.setStyle(style);
    showHeader();
}

void ProjectStyleBox::showHeader()
{
    mOptions->showOption(mDocument.record(0).projectStyle().value_or(-1));
}

} // namespace kq
