#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace kq;

// The code page is written out as a table; Qt's "windows-1251" converter is the reference it
// must agree with, byte by byte and character by character.
class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void everyByteReadsAsTheConverterReadsIt();
    void everyByteWritesBackUnchanged();
    void charactersWithoutByteBecomeQuestionMarks_data();
    void charactersWithoutByteBecomeQuestionMarks();
    void cyrillicText();
    void storableTextCountsWhatIsLost_data();
    void storableTextCountsWhatIsLost();
};

void TestCodePage::everyByteReadsAsTheConverterReadsIt()
{
    QStringDecoder reference("windows-1251");
    QVERIFY(reference.isValid());
    for (int value = 0; value < 256; ++value) {
        const QByteArray byte(1, char(value));
        const QString expected = reference.decode(byte);
        QVERIFY(!reference.hasError());
        QCOMPARE(fromCodePage(byte), expected);
    }
}

void TestCodePage::everyByteWritesBackUnchanged()
{
    QByteArray all;
    for (int value = 0; value < 256; ++value)
        all += char(value);
    const QString text = fromCodePage(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toCodePage(text), all);

    // The reference writes each of these characters as the same single byte.
    for (const QChar c : text) {
        QStringEncoder reference("windows-1251");
        const QByteArray expected = reference.encode(QStringView(&c, 1));
        QVERIFY(!reference.hasError());
        QCOMPARE(toCodePage(QString(c)), expected);
    }
}

void TestCodePage::charactersWithoutByteBecomeQuestionMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("latin letter with accent") << QStringLiteral("é") << QByteArray("?");
    QTest::newRow("chinese") << QStringLiteral("中") << QByteArray("?");
    QTest::newRow("replacement character") << QString(QChar(0xfffd)) << QByteArray("?");
    QTest::newRow("emoji is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone high surrogate") << QString(QChar(0xd83d)) + u'x' << QByteArray("?x");
    QTest::newRow("lone low surrogate") << QString(QChar(0xde00)) << QByteArray("?");
    QTest::newRow("substitute control itself") << QStringLiteral("\x1a") << QByteArray("\x1a");
}

void TestCodePage::charactersWithoutByteBecomeQuestionMarks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCodePage(text), bytes);
}

void TestCodePage::cyrillicText()
{
    const QString text = QStringLiteral("Идти Далее, ёЁ №1 — «да»");
    const QByteArray bytes = toCodePage(text);
    QCOMPARE(bytes.size(), text.size());
    QCOMPARE(bytes.left(4), QByteArray("\xc8\xe4\xf2\xe8"));
    QCOMPARE(fromCodePage(bytes), text);
}

void TestCodePage::storableTextCountsWhatIsLost_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("lost");
    QTest::newRow("Cyrillic and quotes keep") << "Привет, «мир» №1"
                                              << "Привет, «мир» №1" << 0;
    QTest::newRow("check mark") << "✓ готово"
                                << "? готово" << 1;
    QTest::newRow("Japanese and a question") << "日本?"
                                             << "???" << 2;
    QTest::newRow("emoji is one") << "a😀b"
                                  << "a?b" << 1;
}

void TestCodePage::storableTextCountsWhatIsLost()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(int, lost);
    QCOMPARE(storableText(typed), stored);
    QCOMPARE(unstorableCharacters(typed), lost);
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
