#include "tst_mainwindowfixture.h"

#include "projectio.h"
#include "recentprojects.h"
#include "recentprojectsmenu.h"

#include <QScreen>
#include <QSplitter>
#include <QSplitterHandle>
#include <QToolButton>
#include <QTreeWidget>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

QSplitter *splitter(const MainWindow &window)
{
    return child<QSplitter>(&window, "main_splitter");
}

// The recent entries the Open menu shows, by the full path each stands for.
QStringList shownRecent(const MainWindow &window)
{
    return visibleEntries(window, "mnuOpnRecent", RecentProjectsMenu::EntryCount,
                          &QAction::toolTip);
}

// The names of the Open menu's visible entries, in menu order.
QStringList openMenuOrder(const MainWindow &window)
{
    QStringList names;
    const QList<QAction *> entries = child<QMenu>(&window, "mnuOpn")->actions();
    for (const QAction *entry : entries) {
        if (entry->isVisible())
            names << entry->objectName();
    }
    return names;
}

bool writeProject(const QString &path, int dialogs)
{
    DialogProject project;
    fillProject(project, dialogs);
    return ProjectIO::saveProjectFile(project, path);
}

} // namespace

class TestMainWindowRemembered : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void areasGrowWithTheWindow();
    void smallestWindowKeepsEveryControl();
    void fitsASmallScreen_data();
    void fitsASmallScreen();
    void placeSizeAndSplitRemembered_data();
    void placeSizeAndSplitRemembered();
    void brokenStoredLayoutOpensAsNew();
    void problemsUnderTheFlowRemembered_data();
    void problemsUnderTheFlowRemembered();
    void foldedProblemsGiveTheMapTheRoom();

    void noRecentProjectsNoEntries();
    void openedAndSavedProjectsListed();
    void recentEntryOpensItsProject();
    void missingRecentProjectLeavesWithNote();
    void unreadableProjectNotListed();
    void atMostEightListed();
    void listFollowsAnotherEditor();
    void entriesKeepTheirTextsAcrossLanguages();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestMainWindowRemembered::init()
{
    QVERIFY(renew(mFolder));
    useDefaultSettings();
}

void TestMainWindowRemembered::areasGrowWithTheWindow()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QWidget *areas[] = {child<QListWidget>(&window, "dlg_list"),
                              child<QPlainTextEdit>(&window, "msg_text"),
                              child<QWidget>(&window, "flow_pane")};
    QList<QSize> before;
    for (const QWidget *area : areas)
        before << area->size();

    window.resize(window.size() + QSize(400, 200));
    QTRY_COMPARE(window.size(), MainWindow::InitialSize + QSize(400, 200));

    // The list's entries have a fixed width; it shows more of them.
    QCOMPARE(areas[0]->width(), before[0].width());
    QVERIFY(areas[0]->height() > before[0].height());
    for (int i = 1; i < 3; ++i) {
        QVERIFY2(areas[i]->width() > before[i].width(), qPrintable(areas[i]->objectName()));
        QVERIFY2(areas[i]->height() > before[i].height(), qPrintable(areas[i]->objectName()));
    }
    // The flow picture takes three quarters of the new width.
    QCOMPARE(areas[2]->width() - before[2].width(), 300);

    window.resize(window.size() - QSize(200, 0));
    QTRY_COMPARE(window.width(), MainWindow::InitialSize.width() + 200);
    QCOMPARE(areas[2]->width() - before[2].width(), 150);
}

void TestMainWindowRemembered::smallestWindowKeepsEveryControl()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), MainWindow::InitialSize);

    window.resize(700, 400);
    QTRY_COMPARE(window.size(), window.minimumSize());
    QVERIFY(window.width() <= MainWindow::LargestMinimum.width());
    QVERIFY(window.height() <= MainWindow::LargestMinimum.height());
    // The buttons (the settings and help among them) and the boxes stay whole inside the window.
    QList<QWidget *> controls;
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (control->isVisible() &&
            (control->inherits("KXButton") || control->inherits("QAbstractButton") ||
             control->inherits("QLineEdit")))
            controls << control;
    }
    QVERIFY(controls.size() > 10);
    for (QWidget *control : std::as_const(controls)) {
        const QRect place(control->mapTo(&window, QPoint()), control->size());
        QVERIFY2(window.rect().contains(place), qPrintable(control->objectName()));
    }
}

void TestMainWindowRemembered::fitsASmallScreen_data()
{
    QTest::addColumn<QRect>("remembered"); // empty: the first start
    QTest::addColumn<bool>("sizeKept");

    QTest::newRow("first start") << QRect() << false;
    QTest::newRow("remembered on a larger screen") << QRect(300, 200, 1500, 900) << false;
    QTest::newRow("remembered off the right edge") << QRect(600, 100, 1000, 600) << true;
    QTest::newRow("remembered inside") << QRect(12, 60, 1000, 640) << true;
}

// Runs on a screen of 1024 x 768 (the test "mainwindowsmallscreen").
void TestMainWindowRemembered::fitsASmallScreen()
{
    QFETCH(QRect, remembered);
    QFETCH(bool, sizeKept);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    if (area.width() > 1024)
        QSKIP("needs the small screen of the test mainwindowsmallscreen");
    if (remembered.isValid()) {
        ScriptedUi ui;
        MainWindow window(ui);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setGeometry(remembered);
        QTRY_COMPARE(window.geometry(), remembered);
        QVERIFY(window.close());
    }

    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY2(area.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                   .arg(window.x())
                                                                   .arg(window.y())
                                                                   .arg(window.width())
                                                                   .arg(window.height())));
    QCOMPARE(window.size() == remembered.size(), sizeKept);
    // The editing areas and the side beside them each get the room they need, side by side.
    const QSplitter *split = splitter(window);
    const QWidget *editing = split->widget(0);
    const QWidget *side = split->widget(1);
    QVERIFY(side->geometry().left() > editing->geometry().right());
    QVERIFY(side->geometry().right() < split->width());
    QVERIFY(side->width() >= side->minimumWidth());
}

void TestMainWindowRemembered::placeSizeAndSplitRemembered_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("flowWidth"); // 0: the flow picture pushed out of the way

    QTest::newRow("larger") << QSize(1500, 820) << 500;
    QTest::newRow("flow collapsed") << QSize(1400, 700) << 0;
    QTest::newRow("first size, wide flow") << MainWindow::InitialSize << 380;
}

// The second window of the editor opens where and as the first was closed.
void TestMainWindowRemembered::placeSizeAndSplitRemembered()
{
    QFETCH(QSize, size);
    QFETCH(int, flowWidth);
    QList<int> split;
    QPoint place;
    {
        ScriptedUi ui;
        MainWindow window(ui);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(60, 40);
        window.resize(size);
        QTRY_COMPARE(window.size(), size);
        const int total = splitter(window)->sizes().at(0) + splitter(window)->sizes().at(1);
        splitter(window)->setSizes({total - flowWidth, flowWidth});
        split = splitter(window)->sizes();
        place = window.pos();
        QVERIFY(window.close());
    }
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), "russian.lang");
    QCOMPARE(optionSetting(OptionRead, OptionTheme), programPath("Themes/standart.tvth"));

    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.size(), size);
    QCOMPARE(window.pos(), place);
    QCOMPARE(splitter(window)->sizes(), split);
    QCOMPARE(split.at(1) > 0, flowWidth > 0);
}

void TestMainWindowRemembered::brokenStoredLayoutOpensAsNew()
{
    optionSetting(OptionWrite, OptionWindowGeometry, "not a window");
    optionSetting(OptionWrite, OptionWindowLayout, "AAAA");
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.size(), MainWindow::InitialSize);
    QVERIFY(splitter(window)->sizes().at(1) > 0);
}

void TestMainWindowRemembered::problemsUnderTheFlowRemembered_data()
{
    QTest::addColumn<int>("drag"); // how far the user drags the line above the problems
    QTest::addColumn<bool>("folded");

    QTest::newRow("dragged up") << -90 << false;
    QTest::newRow("dragged down") << 40 << false;
    QTest::newRow("dragged, then folded") << -60 << true;
}

// The problems lie under the flow picture, both in sight; the second window of the editor shows
// them as high as the first left them, or folded to their title.
void TestMainWindowRemembered::problemsUnderTheFlowRemembered()
{
    QFETCH(int, drag);
    QFETCH(bool, folded);
    int problemsHeight = 0;
    {
        ScriptedUi ui;
        MainWindow window(ui);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(child<QWidget>(&window, "flow_view")->isVisible());
        QVERIFY(child<QTreeWidget>(&window, "problems_list")->isVisible());
        auto *split = child<QSplitter>(&window, "flow_split");
        const int before = split->sizes().at(1);
        QVERIFY(before > 0);
        QSplitterHandle *handle = split->handle(1);
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle + QPoint(0, drag));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle + QPoint(0, drag));
        problemsHeight = split->sizes().at(1);
        QCOMPARE(problemsHeight, before - drag);
        if (folded)
            child<QToolButton>(&window, "problems_title")->click();
        QVERIFY(window.close());
    }

    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *split = child<QSplitter>(&window, "flow_split");
    auto *problems = child<QTreeWidget>(&window, "problems_list");
    QCOMPARE(problems->isVisible(), !folded);
    if (folded) {
        // Folded, the picture takes all but the title row; unfolding gives the height back.
        QVERIFY(split->sizes().at(1) < problemsHeight / 2);
        child<QToolButton>(&window, "problems_title")->click();
        QVERIFY(problems->isVisible());
    }
    QTRY_COMPARE(split->sizes().at(1), problemsHeight);
}

// Folding the problems hands their room to the map at once, with no empty band left between.
void TestMainWindowRemembered::foldedProblemsGiveTheMapTheRoom()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *split = child<QSplitter>(&window, "flow_split");
    auto *title = child<QToolButton>(&window, "problems_title");
    if (!child<QTreeWidget>(&window, "problems_list")->isVisible())
        title->click();
    QCoreApplication::processEvents();
    const int mapBefore = split->widget(0)->height();
    title->click();
    QCoreApplication::processEvents();
    const int problems = split->widget(1)->height();
    QCOMPARE(split->widget(0)->height() + split->handleWidth() + problems, split->height());
    QVERIFY(split->widget(0)->height() > mapBefore);
}

void TestMainWindowRemembered::noRecentProjectsNoEntries()
{
    ScriptedUi ui;
    MainWindow window(ui);

    QCOMPARE(openMenuOrder(window), (QStringList{"mnuOpnFile", "mnuOpnLine1", "mnuOpnF0",
                                                 "mnuOpnF1", "mnuOpnF2", "mnuOpnF3", "mnuOpnF4"}));
}

void TestMainWindowRemembered::openedAndSavedProjectsListed()
{
    const QString first = mFolder->path("first.dlg2");
    const QString second = mFolder->path("second.dlg2");
    const QString savedAs = mFolder->path("saved as.dlg2");
    QVERIFY(writeProject(first, 2));
    QVERIFY(writeProject(second, 3));
    ScriptedUi ui;
    MainWindow window(ui);

    window.projectCommands().openFile(first);
    ui.fileNames.enqueue(savedAs);
    QVERIFY(window.projectCommands().save(ProjectCommands::SaveMode::SaveAs));
    window.projectCommands().openFile(second);
    // Opening a listed project again moves it to the front.
    window.projectCommands().openFile(first);

    QCOMPARE(shownRecent(window), (QStringList{first, second, savedAs}));
    QCOMPARE(RecentProjects::read(), shownRecent(window));
    QCOMPARE(child<QAction>(&window, "mnuOpnRecent0")->text(),
             "first.dlg2   (" + QDir::toNativeSeparators(QFileInfo(first).path()) + ")");
    // Above the samples, each group between separators.
    QCOMPARE(openMenuOrder(window).mid(0, 7),
             (QStringList{"mnuOpnFile", "mnuOpnLine1", "mnuOpnRecent0", "mnuOpnRecent1",
                          "mnuOpnRecent2", "mnuOpnLine2", "mnuOpnF0"}));
    QVERIFY(child<QAction>(&window, "mnuOpnLine2")->isSeparator());
    QVERIFY(ui.messages.isEmpty());
}

void TestMainWindowRemembered::recentEntryOpensItsProject()
{
    const QString path = mFolder->path("four steps.dlg2");
    QVERIFY(writeProject(path, 4));
    RecentProjects::write({path});
    ScriptedUi ui;
    MainWindow window(ui);
    child<QLineEdit>(&window, "msg_caption")->setText("Изменено");
    leave(child<QLineEdit>(&window, "msg_caption"));
    ui.answers.enqueue(UiServices::Answer::No);

    child<QAction>(&window, "mnuOpnRecent0")->trigger();

    // Unsaved edits are asked about first, as for Open.
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].buttons, UiServices::Buttons::YesNoCancel);
    QCOMPARE(document(window).project().dialogCount(), 4);
    QCOMPARE(document(window).project().path(), path);
    QCOMPARE(shownTitle(window), "Kestrane Quorvex - [four steps.dlg2]");
    QVERIFY(!document(window).isModified());
}

void TestMainWindowRemembered::missingRecentProjectLeavesWithNote()
{
    const QString kept = mFolder->path("kept.dlg2");
    const QString gone = mFolder->path("gone.dlg2");
    QVERIFY(writeProject(kept, 2));
    RecentProjects::write({gone, kept});
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);

    child<QAction>(&window, "mnuOpnRecent0")->trigger();

    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(child<QLabel>(&window, "sts")->text(),
             "Файла " + QDir::toNativeSeparators(gone) +
                 " больше нет: он убран из списка последних проектов.");
    QCOMPARE(shownRecent(window), QStringList{kept});
    QCOMPARE(RecentProjects::read(), QStringList{kept});
    QCOMPARE(document(window).project().dialogCount(), 3);
}

void TestMainWindowRemembered::unreadableProjectNotListed()
{
    const QString broken = mFolder->path("broken.dlg2");
    QVERIFY(kq::TestFiles::writeBytes(broken, QByteArray(100, 'x')));
    ScriptedUi ui;
    MainWindow window(ui);

    window.projectCommands().openFile(broken);

    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(shownRecent(window).isEmpty());
    QVERIFY(RecentProjects::read().isEmpty());
}

void TestMainWindowRemembered::atMostEightListed()
{
    ScriptedUi ui;
    MainWindow window(ui);
    QStringList opened;
    for (int i = 0; i < 10; ++i) {
        const QString path = mFolder->path(QString("p%1.dlg2").arg(i));
        QVERIFY(writeProject(path, 1));
        window.projectCommands().openFile(path);
        opened.prepend(path);
    }

    QCOMPARE(shownRecent(window), opened.mid(0, 8));
}

void TestMainWindowRemembered::listFollowsAnotherEditor()
{
    const QString theirs = mFolder->path("theirs.dlg2");
    ScriptedUi ui;
    MainWindow window(ui);
    RecentProjects::write({theirs});

    emit child<QMenu>(&window, "mnuOpn")->aboutToShow();

    QCOMPARE(shownRecent(window), QStringList{theirs});
}

// Switching the language puts ids back into the captions and looks them up again; the recent
// entries are file names and stay so.
void TestMainWindowRemembered::entriesKeepTheirTextsAcrossLanguages()
{
    const QString path = mFolder->path("quiz %0001.dlg2");
    QVERIFY(writeProject(path, 2));
    ScriptedUi ui;
    MainWindow window(ui);
    window.projectCommands().openFile(path);
    const QString text = child<QAction>(&window, "mnuOpnRecent0")->text();
    QVERIFY(text.startsWith("quiz %0001.dlg2"));

    useSettings("english.lang", "Themes/standart.tvth");
    RecentProjects::write({path});
    window.reapplySettings();

    QCOMPARE(child<QAction>(&window, "mnuOpnRecent0")->text(), text);
    QCOMPARE(shownRecent(window), QStringList{path});
}

QTEST_MAIN(TestMainWindowRemembered)
#include "tst_mainwindowremembered.moc"
