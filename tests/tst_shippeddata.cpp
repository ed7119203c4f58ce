#include "language.h"
#include "programfolder.h"
#include "resourcefields.h"
#include "resourcefiles.h"
#include "theme.h"

#include <QDir>
#include <QFile>
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

// A text id as textid.h names it, with the start of its English text from the comment.
struct NamedId
{
    QString name;
    int number = 0;
    QString english;
};

QList<NamedId> namedIds()
{
    QFile header(QStringLiteral(KQ_SOURCE_DIR "/project/textid.h"));
    if (!header.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression entry(R"(^    (\w+) = (\d+), +// (.*)$)");
    QList<NamedId> ids;
    for (const QString &line : QString::fromUtf8(header.readAll()).split('\n')) {
        const QRegularExpressionMatch match = entry.match(line);
        if (match.hasMatch())
            ids.append({match.captured(1), match.captured(2).toInt(), match.captured(3)});
    }
    return ids;
}

// Every id the editor shows.
QStringList editorIds()
{
    QStringList ids{".Open", ".Save", ".Help"};
    for (const NamedId &id : namedIds())
        ids << resourceId(TextId(id.number));
    return ids;
}

// The placeholders of a text, each once: the forms of a count repeat theirs.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder("%\\d+");
    QStringList found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    found.removeDuplicates();
    return found;
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
    void namedIdsAreInEveryLanguage_data();
    void namedIdsAreInEveryLanguage();

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
    QCOMPARE(languageText(TextId::MenuSeparator), QString("-"));
    // Each id has exactly one entry, so no later line is left unread.
    const QStringList entries = languageResourceLines(file).split("&&");
    QCOMPARE(entries.size(), seen.size() - 3);

    // The first comma ends the id, and a later one would cut the text short: a text writes its
    // commas as backslashes.
    QFile raw(dataFolder() + "/Languages/" + file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    for (const QByteArray &line : raw.readAll().split('\n')) {
        if (line.startsWith('%'))
            QVERIFY2(line.count(',') == 1, line.constData());
    }
}

void TestShippedData::captionsFitTheirPlaces()
{
    for (const QString file : {"russian.lang", "english.lang"}) {
        QCOMPARE(languageHeaderValue(file, "GetFile"), file);
        for (const TextId button : {TextId::ToolNew, TextId::ToolOpen, TextId::ToolSave,
                                    TextId::ToolTest, TextId::ToolBuild}) {
            const QString caption = languageText(button);
            QVERIFY2(caption.size() <= 10, qPrintable(caption));
        }
        // Stored in the 15-character button fields of a dialog.
        QVERIFY(languageText(TextId::BarFullButton).size() <= 15);
        QVERIFY(languageText(TextId::PauseOverButton).size() <= 15);
        // Dialog filters are "description|*.ext": a description holds no "|".
        for (const TextId filter :
             {TextId::ProjectFiles, TextId::LegacyProjectFiles, TextId::BuiltProgramFiles,
              TextId::ProgramFiles, TextId::WebPageFiles, TextId::PngPictures, TextId::SvgPictures})
            QVERIFY2(!languageText(filter).contains('|'), qPrintable(resourceId(filter)));
    }
}

void TestShippedData::namedIdsAreInEveryLanguage_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("english");
    const QList<NamedId> ids = namedIds();
    QVERIFY(!ids.isEmpty());
    for (const NamedId &id : ids)
        QTest::newRow(qPrintable(id.name)) << id.number << id.english;
}

void TestShippedData::namedIdsAreInEveryLanguage()
{
    QFETCH(int, number);
    QFETCH(QString, english);

    QStringList texts;
    for (const QString file : {"russian.lang", "english.lang"}) {
        QCOMPARE(languageHeaderValue(file, "GetFile"), file);
        const QString text = languageText(TextId(number));
        QVERIFY2(!text.contains(QRegularExpression("ResErr|LangErr|ErrGen")), qPrintable(file));
        texts << text;
    }
    QCOMPARE(placeholders(texts.at(0)), placeholders(texts.at(1)));
    // The name's comment gives the English text, or its start.
    if (english.endsWith(u'…'))
        QVERIFY2(texts.at(1).startsWith(english.chopped(1)), qPrintable(texts.at(1)));
    else
        QCOMPARE(texts.at(1), english);
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
