#include "findingtext.h"
#include "language.h"
#include "programfolder.h"

#include <QRegularExpression>
#include <QTest>

using namespace kq;

namespace {

using Kind = Finding::Kind;

// One finding of every kind, with the arguments the check gives it.
QList<Finding> everyKind()
{
    return {
        {Kind::ScriptCannotRun, 2, StepField::Button1, {"Идти К ab"}},
        {Kind::EndRunsNoAction, 3, StepField::BarFull, {}},
        {Kind::NoWayOut, 0, StepField::None, {}},
        {Kind::NoProjectStyle, -1, StepField::Header, {"7"}},
        {Kind::SilentLoop, 1, StepField::PauseEnd, {"1", "4"}},
        {Kind::SilentLoop, 1, StepField::PauseEnd, {"1"}},
        {Kind::TargetOutside, 0, StepField::Button2, {"50", "4"}},
        {Kind::Unreachable, 5, StepField::None, {}},
        {Kind::NoEnd, -1, StepField::None, {}},
        {Kind::BackFromFirst, 0, StepField::PauseEnd, {}},
        {Kind::ButtonDoesNothing, 1, StepField::Button2, {"Справка"}},
        {Kind::UnknownType, 1, StepField::None, {"7"}},
        {Kind::UnknownIcon, 1, StepField::None, {"9"}},
        {Kind::EndlessLoop, 2, StepField::BarFull, {"2", "5"}},
        {Kind::EndlessLoop, 2, StepField::PauseEnd, {"2"}},
        {Kind::TargetDeleted, 3, StepField::Button2, {}},
        {Kind::WideMessage, 4, StepField::None, {"1280"}},
    };
}

} // namespace

class TestFindingText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void english_data();
    void english();
    void everyKindHasATextInEveryLanguage_data();
    void everyKindHasATextInEveryLanguage();
    void russianNamesTheField();
    void stepLabels();
};

void TestFindingText::initTestCase()
{
    setProgramFolder(QStringLiteral(KQ_SOURCE_DIR "/data"));
}

void TestFindingText::cleanupTestCase()
{
    setProgramFolder(QString());
}

void TestFindingText::english_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("script cannot run")
        << 0
        << "Button 1: the script \"Идти К ab\" cannot be run; the program stops with an "
           "error when it gets here.";
    QTest::newRow("automatic end with no action")
        << 1
        << "Bar-full script is \"Нет\": it runs by itself and the program stops with an "
           "error. Use \"Идти Далее\" or another command.";
    QTest::newRow("loop of two")
        << 4
        << "Steps 1, 4 lead round to one another without showing a window: the program "
           "stops with an error.";
    QTest::newRow("loop of one")
        << 5
        << "This step leads back to itself without showing a window: the program stops "
           "with an error.";
    QTest::newRow("target outside, comma from the file")
        << 6 << "Button 2 goes to step 50, but the last step is 4: the run ends there.";
    QTest::newRow("button does nothing")
        << 10 << "Button 2 \"Справка\" does nothing (\"Нет\"): pressing it leaves the window open.";
    QTest::newRow("no way out: the close box ends the run")
        << 2
        << "Every button of this message does nothing (\"Нет\"): only closing its window ends "
           "the run.";
    QTest::newRow("pauses going round")
        << 13
        << "Steps 2, 5 loop without a window that the user can answer: the run never ends "
           "by itself.";
    QTest::newRow("script that led to a deleted step")
        << 15
        << "Button 2 led to a step that was deleted and now leads to the step that took "
           "its place.";
    QTest::newRow("type") << 11
                          << "Step type 7 is not a message, progress or pause: the program skips "
                             "this step.";
}

void TestFindingText::english()
{
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(languageHeaderValue("english.lang", "GetFile"), QString("english.lang"));
    QCOMPARE(FindingText::text(everyKind().at(index)), expected);
}

void TestFindingText::everyKindHasATextInEveryLanguage_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("russian") << "russian.lang";
    QTest::newRow("english") << "english.lang";
}

void TestFindingText::everyKindHasATextInEveryLanguage()
{
    QFETCH(QString, file);
    QCOMPARE(languageHeaderValue(file, "GetFile"), file);
    QStringList seen;
    for (const Finding &finding : everyKind()) {
        const QString text = FindingText::text(finding);
        // Every placeholder is filled and every argument shows.
        QVERIFY2(!text.isEmpty() && !text.contains(QRegularExpression("ResErr|LangErr|ErrGen")),
                 qPrintable(text));
        QVERIFY2(!text.contains('%'), qPrintable(text));
        // A step leading to itself is the step the list shows the finding at.
        const bool loopOfOne =
            (finding.kind == Kind::SilentLoop || finding.kind == Kind::EndlessLoop) &&
            finding.arguments.size() == 1;
        for (const QString &argument : finding.arguments)
            QVERIFY2(loopOfOne || text.contains(argument), qPrintable(text));
        QVERIFY2(!seen.contains(text), qPrintable(text));
        seen << text;
    }
    // All at once, sharing their lookups, they read as each alone.
    QCOMPARE(FindingText::texts(everyKind()), seen);
}

void TestFindingText::russianNamesTheField()
{
    QCOMPARE(languageHeaderValue("russian.lang", "GetFile"), QString("russian.lang"));
    const Finding finding{Kind::BackFromFirst, 0, StepField::Button1, {}};
    QCOMPARE(FindingText::text(finding),
             QString("Кнопка 1: \"Идти Назад\" на шаге 0 завершает программу."));
    QCOMPARE(FindingText::fieldName(StepField::PauseEnd), QString("Сценарий конца паузы"));
    QCOMPARE(FindingText::fieldName(StepField::Header), QString());
}

void TestFindingText::stepLabels()
{
    QCOMPARE(languageHeaderValue("english.lang", "GetFile"), QString("english.lang"));
    QCOMPARE(FindingText::stepLabel(12), QString("12"));
    QCOMPARE(FindingText::stepLabel(0), QString("0"));
    QCOMPARE(FindingText::stepLabel(-1), QString("Project"));
}

QTEST_GUILESS_MAIN(TestFindingText)
#include "tst_findingtext.moc"
