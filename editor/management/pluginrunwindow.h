#pragma once

#include "dialogproject.h"

#include <QDialog>
#include <QString>
#include <QTimer>

class QLabel;

namespace kq {

class UiServices;

// The plug-in run window `plug`. Once a second its `wait` timer looks after the exchange with the
// plug-in program in the Plugins folder: the first tick writes the project to "Input.tmp",
// copies the program to "plugin.exe" and starts it; later ticks load "Output.tmp" as soon as it
// exists, hand the new project on through resultLoaded and close the window. Esc gives up.
class PluginRunWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int WaitInterval = 1000;

    // Removes the exchange files left by an earlier run. The plug-in gets a copy of project.
    PluginRunWindow(UiServices &ui, const DialogProject &project, QWidget *parent);

    void setPluginName(const QString &name);
    // The plug-in program to run: the full path of a ".plug" file.
    void setFile(const QString &file) { mFile = file; }
    // True once the plug-in program has been started.
    bool isLoaded() const { return mLoaded; }

    // One tick of `wait`.
    void waitTick();

    // Deletes "Output.tmp", "Input.tmp" and "plugin.exe" in the Plugins folder, each if it
    // exists; a file the plug-in program still holds is left and the next one is done.
    static void removeExchangeFiles();
    // A file of the exchange in the Plugins folder, such as "Input.tmp".
    static QString exchangePath(const QString &name);
    // A plug-in program started by an earlier run, or a program it started, still runs: its late
    // result would land in the exchange files of a new run, so no new run may start until it ends.
    static bool earlierPluginRuns();

public slots:
    // Esc and the close box give up waiting; the plug-in program is left running.
    void reject() override;

signals:
    // The plug-in's result, read into a copy of the project handed over: the dialogs it holds,
    // the path and any records past its dialogs as they were.
    void resultLoaded(const kq::DialogProject &project);

private:
    void fitSize();
    void startPlugin();
    void loadResult();
    void rememberPluginGroup();
    // Ends the run on a failure that leaves nothing to wait for; reason becomes the detail text.
    void fail(const QString &reason = {});

    UiServices &mUi;
    DialogProject mProject;
    QString mFile;
    bool mLoaded = false;
    QTimer mWait;
    QLabel *mName = nullptr;
    static qint64 sLastPluginPid;
    static qint64 sLastPluginGroup;
};

} // namespace kq
