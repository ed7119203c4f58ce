// The Windows program plays a project exactly as the runner does. Each case is played twice with
// the same presses: through the runner's own step loop with its real windows, and as a built
// Windows program under Wine on an X server of the test's own, the program taking its presses
// from standard input and writing what its windows show (its test switch). Both must show the
// same windows in the same order and end the same way. Every case runs in both project styles.

#include "runnerplay.h"
#include "tableformat.h"
#include "virtualdisplay.h"
#include "windowsprogrambuilder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using namespace kq;
using namespace kq::RunnerPlay;

namespace {

const WindowsProgramWords Words{QStringLiteral("Программа остановлена: %1")};
// The program says nothing when its run ends.
const QString Ended;
const QString WineProgram = QStringLiteral("/usr/bin/wine");
const QString PlayerProgram = QStringLiteral(KQ_APP_DIR "/Runner/windows-player.exe");
// Made once and kept under the build folder: making a prefix takes Wine a while.
const QString Prefix = QStringLiteral(KQ_BINARY_DIR "/tests/wine-prefix");

// Dark pixels of a window's picture: letters and frames.
bool dark(const QImage &window, int x, int y)
{
    return qGray(window.pixel(x, y)) < 96;
}

bool rowHasInk(const QImage &window, int y)
{
    for (int x = 0; x < window.width(); ++x) {
        if (dark(window, x, y))
            return true;
    }
    return false;
}

// A row of the caption bar that Wine draws itself: mostly blue.
bool captionRow(const QImage &window, int y)
{
    int blue = 0;
    for (int x = 0; x < window.width(); ++x) {
        const QRgb pixel = window.pixel(x, y);
        blue += qBlue(pixel) > qRed(pixel) + 40 ? 1 : 0;
    }
    return blue > window.width() / 2;
}

// The rows of the first band of dark pixels below the caption bar: the first line of the text,
// where it stands alone (the icon box is empty, the buttons lie below).
QPair<int, int> firstLineRows(const QImage &window)
{
    int y = 0;
    while (y < window.height() && !captionRow(window, y))
        ++y;
    while (y < window.height() && captionRow(window, y))
        ++y;
    while (y < window.height() && !rowHasInk(window, y))
        ++y;
    const int top = y;
    while (y < window.height() && rowHasInk(window, y))
        ++y;
    return {top, y};
}

// The rightmost dark pixel in the rows.
int rightmostInk(const QImage &window, QPair<int, int> rows)
{
    int right = -1;
    for (int y = rows.first; y < rows.second; ++y) {
        for (int x = 0; x < window.width(); ++x) {
            if (dark(window, x, y))
                right = std::max(right, x);
        }
    }
    return right;
}

// What the program wrote with its test or trace switch: one event a line.
QJsonArray eventsOf(const QByteArray &out)
{
    QJsonArray events;
    for (const QByteArray &line : out.split('\n')) {
        if (!line.trimmed().isEmpty())
            events.append(QJsonDocument::fromJson(line).array());
    }
    return events;
}

// Wine with a prefix of the test's own, showing its windows on the test's X server. Its
// windows are left to nobody: without a window manager Wine would wait for one to take each
// window away.
class Wine
{
public:
    explicit Wine(const QByteArray &display)
    {
        mEnvironment = QProcessEnvironment::systemEnvironment();
        mEnvironment.insert(QStringLiteral("WINEPREFIX"), Prefix);
        mEnvironment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        // No offer to install Mono or Gecko while the prefix is made.
        mEnvironment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
        mEnvironment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        mEnvironment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }

    ~Wine() { run({QStringLiteral("wineserver"), QStringLiteral("-k")}, {}); }

    QString prepare()
    {
        const QString ready = QDir(Prefix).filePath(QStringLiteral("kq-ready"));
        if (QFile::exists(ready))
            return {};
        QDir(Prefix).removeRecursively();
        const QStringList unmanaged{
            WineProgram,           QStringLiteral("reg"),
            QStringLiteral("add"), QStringLiteral("HKCU\\Software\\Wine\\X11 Driver"),
            QStringLiteral("/v"),  QStringLiteral("Managed"),
            QStringLiteral("/d"),  QStringLiteral("N"),
            QStringLiteral("/f")};
        if (run({QStringLiteral("wineboot"), QStringLiteral("--init")}, {}).exitCode != 0 ||
            run(unmanaged, {}).exitCode != 0)
            return QStringLiteral("Wine cannot make its prefix in ") + Prefix;
        QFile mark(ready);
        mark.open(QIODevice::WriteOnly);
        return {};
    }

    struct Ran
    {
        int exitCode = -1;
        QByteArray out;
    };

    Ran run(const QStringList &command, const QByteArray &input) const
    {
        QProcess process;
        process.setProcessEnvironment(mEnvironment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(command.constFirst(), command.mid(1));
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput()};
    }

    QProcessEnvironment environment() const { return mEnvironment; }

    // The picture of the program's first window, taken from the X server once it shows.
    QImage firstWindow(const QString &program, const QString &caption) const
    {
        QProcess played;
        played.setProcessEnvironment(mEnvironment);
        played.start(WineProgram, {program});
        const Ran found =
            run({QStringLiteral("xdotool"), QStringLiteral("search"), QStringLiteral("--sync"),
                 QStringLiteral("--onlyvisible"), QStringLiteral("--name"), '^' + caption + '$'},
                {});
        // Drawn a moment after it is mapped.
        QTest::qWait(500);
        const Ran shot = run({QStringLiteral("import"), QStringLiteral("-window"),
                              QString::fromLatin1(found.out.trimmed().split('\n').value(0)),
                              QStringLiteral("png:-")},
                             {});
        played.kill();
        played.waitForFinished();
        return QImage::fromData(shot.out, "PNG");
    }

    // What the program showed when given the presses.
    QJsonArray play(const QString &program, const QStringList &presses) const
    {
        const QByteArray input = presses.join(u'\n').toUtf8() + '\n';
        const QStringList command{WineProgram, program,
                                  QString::fromWCharArray(WindowsTable::TestSwitch)};
        const QByteArray given = presses.isEmpty() ? QByteArray() : input;
        Ran ran = run(command, given);
        // Now and then, on a busy machine, Wine starts no program at all and prints nothing; a
        // program that starts always shows its first step. Such a start is tried once more.
        if (ran.out.isEmpty())
            ran = run(command, given);
        return eventsOf(ran.out);
    }

private:
    QProcessEnvironment mEnvironment;
};

// The case in the other project style, where it has one.
std::optional<Case> inOtherStyle(const Case &sample)
{
    const QString style = sample.project.record(0).text.trimmed();
    if (style != u"0" && style != u"1")
        return std::nullopt;
    Case other{sample.name + QStringLiteral(" (other style)"), sample.project, sample.presses};
    other.project.record(0).text = style == u"0" ? QStringLiteral("1") : QStringLiteral("0");
    return other;
}

// Texts that a program reading them as a format, markup or resource would act on.
Case formatTexts()
{
    DialogProject project =
        makeProject({message("%s%n&%1", Next, "%x&%%", Back), message("%d", "Идти К %1%s")});
    project.record(1).caption = QStringLiteral("%s%s%s%n %1 {0}");
    project.record(1).text = QStringLiteral("%n%n%n%s\r\n%ls %1 %2 \\n \\x00 $(x) &&");
    project.record(2).caption = QStringLiteral("#32770 %p");
    return {QStringLiteral("texts that look like formats"), project, {"1", "1"}};
}

// 99 steps with the longest texts a step may hold, each going on to the next.
Case longestTexts()
{
    Steps steps;
    QStringList presses;
    for (int i = 0; i < 99; ++i) {
        steps << message(QString(DialogRecord::ButtonWidth, u'Ж'), Next,
                         QString(DialogRecord::ButtonWidth, u'щ'), Exit);
        presses << (i % 3 == 0 ? QStringLiteral("enter") : QStringLiteral("1"));
    }
    DialogProject project = makeProject(steps);
    for (int i = 1; i <= 99; ++i) {
        DialogRecord &record = project.record(i);
        record.caption = QString(DialogRecord::CaptionWidth, u'Ё');
        // Lines, so that the window stays on the screen, filling the whole field.
        QString text;
        while (text.size() + 40 <= DialogRecord::TextWidth)
            text += QString(38, u'ы') + QStringLiteral("\r\n");
        record.text = text + QString(DialogRecord::TextWidth - text.size(), u'ж');
    }
    return {QStringLiteral("99 steps of the longest texts"), project, presses};
}

} // namespace

class TestWindowsProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playsAsRunner_data();
    void playsAsRunner();
    void playsByKeysAndClock_data();
    void playsByKeysAndClock();
    void showsTheWholeText_data();
    void showsTheWholeText();

private:
    QTemporaryDir mDir;
    std::unique_ptr<EditorTest::VirtualDisplay> mDisplay;
    std::unique_ptr<Wine> mWine;
    QMap<QString, QPair<QJsonArray, QJsonArray>> mPlayed; // runner, program
    QStringList mNames;
};

void TestWindowsProgram::initTestCase()
{
    if (!QFile::exists(WineProgram))
        QSKIP("needs Wine (the Debian packages wine and wine64; make deps installs them): the "
              "Windows program is not played");
    QVERIFY2(QFile::exists(PlayerProgram), "the Windows player was not built: it needs the Debian "
                                           "package g++-mingw-w64-x86-64 (make deps installs it)");
    QVERIFY(mDir.isValid());
    mDisplay = std::make_unique<EditorTest::VirtualDisplay>();
    QVERIFY2(!mDisplay->name().isEmpty(), "Xvfb did not start");
    mWine = std::make_unique<Wine>(mDisplay->name());
    const QString problem = mWine->prepare();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    QList<Case> cases = shippedSamples() + craftedProjects();
    cases << formatTexts() << longestTexts();
    for (qsizetype i = 0, count = cases.size(); i < count; ++i) {
        if (const std::optional<Case> other = inOtherStyle(cases.at(i)))
            cases << *other;
    }
    for (int i = 0; i < cases.size(); ++i) {
        Case &sample = cases[i];
        const QJsonArray runner =
            playInRunner(sample, quint32(i + 1), mDir.path(), Ended, Words.stopped);
        const QString program = mDir.filePath(QStringLiteral("case%1.exe").arg(i));
        QString error;
        QVERIFY2(WindowsProgramBuilder(sample.project, Words).write(program, PlayerProgram, &error),
                 qPrintable(error));
        mPlayed.insert(sample.name, {runner, mWine->play(program, sample.presses)});
        mNames << sample.name;
    }
}

void TestWindowsProgram::playsAsRunner_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : std::as_const(mNames))
        QTest::newRow(qPrintable(name)) << name;
}

void TestWindowsProgram::playsAsRunner()
{
    QFETCH(QString, name);
    const QStringList program = lines(mPlayed.value(name).second);
    const QStringList runner = lines(mPlayed.value(name).first);
    if (program != runner)
        qWarning().noquote() << "program:\n"
                             << program.join(u'\n') << "\nrunner:\n"
                             << runner.join(u'\n');
    QCOMPARE(program, runner);
}

// Keys pressed on the X server reach the program's windows as a user's would, and its own
// clock ends pauses and bars: the program takes no presses but the keys, writing what it shows
// (its trace switch), and shows what the runner shows for the same presses.
void TestWindowsProgram::playsByKeysAndClock_data()
{
    QTest::addColumn<DialogProject>("project");
    QTest::addColumn<QStringList>("presses"); // the runner's
    QTest::addColumn<QStringList>("keys");    // xdotool's, each after "@" the lines shown first
    QTest::addColumn<int>("least");           // milliseconds the clock takes at the least
    QTest::newRow("Enter, Alt with a key, Tab, Esc")
        << makeProject({message("&Yes", Next, "&No", Back),
                        message("&First", ButtonScript::goTo(0), "Se&cond", Next),
                        message("&Last", Exit)})
        << QStringList{"enter", "alt:C", "tab", "esc"}
        << QStringList{"Return@1", "alt+c@2", "Tab@3", "Escape@3"} << 0;
    // A pause of a second, then a bar of a hundred and one ticks of 10 ms.
    QTest::newRow("a pause and a bar end by themselves")
        << makeProject({pause(1, Next), progress(1, "", Exit, Next), message("&Last", Exit)})
        << QStringList{"wait", "esc"} << QStringList{"Escape@3"} << 2010;
}

void TestWindowsProgram::playsByKeysAndClock()
{
    QFETCH(DialogProject, project);
    QFETCH(QStringList, presses);
    QFETCH(QStringList, keys);
    QFETCH(int, least);
    for (int i = 1; i <= project.dialogCount(); ++i)
        project.record(i).caption = QStringLiteral("Window%1").arg(i);
    Case sample{QStringLiteral("keys and clock"), project, presses};
    const QJsonArray runner = playInRunner(sample, 1, mDir.path(), Ended, Words.stopped);
    const QString program = mDir.filePath(QStringLiteral("keys.exe"));
    QVERIFY(WindowsProgramBuilder(sample.project, Words).write(program, PlayerProgram));

    QProcess played;
    played.setProcessEnvironment(mWine->environment());
    QElapsedTimer clock;
    played.start(WineProgram, {program, QString::fromWCharArray(WindowsTable::TraceSwitch)});
    played.closeWriteChannel();
    QProcess xdotool;
    xdotool.setProcessEnvironment(mWine->environment());
    QByteArray shown;
    // The clock runs from the first thing the program shows.
    QTRY_VERIFY_WITH_TIMEOUT((shown += played.readAllStandardOutput()).count('\n') >= 1, 20000);
    clock.start();
    qint64 waited = 0;
    for (const QString &pressed : std::as_const(keys)) {
        const QString key = pressed.section(u'@', 0, 0);
        const int before = pressed.section(u'@', 1).toInt();
        // The window shown last, found by its title and given the focus, takes the key.
        QTRY_VERIFY_WITH_TIMEOUT((shown += played.readAllStandardOutput()).count('\n') >= before,
                                 20000);
        waited = clock.elapsed();
        const QString caption =
            QJsonDocument::fromJson(shown.split('\n').at(before - 1)).array().at(1).toString();
        // The key goes by the X server's test extension to the window with the focus, as a
        // keyboard's would; a key sent to a window is an event that programs may ignore.
        for (const QStringList &arguments :
             {QStringList{"search", "--sync", "--onlyvisible", "--name", '^' + caption + '$',
                          "windowfocus", "--sync"},
              QStringList{"key", "--delay", "50", key}}) {
            xdotool.start(QStringLiteral("xdotool"), arguments);
            QVERIFY(xdotool.waitForFinished(20000));
            QVERIFY2(xdotool.exitCode() == 0,
                     qPrintable(caption + ": " + xdotool.readAllStandardError()));
            // Wine learns of the focus from the X server's event, a moment after it moved.
            QTest::qWait(200);
        }
    }
    // The run may have ended while the test waited.
    const bool finished = played.state() == QProcess::NotRunning || played.waitForFinished(20000);
    shown += played.readAllStandardOutput();
    QVERIFY2(finished, shown.constData());
    QCOMPARE(lines(eventsOf(shown)), lines(runner));
    QCOMPARE(played.exitCode(), 0);
    QVERIFY2(waited >= least, qPrintable(QString::number(waited)));
}

// The text control is as wide as its longest line: the line's last letter shows whole, just as
// when a longer line below makes the control wider. Seen cut off under Wine when the width was
// measured apart from the control.
void TestWindowsProgram::showsTheWholeText_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("Cyrillic, a full stop") << QStringLiteral("Диск будет отформатирован.");
    QTest::newRow("Latin, a wide letter") << QStringLiteral("Your desk drawer is full of WWW");
    QTest::newRow("a question mark") << QStringLiteral("Удалить его?");
}

void TestWindowsProgram::showsTheWholeText()
{
    QFETCH(QString, line);
    // The rightmost column of the first line's letters, in the two windows.
    QList<int> rightmost;
    QPair<int, int> rows;
    for (const QString &below :
         {QString(), QStringLiteral("\r\n") + QString(line.size() * 2, u'M')}) {
        DialogProject project = makeProject({message("OK", Exit)});
        project.record(1).caption = QStringLiteral("Whole");
        project.record(1).text = line + below;
        const QString program = mDir.filePath(QStringLiteral("whole.exe"));
        QFile::remove(program);
        QVERIFY(WindowsProgramBuilder(project, Words).write(program, PlayerProgram));
        const QImage window = mWine->firstWindow(program, QStringLiteral("Whole"));
        QVERIFY(!window.isNull());
        // The line alone shows its rows; the windows place their text alike.
        if (below.isEmpty())
            rows = firstLineRows(window);
        rightmost << rightmostInk(window, rows);
    }
    QVERIFY(rightmost.constFirst() > 0);
    QCOMPARE(rightmost.constFirst(), rightmost.constLast());
}

QTEST_MAIN(TestWindowsProgram)
#include "tst_windowsprogram.moc"
