#include "projectfile.h"
#include "resourcefiles.h"
#include "stepflow.h"
#include "steploop.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

// Plays no window: notes which dialog came up and answers from a queue (then 0).
class ScriptedStep : public StepKind
{
public:
    QList<qint16> answers;
    QStringList played;
    std::optional<qint16> play(const DialogRecord &record, qint16, qint16 previous) override
    {
        played << trimmedRight(record.text);
        if (answers.isEmpty())
            return previous;
        return answers.takeFirst();
    }
};

// Answers at random for a while, then always "no result", so every fuzzed run ends.
class RandomStep : public StepKind
{
public:
    explicit RandomStep(QRandomGenerator *random) : mRandom(random) {}
    std::optional<qint16> play(const DialogRecord &, qint16, qint16) override
    {
        if (++mCalls > 200)
            return qint16(0);
        return qint16(mRandom->bounded(4));
    }

private:
    QRandomGenerator *mRandom;
    int mCalls = 0;
};

// A step that shows nothing and ends at once with a fixed result, as a timed step of no time.
class InstantStep : public StepKind
{
public:
    explicit InstantStep(qint16 result) : mResult(result) {}
    std::optional<qint16> play(const DialogRecord &, qint16, qint16) override { return mResult; }
    StepFlow::Ending ending(const DialogRecord &) const override
    {
        return StepFlow::Ending::AtOnce;
    }

private:
    qint16 mResult;
};

// A timed step as the runner's windows end by themselves: a pause with result 1, a full bar with
// 2. It notes whether the loop told it that its close box ends the run, and at its third play
// it is closed (as if by its close box, which then ends the run).
class ClockStep : public StepKind
{
public:
    QList<bool> endless;
    std::optional<qint16> play(const DialogRecord &record, qint16, qint16) override
    {
        endless << endlessLoop();
        if (endless.size() == 3)
            return EndRun;
        return qint16(record.type == DialogRecord::Pause ? 1 : 2);
    }
    StepFlow::Ending ending(const DialogRecord &record) const override
    {
        return StepFlow::ending(record);
    }
};

struct Dialog
{
    QString script1;
    QString script2;
    qint16 type = 0;
    qint16 time = 0;
    QString button{};
};

using Dialogs = QList<Dialog>;

void writeProject(const QString &path, const QString &style, const Dialogs &dialogs)
{
    ProjectFile file;
    QVERIFY(file.open(path));
    DialogRecord header = DialogRecord::cleared();
    header.text = style;
    QVERIFY(file.write(1, header));
    for (int i = 0; i < dialogs.size(); ++i) {
        DialogRecord record = DialogRecord::cleared();
        record.text = QString::number(i);
        record.btnscr1 = dialogs.at(i).script1;
        record.btnscr2 = dialogs.at(i).script2;
        record.type = dialogs.at(i).type;
        record.time = dialogs.at(i).time;
        record.btn1 = dialogs.at(i).button;
        QVERIFY(file.write(i + 2, record));
    }
}

struct Played
{
    StepLoop::Outcome outcome;
    QStringList dialogs; // the texts of the dialogs of type 0, in the order they came up
};

// Writes the project and runs it in test mode: type 0 answers from the queue, type 2 ends at
// once with result 1, as a timed step of no time does.
Played playProject(const QString &path, const QString &style, const Dialogs &dialogs,
                   const QList<qint16> &answers)
{
    writeProject(path, style, dialogs);
    ScriptedStep window;
    window.answers = answers;
    InstantStep instant(1);
    StepLoop loop;
    loop.setStepKind(0, &window);
    loop.setStepKind(2, &instant);
    const StepLoop::Outcome outcome = loop.run(path, true);
    return {outcome, window.played};
}

} // namespace

Q_DECLARE_METATYPE(Dialogs)

class TestStepLoop : public QObject
{
    Q_OBJECT

private slots:
    void dataFilePath_data();
    void dataFilePath();
    void testMode_data();
    void testMode();
    void playsByScripts_data();
    void playsByScripts();
    void missingDataFileEndsAtOnce();
    void faultKeepsDataFile_data();
    void faultKeepsDataFile();
    void circleWithoutWindows_data();
    void circleWithoutWindows();
    void circleNobodyAnswers_data();
    void circleNobodyAnswers();
    void randomAndTruncatedFilesNeverCrash();
};

void TestStepLoop::dataFilePath_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("data");
    QTest::newRow("runner") << "/app/Runner/run"
                            << "/app/Runner/run.dll";
    QTest::newRow("built") << "/home/u/quiz"
                           << "/home/u/quiz.dll";
    QTest::newRow("exe") << "/home/u/quiz.exe"
                         << "/home/u/quiz.dll";
    QTest::newRow("EXE any case") << "/home/u/Quiz.ExE"
                                  << "/home/u/Quiz.dll";
    QTest::newRow("other dots kept") << "/home/u/my.quiz"
                                     << "/home/u/my.quiz.dll";
    QTest::newRow("only one exe removed") << "/home/u/a.exe.exe"
                                          << "/home/u/a.exe.dll";
}

void TestStepLoop::dataFilePath()
{
    QFETCH(QString, program);
    QFETCH(QString, data);
    QCOMPARE(StepLoop::dataFilePath(program), data);
}

void TestStepLoop::testMode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("testMode");
    QTest::newRow("none") << QStringList() << false;
    QTest::newRow("/editor") << QStringList{"/editor"} << true;
    QTest::newRow("x /editor") << QStringList{"x", "/editor"} << true;
    QTest::newRow("trailing spaces") << QStringList{"/editor  "} << true;
    QTest::newRow("a trailing tab is no space") << QStringList{"/editor\t"} << false;
    QTest::newRow("glued") << QStringList{"myeditor"} << true;
    QTest::newRow("capitals") << QStringList{"/EDITOR"} << false;
    QTest::newRow("only begins with it") << QStringList{"/editor", "x"} << false;
}

void TestStepLoop::testMode()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, testMode);
    QCOMPARE(StepLoop::isTestMode(arguments), testMode);
}

void TestStepLoop::playsByScripts_data()
{
    QTest::addColumn<Dialogs>("dialogs");
    QTest::addColumn<QList<qint16>>("answers");
    QTest::addColumn<QStringList>("played");

    const QString next = QStringLiteral("Идти Далее");
    const QString back = QStringLiteral("Идти Назад");
    const QString exit = QStringLiteral("Выход");
    const auto goTo = [](const char *n) { return QStringLiteral("Идти К ") + QLatin1String(n); };

    QTest::newRow("straight through") << Dialogs{{next, next}, {next, next}, {next, next}}
                                      << QList<qint16>{1, 2, 1} << QStringList{"0", "1", "2"};
    QTest::newRow("back from the first ends") << Dialogs{{back, next}, {next, next}, {next, next}}
                                              << QList<qint16>{1} << QStringList{"0"};
    QTest::newRow("button two runs btnscr2")
        << Dialogs{{exit, next}, {exit, next}} << QList<qint16>{2, 1} << QStringList{"0", "1"};
    QTest::newRow("exit in capitals") << Dialogs{{QStringLiteral("ВЫХОД"), next}, {next, next}}
                                      << QList<qint16>{1} << QStringList{"0"};
    QTest::newRow("go to 00 replays the first")
        << Dialogs{{next, next}, {goTo("00"), exit}} << QList<qint16>{1, 1, 1, 2}
        << QStringList{"0", "1", "0", "1"};
    QTest::newRow("go to 05 past five dialogs ends")
        << Dialogs{{goTo("05"), next}, {next, next}, {next, next}, {next, next}, {next, next}}
        << QList<qint16>{1} << QStringList{"0"};
    QTest::newRow("go to 05 plays the sixth")
        << Dialogs{{goTo("05"), next}, {}, {}, {}, {}, {exit, exit}} << QList<qint16>{1, 1}
        << QStringList{"0", "5"};
    QTest::newRow("no result goes next whatever the scripts")
        << Dialogs{{exit, exit}, {exit, exit}} << QList<qint16>{0, 7} << QStringList{"0", "1"};
    QTest::newRow("unknown type counts as go next")
        << Dialogs{{exit, exit, 7}, {exit, exit}} << QList<qint16>{1} << QStringList{"1"};
    QTest::newRow("result kept from the last step")
        << Dialogs{{next, next}, {exit, next}, {exit, next}} << QList<qint16>{2}
        << QStringList{"0", "1", "2"};
}

void TestStepLoop::playsByScripts()
{
    QFETCH(Dialogs, dialogs);
    QFETCH(QList<qint16>, answers);
    QFETCH(QStringList, played);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    const Played run = playProject(path, QStringLiteral("1"), dialogs, answers);
    QCOMPARE(run.outcome.fault, QString());
    QCOMPARE(run.outcome.status, StepLoop::Status::Finished);
    QCOMPARE(run.dialogs, played);
    QVERIFY(!QFile::exists(path));
}

void TestStepLoop::missingDataFileEndsAtOnce()
{
    QTemporaryDir dir;
    StepLoop loop;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    QCOMPARE(loop.run(path, true).status, StepLoop::Status::NoDataFile);
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir().mkdir(path)); // a folder is no data file either
    QCOMPARE(loop.run(path, true).status, StepLoop::Status::NoDataFile);
}

void TestStepLoop::faultKeepsDataFile_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<Dialogs>("dialogs");
    QTest::addColumn<QList<qint16>>("answers");
    QTest::addColumn<QString>("reason");
    // The reason names the step as the editor's list numbers it, from 0.
    const QString next = QStringLiteral("Идти Далее");
    QTest::newRow("header not a number") << "x" << Dialogs{{next, next}} << QList<qint16>{1}
                                         << "the project header holds no project style";
    QTest::newRow("blank script") << "0" << Dialogs{{QString(), next}} << QList<qint16>{1}
                                  << "step 0: the script \"\" cannot be run";
    QTest::newRow("no action reached")
        << "0" << Dialogs{{next, next}, {next, QStringLiteral("Нет")}} << QList<qint16>{1, 2}
        << "step 1: the script \"Нет\" cannot be run";
    QTest::newRow("target with letters")
        << "0" << Dialogs{{next, next}, {next, next}, {QStringLiteral("Идти К ab"), next}}
        << QList<qint16>{1, 1, 1} << "step 2: the script \"Идти К ab\" cannot be run";
    QTest::newRow("target 32767") << "0" << Dialogs{{QStringLiteral("Идти К 32767"), next}}
                                  << QList<qint16>{1}
                                  << "step 0: the script \"Идти К 32767\" cannot be run";
    QTest::newRow("circle without windows")
        << "0" << Dialogs{{next, next}, {next, next, 2}, {QStringLiteral("Идти К 01"), next, 2}}
        << QList<qint16>{1}
        << "step 1: the scripts lead back to it without showing anything, "
           "so the run would never end";
}

void TestStepLoop::faultKeepsDataFile()
{
    QFETCH(QString, style);
    QFETCH(Dialogs, dialogs);
    QFETCH(QList<qint16>, answers);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    const Played run = playProject(path, style, dialogs, answers);
    QCOMPARE(run.outcome.status, StepLoop::Status::Fault);
    QCOMPARE(run.outcome.fault, reason);
    QVERIFY(QFile::exists(path));
}

void TestStepLoop::circleWithoutWindows_data()
{
    QTest::addColumn<Dialogs>("dialogs");
    QTest::addColumn<QList<qint16>>("answers");
    QTest::addColumn<bool>("fault");
    QTest::addColumn<QStringList>("played");

    // Type 2 ends at once with result 1, type 7 has no step kind; type 0 waits for an answer.
    const QString next = QStringLiteral("Идти Далее");
    const QString back = QStringLiteral("Идти Назад");
    const QString exit = QStringLiteral("Выход");
    const QString first = QStringLiteral("Идти К 00");
    QTest::newRow("instant step going to itself")
        << Dialogs{{first, exit, 2}} << QList<qint16>{} << true << QStringList{};
    QTest::newRow("two instant steps back and forth")
        << Dialogs{{next, exit, 2}, {back, exit, 2}} << QList<qint16>{} << true << QStringList{};
    QTest::newRow("no step kind and an instant step back")
        << Dialogs{{exit, exit, 7}, {back, exit, 2}} << QList<qint16>{} << true << QStringList{};
    QTest::newRow("circle after a window")
        << Dialogs{{next, next}, {next, exit, 2}, {back, exit, 2}} << QList<qint16>{1} << true
        << QStringList{"0"};
    QTest::newRow("instant steps that lead out")
        << Dialogs{{next, exit, 2}, {next, exit, 7}, {next, exit, 2}} << QList<qint16>{} << false
        << QStringList{};
    QTest::newRow("a window in the circle lets it go round")
        << Dialogs{{next, exit, 2}, {first, exit}} << QList<qint16>{1, 1, 2} << false
        << QStringList{"1", "1", "1"};
}

void TestStepLoop::circleWithoutWindows()
{
    QFETCH(Dialogs, dialogs);
    QFETCH(QList<qint16>, answers);
    QFETCH(bool, fault);
    QFETCH(QStringList, played);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    const Played run = playProject(path, QStringLiteral("0"), dialogs, answers);
    QCOMPARE(run.outcome.status, fault ? StepLoop::Status::Fault : StepLoop::Status::Finished);
    QCOMPARE(run.dialogs, played);
    QCOMPARE(QFile::exists(path), fault);
}

void TestStepLoop::circleNobodyAnswers_data()
{
    QTest::addColumn<Dialogs>("dialogs");
    QTest::addColumn<QString>("fault");
    // What the loop told each timed step as it was played: true when its close box ends the run.
    QTest::addColumn<QList<bool>>("endless");

    // Type 0 answers 1, then 2; types 1 and 2 are timed, one second each.
    const QString next = QStringLiteral("Идти Далее");
    const QString back = QStringLiteral("Идти Назад");
    const QString exit = QStringLiteral("Выход");
    const QString first = QStringLiteral("Идти К 00");
    const QString second = QStringLiteral("Идти К 01");
    const QString none = QStringLiteral("Нет");
    const QString pauses = QStringLiteral("the scripts lead back to it through pauses, without a "
                                          "window the user can answer, so the run would never end");
    QTest::newRow("pauses going round")
        << Dialogs{{next, exit, 2, 1}, {first, exit, 2, 1}} << "step 0: " + pauses << QList<bool>{};
    QTest::newRow("into pauses going round")
        << Dialogs{{exit, next, 1, 1}, {next, exit, 2, 1}, {back, exit, 2, 1}}
        << "step 1: " + pauses << QList<bool>{};
    QTest::newRow("progress going round to itself")
        << Dialogs{{exit, first, 1, 1}} << QString() << QList<bool>{true, true, true};
    QTest::newRow("progress whose button does nothing")
        << Dialogs{{none, first, 1, 1, "Стоп"}} << QString() << QList<bool>{true, true, true};
    QTest::newRow("a pause into a progress going round")
        << Dialogs{{next, exit, 2, 1}, {exit, second, 1, 1}} << QString()
        << QList<bool>{true, true, true};
    QTest::newRow("progress with a working button")
        << Dialogs{{exit, first, 1, 1, "Стоп"}} << QString() << QList<bool>{false, false, false};
    QTest::newRow("a message in the circle answers")
        << Dialogs{{next, exit, 2, 1}, {first, exit}} << QString() << QList<bool>{false, false};
}

void TestStepLoop::circleNobodyAnswers()
{
    QFETCH(Dialogs, dialogs);
    QFETCH(QString, fault);
    QFETCH(QList<bool>, endless);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    writeProject(path, QStringLiteral("0"), dialogs);
    ScriptedStep window;
    window.answers = {1, 2};
    ClockStep clock;
    StepLoop loop;
    loop.setStepKind(DialogRecord::Message, &window);
    loop.setStepKind(DialogRecord::Progress, &clock);
    loop.setStepKind(DialogRecord::Pause, &clock);
    const StepLoop::Outcome outcome = loop.run(path, true);

    QCOMPARE(outcome.fault, fault);
    QCOMPARE(outcome.status,
             fault.isEmpty() ? StepLoop::Status::Finished : StepLoop::Status::Fault);
    QCOMPARE(clock.endless, endless);
}

void TestStepLoop::randomAndTruncatedFilesNeverCrash()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    QRandomGenerator random(20261207);
    const QString words[] = {QStringLiteral("Идти Далее"), QStringLiteral("Идти Назад"),
                             QStringLiteral("Выход"),      QStringLiteral("Идти К 01"),
                             QStringLiteral("Нет"),        QStringLiteral("Идти К 99")};
    int finished = 0;
    int faults = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        if (round % 2 == 0) {
            // Valid-looking records with random fields, cut at a random length.
            for (int r = 0, n = random.bounded(8); r < n; ++r) {
                DialogRecord record = DialogRecord::cleared();
                record.text = r == 0 ? QString::number(random.bounded(-2, 4)) : QString();
                record.btnscr1 = words[random.bounded(6)];
                record.btnscr2 = words[random.bounded(6)];
                record.type = qint16(random.bounded(-1, 4));
                bytes += record.toBytes();
            }
            bytes.truncate(random.bounded(bytes.size() + 1));
        } else {
            bytes.resize(random.bounded(3 * 628));
            for (char &c : bytes)
                c = char(random.bounded(256));
        }
        QVERIFY(kq::TestFiles::writeBytes(path, bytes));

        RandomStep step(&random);
        StepLoop loop;
        for (qint16 type = -1; type < 3; ++type)
            loop.setStepKind(type, &step);
        const StepLoop::Outcome outcome = loop.run(path, true);
        QVERIFY(outcome.status != StepLoop::Status::NoDataFile);
        // A fault keeps the data file; a normal end in test mode deletes it.
        QCOMPARE(QFile::exists(path), outcome.status == StepLoop::Status::Fault);
        (outcome.status == StepLoop::Status::Fault ? faults : finished)++;
    }
    QVERIFY(finished > 100);
    QVERIFY(faults > 100);
}

QTEST_GUILESS_MAIN(TestStepLoop)
#include "tst_steploop.moc"
