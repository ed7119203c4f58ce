#include "projectfile.h"
#include "resourcefiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;
using namespace Qt::StringLiterals;

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
    int run(const QStringList &arguments, QString *errorOutput = nullptr) const
    {
        QProcess process;
        process.setWorkingDirectory(mDir.path());
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
}

void TestRunProcess::faultEndsWithStatusOne()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    ProgramFolder folder(QStringLiteral("run"));
    const QString data = folder.path(QStringLiteral("run.dll"));
    QVERIFY(testfiles::writeBytes(data, bytes));
    QString errorOutput;
    QCOMPARE(folder.run({QStringLiteral("/editor")}, &errorOutput), 1);
    QVERIFY(QFile::exists(data));
    // Qt may add messages of its own; the runner says what went wrong in one line.
    const QStringList lines = errorOutput.split(u'\n').filter(QRegularExpression(u"^run: .+"_s));
    QCOMPARE(lines.size(), 1);
    if (!line.isEmpty())
        QCOMPARE(lines.constFirst(), line);
}

QTEST_GUILESS_MAIN(TestRunProcess)
#include "tst_runprocess.moc"
