#include "problemsview.h"

#include "editorlook.h"
#include "findingtext.h"
#include "language.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace kq {

namespace {

constexpr int FindingRole = Qt::UserRole;

QString severityName(Finding::Severity severity)
{
    return languageText(severity == Finding::Severity::Error ? TextId::SeverityError
                                                             : TextId::SeverityWarning);
}

} // namespace

ProblemsView::ProblemsView(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("problems_list"));
    setColumnCount(2);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    // A long text keeps its start and its end (the step and script it names); the row's tooltip
    // holds the whole text.
    setTextElideMode(Qt::ElideMiddle);
    header()->setStretchLastSection(true);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { activate(item); });
    retranslate();
}

void ProblemsView::showFindings(const QList<Finding> &findings)
{
    // The row of the finding the user was on stays selected while that finding is still there.
    const QTreeWidgetItem *current = currentItem();
    const std::optional<Finding> selected =
        current && current->data(0, FindingRole).isValid()
            ? std::optional(mFindings.value(current->data(0, FindingRole).toInt()))
            : std::nullopt;
    mFindings = findings;
    clear();
    // Looked up once for all rows: each lookup checks the language file on disk.
    const QStringList texts = FindingText::texts(findings);
    const QString errorName = severityName(Finding::Severity::Error);
    const QString warningName = severityName(Finding::Severity::Warning);
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < findings.size(); ++i) {
        const Finding &finding = findings.at(i);
        auto *row = new QTreeWidgetItem;
        row->setIcon(0, EditorLook::findingIcon(finding.severity()));
        row->setText(0, FindingText::stepLabel(finding.step));
        row->setToolTip(0,
                        finding.severity() == Finding::Severity::Error ? errorName : warningName);
        row->setData(0, FindingRole, i);
        const QString &text = texts.at(i);
        row->setText(1, text);
        row->setToolTip(1, text);
        rows << row;
    }
    if (rows.isEmpty())
        rows << noProblemsRow();
    addTopLevelItems(rows);
    const qsizetype again = selected ? findings.indexOf(*selected) : -1;
    if (again >= 0)
        setCurrentItem(rows.at(again));
}

void ProblemsView::retranslate()
{
    setHeaderLabels({languageText(TextId::ColumnStep), languageText(TextId::ColumnProblem)});
    showFindings(mFindings);
}

void ProblemsView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        activate(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QTreeWidgetItem *ProblemsView::noProblemsRow()
{
    // Says the check ran and found nothing; it leads nowhere, so it cannot be chosen.
    auto *row = new QTreeWidgetItem;
    row->setText(1, languageText(TextId::NoProblems));
    row->setFlags(Qt::ItemIsEnabled);
    return row;
}

void ProblemsView::activate(QTreeWidgetItem *item)
{
    if (!item->data(0, FindingRole).isValid())
        return;
    const Finding &finding = mFindings.at(item->data(0, FindingRole).toInt());
    emit findingActivated(finding.step, finding.field);
}

} // namespace kq
