#pragma once

#include "managementpage.h"

#include <array>
#include <functional>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kq {

class DialogProject;

// The plug-ins page: the plug-in descriptions of the Plugins folder, the selected one's author
// and description, and its Run and Delete buttons. A run hands `project` to the plug-in and
// reports a result that replaced it through projectReloaded.
class PluginPage : public ManagementPage
{
    Q_OBJECT

public:
    PluginPage(UiServices &ui, DialogProject &project, std::function<void()> projectReloaded,
               QWidget *parent);

    void fill() override;

    // The full description paths behind the list, entry for entry.
    QStringList paths() const { return mPaths; }

private:
    void selectPlugin(int row);
    void pluginSelected();
    void runPlugin();
    void deletePlugin();

    DialogProject &mProject;
    std::function<void()> mProjectReloaded;
    QStringList mPaths;

    QListWidget *mList = nullptr;
    QPlainTextEdit *mInfo = nullptr;
    std::array<QPushButton *, 2> mButtons{};
};

} // namespace kq
