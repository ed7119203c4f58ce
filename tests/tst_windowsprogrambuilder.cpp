// The table a Windows build appends, read back by the Windows player's own reader (its code
// has no Windows in it), and the rule of what a Windows build may write.

#include "buildtarget.h"
#include "resourcefiles.h"
#include "stepprojects.h"
#include "steptable.h"
#include "table.h"
#include "tableformat.h"
#include "windowsprogrambuilder.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

using namespace kq;
using namespace kq::StepTest;

namespace {

const WindowsProgramWords Words{QStringLiteral("Сбой: %1")};
// Stands in for the player: a program image starts with "MZ".
const QByteArray PlayerImage = QByteArray("MZ") + QByteArray(300, '\x90');

std::vector<unsigned char> bytesOf(const QByteArray &bytes)
{
    return {bytes.cbegin(), bytes.cend()};
}

QString text(const std::wstring &value)
{
    return QString::fromStdWString(value);
}

// A way of the player's table against the way the editor compiled, the fault as the program
// shows it.
void compareWay(const player::Way &read, const StepTable::Way &compiled)
{
    switch (compiled.kind) {
    case StepTable::Way::Kind::Step:
        QCOMPARE(read.kind, int(WindowsTable::WayStep));
        QCOMPARE(read.step, compiled.step);
        return;
    case StepTable::Way::Kind::End:
        QCOMPARE(read.kind, int(WindowsTable::WayEnd));
        return;
    case StepTable::Way::Kind::Stays:
        QCOMPARE(read.kind, int(WindowsTable::WayStays));
        return;
    case StepTable::Way::Kind::Fault:
        QCOMPARE(read.kind, int(WindowsTable::WayFault));
        QCOMPARE(text(read.fault), Words.stopped.arg(compiled.fault));
        return;
    }
}

bool readable(const QByteArray &file)
{
    player::Table table;
    return player::readTable(bytesOf(file), table);
}

QByteArray littleEndian(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

class TestWindowsProgramBuilder : public QObject
{
    Q_OBJECT

private slots:
    void readsBackAsCompiled_data();
    void readsBackAsCompiled();
    void refusesDamagedTables_data();
    void refusesDamagedTables();
    void programPath_data();
    void programPath();
    void writes();
    void needsThePlayer();
    void replacesOnlyAnEarlierProgram_data();
    void replacesOnlyAnEarlierProgram();
};

void TestWindowsProgramBuilder::readsBackAsCompiled_data()
{
    QTest::addColumn<DialogProject>("project");
    QTest::addColumn<int>("pictures");
    DialogProject texts = makeProject({withIcon(message("&Да && нет", Next, "%1%s", Back), 3),
                                       progress(2, "Стоп", Exit, ButtonScript::goTo(0))},
                                      "1");
    texts.record(1).caption = QStringLiteral("Заголовок %n");
    texts.record(1).text = QStringLiteral("Строка\r\nвторая\rтретья %s");
    QTest::newRow("skinned: texts, icon, bar") << texts << 6;
    QTest::newRow("system: pause, a script that cannot run, a skipped type")
        << makeProject({pause(1, Next), message("x", "Идти К ab"), ofType(7), message("ОК", Exit)})
        << 1;
    QTest::newRow("no project style") << makeProject({message("ОК", Next)}, "стиль") << 1;
    QTest::newRow("no step") << makeProject({}) << 1;
}

void TestWindowsProgramBuilder::readsBackAsCompiled()
{
    QFETCH(DialogProject, project);
    QFETCH(int, pictures);
    const StepTable compiled = StepTable::compile(project);
    player::Table read;
    QVERIFY(player::readTable(
        bytesOf(PlayerImage + WindowsProgramBuilder(project, Words).table("quiz")), read));

    QCOMPARE(read.style, compiled.projectStyle());
    QCOMPARE(text(read.faultCaption), QStringLiteral("quiz"));
    QCOMPARE(int(read.pictures.size()), pictures);
    for (const player::Picture &picture : read.pictures)
        QCOMPARE(picture.pixels.size(), std::size_t(picture.width * picture.height));
    compareWay(read.start, compiled.start());
    QCOMPARE(qsizetype(read.steps.size()), compiled.steps().size());
    for (qsizetype i = 0; i < compiled.steps().size(); ++i) {
        const std::optional<StepTable::Step> &step = compiled.steps().at(i);
        const player::Step &got = read.steps.at(std::size_t(i));
        QCOMPARE(got.present, step.has_value());
        if (!step)
            continue;
        QCOMPARE(got.type, int(step->type));
        QCOMPARE(text(got.caption), step->caption);
        QCOMPARE(text(got.text), step->text);
        QCOMPARE(got.icon, step->icon);
        QCOMPARE(got.interval, step->interval);
        QCOMPARE(qsizetype(got.buttons.size()), step->buttons.size());
        for (qsizetype b = 0; b < step->buttons.size(); ++b) {
            QCOMPARE(text(got.buttons.at(std::size_t(b)).caption), step->buttons.at(b).caption);
            compareWay(got.buttons.at(std::size_t(b)).way, step->buttons.at(b).way);
        }
        compareWay(got.closeBox, step->closeBox);
        compareWay(got.end, step->end);
    }
}

void TestWindowsProgramBuilder::refusesDamagedTables_data()
{
    QTest::addColumn<QByteArray>("file");
    const DialogProject project = makeProject({message("&Да", Next, "Нет", Back), pause(1, Back)});
    const QByteArray table = WindowsProgramBuilder(project, Words).table("quiz");
    const qsizetype body = table.size() - WindowsTable::TrailerSize;
    const QByteArray trailer = table.right(WindowsTable::TrailerSize);
    QTest::newRow("nothing after the player") << PlayerImage;
    QTest::newRow("the trailer alone") << trailer;
    for (const qsizetype cut : {qsizetype(1), qsizetype(13), body / 2, body - 1})
        QTest::newRow(qPrintable(QStringLiteral("%1 bytes of the table cut").arg(cut)))
            << PlayerImage + table.mid(cut);
    QTest::newRow("a length past the file's start")
        << table.left(body) + littleEndian(qint32(body + 400)) +
               QByteArray(WindowsTable::TrailerMagic, 8);
    QTest::newRow("a negative length") << PlayerImage + table.left(body) + littleEndian(-4) +
                                              QByteArray(WindowsTable::TrailerMagic, 8);
    QByteArray count = table;
    // The step count stands right before the first step's presence; a huge one must not be
    // believed.
    const qsizetype stepCount = table.indexOf(littleEndian(2) + littleEndian(1));
    count.replace(stepCount, 4, littleEndian(0x7fffffff));
    QTest::newRow("a step count beyond the table") << PlayerImage + count;
    QByteArray way = table;
    // The start leads to step 0; a way to step 7 leads nowhere.
    way.replace(8, 8, littleEndian(WindowsTable::WayStep) + littleEndian(7));
    QTest::newRow("a way to a step that is not there") << PlayerImage + way;
    QByteArray magic = table;
    magic[0] = 'X';
    QTest::newRow("another table") << PlayerImage + magic;
}

void TestWindowsProgramBuilder::refusesDamagedTables()
{
    QFETCH(QByteArray, file);
    QVERIFY(!readable(file));
}

void TestWindowsProgramBuilder::programPath_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("path");
    QTest::newRow("no extension") << "/tmp/quiz"
                                  << "/tmp/quiz.exe";
    QTest::newRow(".exe") << "/tmp/quiz.exe"
                          << "/tmp/quiz.exe";
    QTest::newRow("another extension") << "/tmp/quiz.EXE"
                                       << "/tmp/quiz.EXE";
    QTest::newRow("a dot in the folder") << "/tmp/a.b/quiz"
                                         << "/tmp/a.b/quiz.exe";
}

void TestWindowsProgramBuilder::programPath()
{
    QFETCH(QString, chosen);
    QFETCH(QString, path);
    QCOMPARE(WindowsProgramBuilder::programPath(chosen), path);
}

void TestWindowsProgramBuilder::writes()
{
    QTemporaryDir dir;
    const QString player = dir.filePath("player/windows-player.exe");
    QVERIFY(QDir(dir.path()).mkdir("player"));
    QVERIFY(TestFiles::writeBytes(player, PlayerImage));
    const DialogProject project = makeProject({message("ОК", Next)});
    const WindowsProgramBuilder builder(project, Words);
    const QString path = dir.filePath("quiz.exe");
    QString error;
    QVERIFY2(builder.write(path, player, &error), qPrintable(error));
    QCOMPARE(TestFiles::readBytes(path), PlayerImage + builder.table("quiz"));
    QVERIFY(readable(TestFiles::readBytes(path)));
    QVERIFY(isBuiltWindowsProgram(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{"quiz.exe"});
    QVERIFY(!builder.write(dir.filePath("missing/quiz.exe"), player, &error));
    QVERIFY(!error.isEmpty());
    // The player itself is no program to replace.
    QVERIFY(!builder.write(player, player, &error));
    QCOMPARE(TestFiles::readBytes(player), PlayerImage);
}

void TestWindowsProgramBuilder::needsThePlayer()
{
    QTemporaryDir dir;
    const DialogProject project = makeProject({message("ОК", Next)});
    const QString path = dir.filePath("quiz.exe");
    for (const QByteArray &player : {QByteArray(), QByteArray("#!/bin/sh\n")}) {
        const QString playerPath = dir.filePath("player.exe");
        QFile::remove(playerPath);
        if (!player.isEmpty())
            QVERIFY(TestFiles::writeBytes(playerPath, player));
        QString error;
        QVERIFY(!WindowsProgramBuilder(project, Words).write(path, playerPath, &error));
        QVERIFY2(error.contains("cannot build for Windows"), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }
}

void TestWindowsProgramBuilder::replacesOnlyAnEarlierProgram_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("an earlier build")
        << PlayerImage + WindowsProgramBuilder(makeProject({pause(1, Exit)}), Words).table("old")
        << true;
    QTest::newRow("another Windows program") << QByteArray("MZ") + QByteArray(5000, 'x') << false;
    QTest::newRow("a file ending as a table does")
        << QByteArray("notes ") + littleEndian(4) + QByteArray(WindowsTable::TrailerMagic, 8)
        << false;
    QTest::newRow("an empty file") << QByteArray() << false;
}

void TestWindowsProgramBuilder::replacesOnlyAnEarlierProgram()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString player = dir.filePath("windows-player.exe");
    QVERIFY(TestFiles::writeBytes(player, PlayerImage));
    const QString path = dir.filePath("quiz.exe");
    QVERIFY(TestFiles::writeBytes(path, existing));
    const DialogProject project = makeProject({message("ОК", Next)});
    const WindowsProgramBuilder builder(project, Words);

    QString error;
    QCOMPARE(builder.write(path, player, &error), replaced);

    QCOMPARE(TestFiles::readBytes(path), replaced ? PlayerImage + builder.table("quiz") : existing);
    QCOMPARE(error.contains("is not a Windows program an earlier build wrote"), !replaced);
}

QTEST_GUILESS_MAIN(TestWindowsProgramBuilder)
#include "tst_windowsprogrambuilder.moc"
