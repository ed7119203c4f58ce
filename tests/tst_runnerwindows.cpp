#include "buttonscript.h"
#include "dialogrecord.h"
#include "projectfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

Q_DECLARE_METATYPE(kq::DialogRecord)

namespace {

DialogRecord step(DialogRecord::Type type, qint16 time, const QString &script)
{
    DialogRecord record = DialogRecord::cleared();
    record.type = type;
    record.caption = QStringLiteral("Форматирование");
    record.text = QStringLiteral("Форматирование диска C:");
    record.ico = 3;
    record.time = time;
    record.btnscr1 = script;
    record.btnscr2 = script;
    return record;
}

DialogRecord progress(qint16 time, const QString &script = ButtonScript::GoNext)
{
    return step(DialogRecord::Progress, time, script);
}

DialogRecord pause(qint16 time, const QString &script = ButtonScript::GoNext)
{
    return step(DialogRecord::Pause, time, script);
}

} // namespace

class TestRunnerWindows : public QObject
{
    Q_OBJECT

private slots:
    void playsThrough_data();
    void playsThrough();
};

void TestRunnerWindows::playsThrough_data()
{
    QTest::addColumn<qint16>("style");
    QTest::addColumn<QList<DialogRecord>>("steps");
    QTest::addColumn<int>("exitCode"); // -1: still playing a while later
    QTest::addColumn<int>("leastMs");

    QTest::newRow("system look: progress and pause")
        << qint16(0) << QList<DialogRecord>{progress(1), pause(1)} << 0 << 2000;
    QTest::newRow("skinned look: pause and progress")
        << qint16(1) << QList<DialogRecord>{pause(1), progress(1)} << 0 << 2000;
    QTest::newRow("steps of no time")
        << qint16(1) << QList<DialogRecord>{progress(0), pause(0), progress(-5)} << 0 << 0;
    QTest::newRow("long time does not break the set-up")
        << qint16(0) << QList<DialogRecord>{pause(0), progress(40, ButtonScript::Exit)} << -1 << 0;
    QTest::newRow("a pause that ends in no action")
        << qint16(0) << QList<DialogRecord>{pause(1, ButtonScript::NoAction)} << 1 << 1000;
    QTest::newRow("no look for style 2") << qint16(2) << QList<DialogRecord>{progress(1)} << 1 << 0;
}

void TestRunnerWindows::playsThrough()
{
    QFETCH(qint16, style);
    QFETCH(QList<DialogRecord>, steps);
    QFETCH(int, exitCode);
    QFETCH(int, leastMs);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("run"));
    QVERIFY(QFile::copy(QStringLiteral(KQ_APP_DIR "/Runner/run"), program));
    const QString dataPath = folder.filePath(QStringLiteral("run.dll"));

    ProjectFile file;
    QVERIFY(file.open(dataPath));
    DialogRecord header = DialogRecord::cleared();
    header.text = QString::number(style);
    QVERIFY(file.write(1, header));
    for (int i = 0; i < steps.size(); ++i)
        QVERIFY(file.write(i + 2, steps.at(i)));
    file.close();

    QProcess runner;
    runner.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    runner.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    runner.start(program, {QStringLiteral("/editor")});
    QVERIFY(runner.waitForStarted());

    if (exitCode < 0) {
        // A 40-second bar must be running, not refused; the test does not wait for it.
        QVERIFY(!runner.waitForFinished(700));
        runner.kill();
        runner.waitForFinished();
        QVERIFY(QFile::exists(dataPath));
        return;
    }

    QVERIFY(runner.waitForFinished(20000));
    QCOMPARE(runner.exitStatus(), QProcess::NormalExit);
    QCOMPARE(runner.exitCode(), exitCode);
    // Coarse timers may fire a little early.
    QVERIFY(clock.elapsed() >= leastMs * 95 / 100);
    // Test mode removes the data file after a normal end; a fault leaves it for the editor.
    QCOMPARE(QFile::exists(dataPath), exitCode != 0);
    const QByteArray errors = runner.readAllStandardError().trimmed();
    if (exitCode != 0)
        QVERIFY(errors.mid(errors.lastIndexOf('\n') + 1).startsWith("run: "));
}

QTEST_MAIN(TestRunnerWindows)
#include "tst_runnerwindows.moc"
