#include "editorlook.h"
#include "language.h"
#include "problemsview.h"
#include "programfolder.h"

#include <QSignalSpy>
#include <QTest>

using namespace kq;

namespace {

using Kind = Finding::Kind;

const QList<Finding> Findings{
    {Kind::NoProjectStyle, -1, StepField::Header, {"9"}},
    {Kind::Unreachable, 2, StepField::None, {}},
    {Kind::EndRunsNoAction, 2, StepField::BarFull, {}},
    {Kind::TargetOutside, 4, StepField::Button2, {"50", "4"}},
};

QStringList column(const QTreeWidget &view, int index)
{
    QStringList texts;
    for (int row = 0; row < view.topLevelItemCount(); ++row)
        texts << view.topLevelItem(row)->text(index);
    return texts;
}

} // namespace

class TestProblemsView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void oneRowPerFinding();
    void severityShowsAsIcon();
    void clickingARowActivatesItsFinding_data();
    void clickingARowActivatesItsFinding();
    void enterActivatesTheCurrentRow();
    void refillKeepsTheFindingSelected();
    void retranslateFollowsTheLanguage();
    void noFindingsShowOneRowThatLeadsNowhere();
};

void TestProblemsView::initTestCase()
{
    setProgramFolder(QStringLiteral(KQ_SOURCE_DIR "/data"));
    QCOMPARE(languageHeaderValue("english.lang", "GetFile"), QString("english.lang"));
}

void TestProblemsView::cleanupTestCase()
{
    setProgramFolder(QString());
}

void TestProblemsView::oneRowPerFinding()
{
    ProblemsView view;
    QCOMPARE(view.objectName(), QString("problems_list"));
    QCOMPARE(view.headerItem()->text(0), QString("Step"));
    QCOMPARE(view.headerItem()->text(1), QString("Problem"));
    view.showFindings(Findings);
    QCOMPARE(column(view, 0), QStringList({"Project", "2", "2", "4"}));
    QCOMPARE(view.topLevelItem(1)->text(1), QString("No path from step 0 leads to this step."));
    QVERIFY(view.topLevelItem(3)->text(1).startsWith("Button 2 goes to step 50"));
}

void TestProblemsView::severityShowsAsIcon()
{
    ProblemsView view;
    view.showFindings(Findings);
    const auto picture = [](const QIcon &icon) { return icon.pixmap(16).toImage(); };
    const QImage error = picture(EditorLook::findingIcon(Finding::Severity::Error));
    const QImage warning = picture(EditorLook::findingIcon(Finding::Severity::Warning));
    QVERIFY(error != warning);
    QCOMPARE(picture(view.topLevelItem(0)->icon(0)), error);
    QCOMPARE(picture(view.topLevelItem(1)->icon(0)), warning);
    QCOMPARE(picture(view.topLevelItem(2)->icon(0)), error);
    QCOMPARE(view.topLevelItem(0)->toolTip(0), QString("Error"));
    QCOMPARE(view.topLevelItem(3)->toolTip(0), QString("Warning"));
}

void TestProblemsView::clickingARowActivatesItsFinding_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("step");
    QTest::addColumn<StepField>("field");
    QTest::newRow("project") << 0 << -1 << StepField::Header;
    QTest::newRow("step") << 1 << 2 << StepField::None;
    QTest::newRow("bar full") << 2 << 2 << StepField::BarFull;
    QTest::newRow("button 2") << 3 << 4 << StepField::Button2;
}

void TestProblemsView::clickingARowActivatesItsFinding()
{
    QFETCH(int, row);
    QFETCH(int, step);
    QFETCH(StepField, field);
    ProblemsView view;
    view.resize(500, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.showFindings(Findings);
    QSignalSpy activated(&view, &ProblemsView::findingActivated);
    const QRect rect = view.visualItemRect(view.topLevelItem(row));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), step);
    QCOMPARE(activated.at(0).at(1).value<StepField>(), field);
}

void TestProblemsView::enterActivatesTheCurrentRow()
{
    ProblemsView view;
    view.showFindings(Findings);
    QSignalSpy activated(&view, &ProblemsView::findingActivated);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(activated.size(), 0); // no row yet
    view.setCurrentItem(view.topLevelItem(3));
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Enter);
    QCOMPARE(activated.size(), 2);
    QCOMPARE(activated.at(0).at(0).toInt(), 4);
    QCOMPARE(activated.at(1).at(1).value<StepField>(), StepField::BarFull);
}

void TestProblemsView::refillKeepsTheFindingSelected()
{
    ProblemsView view;
    view.showFindings(Findings);
    view.setCurrentItem(view.topLevelItem(2));
    // The header finding is mended: the bar-full finding moves up a row and stays selected.
    view.showFindings(Findings.mid(1));
    QCOMPARE(view.currentItem(), view.topLevelItem(1));
    // Once it is mended too, nothing is selected.
    view.showFindings({Findings.at(1), Findings.at(3)});
    QVERIFY(!view.currentItem() || !view.currentItem()->isSelected());
}

void TestProblemsView::retranslateFollowsTheLanguage()
{
    ProblemsView view;
    view.showFindings(Findings);
    QCOMPARE(languageHeaderValue("russian.lang", "GetFile"), QString("russian.lang"));
    view.retranslate();
    QCOMPARE(view.headerItem()->text(0), QString("Шаг"));
    QCOMPARE(view.topLevelItem(0)->text(0), QString("Проект"));
    QCOMPARE(view.topLevelItemCount(), Findings.size());
    QCOMPARE(languageHeaderValue("english.lang", "GetFile"), QString("english.lang"));
}

QTEST_MAIN(TestProblemsView)
#include "tst_problemsview.moc"

void TestProblemsView::noFindingsShowOneRowThatLeadsNowhere()
{
    ProblemsView view;
    QSignalSpy activated(&view, &ProblemsView::findingActivated);
    view.showFindings({});
    QCOMPARE(column(view, 1), QStringList{"No problems found"});
    QTreeWidgetItem *row = view.topLevelItem(0);
    QVERIFY(!(row->flags() & Qt::ItemIsSelectable));
    emit view.itemClicked(row, 1);
    view.setCurrentItem(row);
    QTest::keyClick(&view, Qt::Key_Return);
    QVERIFY(activated.isEmpty());

    view.showFindings(Findings);
    QCOMPARE(view.topLevelItemCount(), Findings.size());
}
