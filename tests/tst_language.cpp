#include "language.h"
#include "programfolder.h"
#include "resourcefiles.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;
using namespace kq::TestFiles;

namespace {

QStringList header(const QString &name = "Тест", const QString &id = "0",
                   const QString &version = "2.0", const QString &status = "General")
{
    return {"!KestraneDevelopment10", "!RescourceFile",  "[Language]",
            "Name=" + name,           "ResId=" + id,     "Author=Kestrane",
            "Version=" + version,     "Status=" + status};
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void pluralForms_data();
    void pluralForms();
    void filledTexts_data();
    void filledTexts();
    void initTestCase();
    void cleanupTestCase();

    void noActiveLanguageGivesResErr2();

    void resString_data();
    void resString();
    void resStringReadsTheFileAgainAtEveryCall();
    void resStringAfterTheFileDisappears();
    void resStringOfUnreadableFile();
    void resStringReadsEachChangeOnce_data();
    void resStringReadsEachChangeOnce();
    void idNumbers_data();
    void idNumbers();
    void laterIdsMissingFromOlderFiles_data();
    void laterIdsMissingFromOlderFiles();

    void languageInfo_data();
    void languageInfo();
    void onlyGetFileChangesTheActiveLanguage();
    void failedGetFileKeepsTheActiveLanguage();

    void languageStrings_data();
    void languageStrings();

    void helpFileFollowsTheLanguage_data();
    void helpFileFollowsTheLanguage();

private:
    QString languageFile(const QString &file);
    void activate(const QString &file, const QStringList &lines);

    QTemporaryDir mDir;
};

void TestLanguage::pluralForms_data()
{
    QTest::addColumn<QString>("forms");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("form");
    QTest::newRow("one form for all") << "%1 errors" << 1 << "%1 errors";
    QTest::newRow("English 1") << "error|errors" << 1 << "error";
    QTest::newRow("English 0") << "error|errors" << 0 << "errors";
    QTest::newRow("English 21") << "error|errors" << 21 << "errors";
    const QString russian = "ошибка|ошибки|ошибок";
    QTest::newRow("Russian 1") << russian << 1 << "ошибка";
    QTest::newRow("Russian 3") << russian << 3 << "ошибки";
    QTest::newRow("Russian 5") << russian << 5 << "ошибок";
    QTest::newRow("Russian 11") << russian << 11 << "ошибок";
    QTest::newRow("Russian 12") << russian << 12 << "ошибок";
    QTest::newRow("Russian 21") << russian << 21 << "ошибка";
    QTest::newRow("Russian 24") << russian << 24 << "ошибки";
    QTest::newRow("Russian 111") << russian << 111 << "ошибок";
}

void TestLanguage::pluralForms()
{
    QFETCH(QString, forms);
    QFETCH(int, count);
    QFETCH(QString, form);
    QCOMPARE(pluralForm(forms, count), form);
}

void TestLanguage::initTestCase()
{
    QVERIFY(mDir.isValid());
    setProgramFolder(mDir.path());
}

void TestLanguage::cleanupTestCase()
{
    setProgramFolder(QString());
}

QString TestLanguage::languageFile(const QString &file)
{
    return mDir.filePath("Languages/" + file);
}

void TestLanguage::activate(const QString &file, const QStringList &lines)
{
    QVERIFY(writeLines(languageFile(file), lines));
    QCOMPARE(languageHeaderValue(file, "GetFile"), file);
    QCOMPARE(activeLanguageFile(), file);
}

void TestLanguage::noActiveLanguageGivesResErr2()
{
    QVERIFY(activeLanguageFile().isEmpty());
    QCOMPARE(languageText("%0001"), QString("ResErr2"));
}

void TestLanguage::resString_data()
{
    QTest::addColumn<QStringList>("resources");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("result");

    const QStringList plain{"[Rescource]", "%0001, Создать", "%0150,-", "%0128, Сохранить?"};
    QTest::newRow("text") << plain << "%0001"
                          << "Создать";
    QTest::newRow("last line") << plain << "%0128"
                               << "Сохранить?";
    QTest::newRow("separator") << plain << "%0150"
                               << "-";
    QTest::newRow("unknown id") << plain << "%0999"
                                << "ResErr6";
    QTest::newRow("menu id") << QStringList{"[Rescource]", ".Open, Открыть"} << ".Open"
                             << "Открыть";
    QTest::newRow("comma and line break")
        << QStringList{"[Rescource]", "%0025,  one\\two#three "} << "%0025"
        << "one,two\rthree";
    QTest::newRow("two commas") << QStringList{"[Rescource]", "%0030, first, second"} << "%0030"
                                << "first";
    QTest::newRow("id without comma") << QStringList{"[Rescource]", "%0031"} << "%0031"
                                      << "LangErr4";
    QTest::newRow("first of two entries")
        << QStringList{"[Rescource]", "%0002, first", "%0002, second"} << "%0002"
        << "first";
    QTest::newRow("only five characters compared")
        << QStringList{"[Rescource]", "%00011, text"} << "%0001"
        << "text";
    QTest::newRow("id before the resource section")
        << QStringList{"%0040, early", "[Rescource]", "%0041, late"} << "%0040"
        << "ResErr6";
    QTest::newRow("section after other sections")
        << QStringList{"[Other]", "%0040, other", "[Rescource]", "", "; note", "%0040, right"}
        << "%0040"
        << "right";
    QTest::newRow("no resource section") << QStringList{"%0001, text"} << "%0001"
                                         << "ResErr3";
    QTest::newRow("section spelled correctly is not it")
        << QStringList{"[Resource]", "%0001, text"} << "%0001"
        << "ResErr3";
    QTest::newRow("id longer than five characters")
        << QStringList{"[Rescource]", "%00011, text"} << "%00011"
        << "ResErr6";
    QTest::newRow("shorter line compared whole") << QStringList{"[Rescource]", "%01"} << "%01"
                                                 << "LangErr4";
}

void TestLanguage::resString()
{
    QFETCH(QStringList, resources);
    QFETCH(QString, id);
    QFETCH(QString, result);

    activate("table.lang", header() + resources);
    QCOMPARE(languageText(id), result);
    QVERIFY(QFile::remove(languageFile("table.lang")));
}

void TestLanguage::resStringReadsTheFileAgainAtEveryCall()
{
    activate("live.lang", header() + QStringList{"[Rescource]", "%0001, Создать"});
    QCOMPARE(languageText("%0001"), QString("Создать"));
    QVERIFY(writeLines(languageFile("live.lang"),
                       header() + QStringList{"[Rescource]", "%0001, Новый"}));
    QCOMPARE(languageText("%0001"), QString("Новый"));
}

void TestLanguage::resStringAfterTheFileDisappears()
{
    activate("gone.lang", header() + QStringList{"[Rescource]", "%0001, Создать"});
    QVERIFY(QFile::remove(languageFile("gone.lang")));
    QCOMPARE(languageText("%0001"), QString("ResErr2"));
    QCOMPARE(activeLanguageFile(), QString("gone.lang"));
}

void TestLanguage::resStringOfUnreadableFile()
{
    if (!permissionsApply())
        QSKIP("running as superuser: an unreadable file cannot be made");
    activate("locked.lang", header() + QStringList{"[Rescource]", "%0001, Создать"});
    QVERIFY(QFile::setPermissions(languageFile("locked.lang"), QFileDevice::WriteOwner));
    QCOMPARE(languageText("%0001"), QString("70ResErrGen"));
    QCOMPARE(languageHeaderValue("locked.lang", "GetName"), QString("ResErr1"));
    QCOMPARE(languageResourceLines("locked.lang"), QString("ResErr3"));
}

void TestLanguage::resStringReadsEachChangeOnce_data()
{
    QTest::addColumn<int>("ageSeconds"); // how long ago the file was written
    QTest::addColumn<int>("secondsLater");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("result");
    // A file is kept by size and modification time: the same size written at the same time is
    // taken for the same file and not read again.
    QTest::newRow("same size, same time") << 3600 << 0 << "%0001, Открыть"
                                          << "Создать";
    QTest::newRow("same size, later") << 3600 << 2 << "%0001, Открыть"
                                      << "Открыть";
    QTest::newRow("other size, same time") << 3600 << 0 << "%0001, Закрыть окно"
                                           << "Закрыть окно";
    // Whatever the clock says: a file just written, or dated in the future, is kept all the same
    // and read again when its size or time changes.
    QTest::newRow("just written, same size, same time") << 0 << 0 << "%0001, Открыть"
                                                        << "Создать";
    QTest::newRow("just written, later") << 0 << 1 << "%0001, Открыть"
                                         << "Открыть";
    QTest::newRow("dated in the future, same time") << -3600 << 0 << "%0001, Открыть"
                                                    << "Создать";
    QTest::newRow("dated in the future, other size") << -3600 << 0 << "%0001, Выход"
                                                     << "Выход";
}

void TestLanguage::resStringReadsEachChangeOnce()
{
    QFETCH(int, ageSeconds);
    QFETCH(int, secondsLater);
    QFETCH(QString, second);
    QFETCH(QString, result);

    const QString path = languageFile("kept.lang");
    const QDateTime written = QDateTime::currentDateTime().addSecs(-ageSeconds);
    activate("kept.lang", header() + QStringList{"[Rescource]", "%0001, Создать"});
    QVERIFY(setModified(path, written));
    QCOMPARE(languageText("%0001"), QString("Создать"));

    QVERIFY(writeLines(path, header() + QStringList{"[Rescource]", second}));
    QVERIFY(setModified(path, written.addSecs(secondsLater)));
    QCOMPARE(languageText("%0001"), result);
    QVERIFY(QFile::remove(path));
}

void TestLanguage::laterIdsMissingFromOlderFiles_data()
{
    QTest::addColumn<QString>("resId");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("shipped"); // the shipped file whose text comes; empty: none
    QTest::addColumn<QString>("result");  // when no shipped text comes

    QTest::newRow("English file, later id") << "1"
                                            << "%0300"
                                            << "english.lang"
                                            << "";
    QTest::newRow("Russian file, later id") << "0"
                                            << "%0300"
                                            << "russian.lang"
                                            << "";
    QTest::newRow("other language id: Russian") << "7"
                                                << "%0301"
                                                << "russian.lang"
                                                << "";
    QTest::newRow("described id stays an error") << "1"
                                                 << "%0128"
                                                 << ""
                                                 << "ResErr6";
    QTest::newRow("described id next to the last stays an error") << "1"
                                                                  << "%0245"
                                                                  << ""
                                                                  << "ResErr6";
    // A file whose entries run out before the last described id is broken, not old: its later
    // ids show the error like every other id it lacks.
    QTest::newRow("entries run out: later id stays an error") << "1"
                                                              << "%0300"
                                                              << "runs out"
                                                              << "ResErr6";
    QTest::newRow("id no file carries") << "1"
                                        << "%0999"
                                        << ""
                                        << "ResErr6";
    QTest::newRow("later id the file carries") << "1"
                                               << "%0302"
                                               << ""
                                               << "eigener Text";
    QTest::newRow("not an id") << "1"
                               << "%03x0"
                               << ""
                               << "ResErr6";
}

void TestLanguage::laterIdsMissingFromOlderFiles()
{
    QFETCH(QString, resId);
    QFETCH(QString, id);
    QFETCH(QString, shipped);
    QFETCH(QString, result);

    // A file made for the described ids, up to the last of them: it lacks every later one but
    // "%0302".
    const bool runsOut = shipped == u"runs out";
    QStringList entries{"[Rescource]", "%0001, Neu", "%0246, Letzter", "%0302, eigener Text"};
    if (runsOut) {
        entries.removeAt(2);
        shipped.clear();
    }
    activate("older.lang", header("Deutsch", resId) + entries);
    if (!shipped.isEmpty()) {
        const QByteArray bytes =
            readBytes(QStringLiteral(KQ_SOURCE_DIR "/data/Languages/") + shipped);
        QString line;
        for (const QString &candidate : fromCodePage(bytes).split(u'\n')) {
            if (candidate.startsWith(id + u','))
                line = candidate.trimmed();
        }
        QVERIFY2(!line.isEmpty(), "the shipped file carries the id");
        result = line.mid(6).trimmed().replace(u'\\', u',').replace(u'#', u'\r');
    }
    QCOMPARE(languageText(id), result);
    QVERIFY(QFile::remove(languageFile("older.lang")));
}

void TestLanguage::idNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("id");
    QTest::newRow("one digit") << 5 << "%0005";
    QTest::newRow("three digits") << 201 << "%0201";
    QTest::newRow("four digits") << 1234 << "%1234";
}

void TestLanguage::idNumbers()
{
    QFETCH(int, number);
    QFETCH(QString, id);
    QCOMPARE(resourceId(TextId(number)), id);
    activate("numbers.lang", header() + QStringList{"[Rescource]", id + ", text of " + id});
    QCOMPARE(languageText(TextId(number)), "text of " + id);
}

void TestLanguage::languageInfo_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("result");

    const QStringList valid = header("Русский", "1", "2.0", "User");
    QTest::newRow("name") << valid << "GetName"
                          << "Русский";
    QTest::newRow("id") << valid << "GetId"
                        << "1";
    QTest::newRow("author") << valid << "GetAuthor"
                            << "Kestrane";
    QTest::newRow("version") << valid << "GetVersion"
                             << "2.0";
    QTest::newRow("status") << valid << "GetStatus"
                            << "User";
    QTest::newRow("file") << valid << "GetFile"
                          << "info.lang";
    QTest::newRow("other selector") << valid << "GetColor"
                                    << "";
    QTest::newRow("selector in other case") << valid << "getname"
                                            << "";
    QTest::newRow("other version is read") << header("A", "0", "1.5") << "GetVersion"
                                           << "1.5";

    QStringList spaced = valid;
    spaced[3] = "  Name  =  Русский\\ Україна  ";
    QTest::newRow("field rule on header") << spaced << "GetName"
                                          << "Русский, Україна";

    QStringList later = QStringList{"!KestraneDevelopment10", "!RescourceFile", "", "; comment"} +
                        valid.mid(2) + QStringList{"[Rescource]", "%0001, x"};
    QTest::newRow("header further down") << later << "GetAuthor"
                                         << "Kestrane";

    QStringList swapped = valid;
    swapped.swapItemsAt(3, 4);
    QTest::newRow("ResId before Name, name") << swapped << "GetName"
                                             << "ResErr3";
    QTest::newRow("ResId before Name, file") << swapped << "GetFile"
                                             << "ResErr3";
    QTest::newRow("ResId before Name, status") << swapped << "GetStatus"
                                               << "ResErr3";

    QStringList gap = valid;
    gap.insert(5, "");
    QTest::newRow("line between header lines") << gap << "GetName"
                                               << "ResErr3";

    QStringList noValue = valid;
    noValue[3] = "Name";
    QTest::newRow("key without value") << noValue << "GetName"
                                       << "LangErr4";

    QTest::newRow("no header section")
        << QStringList{"!KestraneDevelopment10", "!RescourceFile", "[Rescource]"} << "GetName"
        << "ResErr3";
    QTest::newRow("header cut short") << valid.mid(0, 6) << "GetName"
                                      << "62ResErrGen";
    QTest::newRow("header cut short, no selector") << valid.mid(0, 7) << ""
                                                   << "62ResErrGen";

    QStringList theme = valid;
    theme[1] = "!ThemeFile";
    QTest::newRow("theme file") << theme << "GetName"
                                << "ResErr1";
    QStringList badMagic = valid;
    badMagic[0] = "!KestraneDevelopment";
    QTest::newRow("wrong magic") << badMagic << "GetName"
                                 << "ResErr1";
    QTest::newRow("empty file") << QStringList{} << "GetName"
                                << "ResErr1";
}

void TestLanguage::languageInfo()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, selector);
    QFETCH(QString, result);

    QVERIFY(writeLines(languageFile("info.lang"), lines));
    QCOMPARE(languageHeaderValue("info.lang", selector), result);
    QVERIFY(QFile::remove(languageFile("info.lang")));
    QCOMPARE(languageHeaderValue("info.lang", selector), QString("ResErr2"));
}

void TestLanguage::onlyGetFileChangesTheActiveLanguage()
{
    activate("first.lang", header() + QStringList{"[Rescource]", "%0001, Первый"});
    QVERIFY(writeLines(languageFile("second.lang"),
                       header() + QStringList{"[Rescource]", "%0001, Второй"}));

    for (const char *selector : {"GetName", "GetId", "GetAuthor", "GetVersion", "GetStatus", ""})
        QVERIFY(!languageHeaderValue("second.lang", selector).startsWith("ResErr"));
    QCOMPARE(activeLanguageFile(), QString("first.lang"));
    QCOMPARE(languageText("%0001"), QString("Первый"));

    QCOMPARE(languageHeaderValue("second.lang", "GetFile"), QString("second.lang"));
    QCOMPARE(languageText("%0001"), QString("Второй"));
}

void TestLanguage::failedGetFileKeepsTheActiveLanguage()
{
    activate("kept.lang", header() + QStringList{"[Rescource]", "%0001, Оставлен"});
    QStringList broken = header();
    broken.swapItemsAt(3, 4);
    QVERIFY(writeLines(languageFile("broken.lang"), broken));

    QCOMPARE(languageHeaderValue("broken.lang", "GetFile"), QString("ResErr3"));
    QCOMPARE(languageHeaderValue("missing.lang", "GetFile"), QString("ResErr2"));
    QCOMPARE(languageHeaderValue(QString(), "GetFile"), QString("ResErr2"));
    QCOMPARE(activeLanguageFile(), QString("kept.lang"));
    QCOMPARE(languageText("%0001"), QString("Оставлен"));
}

void TestLanguage::languageStrings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("result");

    QTest::newRow("entries whole and in order")
        << header() + QStringList{"[Rescource]",    "%0002, b\\c",   "",
                                  ".Open, Открыть", "%0001,a#b , c", " %0003, indented"}
        << "%0002, b\\c&&%0001,a#b , c";
    QTest::newRow("entries before the section left out")
        << header() + QStringList{"%0009, early", "[Rescource]", "%0010, late"} << "%0010, late";
    QTest::newRow("no entries") << header() + QStringList{"[Rescource]", ".Open, Открыть"} << "";
    QTest::newRow("no section") << header() + QStringList{"%0001, x"} << "ResErr3";
    QTest::newRow("header not needed")
        << QStringList{"!KestraneDevelopment10", "!RescourceFile", "[Rescource]", "%0001, x"}
        << "%0001, x";
}

void TestLanguage::languageStrings()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, result);

    QVERIFY(writeLines(languageFile("strings.lang"), lines));
    QCOMPARE(languageResourceLines("strings.lang"), result);
    QVERIFY(QFile::remove(languageFile("strings.lang")));
    QCOMPARE(languageResourceLines("strings.lang"), QString("ResErr2"));
}

void TestLanguage::helpFileFollowsTheLanguage_data()
{
    QTest::addColumn<QString>("languageId");
    QTest::addColumn<bool>("englishGuide");
    QTest::addColumn<QString>("helpFile");
    QTest::newRow("Russian") << "0" << true << "readme.txt";
    QTest::newRow("English") << "1" << true << "readme-english.txt";
    QTest::newRow("English without its guide") << "1" << false << "readme.txt";
}

void TestLanguage::helpFileFollowsTheLanguage()
{
    QFETCH(QString, languageId);
    QFETCH(bool, englishGuide);
    QFETCH(QString, helpFile);
    activate("guide.lang", header("Language", languageId, "2.0") + QStringList{"[Rescource]"});
    const QString guide = mDir.filePath("readme-english.txt");
    QVERIFY(englishGuide ? writeBytes(guide, "English")
                         : !QFile::exists(guide) || QFile::remove(guide));
    QCOMPARE(helpFilePath(), mDir.filePath(helpFile));
}

void TestLanguage::filledTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("filled");
    QTest::newRow("in order") << "%1 of %2" << QStringList{"3", "5"} << "3 of 5";
    QTest::newRow("out of order") << "%2 before %1" << QStringList{"a", "b"} << "b before a";
    QTest::newRow("argument with a marker") << "%1 and %2" << QStringList{"%2", "x"} << "%2 and x";
    QTest::newRow("error code") << "ResErr2" << QStringList{"x"} << "ResErr2";
    QTest::newRow("marker without argument") << "%1 %2" << QStringList{"x"} << "x %2";
}

// Texts of the language file take their arguments; an error code in their place takes none,
// and nothing is said about it on standard error.
void TestLanguage::filledTexts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QFETCH(QString, filled);
    QTest::failOnWarning(QRegularExpression(".*"));
    QCOMPARE(filledText(text, arguments), filled);
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
