#pragma once

#include "dialogproject.h"

#include <QDialog>
#include <QStringList>

#include <array>

class QTabBar;

namespace kq {

class LanguagePage;
class PluginPage;
class ThemePage;
class UiServices;

// The program management window `store`: languages, themes, plug-ins and the downloads page on
// one tab strip. Choosing a language or a theme writes its setting at once; the main window
// applies the settings when this window closes. A plug-in run works on a copy of `project` and
// hands its result on through pluginResultLoaded.
class ManagementWindow : public QDialog
{
    Q_OBJECT

public:
    ManagementWindow(UiServices &ui, const DialogProject &project, QWidget *parent);

signals:
    // A plug-in's result; a later run in the same window starts from it.
    void pluginResultLoaded(const kq::DialogProject &project);

private:
    QWidget *buildDownloadsPanel();
    void fixSize();
    void tabChosen(int index);
    // Empties and refills the list of panel 0 (languages), 1 (themes) or 2 (plug-ins): the
    // folder's files in name order up to the first that is not valid, then the preselection,
    // which runs the panel's selection handler as a click would. Other numbers do nothing.
    void refillList(int panel);

    UiServices &mUi;
    QTabBar *mTabs = nullptr;
    LanguagePage *mLanguages = nullptr;
    ThemePage *mThemes = nullptr;
    PluginPage *mPlugins = nullptr;
    std::array<QWidget *, 4> mPanels{};
};

} // namespace kq
