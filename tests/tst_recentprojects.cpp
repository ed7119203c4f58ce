#include "optionsetting.h"
#include "recentprojects.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

// Absolute paths under a folder that need not exist: the list never looks at the files.
QStringList paths(const QStringList &names)
{
    QStringList result;
    for (const QString &name : names)
        result << "/projects/" + name;
    return result;
}

} // namespace

class TestRecentProjects : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void added_data();
    void added();
    void removed_data();
    void removed();
    void relativePathsAreStoredAbsolute();
    void storedListRoundTrips_data();
    void storedListRoundTrips();
    void storedListIsCutToEight();
    void addKeepsWhatAnotherEditorStored();
    void otherSettingsKeepTheirValues();

private:
    QTemporaryDir mConfig;
};

void TestRecentProjects::initTestCase()
{
    // QSettings takes its per-user folder from XDG_CONFIG_HOME at its first use.
    QVERIFY(mConfig.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(mConfig.path()));
}

void TestRecentProjects::init()
{
    RecentProjects::write({});
}

void TestRecentProjects::added_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("into an empty list") << QStringList() << "/projects/a.dlg2" << paths({"a.dlg2"});
    QTest::newRow("new goes in front") << paths({"a.dlg2", "b.dlg2"}) << "/projects/c.dlg2"
                                       << paths({"c.dlg2", "a.dlg2", "b.dlg2"});
    QTest::newRow("known moves to the front, once")
        << paths({"a.dlg2", "b.dlg2", "c.dlg2"}) << "/projects/c.dlg2"
        << paths({"c.dlg2", "a.dlg2", "b.dlg2"});
    QTest::newRow("already in front")
        << paths({"a.dlg2", "b.dlg2"}) << "/projects/a.dlg2" << paths({"a.dlg2", "b.dlg2"});
    QTest::newRow("same file spelled otherwise")
        << paths({"a.dlg2", "b.dlg2"}) << "/projects/old/../b.dlg2" << paths({"b.dlg2", "a.dlg2"});
    QTest::newRow("ninth pushes the oldest out")
        << paths({"1", "2", "3", "4", "5", "6", "7", "8"}) << "/projects/9"
        << paths({"9", "1", "2", "3", "4", "5", "6", "7"});
    QTest::newRow("known one of eight keeps all eight")
        << paths({"1", "2", "3", "4", "5", "6", "7", "8"}) << "/projects/8"
        << paths({"8", "1", "2", "3", "4", "5", "6", "7"});
    QTest::newRow("no path changes nothing") << paths({"a.dlg2"}) << "" << paths({"a.dlg2"});
}

void TestRecentProjects::added()
{
    QFETCH(QStringList, list);
    QFETCH(QString, path);
    QFETCH(QStringList, expected);

    QCOMPARE(RecentProjects::withAdded(list, path), expected);
}

void TestRecentProjects::removed_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("middle") << paths({"a", "b", "c"}) << "/projects/b" << paths({"a", "c"});
    QTest::newRow("not listed") << paths({"a", "b"}) << "/projects/x" << paths({"a", "b"});
    QTest::newRow("spelled otherwise") << paths({"a", "b"}) << "/projects//./a" << paths({"b"});
    QTest::newRow("last one") << paths({"a"}) << "/projects/a" << QStringList();
}

void TestRecentProjects::removed()
{
    QFETCH(QStringList, list);
    QFETCH(QString, path);
    QFETCH(QStringList, expected);

    QCOMPARE(RecentProjects::withRemoved(list, path), expected);
}

void TestRecentProjects::relativePathsAreStoredAbsolute()
{
    const QStringList list = RecentProjects::add("quiz.dlg2");

    QCOMPARE(list, QStringList{QDir::current().absoluteFilePath("quiz.dlg2")});
    QCOMPARE(RecentProjects::read(), list);
}

void TestRecentProjects::storedListRoundTrips_data()
{
    QTest::addColumn<QStringList>("list");

    QTest::newRow("empty") << QStringList();
    QTest::newRow("one") << paths({"quiz.dlg2"});
    QTest::newRow("spaces, commas, semicolons")
        << paths({"my quiz, part 1.dlg2", "a;b.dlg", "  padded  .dlg2"});
    QTest::newRow("Cyrillic") << paths({"Викторина.dlg2", "Шутка/проект.dlg2"});
    QTest::newRow("characters of the settings file")
        << paths({"a=b.dlg2", "[Options].dlg2", "#1.dlg2", "\"quoted\".dlg2", "back\\slash.dlg2",
                  "%0001.dlg2"});
    QTest::newRow("eight") << paths({"1", "2", "3", "4", "5", "6", "7", "8"});
}

void TestRecentProjects::storedListRoundTrips()
{
    QFETCH(QStringList, list);

    RecentProjects::write(list);

    QCOMPARE(RecentProjects::read(), list);
}

void TestRecentProjects::storedListIsCutToEight()
{
    // A list written by hand or by a later version with more entries.
    optionSetting(OptionWrite, OptionRecentProjects, "/1\n/2\n/3\n/4\n/5\n/6\n/7\n/8\n/9\n/10");

    QCOMPARE(RecentProjects::read(), (QStringList{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}));
    QCOMPARE(RecentProjects::add("/new").size(), RecentProjects::MaxCount);
}

void TestRecentProjects::addKeepsWhatAnotherEditorStored()
{
    RecentProjects::add("/projects/mine.dlg2");
    // Another editor stores its own list meanwhile.
    RecentProjects::write(paths({"theirs.dlg2", "mine.dlg2"}));

    QCOMPARE(RecentProjects::add("/projects/next.dlg2"),
             paths({"next.dlg2", "theirs.dlg2", "mine.dlg2"}));
    QCOMPARE(RecentProjects::remove("/projects/theirs.dlg2"), paths({"next.dlg2", "mine.dlg2"}));
    QCOMPARE(RecentProjects::read(), paths({"next.dlg2", "mine.dlg2"}));
}

void TestRecentProjects::otherSettingsKeepTheirValues()
{
    optionSetting(OptionWrite, OptionLanguage, "english.lang");
    optionSetting(OptionWrite, OptionTheme, "/opt/kq/Themes/night.tvth");

    RecentProjects::add("/projects/a.dlg2");
    RecentProjects::remove("/projects/a.dlg2");

    QCOMPARE(optionSetting(OptionRead, OptionLanguage), "english.lang");
    QCOMPARE(optionSetting(OptionRead, OptionTheme), "/opt/kq/Themes/night.tvth");
}

QTEST_GUILESS_MAIN(TestRecentProjects)
#include "tst_recentprojects.moc"
