#pragma once

#include "dialogproject.h"
#include "managementpage.h"

#include <array>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kq {

// The plug-ins page: the plug-in descriptions of the Plugins folder, the selected one's author
// and description, and its Run and Delete buttons. A run hands a copy of `project` to the
// plug-in; its result is handed on through resultLoaded and is what the next run starts from.
class PluginPage : public ManagementPage
{
    Q_OBJECT

public:
    PluginPage(UiServices &ui, const DialogProject &project, QWidget *parent);

    void fill() override;

signals:
    void resultLoaded(const kq::DialogProject &project);

private:
    void selectPlugin(int row);
    void pluginSelected();
    void runPlugin();
    void takeResult(const DialogProject &result);
    void deletePlugin();

    // The full description path of the selected entry; empty when none is selected.
    QString selectedPath() const;

    DialogProject mProject;

    QListWidget *mList = nullptr;
    QPlainTextEdit *mInfo = nullptr;
    std::array<QPushButton *, 2> mButtons{};
};

} // namespace kq
