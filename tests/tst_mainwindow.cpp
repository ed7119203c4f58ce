#include "tst_mainwindowfixture.h"

#include "buildtarget.h"
#include "codepage.h"
#include "iconpicture.h"
#include "olecolor.h"
#include "projectio.h"
#include "recentprojects.h"
#include "resourcefiles.h"
#include "theme.h"
#include "themepainter.h"

#include <QLibraryInfo>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// The colours of the test theme, in ThemeColorSet order (no "BoxDisabledColor", as the theme
// editor writes them).
const QList<QColor> TestColors{{10, 20, 30},    {40, 50, 60},    {70, 80, 90},    {100, 110, 120},
                               {130, 140, 150}, {160, 170, 180}, {190, 200, 210}, {220, 230, 240},
                               {15, 25, 35},    {45, 55, 65}};

bool writeTestTheme(const QString &path)
{
    ThemeColors colors{};
    for (int i = 0; i < int(colors.size()); ++i)
        colors[i] = oleFromColor(TestColors[i]);
    return writeUserTheme(path, "Test", colors);
}

// The Russian language with longer toolbar captions.
bool writeLongLanguage(const QString &path)
{
    QString text = fromCodePage(kq::TestFiles::readBytes(programPath("Languages/russian.lang")));
    const QStringList longer{"Создать проект", "Открыть проект", "Сохранить проект",
                             "Тестовый запуск", "Собрать программу"};
    const QStringList shorter{"Создать", "Открыть", "Сохранить", "Тест", "Собрать"};
    for (int i = 0; i < 5; ++i) {
        const QString id = "%000" + QString::number(i + 1) + ", ";
        text.replace(id + shorter[i] + "\r\n", id + longer[i] + "\r\n");
    }
    return kq::TestFiles::writeBytes(path, toCodePage(text));
}

bool saveProject(const QString &path, const QStringList &texts, const QString &style)
{
    DialogProject project;
    fillProject(project, int(texts.size()));
    project.record(0).text = style;
    for (int i = 0; i < texts.size(); ++i)
        project.record(i + 1).text = texts[i];
    return ProjectIO::saveProjectFile(project, path);
}

void closeModalSoon()
{
    QTimer::singleShot(0, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
}

// An edit written back into the record, as leaving the caption box does.
void editCaption(MainWindow &window)
{
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setText("Изменено");
    leave(caption);
}

const QString Question = "Проект изменён. Сохранить изменения?";
const QString Failed = "Операция не выполнена";

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void startUpWritesFirstRunSettingsOnly_data();
    void startUpWritesFirstRunSettingsOnly();
    void projectWithoutDialogsGetsOne_data();
    void projectWithoutDialogsGetsOne();
    void commandsAreReachedFromTheWindow_data();
    void commandsAreReachedFromTheWindow();
    void closeWritesBackTypingInProgress();
    void openProjectSetsTitleAndStyle();
    void openFewerDialogsSelectsFirst();
    void sampleEntriesFollowLanguage_data();
    void sampleEntriesFollowLanguage();
    void statusLineFollowsMouse_data();
    void statusLineFollowsMouse();
    void toolbarKeepsOrderAndRightEdge_data();
    void toolbarKeepsOrderAndRightEdge();
    void longerCaptionsMoveButtons();
    void menusPopUpUnderTheirButtons();
    void buildMenuOffersBothBuilds();
    void saveDialogsOfferAPlace_data();
    void saveDialogsOfferAPlace();
    void buildsForWindows();
    void webPageOffersToOpenIt_data();
    void webPageOffersToOpenIt();
    void buildsNeverWriteTheOpenProject_data();
    void buildsNeverWriteTheOpenProject();
    void saveDialogsOfferTheProjectsName_data();
    void saveDialogsOfferTheProjectsName();
    void menuEntriesShowTheirKeys();
    void buttonsShowTheirPictures();
    void shortcutsWorkAnywhere();
    void helpEntriesOpenReadmeAndSite();
    void unopenedAddressStaysInTheStatusLine();
    void colorsFollowEnabledState_data();
    void colorsFollowEnabledState();
    void themeWithoutBoxDisabledColorLooksTheSame();
    void languageSwitchReachesEveryCaption_data();
    void languageSwitchReachesEveryCaption();
    void brokenLanguageShowsItsErrorEverywhere_data();
    void brokenLanguageShowsItsErrorEverywhere();
    void missingLanguageWarnsNothing();
    void standardDialogsSpeakTheLanguage();
    void managementWindowAppliesSettings();
    void aboutWindowOpens();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestMainWindow::init()
{
    QVERIFY(renew(mFolder));
    useDefaultSettings();
}

void TestMainWindow::startUpWritesFirstRunSettingsOnly_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QString>("languageAfter");
    QTest::addColumn<QString>("themeAfter");
    QTest::newRow("first run") << ""
                               << ""
                               << "russian.lang"
                               << "Themes/standart.tvth";
    QTest::newRow("both set") << "english.lang"
                              << "Themes/night.tvth"
                              << "english.lang"
                              << "Themes/night.tvth";
    QTest::newRow("theme alone empty") << "english.lang"
                                       << ""
                                       << "english.lang"
                                       << "";
    QTest::newRow("language alone empty") << ""
                                          << "Themes/night.tvth"
                                          << "russian.lang"
                                          << "Themes/standart.tvth";
}

void TestMainWindow::startUpWritesFirstRunSettingsOnly()
{
    QFETCH(QString, language);
    QFETCH(QString, theme);
    QFETCH(QString, languageAfter);
    QFETCH(QString, themeAfter);
    useSettings(language, theme);
    ScriptedUi ui;
    {
        MainWindow window(ui);
        QCOMPARE(optionSetting(OptionRead, OptionLanguage), languageAfter);
        QCOMPARE(optionSetting(OptionRead, OptionTheme),
                 themeAfter.isEmpty() ? QString() : mFolder->path(themeAfter));
        QCOMPARE(shownTitle(window), "Kestrane Quorvex");
    }
    // A second start finds the language set and writes nothing.
    optionSetting(OptionWrite, OptionTheme, "elsewhere.tvth");
    MainWindow second(ui);
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), languageAfter);
    QCOMPARE(optionSetting(OptionRead, OptionTheme), "elsewhere.tvth");
}

void TestMainWindow::projectWithoutDialogsGetsOne_data()
{
    QTest::addColumn<bool>("fromPlugin"); // else a project file holding only the header
    QTest::newRow("opened file") << false;
    QTest::newRow("plug-in result") << true;
}

void TestMainWindow::projectWithoutDialogsGetsOne()
{
    QFETCH(bool, fromPlugin);
    const QString path = mFolder->path("empty.dlg2");
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    selectEntry(window, 2);

    if (fromPlugin) {
        DialogProject empty = document(window).project();
        empty.setDialogCount(0);
        window.projectCommands().loadPluginResult(empty);
    } else {
        DialogProject headerOnly;
        fillProject(headerOnly, 0);
        QVERIFY(ProjectIO::saveProjectFile(headerOnly, path));
        QCOMPARE(QFileInfo(path).size(), DialogRecord::Size);
        ui.fileNames.enqueue(path);
        window.projectCommands().open();
        QVERIFY(ui.messages.isEmpty());
    }

    // The panel edits a dialog the list shows, so the edit is saved with the project.
    QCOMPARE(entries(window), QStringList{"0. Текст сообщения"});
    QCOMPARE(document(window).project().dialogCount(), 1);
    QCOMPARE(document(window).currentDialog(), 1);
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "Текст сообщения");
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setText("Сохранится");
    leave(caption);
    ui.fileNames.enqueue(path);
    QVERIFY(window.projectCommands().save(ProjectCommands::SaveMode::SaveAs));
    DialogProject saved;
    QVERIFY(ProjectIO::loadProjectFile(saved, path));
    QCOMPARE(saved.dialogCount(), 1);
    QCOMPARE(trimmedRight(saved.record(1).caption), "Сохранится");

    child<QPushButton>(&window, "list_new")->click();
    QCOMPARE(entries(window), (QStringList{"0. Текст сообщения", "1. Текст сообщения"}));
    QCOMPARE(document(window).currentDialog(), 2);
}

// The toolbar, its menus and closing the window reach the project commands, whose outcomes
// tst_projectcommands goes through.
void TestMainWindow::commandsAreReachedFromTheWindow_data()
{
    QTest::addColumn<QString>("control"); // a tool button or menu entry; empty: closing
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("fileDialog"); // "open", "save" or empty: none
    QTest::addColumn<QString>("title");
    QTest::newRow("New button asks first") << "sd0" << true << 1 << ""
                                           << "Kestrane Quorvex";
    QTest::newRow("Open button") << "sd1" << false << 0 << "open"
                                 << "Kestrane Quorvex";
    QTest::newRow("Save button") << "sd2" << false << 0 << "save"
                                 << "Kestrane Quorvex";
    QTest::newRow("Save entry") << "mnuSavS" << false << 0 << "save"
                                << "Kestrane Quorvex";
    QTest::newRow("Save As entry") << "mnuSavAs" << false << 0 << "save"
                                   << "Kestrane Quorvex";
    QTest::newRow("sample entry") << "mnuOpnF0" << false << 0 << ""
                                  << "Kestrane Quorvex - [FormatC.dlg2]";
    QTest::newRow("closing asks first") << "" << true << 1 << ""
                                        << "Kestrane Quorvex";
}

void TestMainWindow::commandsAreReachedFromTheWindow()
{
    QFETCH(QString, control);
    QFETCH(bool, edited);
    QFETCH(int, questions);
    QFETCH(QString, fileDialog);
    QFETCH(QString, title);
    ScriptedUi ui;
    MainWindow window(ui);
    if (edited)
        editCaption(window);

    if (control.isEmpty())
        QVERIFY(!window.close());
    else if (auto *button = window.findChild<KXButton *>(control))
        emit button->clicked();
    else
        child<QAction>(&window, control)->trigger();

    QCOMPARE(ui.messages.size(), questions);
    if (questions > 0)
        QCOMPARE(ui.messages[0].text, Question);
    QCOMPARE(ui.fileDialogs.size(), fileDialog.isEmpty() ? 0 : 1);
    if (!fileDialog.isEmpty())
        QCOMPARE(ui.fileDialogs[0].save, fileDialog == "save");
    QCOMPARE(shownTitle(window), title);
    // Answered as a user who cancels: the edits stay.
    QCOMPARE(document(window).isModified(), edited);
}

void TestMainWindow::closeWritesBackTypingInProgress()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setFocus();
    QTest::keyClicks(caption, "Typed");

    QVERIFY(!window.close());

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, Question);
    QCOMPARE(trimmedRight(document(window).project().record(1).caption), "Typed");
}

void TestMainWindow::openProjectSetsTitleAndStyle()
{
    const QString path = mFolder->path("quiz.dlg2");
    QVERIFY(saveProject(path, {"Один", "Два"}, "1"));
    ScriptedUi ui;
    MainWindow window(ui);
    ui.fileNames.enqueue(path);

    window.projectCommands().open();

    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(entries(window), (QStringList{"0. Один", "1. Два"}));
    QCOMPARE(shownTitle(window), "Kestrane Quorvex - [quiz.dlg2]");
    QCOMPARE(document(window).project().path(), path);
    QVERIFY(child<QRadioButton>(&window, "prj_st1")->isChecked());
    QCOMPARE(trimmedRight(document(window).project().record(0).text), "1");
    QVERIFY(!document(window).isModified());
}

void TestMainWindow::openFewerDialogsSelectsFirst()
{
    const QString path = mFolder->path("short.dlg2");
    QVERIFY(saveProject(path, {"Первый", "Второй"}, "0"));
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 5);
    selectEntry(window, 4);
    ui.fileNames.enqueue(path);

    window.projectCommands().open();

    QCOMPARE(document(window).currentDialog(), 1);
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "Первый");
}

// The visible sample entries of the Open menu, in order.
QStringList visibleSamples(const MainWindow &window)
{
    return visibleEntries(window, "mnuOpnF", MainWindow::SampleCount, &QAction::text);
}

void TestMainWindow::sampleEntriesFollowLanguage_data()
{
    const QStringList shipped{"FormatC.dlg2", "VirusModification.dlg2", "tester.dlg", "trojan.dlg",
                              "virus.dlg"};
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("switchedTo");
    QTest::addColumn<QStringList>("samples");
    QTest::newRow("russian") << "russian.lang"
                             << "" << shipped;
    QTest::newRow("english") << "english.lang"
                             << "" << shipped + QStringList{"Quiz.dlg2", "DeskCleanup.dlg2"};
    QTest::newRow("english, then russian") << "english.lang"
                                           << "russian.lang" << shipped;
    QTest::newRow("russian, then english")
        << "russian.lang"
        << "english.lang" << shipped + QStringList{"Quiz.dlg2", "DeskCleanup.dlg2"};
}

// The Open menu lists the samples of the active language, also after the language changed in
// the management window, and the last listed entry opens its own file.
void TestMainWindow::sampleEntriesFollowLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, switchedTo);
    QFETCH(QStringList, samples);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    if (!switchedTo.isEmpty()) {
        useSettings(switchedTo, "Themes/standart.tvth");
        window.reapplySettings();
    }

    QCOMPARE(visibleSamples(window), samples);
    child<QAction>(&window, "mnuOpnF" + QString::number(samples.size() - 1))->trigger();
    QCOMPARE(ui.messages.size(), 0);
    QCOMPARE(shownTitle(window).endsWith(samples.constLast() + "]"),
             samples.constLast().endsWith(".dlg2"));
    QVERIFY(document(window).project().dialogCount() > 1);
}

void TestMainWindow::statusLineFollowsMouse_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("hint");
    QTest::newRow("toolbar") << "toolbar"
                             << "Готово";
    QTest::newRow("window") << "main"
                            << "Готово";
    QTest::newRow("status bar") << "statusbar"
                                << "Готово";
    QTest::newRow("list box") << "listbox"
                              << "Список диалогов: выберите диалог, чтобы изменить его";
    QTest::newRow("data box") << "data_box"
                              << "Свойства выбранного диалога";
    QTest::newRow("project box") << "projectbox"
                                 << "Оформление окон собранной программы";
    QTest::newRow("script box") << "scrbox"
                                << "Составьте сценарий и вставьте его в кнопку 1 или 2";
}

void TestMainWindow::statusLineFollowsMouse()
{
    QFETCH(QString, area);
    QFETCH(QString, hint);
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *sts = child<QLabel>(&window, "sts");

    emit child<KXButton>(&window, "sd3")->pointerEntered();
    QCOMPARE(sts->text(), "Запустить проект для проверки");

    QWidget *widget = area == "main" ? &window : child<QWidget>(&window, area);
    // Over a control of the area the hint does not change; over its own background it does.
    if (QWidget *control = widget->findChild<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (area != "statusbar") {
            kq::EditorTest::moveMouse(widget, control->geometry().center());
            QCOMPARE(sts->text(), "Запустить проект для проверки");
        }
    }
    const int toolbarHeight = child<QWidget>(&window, "toolbar")->height();
    const QPoint background = area == "toolbar" ? QPoint(widget->width() / 2, 1)
                              : area == "main"  ? QPoint(3, toolbarHeight + 3)
                                                : QPoint(2, 2);
    QVERIFY(!widget->childAt(background));
    kq::EditorTest::moveMouse(widget, background);
    QCOMPARE(sts->text(), hint);
}

void TestMainWindow::toolbarKeepsOrderAndRightEdge_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("russian") << "russian.lang";
    QTest::newRow("english") << "english.lang";
}

void TestMainWindow::toolbarKeepsOrderAndRightEdge()
{
    QFETCH(QString, language);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *toolbar = child<QWidget>(&window, "toolbar");
    QList<KXButton *> sd;
    for (int i = 0; i < 7; ++i)
        sd << child<KXButton>(toolbar, "sd" + QString::number(i));
    auto *lnl0 = child<QWidget>(toolbar, "lnl0");
    auto *lnl1 = child<QWidget>(toolbar, "lnl1");

    QCOMPARE(sd[0]->x(), 0);
    QCOMPARE(sd[1]->x(), sd[0]->width());
    QCOMPARE(sd[2]->x(), sd[1]->x() + sd[1]->width());
    QCOMPARE(lnl0->x(), sd[2]->x() + sd[2]->width() + 1);
    QCOMPARE(sd[3]->x(), lnl0->x() + 2);
    QCOMPARE(sd[4]->x(), sd[3]->x() + sd[3]->width());
    QCOMPARE(lnl1->x(), sd[4]->x() + sd[4]->width() + 1);
    QCOMPARE(sd[5]->width(), 22);
    QCOMPARE(sd[5]->x(), toolbar->width() - 45);
    QCOMPARE(sd[6]->x() + sd[6]->width(), toolbar->width() - 1);
    QVERIFY(lnl1->x() < sd[5]->x());
    // Each captioned button is wide enough for its caption.
    for (int i = 0; i < 5; ++i)
        QVERIFY(sd[i]->width() >= sd[i]->sizeHint().width());

    window.resize(window.width() + 60, window.height());
    QCOMPARE(sd[5]->x(), toolbar->width() - 45);
}

void TestMainWindow::longerCaptionsMoveButtons()
{
    QVERIFY(writeLongLanguage(mFolder->path("Languages/long.lang")));
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *toolbar = child<QWidget>(&window, "toolbar");
    QList<int> before;
    for (const QString name : {"sd1", "sd2", "sd3", "sd4", "lnl0", "lnl1", "sd5", "sd6"})
        before << child<QWidget>(toolbar, name)->x();

    optionSetting(OptionWrite, OptionLanguage, "long.lang");
    window.reapplySettings();

    QCOMPARE(child<KXButton>(toolbar, "sd3")->caption(), "Тестовый запуск");
    const QStringList moved{"sd1", "sd2", "sd3", "sd4", "lnl0", "lnl1"};
    for (int i = 0; i < moved.size(); ++i)
        QVERIFY2(child<QWidget>(toolbar, moved[i])->x() > before[i], qPrintable(moved[i]));
    QCOMPARE(child<QWidget>(toolbar, "sd5")->x(), before[6]);
    QCOMPARE(child<QWidget>(toolbar, "sd6")->x(), before[7]);
}

void TestMainWindow::menusPopUpUnderTheirButtons()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *open = child<QMenu>(&window, "mnuOpn");
    auto *save = child<QMenu>(&window, "mnuSav");
    auto *help = child<QMenu>(&window, "mnuHlp");
    auto *sd1 = child<KXButton>(&window, "sd1");
    auto *sd6 = child<KXButton>(&window, "sd6");

    emit sd1->arrowClicked();
    QVERIFY(open->isVisible());
    QCOMPARE(open->geometry().topLeft(), sd1->mapToGlobal(QPoint(0, sd1->height())));
    open->close();

    emit child<KXButton>(&window, "sd2")->arrowClicked();
    QVERIFY(save->isVisible());
    save->close();

    // The help menu ends at the button's right edge, so the button must lie within the screen.
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.right() - window.width() - 20, screen.top());
    emit sd6->clicked();
    QVERIFY(help->isVisible());
    QCOMPARE(help->geometry().right(), sd6->mapToGlobal(QPoint(sd6->width() - 1, 0)).x());
    QCOMPARE(help->geometry().top(), sd6->mapToGlobal(QPoint(0, sd6->height())).y());
    help->close();

    QList<QAction *> openEntries = open->actions();
    openEntries.removeIf([](const QAction *entry) { return !entry->isVisible(); });
    QCOMPARE(openEntries.size(), 7);
    QCOMPARE(openEntries[0]->text(), "Открыть...");
    QVERIFY(openEntries[1]->isSeparator());
    QStringList samples;
    for (int i = 2; i < 7; ++i)
        samples << openEntries[i]->text();
    QCOMPARE(samples, (QStringList{"FormatC.dlg2", "VirusModification.dlg2", "tester.dlg",
                                   "trojan.dlg", "virus.dlg"}));
    QVERIFY(child<QAction>(&window, "mnuHlpLine1")->isSeparator());
    QVERIFY(ui.fileDialogs.isEmpty());
}

void TestMainWindow::buildMenuOffersBothBuilds()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    emit child<KXButton>(&window, "sd4")->arrowClicked();

    auto *menu = child<QMenu>(&window, "mnuBld");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(child<QAction>(menu, "mnuBldProgram")->text(), "Собрать программу...");
    QCOMPARE(child<QAction>(menu, "mnuBldPortable")->text(), "Собрать переносимую...");
    QCOMPARE(child<QAction>(menu, "mnuBldWeb")->text(), "Собрать веб-страницу...");
    QCOMPARE(child<QAction>(menu, "mnuBldWindows")->text(), "Собрать для Windows...");
    menu->hide();

    // The menu's first entry is the Build button's own command.
    QTemporaryDir target;
    ui.fileNames.enqueue(target.filePath("quiz.exe"));
    child<QAction>(menu, "mnuBldProgram")->trigger();
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz.exe")), FakeRunner);
}

void TestMainWindow::buildsNeverWriteTheOpenProject_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("program") << "mnuBldProgram";
    QTest::newRow("portable") << "mnuBldPortable";
    QTest::newRow("web page") << "mnuBldWeb";
    QTest::newRow("Windows") << "mnuBldWindows";
}

// The project's own name chosen in the build's file dialog (and "Replace?" answered Yes there):
// the warning gives the reason, and the project stays as it was, saved.
void TestMainWindow::buildsNeverWriteTheOpenProject()
{
    QFETCH(QString, command);
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath("quiz.dlg2");
    QVERIFY(saveProject(path, {"Один", "Два"}, "0"));
    const QByteArray saved = kq::TestFiles::readBytes(path);
    ScriptedUi ui;
    MainWindow window(ui);
    ui.fileNames << path << path;
    window.projectCommands().open();
    // A build of a project with errors asks first.
    ui.answers.enqueue(UiServices::Answer::Yes);

    child<QAction>(&window, command)->trigger();

    QCOMPARE(ui.fileDialogs.size(), 2);
    QVERIFY(!ui.messages.isEmpty());
    QCOMPARE(ui.messages.constLast().title, Failed);
    QVERIFY2(ui.messages.constLast().text.contains("собираемый проект"),
             qPrintable(ui.messages.constLast().text));
    QCOMPARE(kq::TestFiles::readBytes(path), saved);
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"quiz.dlg2"});
    QVERIFY(!document(window).isModified());
}

void TestMainWindow::saveDialogsOfferTheProjectsName_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("accept");
    QTest::newRow("save as") << "mnuSavAs"
                             << "Quiz v1.2.dlg2"
                             << "";
    QTest::newRow("build") << "mnuBldProgram"
                           << "Quiz v1.2"
                           << "Собрать";
    QTest::newRow("portable") << "mnuBldPortable"
                              << "Quiz v1.2-portable"
                              << "Собрать";
    QTest::newRow("web page") << "mnuBldWeb"
                              << "Quiz v1.2.html"
                              << "Собрать";
    QTest::newRow("Windows") << "mnuBldWindows"
                             << "Quiz v1.2.exe"
                             << "Собрать";
    QTest::newRow("picture") << "flow_export"
                             << "Quiz v1.2.png"
                             << "Экспортировать";
}

void TestMainWindow::saveDialogsOfferTheProjectsName()
{
    QFETCH(QString, command);
    QFETCH(QString, offered);
    QFETCH(QString, accept);
    const QString path = mFolder->path("Quiz v1.2.dlg2");
    QVERIFY(saveProject(path, {"Один", "Два"}, "0"));
    ScriptedUi ui;
    MainWindow window(ui);
    ui.fileNames.enqueue(path);
    window.projectCommands().open();
    // A build of a project with errors asks first.
    ui.answers.enqueue(UiServices::Answer::Yes);

    if (auto *button = window.findChild<QPushButton *>(command))
        button->click();
    else
        child<QAction>(&window, command)->trigger();

    QCOMPARE(ui.fileDialogs.size(), 2);
    QCOMPARE(ui.fileDialogs[1].suggestedPath, mFolder->path(offered));
    QCOMPARE(ui.fileDialogs[1].acceptLabel, accept);
}

// Where a save dialog starts, whatever the project came from: a file opened by a relative path, an
// old text project, a file whose ending is in capitals, a new project with or without a caption.
void TestMainWindow::saveDialogsOfferAPlace_data()
{
    QTest::addColumn<QString>("opened");  // below the test's folder; empty: a new project
    QTest::addColumn<QString>("caption"); // of the new project's first step
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("offered"); // below the test's folder, or "docs/..."
    QTest::newRow("relative path, save as") << "work/Quiz.dlg2"
                                            << ""
                                            << "mnuSavAs"
                                            << "work/Quiz.dlg2";
    QTest::newRow("relative path, web page") << "work/Quiz.dlg2"
                                             << ""
                                             << "mnuBldWeb"
                                             << "work/Quiz.html";
    QTest::newRow("old text project") << "tester.dlg"
                                      << ""
                                      << "mnuSavAs"
                                      << "tester.dlg2";
    QTest::newRow("old text project, build") << "tester.dlg"
                                             << ""
                                             << "mnuBldProgram"
                                             << "tester";
    QTest::newRow("ending in capitals") << "UPPER.DLG2"
                                        << ""
                                        << "mnuSavAs"
                                        << "UPPER.DLG2";
    QTest::newRow("new project named by its caption") << ""
                                                      << "Викторина: шаг 1?"
                                                      << "mnuSavS"
                                                      << "Викторина шаг 1.dlg2";
    QTest::newRow("new project without a caption") << ""
                                                   << ""
                                                   << "mnuSavS"
                                                   << "Без имени.dlg2";
}

void TestMainWindow::saveDialogsOfferAPlace()
{
    QFETCH(QString, opened);
    QFETCH(QString, caption);
    QFETCH(QString, command);
    QFETCH(QString, offered);
    ScriptedUi ui;
    MainWindow window(ui);
    const QString previous = QDir::currentPath();
    if (opened.isEmpty()) {
        // The folder used last is the test's own.
        RecentProjects::add(mFolder->path("earlier.dlg2"));
        document(window).setCurrentDialog(1);
        auto *box = child<QLineEdit>(&window, "msg_caption");
        box->setText(caption);
        leave(box);
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(mFolder->path(opened)).absolutePath()));
        if (opened.endsWith(".dlg"))
            QVERIFY(QFile::copy(mFolder->path("Samples/tester.dlg"), mFolder->path(opened)));
        else
            QVERIFY(saveProject(mFolder->path(opened), {"Один"}, "0"));
        // Opened as `tavlen work/Quiz.dlg2` opens it, then the current folder changes.
        QVERIFY(QDir::setCurrent(mFolder->path(".")));
        window.projectCommands().openFile(opened);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }
    // A build of a project with errors asks first.
    ui.answers.enqueue(UiServices::Answer::Yes);

    child<QAction>(&window, command)->trigger();
    QDir::setCurrent(previous);

    QVERIFY(!ui.fileDialogs.isEmpty());
    QCOMPARE(ui.fileDialogs.constLast().suggestedPath, QDir::cleanPath(mFolder->path(offered)));
}

// "Build for Windows..." writes the Windows player with the project's table after it, named
// with ".exe" when the name chosen has no ending, and says so in the status bar.
void TestMainWindow::buildsForWindows()
{
    ScriptedUi ui;
    MainWindow window(ui);
    QTemporaryDir elsewhere;
    ui.fileNames << elsewhere.filePath("quiz");
    ui.answers.enqueue(UiServices::Answer::Yes); // build despite the check's findings
    child<QAction>(&window, "mnuBldWindows")->trigger();

    const QString program = elsewhere.filePath("quiz.exe");
    QVERIFY(kq::TestFiles::readBytes(program).startsWith(FakeWindowsPlayer));
    QVERIFY(kq::isBuiltWindowsProgram(program));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"quiz.exe"});
    QVERIFY2(child<QLabel>(&window, "sts")->text().contains("quiz.exe"),
             qPrintable(child<QLabel>(&window, "sts")->text()));
}

// A built page is offered in the browser from the status bar; a browser that does not start is
// told with the address.
void TestMainWindow::webPageOffersToOpenIt_data()
{
    QTest::addColumn<bool>("browserOpens");
    QTest::newRow("a browser opens it") << true;
    QTest::newRow("no browser") << false;
}

void TestMainWindow::webPageOffersToOpenIt()
{
    QFETCH(bool, browserOpens);
    ScriptedUi ui;
    ui.urlsOpen = browserOpens;
    MainWindow window(ui);
    QTemporaryDir elsewhere;
    const QString page = elsewhere.filePath("quiz.html");
    ui.fileNames << page;
    ui.answers.enqueue(UiServices::Answer::Yes); // build despite the check's findings
    child<QAction>(&window, "mnuBldWeb")->trigger();
    auto *status = child<QLabel>(&window, "sts");
    QVERIFY2(status->text().contains("<a href="), qPrintable(status->text()));

    emit status->linkActivated(QUrl::fromLocalFile(page).toString());

    QCOMPARE(ui.urls, QList<QUrl>{QUrl::fromLocalFile(page)});
    QCOMPARE(status->text().contains(QDir::toNativeSeparators(page)), true);
    QCOMPARE(status->text().contains("<a href="), browserOpens);
}

void TestMainWindow::menuEntriesShowTheirKeys()
{
    ScriptedUi ui;
    MainWindow window(ui);
    const QList<std::pair<const char *, QKeySequence>> keyed{
        {"mnuOpnFile", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuSavS", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuSavAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mnuBldProgram", QKeySequence(Qt::CTRL | Qt::Key_B)},
        {"mnuHlpHelp", QKeySequence(Qt::Key_F1)}};
    for (const auto &[name, key] : keyed) {
        auto *entry = child<QAction>(&window, name);
        QCOMPARE(entry->shortcut(), key);
        // The menus pop up from the toolbar, which Qt treats as context menus.
        QVERIFY2(entry->isShortcutVisibleInContextMenu(), name);
    }
    // One action per key, or the key would be ambiguous and do nothing.
    const QList<QAction *> actions = window.findChildren<QAction *>();
    QCOMPARE(std::count_if(actions.cbegin(), actions.cend(),
                           [](const QAction *action) {
                               return action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_B);
                           }),
             1);
}

void TestMainWindow::buttonsShowTheirPictures()
{
    ScriptedUi ui;
    MainWindow window(ui);
    for (int i = 0; i < MainWindow::ToolButtonCount; ++i)
        QVERIFY(!child<KXButton>(&window, "sd" + QString::number(i))->picture().isNull());
    for (const char *name :
         {"list_new", "list_delete", "list_up", "list_down", "scr_ins0", "scr_ins1"})
        QVERIFY2(!child<QPushButton>(&window, name)->icon().isNull(), name);
}

void TestMainWindow::shortcutsWorkAnywhere()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *list = child<QListWidget>(&window, "dlg_list");
    list->setFocus();

    QTest::keyClick(list, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(ui.fileDialogs.size(), 1);
    QCOMPARE(ui.fileDialogs[0].title, "Открыть проект");

    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setFocus();
    QTest::keyClick(caption, Qt::Key_F1);
    QCOMPARE(ui.urls, QList<QUrl>{QUrl::fromLocalFile(mFolder->path("readme.txt"))});

    QTest::keyClick(caption, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ui.fileDialogs.size(), 2);
    QCOMPARE(ui.fileDialogs[1].title, "Сохранить проект как");
    QVERIFY(ui.messages.isEmpty());
}

void TestMainWindow::helpEntriesOpenReadmeAndSite()
{
    ScriptedUi ui;
    MainWindow window(ui);

    child<QAction>(&window, "mnuHlpSite")->trigger();
    QCOMPARE(ui.urls, QList<QUrl>{QUrl("https://quorvex.example.org/")});

    QVERIFY(QFile::remove(mFolder->path("readme.txt")));
    child<QAction>(&window, "mnuHlpHelp")->trigger();
    QCOMPARE(ui.urls.size(), 1);
    QVERIFY(ui.messages.isEmpty());
}

void TestMainWindow::unopenedAddressStaysInTheStatusLine()
{
    ScriptedUi ui;
    ui.urlsOpen = false;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *status = child<QLabel>(&window, "sts");
    QTest::mouseMove(status, QPoint(2, 2));
    child<QAction>(&window, "mnuHlpSite")->trigger();
    QCOMPARE(status->text(),
             languageText(TextId::AddressNotOpened).arg("https://quorvex.example.org/"));
    QVERIFY(status->textInteractionFlags() & Qt::TextSelectableByMouse);

    // On its way to select the address, the pointer shows no hint over it; elsewhere it does.
    QTest::mouseMove(status, QPoint(6, 4));
    QCOMPARE(status->text(),
             languageText(TextId::AddressNotOpened).arg("https://quorvex.example.org/"));
    QTest::mouseMove(child<QWidget>(&window, "statusbar"), QPoint(1, 1));
    QCOMPARE(status->text(),
             languageText(TextId::AddressNotOpened).arg("https://quorvex.example.org/"));
    QTest::mouseMove(&window, QPoint(1, window.height() / 2));
    QCOMPARE(status->text(), languageText(TextId::StatusReady));
    QVERIFY(!(status->textInteractionFlags() & Qt::TextSelectableByMouse));
}

void TestMainWindow::colorsFollowEnabledState_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("disable");
    QTest::addColumn<bool>("background"); // else the text colour
    QTest::addColumn<QColor>("color");
    QTest::newRow("enabled box") << "msg_caption" << false << true << TestColors[0];
    QTest::newRow("disabled box") << "msg_caption" << true << true << TestColors[1];
    QTest::newRow("disabled box text") << "msg_caption" << true << false << TestColors[2];
    QTest::newRow("time box of a message") << "msg_time" << false << true << TestColors[1];
    QTest::newRow("text") << "msg_text" << false << true << TestColors[0];
    QTest::newRow("list") << "dlg_list" << false << true << TestColors[0];
    QTest::newRow("disabled drop-down") << "scr_atr" << false << true << TestColors[1];
    QTest::newRow("drop-down text") << "scr_com" << false << false << TestColors[2];
    QTest::newRow("enabled label") << "msg_lbltext" << false << false << TestColors[3];
    QTest::newRow("disabled label") << "msg_lbltime" << false << false << TestColors[4];
    QTest::newRow("option") << "msg_type1" << false << true << TestColors[5];
    QTest::newRow("disabled option") << "msg_type1" << true << true << TestColors[5];
    QTest::newRow("option text") << "prj_st0" << false << false << TestColors[2];
    QTest::newRow("enabled button") << "list_new" << false << true << TestColors[5];
    QTest::newRow("disabled button") << "list_delete" << false << true << TestColors[6];
    QTest::newRow("window") << "main" << false << true << TestColors[8];
    QTest::newRow("panel") << "data_box" << false << true << TestColors[9];
    QTest::newRow("status line") << "sts" << false << false << QColor(Qt::black);
    QTest::newRow("disabled status line") << "sts" << true << false << QColor(Qt::black);
    QTest::newRow("status bar") << "statusbar" << false << true << QColor(240, 240, 240);
    QTest::newRow("toolbar") << "toolbar" << false << true << QColor(240, 240, 240);
}

void TestMainWindow::colorsFollowEnabledState()
{
    QFETCH(QString, control);
    QFETCH(bool, disable);
    QFETCH(bool, background);
    QFETCH(QColor, color);
    QVERIFY(writeTestTheme(mFolder->path("Themes/test.tvth")));
    useSettings("russian.lang", "Themes/test.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    QWidget *widget = control == "main" ? &window : child<QWidget>(&window, control);
    if (disable) {
        widget->setEnabled(false);
        window.findChild<ThemePainter *>()->paint();
    }
    const QPalette::ColorGroup group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
    // What the user sees: a list or text box shows its viewport, a drop-down list is drawn
    // as a button.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        widget = area->viewport();
    QPalette::ColorRole role = background ? widget->backgroundRole() : widget->foregroundRole();
    if (qobject_cast<QComboBox *>(widget))
        role = background ? QPalette::Button : QPalette::ButtonText;
    QCOMPARE(widget->palette().color(group, role), color);
    QCOMPARE(child<IconPicture>(&window, "msg_icons")->background(), TestColors[0]);
}

void TestMainWindow::themeWithoutBoxDisabledColorLooksTheSame()
{
    QVERIFY(writeTestTheme(mFolder->path("Themes/test.tvth")));
    QVERIFY(kq::TestFiles::writeBytes(mFolder->path("Themes/full.tvth"),
                                      kq::TestFiles::readBytes(mFolder->path("Themes/test.tvth")) +
                                          "BoxDisabledColor=255\r\n"));
    ScriptedUi ui;
    useSettings("russian.lang", "Themes/test.tvth");
    MainWindow withoutLine(ui);
    useSettings("russian.lang", "Themes/full.tvth");
    MainWindow withLine(ui);

    const QList<QWidget *> controls = withoutLine.findChildren<QWidget *>();
    for (QWidget *control : controls) {
        // Qt's own parts share their names, so a lookup by name would find another's twin.
        if (control->objectName().isEmpty() || control->objectName().startsWith("qt_"))
            continue;
        auto *twin = withLine.findChild<QWidget *>(control->objectName());
        QVERIFY(twin);
        QVERIFY2(control->palette() == twin->palette(), qPrintable(control->objectName()));
    }
}

void TestMainWindow::languageSwitchReachesEveryCaption_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("english");
    // The panel's labels carry the access keys of their fields.
    QTest::newRow("type label") << "msg_lbltype"
                                << "&Type:";
    QTest::newRow("time label") << "msg_lbltime"
                                << "Ti&me (s):";
    QTest::newRow("icon label") << "msg_lblico"
                                << "&Icon:";
    QTest::newRow("script box title") << "Label12"
                                      << "Button script";
    QTest::newRow("project box title") << "Label10"
                                       << "Project style";
    QTest::newRow("message option") << "msg_type0"
                                    << "Message";
    QTest::newRow("pause option") << "msg_type2"
                                  << "Pause";
    QTest::newRow("skinned style") << "prj_st1"
                                   << "Skinned";
    QTest::newRow("status line") << "sts"
                                 << "Ready";
    QTest::newRow("save as") << "mnuSavAs"
                             << "Save As...";
    QTest::newRow("open file") << "mnuOpnFile"
                               << "Open...";
    QTest::newRow("about") << "mnuHlpAbout"
                           << "About";
    QTest::newRow("open separator") << "mnuOpnLine1"
                                    << "";
    QTest::newRow("help separator") << "mnuHlpLine1"
                                    << "";
    QTest::newRow("new") << "sd0"
                         << "New";
    QTest::newRow("build") << "sd4"
                           << "Build";
    QTest::newRow("sample") << "mnuOpnF1"
                            << "VirusModification.dlg2";
}

void TestMainWindow::languageSwitchReachesEveryCaption()
{
    QFETCH(QString, control);
    QFETCH(QString, english);
    ScriptedUi ui;
    MainWindow window(ui);
    emit child<KXButton>(&window, "sd2")->pointerEntered();
    optionSetting(OptionWrite, OptionLanguage, "english.lang");

    for (int times = 0; times < 2; ++times) {
        window.reapplySettings();
        QObject *object = window.findChild<QObject *>(control);
        QVERIFY(object);
        QString text;
        if (auto *button = qobject_cast<KXButton *>(object))
            text = button->caption();
        else if (auto *label = qobject_cast<QLabel *>(object))
            text = label->text();
        else if (auto *option = qobject_cast<QAbstractButton *>(object))
            text = option->text();
        else if (auto *action = qobject_cast<QAction *>(object))
            text = action->text();
        QCOMPARE(text, english);
        if (control.contains("Line"))
            QVERIFY(qobject_cast<QAction *>(object)->isSeparator());
    }
}

void TestMainWindow::brokenLanguageShowsItsErrorEverywhere_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("english"); // what a built-in text would say
    QTest::newRow("fit button") << "flow_fit"
                                << "Fit";
    QTest::newRow("export button") << "flow_export"
                                   << "Export picture...";
    QTest::newRow("problems title") << "problems_title"
                                    << "Problems";
    QTest::newRow("no problems row") << "problems_list"
                                     << "No problems found";
    QTest::newRow("composer's command") << "scr_com"
                                        << "No action";
    QTest::newRow("composer's insert button") << "scr_ins0"
                                              << "Insert into script 1";
    QTest::newRow("flow picture") << "flow_view"
                                  << "";
}

// A language file whose entries run out is broken, not old: the newer views show its error as
// every described caption does, never built-in English.
// With no language file left to read, the window shows error codes and Qt says nothing.
void TestMainWindow::missingLanguageWarnsNothing()
{
    QVERIFY(QFile::copy(programPath("Languages/english.lang"), programPath("Languages/gone.lang")));
    QCOMPARE(languageHeaderValue("gone.lang", "GetFile"), QString("gone.lang"));
    optionSetting(OptionWrite, OptionLanguage, "gone.lang");
    QVERIFY(QFile::remove(programPath("Languages/gone.lang")));
    QTest::failOnWarning(QRegularExpression("QString::arg"));
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(languageText(TextId::FindingScriptCannotRun), QString("ResErr2"));
}

void TestMainWindow::brokenLanguageShowsItsErrorEverywhere()
{
    QFETCH(QString, control);
    QFETCH(QString, english);
    const QStringList lines{"!KestraneDevelopment10",
                            "!RescourceFile",
                            "[Language]",
                            "Name=Kaputt",
                            "ResId=1",
                            "Author=Test",
                            "Version=2.0",
                            "Status=General",
                            "[Rescource]",
                            "%0001, Neu"};
    QVERIFY(kq::TestFiles::writeBytes(programPath("Languages/broken.lang"),
                                      toCodePage(lines.join("\r\n") + "\r\n")));
    optionSetting(OptionWrite, OptionLanguage, "broken.lang");
    ScriptedUi ui;
    MainWindow window(ui);

    QWidget *widget = child<QWidget>(&window, control);
    QString text = widget->toolTip() + widget->accessibleName();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text += button->text();
    else if (auto *list = qobject_cast<QComboBox *>(widget))
        text += list->itemText(0);
    else if (auto *tree = qobject_cast<QTreeWidget *>(widget))
        text += tree->topLevelItem(0)->text(1);
    QVERIFY2(text.contains("ResErr"), qPrintable(text));
    if (!english.isEmpty())
        QVERIFY2(!text.contains(english), qPrintable(text));
}

void TestMainWindow::standardDialogsSpeakTheLanguage()
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
        QSKIP("Qt's Russian translation is not installed");
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    ScriptedUi ui;
    MainWindow window(ui);
    QCOMPARE(cancel(), "Отмена");

    optionSetting(OptionWrite, OptionLanguage, "english.lang");
    window.reapplySettings();
    QCOMPARE(cancel(), "Cancel");

    optionSetting(OptionWrite, OptionLanguage, "russian.lang");
    window.reapplySettings();
    QCOMPARE(cancel(), "Отмена");
}

void TestMainWindow::managementWindowAppliesSettings()
{
    ScriptedUi ui;
    MainWindow window(ui);
    optionSetting(OptionWrite, OptionLanguage, "english.lang");
    closeModalSoon();

    emit child<KXButton>(&window, "sd5")->clicked();

    QCOMPARE(child<KXButton>(&window, "sd0")->caption(), "New");
    QCOMPARE(child<QLabel>(&window, "sts")->text(), "Ready");
}

void TestMainWindow::aboutWindowOpens()
{
    ScriptedUi ui;
    MainWindow window(ui);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            shown = modal->objectName();
            modal->close();
        }
    });

    child<QAction>(&window, "mnuHlpAbout")->trigger();

    QCOMPARE(shown, "about");
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
