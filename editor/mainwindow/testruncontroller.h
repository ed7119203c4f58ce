#pragma once

#include "fileplaces.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

class QWidget;

namespace kq {

class DialogProject;
class UiServices;

// The test run: the runner started on its data file "run.dll" with "/editor", watched until it
// ends; both lie in the program folder's Runner folder or, when that is read-only, in a private
// folder of the user's (TestRunPlace). One runs at a time; while it runs, another start offers to
// stop it, or else brings its window to the front. A run that ends in a fault is reported with the
// runner's reason, and a run still going when the editor closes ends with it, its data file
// removed. At the start, private folders that killed editors left behind go once their runners
// have ended.
class TestRunController : public QObject
{
    Q_OBJECT

public:
    // Questions and warnings appear over window.
    TestRunController(UiServices &ui, QWidget *window);
    ~TestRunController() override;

    bool isRunning() const { return !mProcess.isNull(); }
    // Writes the data file of project and starts the runner on it, or brings the running one to
    // the front. Failures show the OperationFailed warning with their reason.
    void start(const DialogProject &project);

signals:
    // A line for the status bar: the run was brought to the front, or ended in a fault.
    void statusMessage(const QString &text);

private:
    void bringToFront();
    // Ends the running one and removes its data file; no fault is reported.
    void stop();
    void runEnded(int exitCode, QProcess::ExitStatus status);

    UiServices &mUi;
    QWidget *mWindow;
    QPointer<QProcess> mProcess;
    TestRunPlace mPlace;
};

} // namespace kq
