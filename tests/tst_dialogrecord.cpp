#include "dialogproject.h"
#include "dialogrecord.h"
#include "projectfile.h"
#include "resourcefiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

DialogRecord sampleDialog(int n)
{
    DialogRecord record = DialogRecord::cleared();
    record.text = QStringLiteral("Диалог %1").arg(n);
    record.caption = QStringLiteral("Заголовок");
    record.btn1 = QStringLiteral("Да");
    record.btnscr1 = QStringLiteral("Идти Далее");
    record.type = qint16(n % 3);
    record.ico = qint16(n % 6);
    record.time = qint16(n);
    return record;
}

} // namespace

class TestDialogRecord : public QObject
{
    Q_OBJECT

private slots:
    void fieldLayout_data();
    void fieldLayout();
    void numbersAreLittleEndian();
    void roundTripKeepsPaddedFields();
    void shortInputIsPadded_data();
    void shortInputIsPadded();
    void unmappableCharacterBecomesQuestionMark();
    void oneDialogProjectIs1256Bytes();
    void recordCount_data();
    void recordCount();
    void storeOverLongerFileKeepsTrailingRecords();
    void loadRefusesMoreThan99Dialogs();
    void newDialogDefaults();
    void projectStyle_data();
    void projectStyle();
};

void TestDialogRecord::fieldLayout_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray goNext = QByteArray::fromHex("c8e4f2e820c4e0ebe5e5") + QByteArray(5, ' ');
    QTest::newRow("script go next") << "btnscr1" << QStringLiteral("Идти Далее") << 592 << goNext;
    QTest::newRow("btnscr2 offset") << "btnscr2" << QStringLiteral("Выход") << 607
                                    << QByteArray::fromHex("c2fbf5eee4") + QByteArray(10, ' ');
    QTest::newRow("caption padded")
        << "caption" << QStringLiteral("abc") << 512 << QByteArray("abc") + QByteArray(47, ' ');
    QTest::newRow("btn1 cut at width")
        << "btn1" << QStringLiteral("0123456789ABCDEFGH") << 562 << QByteArray("0123456789ABCDE");
    QTest::newRow("btn2 offset") << "btn2" << QStringLiteral("Нет") << 577
                                 << QByteArray::fromHex("cde5f2") + QByteArray(12, ' ');
    QTest::newRow("text cut at 512") << "text" << QString(600, u'x') << 0 << QByteArray(512, 'x');
    QTest::newRow("text with line break")
        << "text" << QStringLiteral("a\r\nb") << 0 << QByteArray("a\r\nb") + QByteArray(508, ' ');
}

void TestDialogRecord::fieldLayout()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);

    DialogRecord record = DialogRecord::cleared();
    QString *target = field == u"text"      ? &record.text
                      : field == u"caption" ? &record.caption
                      : field == u"btn1"    ? &record.btn1
                      : field == u"btn2"    ? &record.btn2
                      : field == u"btnscr1" ? &record.btnscr1
                                            : &record.btnscr2;
    *target = value;
    const QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.size(), 628);
    QCOMPARE(bytes.mid(offset, expected.size()), expected);
    // Every other byte of the text area stays a space.
    QByteArray others = bytes.left(622);
    others.remove(offset, expected.size());
    QCOMPARE(others, QByteArray(622 - expected.size(), ' '));
}

void TestDialogRecord::numbersAreLittleEndian()
{
    DialogRecord record = DialogRecord::cleared();
    record.type = 2;
    record.ico = -2;
    record.time = 0x1234;
    const QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.mid(622, 2), QByteArray::fromHex("0200"));
    QCOMPARE(bytes.mid(624, 2), QByteArray::fromHex("feff"));
    QCOMPARE(bytes.mid(626, 2), QByteArray::fromHex("3412"));
    QCOMPARE(DialogRecord::fromBytes(bytes).ico, qint16(-2));
}

void TestDialogRecord::roundTripKeepsPaddedFields()
{
    const DialogRecord record = sampleDialog(4);
    const DialogRecord back = DialogRecord::fromBytes(record.toBytes());
    QCOMPARE(back.text.size(), 512);
    QCOMPARE(trimmedRight(back.text), record.text);
    QCOMPARE(trimmedRight(back.caption), record.caption);
    QCOMPARE(back.btnscr1, QStringLiteral("Идти Далее     "));
    QCOMPARE(back.type, record.type);
    QCOMPARE(back.time, record.time);
    QCOMPARE(DialogRecord::fromBytes(back.toBytes()), back);

    DialogRecord spaced = DialogRecord::cleared();
    spaced.btn1 = QStringLiteral("  Да");
    const DialogRecord read = DialogRecord::fromBytes(spaced.toBytes());
    QCOMPARE(trimmedRight(read.btn1), QStringLiteral("  Да")); // as the editor shows it
    QCOMPARE(trimmedSpaces(read.btn1), QStringLiteral("Да"));  // as the runner shows it
}

void TestDialogRecord::shortInputIsPadded_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("written");
    const QByteArray spaces(622, ' ');
    const QByteArray zeros(6, '\0');
    QTest::newRow("empty") << QByteArray() << spaces + zeros;
    QTest::newRow("some text") << QByteArray("\xc4\xe0") << "\xc4\xe0" + spaces.mid(2) + zeros;
    QTest::newRow("half a number") << spaces + "\x02" << spaces + "\x02" + zeros.mid(1);
    QTest::newRow("longer than a record") << spaces + QByteArray::fromHex("010002000300ff")
                                          << spaces + QByteArray::fromHex("010002000300");
}

// Text is padded with spaces and numbers with zeros; a whole record writes back byte for byte.
void TestDialogRecord::shortInputIsPadded()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, written);
    QCOMPARE(DialogRecord::fromBytes(input).toBytes(), written);
}

void TestDialogRecord::unmappableCharacterBecomesQuestionMark()
{
    DialogRecord record = DialogRecord::cleared();
    record.caption = QStringLiteral("a✓b😀c\x1a");
    const QByteArray bytes = record.toBytes().mid(512, 6);
    QCOMPARE(bytes, QByteArray("a?b?c\x1a"));
}

void TestDialogRecord::oneDialogProjectIs1256Bytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("one.dlg2"));
    DialogProject project;
    project.record(0).text = QStringLiteral("0");
    project.newDialog(1, QStringLiteral("Привет"));
    project.setDialogCount(1);
    ProjectFile file;
    QVERIFY(file.open(path));
    QVERIFY(project.store(file));
    file.close();

    const QByteArray bytes = kq::TestFiles::readBytes(path);
    QCOMPARE(bytes.size(), 1256);
    QCOMPARE(bytes.left(512), QByteArray("0") + QByteArray(511, ' '));
    QCOMPARE(bytes.mid(628 + 592, 15), QByteArray::fromHex("c8e4f2e820c4e0ebe5e5") + "     ");
}

void TestDialogRecord::recordCount_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("short piece") << 627 << 0;
    QTest::newRow("header only") << 628 << 0;
    QTest::newRow("one dialog") << 1256 << 1;
    QTest::newRow("1300 bytes") << 1300 << 1;
    QTest::newRow("99 dialogs and a tail") << 628 * 100 + 5 << 99;
}

void TestDialogRecord::recordCount()
{
    QFETCH(int, size);
    QFETCH(int, dialogs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.dlg2"));
    QVERIFY(kq::TestFiles::writeBytes(path, QByteArray(size, ' ')));

    ProjectFile file;
    QVERIFY(file.open(path, ProjectFile::Access::ReadOnly));
    QCOMPARE(file.count(), qint16(dialogs));
    QVERIFY(!file.read(dialogs + 2));
}

void TestDialogRecord::storeOverLongerFileKeepsTrailingRecords()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.dlg2"));
    ProjectFile file;
    QVERIFY(file.open(path)); // a missing file is created
    for (int n = 1; n <= 6; ++n)
        QVERIFY(file.write(n, sampleDialog(n)));
    file.close();

    DialogProject shorter;
    for (int i = 1; i <= 3; ++i)
        shorter.newDialog(i, QStringLiteral("новый"));
    shorter.setDialogCount(3);
    QVERIFY(file.open(path));
    QVERIFY(shorter.store(file));
    QCOMPARE(file.count(), qint16(5));

    DialogProject loaded;
    QVERIFY(loaded.load(file));
    QCOMPARE(loaded.dialogCount(), qint16(5));
    QCOMPARE(trimmedRight(loaded.record(3).text), QStringLiteral("новый"));
    QCOMPARE(trimmedRight(loaded.record(4).text), QStringLiteral("Диалог 5"));
}

void TestDialogRecord::loadRefusesMoreThan99Dialogs()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.dlg2"));
    ProjectFile file;
    QVERIFY(file.open(path));
    for (int n = 1; n <= 101; ++n)
        QVERIFY(file.write(n, sampleDialog(n)));
    QCOMPARE(file.count(), qint16(100));

    DialogProject project;
    project.newDialog(1, QStringLiteral("старый"));
    project.setDialogCount(1);
    QString error;
    QVERIFY(!project.load(file, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(project.dialogCount(), qint16(1));
    QCOMPARE(project.record(1).text, QStringLiteral("старый"));
}

void TestDialogRecord::newDialogDefaults()
{
    DialogProject project;
    project.newDialog(5, QStringLiteral("Текст"));
    const DialogRecord &record = project.record(5);
    QCOMPARE(record.text, QStringLiteral("Текст"));
    QCOMPARE(record.btnscr1, QStringLiteral("Идти Далее"));
    QCOMPARE(record.btnscr2, QStringLiteral("Идти Далее"));
    QCOMPARE(record.type, qint16(0));
    QCOMPARE(record.caption, QString(50, u' '));
    QCOMPARE(record.btn1, QString(15, u' '));

    project.setDialogCount(7);
    project.clear();
    QCOMPARE(project.dialogCount(), qint16(7));
    QCOMPARE(project.record(5), DialogRecord::cleared());
}

void TestDialogRecord::projectStyle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("style");
    QTest::newRow("zero") << QStringLiteral("0") << true << 0;
    QTest::newRow("one padded") << QStringLiteral(" 1   ") << true << 1;
    QTest::newRow("spaces inside") << QStringLiteral("1 0") << true << 10;
    QTest::newRow("letters") << QStringLiteral("abc") << false << 0;
    QTest::newRow("blank") << QString() << false << 0;
    QTest::newRow("too big") << QStringLiteral("40000") << false << 0;
}

void TestDialogRecord::projectStyle()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, style);
    DialogRecord header = DialogRecord::cleared();
    header.text = text;
    header = DialogRecord::fromBytes(header.toBytes());
    const std::optional<qint16> read = header.projectStyle();
    QCOMPARE(read.has_value(), ok);
    if (ok)
        QCOMPARE(*read, qint16(style));
}

QTEST_GUILESS_MAIN(TestDialogRecord)
#include "tst_dialogrecord.moc"
