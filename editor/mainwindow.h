#pragma once

#include "dialogproject.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

#include <array>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kq {

class IconPicture;
class KXButton;
class UiServices;

// The editor's one permanent window: the toolbar, the dialog list, the properties panel of the
// selected dialog, the button script editor, the project style and the status line. It owns the
// project in memory; every dialog box and outside process goes through the UiServices it is given.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ToolButtonCount = 7;
    static constexpr int SampleCount = 5;
    enum class SaveMode { Save, SaveAs };

    explicit MainWindow(UiServices &ui, QWidget *parent = nullptr);
    ~MainWindow() override;

    DialogProject &project() { return mProject; }
    const DialogProject &project() const { return mProject; }
    // The selected dialog, 1 to the dialog count; always set from the list selection.
    qint16 CurrentDialog() const { return mCurrentDialog; }
    // Unsaved edits: set by WriteDialog only, cleared by a save and by opening a sample.
    bool Changed() const { return mChanged; }

    // Refills the list, reselects the current dialog (the first when it no longer exists). A
    // project without dialogs first gets the one dialog a new project has.
    void ListUpdate();
    // Copies record i into the panel / the panel into record i (setting Changed).
    void LoadDialog(int i);
    void WriteDialog(int i);
    // Enables the four list buttons for the dialog count and the selection.
    void TestButton();
    // Redraws the icon choice of the current dialog in the strip of the project style.
    void IconUpdate();
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

    // Commands of the toolbar and the menus. Failures show the "%0020" warning.
    // The fresh one-dialog project; the toolbar's New asks about unsaved edits before it.
    void newProject();
    void openCommand();
    // True when the project was written; false when it failed or the user cancelled.
    bool saveCommand(SaveMode mode);
    void testRun();
    void build();
    void openSample(int index);
    void openReadme();
    void openWebPage();
    void showManagement();
    // A plug-in run has replaced the project: the list shows it and it counts as unsaved.
    void pluginResultLoaded();
    void showAbout();

    // The list operations and the selection handler (program code selecting an entry).
    void listNew();
    void listDelete();
    void listUp();
    void listDown();
    void selectEntry(int row);

    // Handlers of the panel and the script editor, as a click on them runs them.
    void selectType(int type);
    void selectStyle(int style);
    void iconClick(int cell);
    void selectCommand(int index);
    void selectDirection(int index);
    void insertScript(int button);

    // Lays out the toolbar from the buttons' current widths.
    void layoutToolbar();
    // The window's copy of a theme colour, by its index in ThemeColorSet.
    qint32 themeColor(int key) const { return mColors.at(key); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Caption
    {
        QObject *control;
        QString id;
    };

    void buildToolbar();
    void buildMenus();
    void buildListBox();
    void buildDataBox();
    void buildScriptBox();
    void buildProjectBox();
    void buildStatusBar();
    void buildCaptionTable();
    void startUp();

    QAction *addMenuEntry(QMenu *menu, const QString &name, const QString &caption);
    void showMenu(QMenu *menu, KXButton *button, bool alignRight);

    // Record 1 becomes a new dialog, the project's only one.
    void makeOnlyDialog();
    void listSelected(int row);
    void moveDialog(int offset);
    void typeChosen(int type);
    void styleChosen(int style);
    void commandChosen(int index);
    void directionChosen(int index);
    void padArgument();
    void normalizeScript(int button);
    void limitText(int position, int added);

    // The leave handler of a write-back field; commitEdits runs it for a field with unsaved typing
    // before a command, so a shortcut or the close box never misses an edit.
    void leaveField(QWidget *field);
    void commitEdits();
    bool isModified(QWidget *field) const;
    bool filterDigitKey(QLineEdit *box, QKeyEvent *event, bool zeroWhenEmpty);

    bool askSaveChanges(); // false when the user cancels or the save did not happen
    // Before the project in memory is closed or replaced: true when it has no unsaved edits, or
    // the user saved them or chose to drop them.
    bool mayReplaceProject();
    // The toolbar's and the menu's save: typing in progress first, the list refreshed after.
    bool saveAndRefresh(SaveMode mode);
    void selectStyleFromHeader();
    bool copyRunner(const QString &target) const;
    void setProjectTitle(const QString &fileName);

    void setTextColors(QWidget *widget, const QColor &text, const QColor &background);
    QColor color(int key) const;

    UiServices &mUi;
    DialogProject mProject;
    qint16 mCurrentDialog = 1;
    bool mChanged = false;
    bool mAlive = true;
    std::array<qint32, 11> mColors{};

    QFrame *mToolbar = nullptr;
    std::array<KXButton *, ToolButtonCount> mSd{};
    std::array<QFrame *, 2> mLnl{};
    QMenu *mMnuOpn = nullptr;
    QMenu *mMnuSav = nullptr;
    QMenu *mMnuHlp = nullptr;
    QAction *mMnuOpnFile = nullptr;
    QAction *mMnuOpnLine1 = nullptr;
    std::array<QAction *, SampleCount> mMnuOpnF{};
    QAction *mMnuSavS = nullptr;
    QAction *mMnuSavAs = nullptr;
    QAction *mMnuHlpHelp = nullptr;
    QAction *mMnuHlpSite = nullptr;
    QAction *mMnuHlpLine1 = nullptr;
    QAction *mMnuHlpAbout = nullptr;

    QFrame *mListBox = nullptr;
    QListWidget *mDlgList = nullptr;
    QPushButton *mListNew = nullptr;
    QPushButton *mListDelete = nullptr;
    QPushButton *mListUp = nullptr;
    QPushButton *mListDown = nullptr;

    QFrame *mDataBox = nullptr;
    std::array<QRadioButton *, 3> mMsgType{};
    QPlainTextEdit *mMsgText = nullptr;
    QLineEdit *mMsgCaption = nullptr;
    std::array<QLineEdit *, 2> mMsgBtn{};
    std::array<QLineEdit *, 2> mMsgBtnScr{};
    QLineEdit *mMsgTime = nullptr;
    IconPicture *mMsgIcons = nullptr;
    QLabel *mLblType = nullptr;
    QLabel *mLblTime = nullptr;
    QLabel *mLblCaption = nullptr;
    QLabel *mLblText = nullptr;
    std::array<QLabel *, 2> mLblBtn{};
    std::array<QLabel *, 2> mLblBtnScr{};
    QLabel *mLblIco = nullptr;

    QFrame *mScrBox = nullptr;
    QLabel *mLabel12 = nullptr;
    QComboBox *mScrCom = nullptr;
    QComboBox *mScrAtr = nullptr;
    QLineEdit *mScrArg = nullptr;
    std::array<QPushButton *, 2> mScrIns{};

    QFrame *mProjectBox = nullptr;
    QLabel *mLabel10 = nullptr;
    std::array<QRadioButton *, 2> mPrjSt{};

    QFrame *mStatusBar = nullptr;
    QLabel *mSts = nullptr;

    QList<Caption> mCaptionTable;
    QHash<QObject *, QString> mHints;
    bool mLimitingText = false;
    bool mLoading = false;
};

} // namespace kq
