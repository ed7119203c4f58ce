// The recent projects in a menu: the entries show the stored list, name first; choosing one
// asks for it to be opened, or drops it from the list when its file is gone.

#include "editorfixture.h"
#include "recentprojects.h"
#include "recentprojectsmenu.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace kq;

class TestRecentProjectsMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entriesShowStoredList_data();
    void entriesShowStoredList();
    void choosingOpensOrDropsGoneProject_data();
    void choosingOpensOrDropsGoneProject();

private:
    QTemporaryDir mDir;
};

void TestRecentProjectsMenu::init()
{
    QVERIFY(kq::TestFiles::writeBytes(mDir.filePath("one.dlg2"), "x"));
    QVERIFY(kq::TestFiles::writeBytes(mDir.filePath("a&b.dlg2"), "x"));
    RecentProjects::write({});
}

void TestRecentProjectsMenu::entriesShowStoredList_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("names"); // the start of each visible entry
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("two") << QStringList{"one.dlg2", "a&b.dlg2"}
                         << QStringList{"one.dlg2   (", "a&&b.dlg2   ("};
}

void TestRecentProjectsMenu::entriesShowStoredList()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, names);
    QStringList paths;
    for (const QString &name : stored)
        paths << mDir.filePath(name);
    RecentProjects::write(paths);
    QMenu menu;
    RecentProjectsMenu recent(menu);

    recent.refresh();

    QStringList shown;
    QStringList tips;
    for (int i = 0; i < RecentProjectsMenu::EntryCount; ++i) {
        const auto *entry =
            kq::EditorTest::child<QAction>(&menu, "mnuOpnRecent" + QString::number(i));
        if (entry->isVisible()) {
            shown << entry->text().left(names.value(shown.size()).size());
            tips << entry->toolTip();
        }
    }
    QCOMPARE(shown, names);
    QCOMPARE(tips, paths);
    QCOMPARE(kq::EditorTest::child<QAction>(&menu, "mnuOpnLine2")->isVisible(), !paths.isEmpty());
}

void TestRecentProjectsMenu::choosingOpensOrDropsGoneProject_data()
{
    QTest::addColumn<bool>("gone");
    QTest::newRow("there") << false;
    QTest::newRow("gone") << true;
}

void TestRecentProjectsMenu::choosingOpensOrDropsGoneProject()
{
    QFETCH(bool, gone);
    const QString path = mDir.filePath(gone ? "gone.dlg2" : "one.dlg2");
    RecentProjects::write({path});
    QMenu menu;
    RecentProjectsMenu recent(menu);
    recent.refresh();
    QSignalSpy opened(&recent, &RecentProjectsMenu::openRequested);
    QSignalSpy dropped(&recent, &RecentProjectsMenu::projectGone);

    kq::EditorTest::child<QAction>(&menu, "mnuOpnRecent0")->trigger();

    QCOMPARE(opened.size(), gone ? 0 : 1);
    QCOMPARE(dropped.size(), gone ? 1 : 0);
    QCOMPARE((gone ? dropped : opened)[0][0].toString(), path);
    QCOMPARE(RecentProjects::read(), gone ? QStringList{} : QStringList{path});
    QCOMPARE(kq::EditorTest::child<QAction>(&menu, "mnuOpnRecent0")->isVisible(), !gone);
}

QTEST_MAIN(TestRecentProjectsMenu)
#include "tst_recentprojectsmenu.moc"
