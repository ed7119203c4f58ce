#include "projectstylebox.h"

#include "mainwindow_helpers.h"
#include "projectdocument.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kq {

ProjectStyleBox::ProjectStyleBox(ProjectDocument &document, QWidget *parent)
    : QFrame(parent), mDocument(document)
{
    mainwindow::setUpPanel(this, QStringLiteral("projectbox"));
    auto *title = new QLabel(QStringLiteral("%0111"), this);
    title->setObjectName(QStringLiteral("Label10"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(4);
    layout->addWidget(title);
    layout->addLayout(mainwindow::optionRow(mOptions, QStringLiteral("prj_st"), {"%0123", "%0124"},
                                            this, [this](int style) { selectStyle(style); }));
    layout->addStretch(1);
    // The box itself takes no focus; whoever focuses it (a finding about the header) lands on
    // the first style.
    setFocusProxy(mOptions[0]);

    connect(&mDocument, &ProjectDocument::recordChanged, this, [this](int index) {
        if (index == 0)
            showHeader();
    });
    connect(&mDocument, &ProjectDocument::projectReplaced, this, &ProjectStyleBox::showHeader);
    showHeader();
}

void ProjectStyleBox::selectStyle(int style)
{
    emit aboutToEdit();
    mDocument.setStyle(style);
    showHeader();
}

void ProjectStyleBox::showHeader()
{
    mainwindow::showOption(mOptions, mDocument.record(0).projectStyle().value_or(-1));
}

} // namespace kq
