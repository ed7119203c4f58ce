#pragma once

#include "projectcommands.h"
#include "stepflow.h"
#include "textid.h"

#include <QList>
#include <QSize>
#include <QWidget>

#include <array>
#include <optional>

class QAction;
class QMenu;
class QSplitter;

namespace kq {

class DialogListView;
class FindBar;
class FlowPane;
class KXButton;
class MainSplitter;
class MainToolbar;
enum class ToolButton;
class ProgramCommands;
class ProjectDocument;
class PreviewPane;
class ProjectStyleBox;
class PropertiesPanel;
class RecentProjectsMenu;
class ScriptComposer;
class StatusBar;
class ThemePainter;
class UiServices;

// The editor's one permanent window. The project lives in its ProjectDocument; the views (the
// toolbar, the dialog list, the properties panel, the script composer, the style options, the
// flow tabs) show the document and send edits to it. The commands live in ProjectCommands (new,
// open, save, samples, recent projects) and ProgramCommands (test run, builds); the window holds
// the wiring, the menus and keys, and applies the settings: the theme's colours through
// ThemePainter, the language to every caption.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ToolButtonCount = 7;
    // Room for every sample any language lists; the entries a language does not use are hidden.
    static constexpr int SampleCount = 7;
    // The size the window opens with the first time, where the screen has room for it.
    static constexpr QSize InitialSize{1280, 640};
    // The window can get as small as its controls allow, and at least this small, so that every
    // control stays on a small screen (the flow tabs and the list give up room first).
    static constexpr QSize LargestMinimum{1000, 600};

    explicit MainWindow(UiServices &ui, QWidget *parent = nullptr);

    ProjectCommands &projectCommands() { return *mProjectCommands; }

    // After the management window: the resource ids go back into every localised caption, then
    // the settings are applied again, so applying them twice gives what applying once does.
    void reapplySettings();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Theme colours, language, captions, sample entries and toolbar layout from the settings.
    void applySettings();
    void buildMenus();
    void buildShortcuts();
    void layOut();
    void connectViews();
    void startUp();
    QAction *addMenuEntry(QMenu *menu, const QString &name,
                          std::optional<TextId> caption = std::nullopt);

    void toolbarClick(ToolButton which);
    void toolbarArrowClick(ToolButton which);
    void showMenu(QMenu *menu, KXButton *button, bool alignRight);
    // The toolbar's Save: the project written, then the views shown again.
    void saveAndRefresh(ProjectCommands::SaveMode mode);
    void showManagement();
    void showAbout();
    void showFinding(int step, StepField field);
    // The notice of characters the project file cannot hold, stored as "?"; the same for typing
    // and for a replacement.
    static QString charactersReplacedNotice(int count);
    void makeRoomForFindBar();

    // The colours again, after controls were enabled or disabled.
    void paintTheme();
    // The toolbar's tooltips: each button's hint with the key that does the same.
    void retranslateToolTips();
    // The sample entries of the Open menu show these file names, in order.
    void showSampleEntries(const QStringList &names);
    void updateTitle();
    // The window's place, size and split as the settings keep them.
    void restoreWindowLayout();
    void fitIntoScreen();
    void saveWindowLayout() const;
    // The preview's height under the flow tabs and whether it is folded.
    QByteArray previewState() const;
    void restorePreviewState(const QByteArray &state);

    UiServices &mUi;
    ProjectDocument *mDocument = nullptr;
    ProjectCommands *mProjectCommands = nullptr;
    ProgramCommands *mProgramCommands = nullptr;
    bool mShownOnce = false;

    MainToolbar *mToolbar = nullptr;
    DialogListView *mListView = nullptr;
    PropertiesPanel *mPanel = nullptr;
    ScriptComposer *mComposer = nullptr;
    ProjectStyleBox *mStyleBox = nullptr;
    FlowPane *mFlowPane = nullptr;
    PreviewPane *mPreview = nullptr;
    // The flow tabs over the preview, on the right of the main split.
    QSplitter *mSideSplit = nullptr;
    MainSplitter *mSplitter = nullptr;
    StatusBar *mStatusBar = nullptr;
    FindBar *mFindBar = nullptr;
    ThemePainter *mPainter = nullptr;

    QMenu *mOpenMenu = nullptr;
    QMenu *mSaveMenu = nullptr;
    QMenu *mHelpMenu = nullptr;
    QMenu *mBuildMenu = nullptr;
    std::array<QAction *, SampleCount> mSampleEntries{};
    RecentProjectsMenu *mRecent = nullptr;
    // The window-wide action that runs each toolbar button's command, where a key does.
    std::array<QAction *, ToolButtonCount> mToolKeys{};
    QAction *mFindAction = nullptr;
    QAction *mReplaceAction = nullptr;
};

} // namespace kq
