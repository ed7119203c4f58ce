#include "language.h"
#include "programfolder.h"
#include "resourcefields.h"
#include "resourcefiles.h"
#include "theme.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

using namespace kq;
using namespace kq::TestFiles;

namespace {

QString dataFolder()
{
    return QStringLiteral(KQ_SOURCE_DIR "/data");
}

// Every id the editor shows.
QStringList editorIds()
{
    QStringList ids{".Open", ".Save", ".Help"};
    const QList<std::pair<int, int>> ranges{
        {1, 5},     {10, 11},   {20, 20},   {22, 33},   {40, 41},   {101, 111},
        {120, 128}, {130, 141}, {150, 156}, {160, 166}, {201, 205}, {210, 217},
        {220, 246}, {300, 313}, {320, 325}, {340, 357}, {360, 363}, {365, 368},
        {370, 377}, {400, 408}, {410, 410}, {430, 443}, {450, 450}, {470, 486},
        {490, 494}, {600, 611}, {620, 620}, {660, 660}, {680, 716}, {720, 721}};
    for (const auto &[first, last] : ranges) {
        for (int n = first; n <= last; ++n)
            ids << QStringLiteral("%%1").arg(n, 4, 10, QLatin1Char('0'));
    }
    return ids;
}

bool isCodePage1251(const QByteArray &bytes)
{
    // 0x98 is the only byte that code page 1251 leaves unassigned.
    bool highBytes = false;
    for (const char c : bytes) {
        const auto byte = uchar(c);
        if (byte == 0x98 || (byte < 0x20 && byte != '\r' && byte != '\n'))
            return false;
        highBytes = highBytes || byte >= 0x80;
    }
    // Cyrillic saved as UTF-8 by mistake would still pass the byte test above.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    return !highBytes || utf8.hasError();
}

bool allLinesEndInCrLf(const QByteArray &bytes)
{
    return bytes.endsWith("\r\n") && bytes.count('\n') == bytes.count("\r\n") &&
           bytes.count('\r') == bytes.count("\r\n");
}

} // namespace

class TestShippedData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void languageFiles_data();
    void languageFiles();
    void everyIdHasAText_data();
    void everyIdHasAText();
    void captionsFitTheirPlaces();

    void themeFiles_data();
    void themeFiles();
    void defaultThemeIsThere();

    void readmeIsUtf8();
};

void TestShippedData::initTestCase()
{
    setProgramFolder(dataFolder());
}

void TestShippedData::cleanupTestCase()
{
    setProgramFolder(QString());
}

void TestShippedData::languageFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("resId");

    QTest::newRow("russian") << "russian.lang"
                             << "0";
    QTest::newRow("english") << "english.lang"
                             << "1";

    const QStringList shipped =
        QDir(dataFolder() + "/Languages").entryList({"*.lang"}, QDir::Files, QDir::Name);
    QCOMPARE(shipped, QStringList({"english.lang", "russian.lang"}));
}

void TestShippedData::languageFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, resId);

    const QString path = dataFolder() + "/Languages/" + file;
    const QByteArray bytes = readBytes(path);
    QVERIFY(isCodePage1251(bytes));
    QVERIFY(allLinesEndInCrLf(bytes));

    QCOMPARE(readTypeLine(path), QString("!RescourceFile"));
    QCOMPARE(languageHeaderValue(file, "GetVersion"), QString("2.0"));
    QCOMPARE(languageHeaderValue(file, "GetStatus"), QString("General"));
    QCOMPARE(languageHeaderValue(file, "GetId"), resId);
    QVERIFY(!languageHeaderValue(file, "GetName").isEmpty());
    QVERIFY(!languageHeaderValue(file, "GetAuthor").isEmpty());

    // The string viewer drops the id, the comma and one character: every entry has that space.
    const QStringList entries = languageResourceLines(file).split("&&");
    for (const QString &entry : entries) {
        QVERIFY2(entry.size() > 7 && entry.mid(5, 2) == ", ", qPrintable(entry));
    }
}

void TestShippedData::everyIdHasAText_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("russian") << "russian.lang";
    QTest::newRow("english") << "english.lang";
}

void TestShippedData::everyIdHasAText()
{
    QFETCH(QString, file);
    QCOMPARE(languageHeaderValue(file, "GetFile"), file);

    QStringList seen;
    for (const QString &id : editorIds()) {
        const QString text = languageText(id);
        QVERIFY2(!text.isEmpty(), qPrintable(id));
        // An error code, not a text (a text may well say "Error").
        QVERIFY2(!text.contains(QRegularExpression("ResErr|LangErr|ErrGen")),
                 qPrintable(id + " " + text));
        QVERIFY2(!text.contains('\r'), qPrintable(id));
        seen << id;
    }
    QCOMPARE(languageText(150), QString("-"));
    // Each id has exactly one entry, so no later line is left unread.
    const QStringList entries = languageResourceLines(file).split("&&");
    QCOMPARE(entries.size(), seen.size() - 3);
}

void TestShippedData::captionsFitTheirPlaces()
{
    for (const QString file : {"russian.lang", "english.lang"}) {
        QCOMPARE(languageHeaderValue(file, "GetFile"), file);
        for (int button = 1; button <= 5; ++button) {
            const QString caption = languageText("%000" + QString::number(button));
            QVERIFY2(caption.size() <= 10, qPrintable(caption));
        }
        // Stored in the 15-character button fields of a dialog.
        QVERIFY(languageText(126).size() <= 15);
        QVERIFY(languageText(127).size() <= 15);
        // Dialog filters are "description|*.ext": a description holds no "|".
        for (int id = 163; id <= 166; ++id)
            QVERIFY(!languageText("%0" + QString::number(id)).contains('|'));
    }
}

void TestShippedData::themeFiles_data()
{
    QTest::addColumn<QString>("file");
    const QStringList shipped =
        QDir(dataFolder() + "/Themes").entryList({"*.tvth"}, QDir::Files, QDir::Name);
    QVERIFY(shipped.size() >= 3);
    for (const QString &file : shipped)
        QTest::newRow(qPrintable(file)) << file;
}

void TestShippedData::themeFiles()
{
    QFETCH(QString, file);
    const QString path = dataFolder() + "/Themes/" + file;
    const QByteArray bytes = readBytes(path);
    QVERIFY(isCodePage1251(bytes));
    QVERIFY(allLinesEndInCrLf(bytes));

    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QCOMPARE(themeHeaderValue(path, "GetVersion"), QString("2.0"));
    QVERIFY(!themeHeaderValue(path, "GetName").isEmpty());
    const QString status = themeHeaderValue(path, "GetStatus");
    QVERIFY(!status.isEmpty());
    QVERIFY(status != "User");

    // Every colour on its own line with a decimal value, in the fixed order.
    const QStringList lines = QString::fromLatin1(bytes).split("\r\n");
    qsizetype previous = -1;
    for (const QLatin1String key : ThemeColorSet) {
        const qsizetype at = lines.indexOf(QRegularExpression("^" + QString(key) + "=-?\\d+$"));
        QVERIFY2(at > previous, key.data());
        previous = at;
    }
    QVERIFY(activeThemeColor("TextboxForeColor") != activeThemeColor("TextboxEnabledColor"));
    QVERIFY(activeThemeColor("LabelEnabledColor") != activeThemeColor("BoxEnabledColor"));
}

void TestShippedData::defaultThemeIsThere()
{
    const QString path = QDir(programFolder()).filePath("Themes/standart.tvth");
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
}

void TestShippedData::readmeIsUtf8()
{
    const QByteArray bytes = readBytes(dataFolder() + "/readme.txt");
    QVERIFY(bytes.size() > 1000);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    QVERIFY(!decoder.hasError());
    for (const char *word : {"Идти Далее", "Идти Назад", "Идти К", "Выход", "Нет", ".dlg2",
                             "Languages", "Themes", "Plugins"})
        QVERIFY2(text.contains(QString::fromUtf8(word)), word);
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
