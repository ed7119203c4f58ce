#pragma once

#include "theme.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabBar;

namespace kq {

class DialogProject;
class UiServices;

// The program management window `store`: languages, themes, plug-ins and the downloads page on
// one tab strip. Choosing a language or a theme writes its setting at once; the main window
// applies the settings when this window closes. A plug-in run replaces `project` and reports it
// through projectReloaded.
class ManagementWindow : public QDialog
{
    Q_OBJECT

public:
    ManagementWindow(UiServices &ui, DialogProject &project, std::function<void()> projectReloaded,
                     QWidget *parent);

    // Empties and refills the list of panel 0 (languages), 1 (themes) or 2 (plug-ins): the
    // folder's files in name order up to the first that is not valid, then the preselection,
    // which runs the panel's selection handler as a click would. Other numbers do nothing.
    void FrmSub(int panel);

    // The files behind the visible lists, entry for entry: bare language file names, full
    // theme and plug-in description paths.
    QStringList languageFiles() const { return mLanguageFiles; }
    QStringList themePaths() const { return mThemePaths; }
    QStringList pluginPaths() const { return mPluginPaths; }

    // The theme editor's ten colours, as the preview shows them and saving writes them.
    const ThemeColors &workingColors() const { return mColors; }
    // The resource lines of the selected language, as the string viewer scrolls through them.
    QStringList stringRows() const { return mStringRows; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildLanguagePanel();
    QWidget *buildThemePanel();
    QWidget *buildPluginPanel();
    QWidget *buildDownloadsPanel();
    void fixSize();

    using Handler = void (ManagementWindow::*)();
    // Shows the texts in a drop-down list and preselects the entry whose file the setting names.
    void showEntries(QComboBox *list, const QStringList &texts, const QStringList &files,
                     qint32 settingKey, Handler selected);
    // Selects a drop-down entry and runs its selection handler, as a click does.
    void selectEntry(QComboBox *list, int row, Handler selected);

    void tabChosen(int index);
    void fillLanguageList();
    void fillThemeList();
    void fillPluginList();

    void languageSelected();
    void showStringRows();
    void deleteLanguage();

    void themeSelected();
    void colorEntrySelected();
    void editColor();
    void refreshPreview();
    void newTheme();
    void deleteTheme();
    void saveTheme();

    void selectPlugin(int row);
    void pluginSelected();
    void runPlugin();
    void deletePlugin();

    // True when the user accepts deleting a file of a version other than "2.0"; the question is
    // the text of firstId, the version and the text of the id after firstId.
    bool acceptsDeletingVersion(const QString &version, int firstId, const QString &title);
    // True unless the user declines deleting the list entry shown as entryText.
    bool confirmsDelete(const QString &entryText, const QString &title);
    // Deletes the language or theme file behind the selected entry of panel 0 or 1 once the user
    // agrees, refills the list and selects its first entry, which becomes the setting.
    void deleteListed(QComboBox *list, const QString &path, int panel, Handler selected);

    UiServices &mUi;
    DialogProject &mProject;
    std::function<void()> mProjectReloaded;

    QStringList mLanguageFiles;
    QStringList mThemePaths;
    QStringList mPluginPaths;
    ThemeColors mColors{};
    QStringList mStringRows;

    QTabBar *mTabs = nullptr;
    std::array<QWidget *, 4> mPanels{};

    QComboBox *mLangList = nullptr;
    QPlainTextEdit *mLangInfo = nullptr;
    QComboBox *mLangId = nullptr;
    QFrame *mStringViewer = nullptr;
    std::array<QLineEdit *, 7> mStringBoxes{};
    QScrollBar *mStringScroll = nullptr;
    std::array<QPushButton *, 3> mLangButtons{};

    QComboBox *mThemeList = nullptr;
    QComboBox *mThemeItem = nullptr;
    QLabel *mColorSwatch = nullptr;
    QFrame *mPalette = nullptr;
    QFrame *mBox = nullptr;
    QLineEdit *mTextActive = nullptr;
    QLineEdit *mTextInactive = nullptr;
    QLabel *mLabelActive = nullptr;
    QLabel *mLabelInactive = nullptr;
    QPushButton *mButtonActive = nullptr;
    QPushButton *mButtonInactive = nullptr;
    std::array<QPushButton *, 3> mThemeButtons{};

    QListWidget *mPlugList = nullptr;
    QPlainTextEdit *mPlugInfo = nullptr;
    std::array<QPushButton *, 2> mPlugButtons{};
};

} // namespace kq
