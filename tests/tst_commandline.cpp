#include "commandline.h"
#include "language.h"
#include "programfolder.h"

#include <QProcessEnvironment>
#include <QTest>
#include <QTextStream>

using namespace kq;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(kq::CommandLine::Action)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runsWithoutWindow_data();
    void runsWithoutWindow();
    void windowSystemOptionsAreLeftOut_data();
    void windowSystemOptionsAreLeftOut();
    void displayIsNeeded_data();
    void displayIsNeeded();
    void parse_data();
    void parse();
    void wrongLine_data();
    void wrongLine();
    void helpNamesEveryOption_data();
    void helpNamesEveryOption();
    void wrongLineIsOneLineOnStandardError();
    void startupPicture_data();
    void startupPicture();
};

// The command line speaks the language of the settings; these tests read its English.
void TestCommandLine::initTestCase()
{
    setProgramFolder(QStringLiteral(KQ_SOURCE_DIR "/data"));
    QCOMPARE(languageHeaderValue(QStringLiteral("english.lang"), QStringLiteral("GetFile")),
             QStringLiteral("english.lang"));
}

void TestCommandLine::runsWithoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withoutWindow");
    QTest::newRow("nothing") << QStringList() << false;
    QTest::newRow("a file") << QStringList{"quiz.dlg2"} << false;
    QTest::newRow("no splash") << QStringList{"--no-splash", "quiz.dlg2"} << false;
    QTest::newRow("Qt's own option") << QStringList{"-platform", "offscreen"} << false;
    QTest::newRow("check") << QStringList{"--check", "quiz.dlg2"} << true;
    QTest::newRow("build") << QStringList{"--build", "quiz.dlg2", "-o", "quiz"} << true;
    QTest::newRow("build=") << QStringList{"-o", "quiz", "--build=quiz.dlg2"} << true;
    QTest::newRow("help") << QStringList{"--help"} << true;
    QTest::newRow("-h") << QStringList{"-h"} << true;
    QTest::newRow("version") << QStringList{"-v"} << true;
    QTest::newRow("a file named like an option") << QStringList{"--", "--build"} << false;
    // A wrong command line is told without a window, so it needs no display either.
    QTest::newRow("misspelt option") << QStringList{"--chek", "quiz.dlg2"} << true;
    QTest::newRow("two files") << QStringList{"a.dlg2", "b.dlg2"} << true;
    QTest::newRow("output without build") << QStringList{"-o", "x"} << true;
    QTest::newRow("Qt's options around a file")
        << QStringList{"-style", "fusion", "-reverse", "quiz.dlg2", "--platform=xcb"} << false;
}

void TestCommandLine::runsWithoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, withoutWindow);
    // The program's own name comes first and is no option, whatever it looks like.
    QCOMPARE(kq::runsWithoutWindow(QStringList{"--build"} + arguments), withoutWindow);
}

void TestCommandLine::windowSystemOptionsAreLeftOut_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("none") << QStringList{"--check", "a.dlg2"} << QStringList{"--check", "a.dlg2"};
    QTest::newRow("with values") << QStringList{"-platform", "offscreen", "-style=fusion",
                                                "--display", ":1",        "a.dlg2"}
                                 << QStringList{"a.dlg2"};
    QTest::newRow("flags") << QStringList{"-reverse", "--no-splash", "-nograb"}
                           << QStringList{"--no-splash"};
    QTest::newRow("after --") << QStringList{"--", "-style", "x"}
                              << QStringList{"--", "-style", "x"};
    QTest::newRow("the editor's own") << QStringList{"-o", "quiz", "--build", "q.dlg2"}
                                      << QStringList{"-o", "quiz", "--build", "q.dlg2"};
}

void TestCommandLine::windowSystemOptionsAreLeftOut()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, left);
    QCOMPARE(kq::withoutWindowSystemOptions(QStringList{"tavlen"} + arguments),
             QStringList{"tavlen"} + left);
}

void TestCommandLine::displayIsNeeded_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment"); // NAME=value
    QTest::addColumn<bool>("lacking");
    QTest::newRow("nothing set") << QStringList() << QStringList() << true;
    QTest::newRow("X11 display") << QStringList() << QStringList{"DISPLAY=:0"} << false;
    QTest::newRow("Wayland display")
        << QStringList() << QStringList{"WAYLAND_DISPLAY=wayland-0"} << false;
    QTest::newRow("X11 asked for") << QStringList() << QStringList{"QT_QPA_PLATFORM=xcb"} << true;
    QTest::newRow("a list of servers")
        << QStringList() << QStringList{"QT_QPA_PLATFORM=wayland;xcb"} << true;
    QTest::newRow("offscreen") << QStringList()
                               << QStringList{"QT_QPA_PLATFORM=offscreen:size=800x600"} << false;
    QTest::newRow("minimal after a server")
        << QStringList() << QStringList{"QT_QPA_PLATFORM=xcb;minimal"} << false;
    QTest::newRow("-platform") << QStringList{"-platform", "offscreen"} << QStringList() << false;
    QTest::newRow("-platform over the variable")
        << QStringList{"--platform=xcb"} << QStringList{"QT_QPA_PLATFORM=offscreen"} << true;
    QTest::newRow("-display") << QStringList{"-display", ":1", "a.dlg2"} << QStringList() << false;
}

void TestCommandLine::displayIsNeeded()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(bool, lacking);
    QProcessEnvironment given;
    for (const QString &variable : environment)
        given.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    QCOMPARE(kq::lacksDisplay(QStringList{"tavlen"} + arguments, given), lacking);
}

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    // The file, the output and the flags: s no splash, q quiet, p portable, a archive, f force,
    // w web page, W Windows program.
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("editor") << QStringList() << Action::Edit << QStringList{"", "", ""};
    QTest::newRow("editor with a file")
        << QStringList{"quiz.dlg2"} << Action::Edit << QStringList{"quiz.dlg2", "", ""};
    QTest::newRow("no splash") << QStringList{"--no-splash", "quiz.dlg"} << Action::Edit
                               << QStringList{"quiz.dlg", "", "s"};
    QTest::newRow("check") << QStringList{"--check", "quiz.dlg2"} << Action::Check
                           << QStringList{"quiz.dlg2", "", ""};
    QTest::newRow("check quietly") << QStringList{"-q", "--check=quiz.dlg"} << Action::Check
                                   << QStringList{"quiz.dlg", "", "q"};
    QTest::newRow("build") << QStringList{"--build", "quiz.dlg2", "-o", "out/quiz"} << Action::Build
                           << QStringList{"quiz.dlg2", "out/quiz", ""};
    QTest::newRow("build, long output, quiet")
        << QStringList{"--build=quiz.dlg2", "--output=quiz", "-q"} << Action::Build
        << QStringList{"quiz.dlg2", "quiz", "q"};
    QTest::newRow("build by force") << QStringList{"--build", "quiz.dlg2", "-o", "quiz", "--force"}
                                    << Action::Build << QStringList{"quiz.dlg2", "quiz", "f"};
    QTest::newRow("portable") << QStringList{"--build", "quiz.dlg2", "-o", "quiz", "--portable"}
                              << Action::Build << QStringList{"quiz.dlg2", "quiz", "p"};
    QTest::newRow("archive builds portable")
        << QStringList{"--build", "quiz.dlg2", "-o", "quiz", "--archive"} << Action::Build
        << QStringList{"quiz.dlg2", "quiz", "pa"};
    QTest::newRow("web page") << QStringList{"--build", "quiz.dlg2", "-o", "quiz.html", "--web"}
                              << Action::Build << QStringList{"quiz.dlg2", "quiz.html", "w"};
    QTest::newRow("Windows program")
        << QStringList{"--build", "quiz.dlg2", "-o", "quiz.exe", "--windows"} << Action::Build
        << QStringList{"quiz.dlg2", "quiz.exe", "W"};
    QTest::newRow("version") << QStringList{"--version"} << Action::Version
                             << QStringList{"", "", ""};
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QStringList, expected);
    const CommandLine line = parseCommandLine(QStringList{"tavlen"} + arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.file, expected.at(0));
    QCOMPARE(line.output, expected.at(1));
    const QString flags = expected.at(2);
    QCOMPARE(line.noSplash, flags.contains(u's'));
    QCOMPARE(line.quiet, flags.contains(u'q'));
    QCOMPARE(line.portable, flags.contains(u'p'));
    QCOMPARE(line.archive, flags.contains(u'a'));
    QCOMPARE(line.force, flags.contains(u'f'));
    QCOMPARE(line.web, flags.contains(u'w'));
    QCOMPARE(line.windows, flags.contains(u'W'));
}

void TestCommandLine::wrongLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("two files") << QStringList{"a.dlg2", "b.dlg2"} << "b.dlg2 is one too many";
    QTest::newRow("build without output") << QStringList{"--build", "quiz.dlg2"} << "needs -o";
    QTest::newRow("build and a file")
        << QStringList{"--build", "a.dlg2", "-o", "a", "b.dlg2"} << "b.dlg2 is one file too many";
    QTest::newRow("output without build")
        << QStringList{"-o", "quiz", "quiz.dlg2"} << "--output goes with --build";
    QTest::newRow("portable without build")
        << QStringList{"--portable"} << "--portable goes with --build";
    QTest::newRow("archive without build")
        << QStringList{"--archive", "quiz.dlg2"} << "--archive goes with --build";
    QTest::newRow("web without build")
        << QStringList{"--web", "quiz.dlg2"} << "--web goes with --build";
    QTest::newRow("web and portable")
        << QStringList{"--build", "a.dlg2", "-o", "a", "--web", "--portable"} << "give one of them";
    QTest::newRow("web and archive")
        << QStringList{"--build", "a.dlg2", "-o", "a", "--archive", "--web"} << "give one of them";
    QTest::newRow("Windows without build")
        << QStringList{"--windows", "quiz.dlg2"} << "--windows goes with --build";
    for (const char *other : {"--web", "--portable", "--archive"})
        QTest::newRow(qPrintable(QStringLiteral("Windows and %1").arg(other)))
            << QStringList{"--build", "a.dlg2", "-o", "a", "--windows", other}
            << QStringLiteral("--windows and %1 cannot be given together").arg(other);
    QTest::newRow("quiet in the editor") << QStringList{"-q", "quiz.dlg2"} << "--quiet";
    QTest::newRow("check and build")
        << QStringList{"--check", "a.dlg2", "--build", "a.dlg2", "-o", "a"} << "give one of them";
    QTest::newRow("check and a file")
        << QStringList{"--check", "a.dlg2", "b.dlg2"} << "b.dlg2 is one file too many";
    QTest::newRow("check with output")
        << QStringList{"--check", "a.dlg2", "-o", "a"} << "--output goes with --build";
    QTest::newRow("force a check")
        << QStringList{"--check", "a.dlg2", "--force"} << "--force goes with --build";
    QTest::newRow("check with no splash")
        << QStringList{"--check", "a.dlg2", "--no-splash"} << "--no-splash";
    QTest::newRow("build with no splash")
        << QStringList{"--build", "a.dlg2", "-o", "a", "--no-splash"} << "--no-splash";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "bogus";
}

void TestCommandLine::wrongLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const CommandLine line = parseCommandLine(QStringList{"tavlen"} + arguments);
    QCOMPARE(line.action, Action::Wrong);
    QVERIFY2(wrongReason(line).contains(reason), qPrintable(wrongReason(line)));
}

void TestCommandLine::helpNamesEveryOption_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("--help") << "--help";
    QTest::newRow("-h") << "-h";
    QTest::newRow("--help-all") << "--help-all";
}

void TestCommandLine::helpNamesEveryOption()
{
    QFETCH(QString, option);
    const CommandLine line = parseCommandLine({"tavlen", option});
    QCOMPARE(line.action, Action::Help);
    QString printed;
    QTextStream out(&printed);
    QTextStream err(stderr);
    QCOMPARE(runWithoutWindow(line, out, err), 0);
    out.flush();
    for (const char *option :
         {"--check <FILE>", "--build <FILE>", "-o, --output <PROGRAM>", "--force", "--portable",
          "--archive", "--web", "--windows", "--no-splash", "-q, --quiet", "[FILE]"})
        QVERIFY2(printed.contains(QLatin1String(option)), option);
    // Each with its description from the language file, however Qt wraps it.
    printed = printed.simplified();
    QVERIFY(printed.contains(languageText(TextId::HelpWindows)));
    QVERIFY(printed.contains(languageText(TextId::HelpDescription).arg("Kestrane Quorvex")));
}

void TestCommandLine::wrongLineIsOneLineOnStandardError()
{
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    const CommandLine line = parseCommandLine({"tavlen", "--portable"});
    QCOMPARE(runWithoutWindow(line, out, err), int(ExitWrongCommand));
    QCOMPARE(output, QString());
    QCOMPARE(errors.count(u'\n'), 1);
    QVERIFY(errors.startsWith(u"tavlen: --portable goes with --build"));
}

void TestCommandLine::startupPicture_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("shown");
    QTest::newRow("plain start") << QStringList() << "" << true;
    QTest::newRow("plain start, picture on") << QStringList() << "1" << true;
    QTest::newRow("plain start, picture off") << QStringList() << "0" << false;
    QTest::newRow("file from the file manager") << QStringList{"quiz.dlg2"} << "" << false;
    QTest::newRow("--no-splash") << QStringList{"--no-splash"} << "1" << false;
}

void TestCommandLine::startupPicture()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, setting);
    QFETCH(bool, shown);
    const CommandLine line = parseCommandLine(QStringList{"tavlen"} + arguments);
    QCOMPARE(showsStartupPicture(line, setting), shown);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
