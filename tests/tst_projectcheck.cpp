#include "buttonscript.h"
#include "dialogproject.h"
#include "projectcheck.h"
#include "projectio.h"
#include "stepprojects.h"

#include <QDir>
#include <QTest>

using namespace kq;
using namespace kq::StepTest;

namespace {

QString kindName(Finding::Kind kind)
{
    switch (kind) {
    case Finding::Kind::ScriptCannotRun:
        return QStringLiteral("ScriptCannotRun");
    case Finding::Kind::EndRunsNoAction:
        return QStringLiteral("EndRunsNoAction");
    case Finding::Kind::NoWayOut:
        return QStringLiteral("NoWayOut");
    case Finding::Kind::NoProjectStyle:
        return QStringLiteral("NoProjectStyle");
    case Finding::Kind::SilentLoop:
        return QStringLiteral("SilentLoop");
    case Finding::Kind::EndlessLoop:
        return QStringLiteral("EndlessLoop");
    case Finding::Kind::TargetOutside:
        return QStringLiteral("TargetOutside");
    case Finding::Kind::Unreachable:
        return QStringLiteral("Unreachable");
    case Finding::Kind::NoEnd:
        return QStringLiteral("NoEnd");
    case Finding::Kind::BackFromFirst:
        return QStringLiteral("BackFromFirst");
    case Finding::Kind::ButtonDoesNothing:
        return QStringLiteral("ButtonDoesNothing");
    case Finding::Kind::UnknownType:
        return QStringLiteral("UnknownType");
    case Finding::Kind::UnknownIcon:
        return QStringLiteral("UnknownIcon");
    case Finding::Kind::WideMessage:
        return QStringLiteral("WideMessage");
    case Finding::Kind::TargetDeleted:
        return QStringLiteral("TargetDeleted");
    }
    return QStringLiteral("?");
}

QString fieldName(StepField field)
{
    const QStringList names{"-", "button1", "button2", "barfull", "pauseend", "header"};
    return names.at(int(field));
}

// "E 2 button1 ScriptCannotRun [Идти К ab]": severity, step, field, kind and arguments, so a
// failing row shows what the check found.
QStringList describe(const QList<Finding> &findings)
{
    QStringList lines;
    for (const Finding &finding : findings) {
        lines << QStringLiteral("%1 %2 %3 %4 [%5]")
                     .arg(finding.severity() == Finding::Severity::Error ? "E" : "W")
                     .arg(finding.step)
                     .arg(fieldName(finding.field), kindName(finding.kind),
                          finding.arguments.join(u'|'));
    }
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Steps)

class TestProjectCheck : public QObject
{
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void exits_data();
    void exits();
    void closeBox_data();
    void closeBox();
    void countsErrors();
    void shippedSamplesHaveNoErrors_data();
    void shippedSamplesHaveNoErrors();
};

void TestProjectCheck::findings_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("expected");

    const QString zero = QStringLiteral("0");
    const Step quit = message("Выход", Exit);

    QTest::newRow("clean project") << zero
                                   << Steps{message("Да", Next, "Нет", ButtonScript::goTo(2)),
                                            progress(5, "Отмена", Exit, Next), pause(2, Back)}
                                   << QStringList();
    QTest::newRow("clean, skinned style, going on from the last step ends")
        << QStringLiteral(" 1 ") << Steps{message("ОК", Next)} << QStringList();

    // errors
    QTest::newRow("blank button script") << zero << Steps{message("ОК", "", "Выход", Exit)}
                                         << QStringList{"E 0 button1 ScriptCannotRun []"};
    QTest::newRow("go-to target of letters")
        << zero << Steps{message("ОК", "Идти К ab", "Выход", Exit)}
        << QStringList{"E 0 button1 ScriptCannotRun [Идти К ab]"};
    QTest::newRow("no action in small letters is not recognised")
        << zero << Steps{message("Выход", Exit, "Ещё", "нет")}
        << QStringList{"E 0 button2 ScriptCannotRun [нет]"};
    QTest::newRow("progress button with a broken script")
        << zero << Steps{progress(3, "Стоп", "Выйти", Next)}
        << QStringList{"E 0 button1 ScriptCannotRun [Выйти]"};
    QTest::newRow("bar full runs no action") << zero << Steps{progress(3, "Стоп", Exit, No)}
                                             << QStringList{"E 0 barfull EndRunsNoAction []"};
    QTest::newRow("bar of no time runs no action at once")
        << zero << Steps{quit, progress(0, QString(), Exit, "  Нет  ")}
        << QStringList{"W 1 - Unreachable []", "W 1 barfull EndRunsNoAction []"};
    QTest::newRow("pause end runs no action")
        << zero << Steps{pause(1, No), quit}
        << QStringList{"W -1 - NoEnd []", "E 0 pauseend EndRunsNoAction []",
                       "W 1 - Unreachable []"};
    QTest::newRow("pause end blank")
        << zero << Steps{message("Дальше", Next), pause(1, QString())}
        << QStringList{"W -1 - NoEnd []", "E 1 pauseend ScriptCannotRun []"};
    QTest::newRow("both buttons do nothing") << zero << Steps{message("Да", No, "Нет", No)}
                                             << QStringList{"W -1 - NoEnd []", "E 0 - NoWayOut []"};
    QTest::newRow("the only shown button does nothing")
        << zero << Steps{message("ОК", No, "   ", Exit)}
        << QStringList{"W -1 - NoEnd []", "E 0 - NoWayOut []"};
    QTest::newRow("header style 2")
        << QStringLiteral("2") << Steps{quit} << QStringList{"E -1 header NoProjectStyle [2]"};
    QTest::newRow("header style blank")
        << QString() << Steps{quit} << QStringList{"E -1 header NoProjectStyle []"};
    QTest::newRow("header style not a number") << QStringLiteral("стиль") << Steps{quit}
                                               << QStringList{"E -1 header NoProjectStyle [стиль]"};
    QTest::newRow("pause and bar of no time lead round")
        << zero
        << Steps{message("Дальше", Next, "Выход", Exit), pause(0, ButtonScript::goTo(2)),
                 progress(0, "Стоп", Exit, ButtonScript::goTo(1))}
        << QStringList{"E 1 pauseend SilentLoop [1|2]"};
    QTest::newRow("loop reported at its lowest step in run order")
        << zero
        << Steps{message("Дальше", ButtonScript::goTo(3), "Выход", Exit), ofType(7),
                 pause(0, ButtonScript::goTo(1)), pause(-1, ButtonScript::goTo(2))}
        << QStringList{"W 1 - UnknownType [7]", "E 1 - SilentLoop [1|2]"};
    QTest::newRow("pause of no time going to itself")
        << zero << Steps{pause(0, ButtonScript::goTo(0))}
        << QStringList{"W -1 - NoEnd []", "E 0 pauseend SilentLoop [0]"};
    // Timed steps lead on the same way each time: only a window the user answers breaks a circle.
    QTest::newRow("a pause that waits goes round all the same")
        << zero
        << Steps{message("Дальше", Next, "Выход", Exit), pause(0, ButtonScript::goTo(2)),
                 pause(1, ButtonScript::goTo(1))}
        << QStringList{"E 1 pauseend EndlessLoop [1|2]"};
    QTest::newRow("progress without a button going round to itself")
        << zero << Steps{message("Дальше", Next, "Выход", Exit), progress(3, "", Exit, "Идти К 01")}
        << QStringList{"E 1 barfull EndlessLoop [1]"};
    QTest::newRow("progress whose button does nothing going round")
        << zero
        << Steps{message("Дальше", Next, "Выход", Exit), progress(3, "Стоп", No, "Идти К 01")}
        << QStringList{"W 1 button1 ButtonDoesNothing [Стоп]", "E 1 barfull EndlessLoop [1]"};
    QTest::newRow("progress with a working button going round")
        << zero
        << Steps{message("Дальше", Next, "Выход", Exit), progress(3, "Стоп", Exit, "Идти К 01")}
        << QStringList();
    QTest::newRow("error on a step no path reaches is a warning")
        << zero << Steps{quit, message("ОК", "", "Выход", Exit), pause(2, "Идти К 02")}
        << QStringList{"W 1 - Unreachable []", "W 1 button1 ScriptCannotRun []",
                       "W 2 - Unreachable []", "W 2 pauseend EndlessLoop [2]"};

    // warnings
    QTest::newRow("go-to past the last step")
        << zero << Steps{message("Дальше", ButtonScript::goTo(5)), quit}
        << QStringList{"W 0 button1 TargetOutside [5|1]", "W 1 - Unreachable []"};
    QTest::newRow("go-to before the first step")
        << zero << Steps{message("Дальше", "Идти К -1", "Выход", Exit)}
        << QStringList{"W 0 button1 TargetOutside [-1|0]"};
    QTest::newRow("unreachable step")
        << zero << Steps{quit, quit, message("Назад", Back)}
        << QStringList{"W 1 - Unreachable []", "W 2 - Unreachable []"};
    QTest::newRow("no way to end") << zero << Steps{message("Дальше", Next), message("Назад", Back)}
                                   << QStringList{"W -1 - NoEnd []"};
    QTest::newRow("going back from step 0") << zero << Steps{message("Назад", Back, "Дальше", Next)}
                                            << QStringList{"W 0 button1 BackFromFirst []"};
    QTest::newRow("shown button with a caption does nothing")
        << zero << Steps{message("Дальше", Next, "Справка", No)}
        << QStringList{"W 0 button2 ButtonDoesNothing [Справка]"};
    QTest::newRow("progress button does nothing")
        << zero << Steps{progress(4, "Стоп", No, Next)}
        << QStringList{"W 0 button1 ButtonDoesNothing [Стоп]"};
    // Without a display the width is estimated by the kind of each character: 160 wide letters
    // make a window of about 1,760 pixels, 200 narrow ones fit; lines broken in two fit.
    QTest::newRow("message line wider than a screen")
        << zero << Steps{withText(quit, QString(160, u'ш'))}
        << QStringList{"W 0 - WideMessage [1760]"};
    QTest::newRow("wide Latin letters") << zero << Steps{withText(quit, QString(150, u'W'))}
                                        << QStringList{"W 0 - WideMessage [1650]"};
    QTest::newRow("narrow letters")
        << zero << Steps{withText(quit, QString(200, u'i'))} << QStringList();
    QTest::newRow("long text in short lines")
        << zero << Steps{withText(quit, QString(80, u'ш') + "\r\n" + QString(80, u'ш'))}
        << QStringList();
    QTest::newRow("a progress text is cut, not widened")
        << zero << Steps{withText(progress(2, QString(), Exit, Exit), QString(160, u'ш'))}
        << QStringList();
    QTest::newRow("type the runner skips")
        << zero << Steps{ofType(-3), quit} << QStringList{"W 0 - UnknownType [-3]"};
    QTest::newRow("icon without a picture")
        << zero << Steps{withIcon(quit, 6)} << QStringList{"W 0 - UnknownIcon [6]"};
    QTest::newRow("negative icon on a progress step")
        << zero << Steps{withIcon(progress(2, QString(), No, Next), -1)}
        << QStringList{"W 0 - UnknownIcon [-1]"};

    // what the runner never runs is not checked
    QTest::newRow("hidden second button")
        << zero << Steps{message("ОК", Next, "", "abc")} << QStringList();
    QTest::newRow("progress button of no caption")
        << zero << Steps{progress(2, "  ", "abc", Next)} << QStringList();
    QTest::newRow("button of a bar of no time never shows")
        << zero << Steps{progress(0, "Стоп", No, Next)} << QStringList();
    QTest::newRow("blank button doing nothing")
        << zero << Steps{message("", No, "Выход", Exit)} << QStringList();
    QTest::newRow("pause keeps whatever icon")
        << zero << Steps{withIcon(pause(1, Next), 9)} << QStringList();
    QTest::newRow("skipped type ignores its scripts")
        << zero << Steps{{qint16(5), "ОК", No, "", No}} << QStringList{"W 0 - UnknownType [5]"};
}

void TestProjectCheck::findings()
{
    QFETCH(QString, style);
    QFETCH(Steps, steps);
    QFETCH(QStringList, expected);
    QCOMPARE(describe(ProjectCheck::check(makeProject(steps, style))), expected);
}

void TestProjectCheck::exits_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QStringList>("expected");
    // Three steps; the step under test is number 1.
    QTest::newRow("message, two buttons") << message("Да", Next, "Нет", Back)
                                          << QStringList{"button1 Да Step 2", "button2 Нет Step 0"};
    QTest::newRow("message, go-to and exit")
        << message("К началу", ButtonScript::goTo(0), "Выход", "выход")
        << QStringList{"button1 К началу Step 0", "button2 Выход Exit -1"};
    QTest::newRow("message, off the list")
        << message("Далеко", ButtonScript::goTo(9)) << QStringList{"button1 Далеко OffList 9"};
    QTest::newRow("message, no action") << message("", No) << QStringList{"button1  Stays -1"};
    QTest::newRow("progress with button") << progress(2, "Стоп", Exit, Next)
                                          << QStringList{"button1 Стоп Exit -1", "barfull  Step 2"};
    QTest::newRow("progress of no time")
        << progress(0, "Стоп", Exit, "xx") << QStringList{"barfull  Fault -1"};
    QTest::newRow("pause") << pause(3, Back) << QStringList{"pauseend  Step 0"};
    QTest::newRow("skipped type") << ofType(3) << QStringList{"-  Step 2"};
}

void TestProjectCheck::exits()
{
    QFETCH(Step, step);
    QFETCH(QStringList, expected);
    const QStringList leads{"Step", "Exit", "OffList", "Stays", "Fault"};
    const DialogProject project = makeProject({message("a", Next), step, message("b", Next)});
    QStringList found;
    for (const StepExit &exit : StepFlow::exits(project, 1)) {
        found << QStringLiteral("%1 %2 %3 %4")
                     .arg(fieldName(exit.field), exit.caption, leads.at(int(exit.leads)))
                     .arg(exit.target);
    }
    QCOMPARE(found, expected);
}

void TestProjectCheck::closeBox_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("expected");
    QTest::newRow("message, one button") << message("Да", Next) << "Button1";
    QTest::newRow("message, two buttons") << message("Да", Next, "Нет", Back) << "Button2";
    QTest::newRow("message, blank second caption") << message("Да", Next, "  ", Back) << "Button1";
    QTest::newRow("message, last button does nothing")
        << message("Да", Next, "Нет", " " + No + " ") << "EndRun";
    QTest::newRow("message, only button does nothing") << message("Да", No) << "EndRun";
    QTest::newRow("progress with button") << progress(2, "Стоп", No, Next) << "Button1";
    QTest::newRow("progress without button") << progress(2, " ", Exit, Next) << "Ignored";
    QTest::newRow("pause") << pause(3, Next) << "Ignored";
    QTest::newRow("skipped type") << ofType(3) << "Ignored";
}

void TestProjectCheck::closeBox()
{
    QFETCH(Step, step);
    QFETCH(QString, expected);
    const QStringList names{"Button1", "Button2", "EndRun", "Ignored"};
    const DialogProject project = makeProject({step});
    QCOMPARE(names.at(int(StepFlow::closeBox(project.record(1)))), expected);
}

void TestProjectCheck::countsErrors()
{
    const QList<Finding> findings = ProjectCheck::check(
        makeProject({message("Да", No, "Нет", No), pause(1, No)}, QStringLiteral("5")));
    // Header and the trapped message are errors; the unreachable pause, its end (which no run
    // can reach) and the missing end are warnings.
    QCOMPARE(findings.size(), 5);
    QCOMPARE(ProjectCheck::errorCount(findings), 2);
    QCOMPARE(ProjectCheck::errorCount({}), 0);
}

void TestProjectCheck::shippedSamplesHaveNoErrors_data()
{
    QTest::addColumn<QString>("path");
    const QDir samples(QStringLiteral(KQ_SOURCE_DIR "/data/Samples"));
    const QStringList files = samples.entryList({"*.dlg2", "*.dlg"}, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 7);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << samples.filePath(file);
}

void TestProjectCheck::shippedSamplesHaveNoErrors()
{
    QFETCH(QString, path);
    DialogProject project;
    QString error;
    const bool loaded = path.endsWith(".dlg2")
                            ? ProjectIO::loadProjectFile(project, path, &error)
                            : ProjectIO::importLegacyProject(project, path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QVERIFY(project.dialogCount() > 0);
    const QList<Finding> findings = ProjectCheck::check(project);
    QVERIFY2(ProjectCheck::errorCount(findings) == 0, qPrintable(describe(findings).join(u'\n')));
}

QTEST_GUILESS_MAIN(TestProjectCheck)
#include "tst_projectcheck.moc"
