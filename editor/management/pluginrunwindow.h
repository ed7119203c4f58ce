#pragma once

#include "dialogproject.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <memory>

class QLabel;
class QTemporaryDir;

namespace kq {

class UiServices;

// The plug-in run window `plug`. Once a second its `wait` timer looks after the exchange with the
// plug-in program: the first tick makes a folder of this run's own in the Plugins folder, writes
// the project to "Input.tmp" there, copies the program beside it as "plugin.exe" and starts it
// there; later ticks load that folder's "Output.tmp" as soon as it exists, hand the new project
// on through resultLoaded and close the window. Esc gives up.
class PluginRunWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int WaitInterval = 1000;

    // Removes the exchange files left in the Plugins folder itself and the folders of runs that
    // ended. The plug-in gets a copy of project.
    PluginRunWindow(UiServices &ui, const DialogProject &project, QWidget *parent);
    ~PluginRunWindow() override;

    void setPluginName(const QString &name);
    // The plug-in program to run: the full path of a ".plug" file.
    void setFile(const QString &file) { mFile = file; }
    // True once the plug-in program has been started.
    bool isLoaded() const { return mLoaded; }

    // One tick of `wait`; nothing once the run has ended.
    void waitTick();

public slots:
    // However the run ends (a result, a failure, Esc or the close box), waiting stops and the
    // run's folder goes: what a plug-in left running writes later is taken by no run.
    void done(int result) override;

signals:
    // The plug-in's result, read into a copy of the project handed over: the dialogs it holds,
    // the path and any records past its dialogs as they were.
    void resultLoaded(const kq::DialogProject &project);

private:
    void fitSize();
    void startPlugin();
    void loadResult();
    QString exchangePath(const QString &name) const;
    void endExchange();
    // Deletes "Output.tmp", "Input.tmp" and "plugin.exe" in the Plugins folder itself, where runs
    // once exchanged them, each if it exists; a file still in use is left and the next one done.
    static void removeExchangeFiles();
    // Removes the folders of ended runs that a plug-in left running has made again.
    static void removeEndedFolders();
    // Ends the run on a failure that leaves nothing to wait for; reason becomes the detail text.
    void fail(const QString &reason = {});

    UiServices &mUi;
    DialogProject mProject;
    QString mFile;
    bool mLoaded = false;
    bool mEnded = false;
    QTimer mWait;
    QLabel *mName = nullptr;
    // This run's folder, made at the start with a name no other run has or can foresee.
    std::unique_ptr<QTemporaryDir> mExchange;
    static QStringList sEndedFolders;
};

} // namespace kq
