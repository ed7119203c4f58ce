#include "projectfile.h"
#include "resourcefiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;
namespace {

// A program folder of its own: a copy of the real runner under the given name.
class ProgramFolder
{
public:
    explicit ProgramFolder(const QString &programName) : mProgram(mDir.filePath(programName))
    {
        QFile::copy(QStringLiteral(KQ_APP_DIR "/Runner/run"), mProgram);
    }

    QString program() const { return mProgram; }
    QString path(const QString &name) const { return mDir.filePath(name); }
    QStringList files() const { return QDir(mDir.path()).entryList(QDir::Files); }

    // Runs the program to its end; returns the exit status, -1 when it did not end normally.
    int run(const QStringList &arguments, QString *errorOutput = nullptr,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) const
    {
        QProcess process;
        process.setWorkingDirectory(mDir.path());
        process.setProcessEnvironment(environment);
        process.start(mProgram, arguments);
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (errorOutput)
            *errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private:
    QTemporaryDir mDir;
    QString mProgram;
};

// A header with the style text and dialogs of a type that shows no window.
void writeData(const QString &path, const QString &style, int dialogs)
{
    ProjectFile file;
    QVERIFY(file.open(path));
    DialogRecord header = DialogRecord::cleared();
    header.text = style;
    QVERIFY(file.write(1, header));
    for (int i = 0; i < dialogs; ++i) {
        DialogRecord record = DialogRecord::cleared();
        record.type = 7;
        record.btnscr1 = record.btnscr2 = QStringLiteral("Выход");
        QVERIFY(file.write(i + 2, record));
    }
}

// A message dialog of style 0 whose both scripts end the run.
DialogRecord messageDialog(const QString &caption)
{
    DialogRecord record = DialogRecord::cleared();
    record.type = DialogRecord::Message;
    record.caption = caption;
    record.text = QStringLiteral("Text");
    record.btn1 = QStringLiteral("OK");
    record.btnscr1 = record.btnscr2 = QStringLiteral("Выход");
    return record;
}

// A private X server for the tests that look at the runner's real windows, on a display
// number of its own choosing; not running when Xvfb or xdotool are not installed.
class XServer
{
public:
    XServer()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return;
        mServer.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("800x600x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        // Xvfb writes its display number once it accepts clients.
        if (mServer.waitForReadyRead(10000))
            mDisplay = u':' + QString::fromLatin1(mServer.readAllStandardOutput().trimmed());
    }
    ~XServer()
    {
        mServer.terminate();
        mServer.waitForFinished(5000);
    }

    bool isRunning() const { return mDisplay.size() > 1; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), mDisplay);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return environment;
    }

    // Presses a key in the first window the process shows, given the focus as a window manager
    // would give it.
    bool pressKey(qint64 pid, const QString &key) const
    {
        const QString window = firstWindowOf(pid);
        return !window.isEmpty() &&
               xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window,
                        QStringLiteral("key"), key})
                   .isEmpty();
    }

    // The title of the first window the process shows, as the window manager reads it.
    QString titleOfWindowOf(qint64 pid) const
    {
        const QString window = firstWindowOf(pid);
        if (window.isEmpty())
            return QStringLiteral("<no window>");
        QString title = xdotool({QStringLiteral("getwindowname"), window});
        return title.endsWith(u'\n') ? title.chopped(1) : title;
    }

private:
    // xdotool gives up with an X error when a window goes while it reads it, as windows of a
    // starting program do: it is asked again.
    QString firstWindowOf(qint64 pid) const
    {
        const QStringList search{QStringLiteral("search"), QStringLiteral("--sync"),
                                 QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                 QString::number(pid)};
        QString window;
        for (int tries = 0; window.isEmpty() && tries < 5; ++tries)
            window = xdotool(search).split(u'\n').value(0);
        return window;
    }

    QString xdotool(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral("xdotool"), arguments);
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
            return {};
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QProcess mServer;
    QString mDisplay;
};

} // namespace

class TestRunProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playsThroughAndEnds_data();
    void playsThroughAndEnds();
    void missingDataFileCreatesNothing();
    void renamedProgramLooksForItsOwnDataFile();
    void faultEndsWithStatusOne_data();
    void faultEndsWithStatusOne();
    void testModeFromTheCommandLineAsGiven_data();
    void testModeFromTheCommandLineAsGiven();
    void missingDataFileNeedsNoDisplay();
    void faultLineEscapesControlCharacters_data();
    void faultLineEscapesControlCharacters();
    void captionIsTheTitle_data();
    void captionIsTheTitle();
    void progressGoingRoundEndsWhenClosed();
};

void TestRunProcess::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(KQ_APP_DIR "/Runner/run")), "the runner is not built");
}

void TestRunProcess::playsThroughAndEnds_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("/editor") << QStringList{"/editor"} << 3 << true;
    QTest::newRow("x /editor") << QStringList{"x", "/editor"} << 3 << true;
    QTest::newRow("/EDITOR") << QStringList{"/EDITOR"} << 3 << false;
    QTest::newRow("/editor x") << QStringList{"/editor", "x"} << 3 << false;
    QTest::newRow("no arguments") << QStringList() << 2 << false;
    QTest::newRow("header only, test mode") << QStringList{"/editor"} << 0 << true;
    QTest::newRow("header only") << QStringList() << 0 << false;
}

void TestRunProcess::playsThroughAndEnds()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, dialogs);
    QFETCH(bool, deleted);
    ProgramFolder folder(QStringLiteral("run"));
    writeData(folder.path(QStringLiteral("run.dll")), QStringLiteral("0"), dialogs);
    QCOMPARE(folder.run(arguments), 0);
    QCOMPARE(QFile::exists(folder.path(QStringLiteral("run.dll"))), !deleted);
}

void TestRunProcess::missingDataFileCreatesNothing()
{
    ProgramFolder folder(QStringLiteral("run"));
    QCOMPARE(folder.run({QStringLiteral("/editor")}), 0);
    QCOMPARE(folder.files(), QStringList{QStringLiteral("run")});
}

void TestRunProcess::renamedProgramLooksForItsOwnDataFile()
{
    ProgramFolder folder(QStringLiteral("test.exe"));
    const QString old = folder.path(QStringLiteral("quiz.dll"));
    writeData(old, QStringLiteral("0"), 1);
    QCOMPARE(folder.run({QStringLiteral("/editor")}), 0);
    QVERIFY(QFile::exists(old));

    QVERIFY(QFile::rename(old, folder.path(QStringLiteral("test.dll"))));
    QCOMPARE(folder.run({QStringLiteral("/editor")}), 0);
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("test.dll"))));
}

void TestRunProcess::faultEndsWithStatusOne_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    DialogRecord header = DialogRecord::cleared();
    header.text = QStringLiteral("стиль");
    QTest::newRow("header not a number")
        << header.toBytes() << "run: the project header holds no project style";
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("short piece only") << QByteArray(300, '1') << QString();
    // Faults name the step as the editor's list numbers it, from 0. A pause of no time ends at
    // once; going back to itself it would run forever unseen.
    DialogRecord pause = DialogRecord::cleared();
    pause.type = DialogRecord::Pause;
    pause.btnscr1 = QStringLiteral("Идти К 00");
    header.text = QStringLiteral("0");
    QTest::newRow("pause of no time going to itself")
        << header.toBytes() + pause.toBytes()
        << "run: step 0: the scripts lead back to it without showing anything, so the run would "
           "never end";
    DialogRecord skipped = DialogRecord::cleared();
    skipped.type = 7;
    pause.btnscr1 = QStringLiteral("Нет");
    QTest::newRow("pause end of no action on the third step")
        << header.toBytes() + skipped.toBytes() + skipped.toBytes() + pause.toBytes()
        << "run: step 2: the script \"Нет\" cannot be run";
    DialogRecord message = DialogRecord::cleared();
    header.text = QStringLiteral("4");
    QTest::newRow("message without a look for the style")
        << header.toBytes() + skipped.toBytes() + message.toBytes()
        << "run: step 1 cannot be shown in project style 4";
    // Timed pauses lead on the same way every time; going round they would never end, and the
    // runner ends the run before the first of them.
    pause.time = 1;
    pause.btnscr1 = QStringLiteral("Идти Далее");
    DialogRecord back = pause;
    back.btnscr1 = QStringLiteral("Идти К 00");
    header.text = QStringLiteral("0");
    QTest::newRow("timed pauses going round")
        << header.toBytes() + pause.toBytes() + back.toBytes()
        << "run: step 0: the scripts lead back to it through pauses, without a window the user "
           "can answer, so the run would never end";
}

void TestRunProcess::faultEndsWithStatusOne()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    ProgramFolder folder(QStringLiteral("run"));
    const QString data = folder.path(QStringLiteral("run.dll"));
    QVERIFY(kq::TestFiles::writeBytes(data, bytes));
    QString errorOutput;
    QCOMPARE(folder.run({QStringLiteral("/editor")}, &errorOutput), 1);
    QVERIFY(QFile::exists(data));
    // Qt may add messages of its own; the runner says what went wrong in one line.
    const QStringList lines =
        errorOutput.split(u'\n').filter(QRegularExpression(QStringLiteral("^run: .+")));
    QCOMPARE(lines.size(), 1);
    if (!line.isEmpty())
        QCOMPARE(lines.constFirst(), line);
}

void TestRunProcess::testModeFromTheCommandLineAsGiven_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("deleted");
    // Qt takes away the options it knows; what the program was given decides.
    QTest::newRow("/editor -reverse") << QStringList{"/editor", "-reverse"} << false;
    QTest::newRow("-reverse /editor") << QStringList{"-reverse", "/editor"} << true;
    QTest::newRow("-style /editor") << QStringList{"-style", "/editor"} << true;
    QTest::newRow("-style fusion /editor") << QStringList{"-style", "fusion", "/editor"} << true;
    QTest::newRow("/editor -style fusion") << QStringList{"/editor", "-style", "fusion"} << false;
}

void TestRunProcess::testModeFromTheCommandLineAsGiven()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, deleted);
    ProgramFolder folder(QStringLiteral("run"));
    writeData(folder.path(QStringLiteral("run.dll")), QStringLiteral("0"), 2);
    QCOMPARE(folder.run(arguments), 0);
    QCOMPARE(QFile::exists(folder.path(QStringLiteral("run.dll"))), !deleted);
}

void TestRunProcess::missingDataFileNeedsNoDisplay()
{
    ProgramFolder folder(QStringLiteral("run"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9999"));
    QString errorOutput;
    QCOMPARE(folder.run({QStringLiteral("/editor")}, &errorOutput, environment), 0);
    QCOMPARE(errorOutput, QString());
}

void TestRunProcess::faultLineEscapesControlCharacters_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("shown");
    QTest::newRow("escape sequence")
        << QByteArray("\x1b]2;owned\x07") << QStringLiteral("\\x1b]2;owned\\x07");
    QTest::newRow("clear screen") << QByteArray("\x1b[2J\x1b[H")
                                  << QStringLiteral("\\x1b[2J\\x1b[H");
    QTest::newRow("line break and delete")
        << QByteArray("a\r\nb\x7f") << QStringLiteral("a\\x0d\\x0ab\\x7f");
    QTest::newRow("C1 control (byte 0x98)") << QByteArray("x\x98y") << QStringLiteral("x\\x98y");
}

void TestRunProcess::faultLineEscapesControlCharacters()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, shown);
    // A pause of no time ends at once with result 1, so its first script runs without a window.
    DialogRecord header = DialogRecord::cleared();
    header.text = QStringLiteral("0");
    DialogRecord pause = DialogRecord::cleared();
    pause.type = DialogRecord::Pause;
    QByteArray bytes = pause.toBytes();
    bytes.replace(592, script.size(), script);

    ProgramFolder folder(QStringLiteral("run"));
    QVERIFY(kq::TestFiles::writeBytes(folder.path(QStringLiteral("run.dll")),
                                      header.toBytes() + bytes));
    QProcess process;
    process.start(folder.program(), {QStringLiteral("/editor")});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 1);
    const QByteArray errorOutput = process.readAllStandardError();
    const QByteArray faultLine = errorOutput.mid(errorOutput.indexOf("run: "));
    QVERIFY2(!faultLine.contains('\x1b') && !faultLine.contains('\x07') &&
                 !faultLine.contains('\r') && !faultLine.contains('\x7f'),
             faultLine.constData());
    QVERIFY2(faultLine.contains(shown.toUtf8()), faultLine.constData());
    QVERIFY(faultLine.endsWith('\n'));
}

void TestRunProcess::captionIsTheTitle_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    // Qt would show the program's name in place of an empty title.
    QTest::newRow("blank") << QString() << QString();
    QTest::newRow("spaces only") << QStringLiteral("    ") << QString();
    QTest::newRow("plain") << QStringLiteral("Warning") << QStringLiteral("Warning");
    // "[*]" is Qt's mark of unsaved changes, which a caption is not.
    QTest::newRow("modification mark")
        << QStringLiteral("Saved [*]") << QStringLiteral("Saved [*]");
}

void TestRunProcess::captionIsTheTitle()
{
    QFETCH(QString, caption);
    QFETCH(QString, title);
    const XServer display;
    if (!display.isRunning())
        QSKIP("Xvfb and xdotool are needed to read a real window's title");

    ProgramFolder folder(QStringLiteral("run"));
    ProjectFile file;
    QVERIFY(file.open(folder.path(QStringLiteral("run.dll"))));
    DialogRecord header = DialogRecord::cleared();
    header.text = QStringLiteral("0");
    QVERIFY(file.write(1, header));
    QVERIFY(file.write(2, messageDialog(caption)));
    file.close();

    QProcess runner;
    runner.setProcessEnvironment(display.environment());
    runner.start(folder.program(), {QStringLiteral("/editor")});
    QVERIFY(runner.waitForStarted());
    const QString shown = display.titleOfWindowOf(runner.processId());
    runner.kill();
    runner.waitForFinished();
    // A blank title is one the window manager shows as blank.
    QCOMPARE(shown.trimmed(), title);
}

// A progress window without a button whose full bar leads back to it would play forever; closing
// it (Esc goes the close box's way) ends the run as a normal end.
void TestRunProcess::progressGoingRoundEndsWhenClosed()
{
    const XServer display;
    if (!display.isRunning())
        QSKIP("Xvfb and xdotool are needed to close a real window");
    ProgramFolder folder(QStringLiteral("run"));
    ProjectFile file;
    QVERIFY(file.open(folder.path(QStringLiteral("run.dll"))));
    DialogRecord header = DialogRecord::cleared();
    header.text = QStringLiteral("0");
    DialogRecord progress = DialogRecord::cleared();
    progress.type = DialogRecord::Progress;
    progress.caption = QStringLiteral("Loop");
    progress.time = 1;
    progress.btnscr2 = QStringLiteral("Идти К 00");
    QVERIFY(file.write(1, header) && file.write(2, progress));
    file.close();

    QProcess runner;
    runner.setProcessEnvironment(display.environment());
    runner.start(folder.program(), {QStringLiteral("/editor")});
    QVERIFY(runner.waitForStarted());
    QVERIFY(display.pressKey(runner.processId(), QStringLiteral("Escape")));
    const bool ended = runner.waitForFinished(5000);
    if (!ended) {
        runner.kill();
        runner.waitForFinished();
    }
    QVERIFY(ended);
    QCOMPARE(runner.exitCode(), 0);
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("run.dll"))));
}

QTEST_GUILESS_MAIN(TestRunProcess)
#include "tst_runprocess.moc"
