#pragma once

#include "dialogproject.h"
#include "theme.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QResizeEvent;
class QSplitter;
class QTabWidget;

namespace kq {

class Autosave;
class DialogListView;
class FlowView;
class ProblemsView;
class KXButton;
class MainToolbar;
class ProjectDocument;
class ProjectStyleBox;
class PropertiesPanel;
class ScriptComposer;
class UiServices;

// The editor's one permanent window. The project lives in its ProjectDocument; the views (the
// toolbar, the dialog list, the properties panel, the script composer, the style options) show
// the document and send edits to it. The window holds the commands (open, save, test run, build,
// management) and the wiring; every dialog box and outside process goes through UiServices.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ToolButtonCount = 7;
    // Room for every sample any language lists; the entries a language does not use are hidden.
    static constexpr int SampleCount = 7;
    static constexpr int RecentCount = 8;
    // The size the window opens with the first time; it never gets smaller.
    static constexpr QSize InitialSize{1280, 640};
    enum class SaveMode { Save, SaveAs };

    explicit MainWindow(UiServices &ui, QWidget *parent = nullptr);
    ~MainWindow() override;

    ProjectDocument &document() { return *mDocument; }
    const DialogProject &project() const;
    // The selected dialog, 1 to the dialog count.
    qint16 CurrentDialog() const;
    // The project differs from what was last opened or saved.
    bool Changed() const;

    // The views show the document again, the current dialog selected.
    void ListUpdate();
    // Writes pending typing of the panel into the document.
    void WriteDialog();
    // The resting text of the status line.
    void StatusClear();
    // Theme colours, language, captions, sample entries and toolbar layout from the settings.
    void UpdateSettings();
    // Puts the resource ids back into every localised caption, then UpdateSettings.
    void ApplyChanges();
    // Colours every control from the theme by whether it is enabled right now.
    void SetColors();

    // The toolbar buttons' events, by index 0 to 6.
    void toolbarClick(int index);
    void toolbarArrowClick(int index);
    void toolbarMouseIn(int index);

    // Commands of the toolbar and the menus. Failures show the "%0020" warning with its reason.
    void newProject();
    void openCommand();
    // Opens a file as Open does after its file dialog: a failure leaves the project untouched.
    void openFile(const QString &path);
    // True when the project was written; false when it failed or the user cancelled.
    bool saveCommand(SaveMode mode);
    void testRun();
    void build();
    void buildPortableCommand();
    void openSample(int index);
    // Opens the recent project of that entry; one that is gone leaves the list with a note.
    void openRecent(int index);
    void openReadme();
    void openWebPage();
    void showManagement();
    void showAbout();
    // A plug-in's result replaces the project; it exists in memory only, so it counts as unsaved.
    void pluginResultLoaded(const DialogProject &result);
    // The watched test run has ended: a fault is reported with the runner's reason.
    void testRunEnded(int exitCode, QProcess::ExitStatus status);
    // Offers a recovery copy that an editor killed or crashed left behind.
    void offerRecovery();

    // Program code selecting a list entry, as a click on it does.
    void selectEntry(int row);
    void listNew();
    void listDelete();
    void listUp();
    void listDown();
    void selectType(int type);
    void selectStyle(int style);
    void iconClick(int cell);
    void selectCommand(int index);
    void selectDirection(int index);
    void insertScript(int button);

    // The window's copy of a theme colour.
    qint32 themeColor(ThemeColorKey key) const { return mColors.at(int(key)); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Caption
    {
        QObject *control;
        QString id;
    };

    void buildMenus();
    void buildStatusBar();
    void buildShortcuts();
    // The toolbar's tooltips: each button's hint with the key that does the same.
    void retranslateToolTips();
    void buildFlowTabs();
    void retranslateFlowTabs();
    // The sample entries of the Open menu show these file names, in order.
    void showSampleEntries(const QStringList &names);
    // The recent entries of the Open menu show the stored list of recent projects.
    void showRecentEntries();
    // A project opened or saved goes in front of the recent projects.
    void rememberProject(const QString &path);
    // The window's place, size and split as the settings keep them.
    void restoreWindowLayout();
    void shareWidthChange(const QResizeEvent &event);
    void saveWindowLayout() const;
    // Runs the project check and shows its findings in the problems list, the flow and the list.
    void checkProject();
    void exportPicture();
    void buildCaptionTable();
    void layOut();
    void connectDocument();
    void startUp();

    QAction *addMenuEntry(QMenu *menu, const QString &name, const QString &caption);
    void showMenu(QMenu *menu, KXButton *button, bool alignRight);

    bool askSaveChanges(); // false when the user cancels or the save did not happen
    // Before the project in memory is closed or replaced: true when it has no unsaved edits, or
    // the user saved them or chose to drop them.
    bool mayReplaceProject();
    bool saveAndRefresh(SaveMode mode);
    // A project read from path replaces the document; false (and the warning) when it failed.
    bool openProjectPath(const QString &path);
    void warnBrokenStyle();
    // True when the project check finds no error, or the user runs it all the same.
    bool mayRunDespiteErrors();
    void updateTitle();

    QColor color(ThemeColorKey key) const;
    void setTextColors(QWidget *widget, const QColor &text, const QColor &background);

    UiServices &mUi;
    ProjectDocument *mDocument = nullptr;
    Autosave *mAutosave = nullptr;
    QPointer<QProcess> mTestRun;
    bool mAlive = true;
    bool mShownOnce = false;
    std::array<qint32, ThemeColorCount> mColors{};

    MainToolbar *mToolbar = nullptr;
    DialogListView *mListView = nullptr;
    PropertiesPanel *mPanel = nullptr;
    ScriptComposer *mComposer = nullptr;
    ProjectStyleBox *mStyleBox = nullptr;
    QTabWidget *mFlowTabs = nullptr;
    FlowView *mFlowView = nullptr;
    ProblemsView *mProblems = nullptr;
    QPushButton *mExportPicture = nullptr;
    QPushButton *mFitFlow = nullptr;
    QSplitter *mSplitter = nullptr;

    QMenu *mMnuOpn = nullptr;
    QMenu *mMnuSav = nullptr;
    QMenu *mMnuHlp = nullptr;
    QMenu *mMnuBld = nullptr;
    QAction *mMnuOpnFile = nullptr;
    QAction *mMnuOpnLine1 = nullptr;
    std::array<QAction *, SampleCount> mMnuOpnF{};
    std::array<QAction *, RecentCount> mMnuOpnRecent{};
    QAction *mMnuOpnLine2 = nullptr;
    QStringList mRecentPaths;
    QAction *mMnuSavS = nullptr;
    QAction *mMnuSavAs = nullptr;
    QAction *mMnuHlpHelp = nullptr;
    QAction *mMnuHlpSite = nullptr;
    QAction *mMnuHlpLine1 = nullptr;
    QAction *mMnuHlpAbout = nullptr;
    QAction *mMnuBldProgram = nullptr;
    QAction *mMnuBldPortable = nullptr;

    // The window-wide action that runs each toolbar button's command, where a key does.
    std::array<QAction *, ToolButtonCount> mToolKeys{};

    QFrame *mStatusBar = nullptr;
    QLabel *mSts = nullptr;

    QList<Caption> mCaptionTable;
    QHash<QObject *, QString> mHints;
};

} // namespace kq
