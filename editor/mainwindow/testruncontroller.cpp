#include "testruncontroller.h"

#include "language.h"
#include "productinfo.h"
#include "programbuilder.h"
#include "projectio.h"
#include "runfault.h"
#include "testrun.h"
#include "uiservices.h"
#include "windowsystem.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace kq {

TestRunController::TestRunController(UiServices &ui, QWidget *window)
    : QObject(window), mUi(ui), mWindow(window)
{
    setObjectName(QStringLiteral("test_run"));
    // A killed editor could not remove its run's private folder; its runner, once ended, no
    // longer holds it.
    TestRunPlace::removeAbandoned();
}

TestRunController::~TestRunController()
{
    // A test run ends with its editor; the data file it played is not left behind.
    if (!mProcess)
        return;
    mProcess->disconnect(this);
    mProcess->kill();
    mProcess->waitForFinished();
    mPlace.clear();
}

void TestRunController::start(const DialogProject &project)
{
    // A second run would write over the data file the first one plays. The user may stop the
    // running one instead (a run without any window could not be ended otherwise).
    if (isRunning()) {
        if (mUi.message(mWindow, languageText(TextId::StopTestRunQuestion), ProductTitle,
                        UiServices::Icon::Question,
                        UiServices::Buttons::YesNo) == UiServices::Answer::Yes)
            stop();
        else
            bringToFront();
        return;
    }
    QString error;
    if (!mPlace.prepare(FilePlaces::current(), runnerProgram(), &error) ||
        !ProjectIO::writeDataFile(project, mPlace.dataFile(), &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    const QString runner = mPlace.runner();
    mProcess = QFileInfo(runner).isFile()
                   ? mUi.startWatched(runner, {QStringLiteral("/editor")}, mPlace.folder(), this)
                   : nullptr;
    if (!mProcess) {
        mUi.warnFailed(mWindow, languageText(TextId::RunnerNotStarted).arg(runner));
        return;
    }
    connect(mProcess, &QProcess::finished, this, &TestRunController::runEnded);
}

void TestRunController::stop()
{
    QProcess *run = mProcess;
    mProcess = nullptr;
    run->disconnect(this);
    run->kill();
    run->waitForFinished(2000);
    run->deleteLater();
    mPlace.clear();
    emit statusMessage(languageText(TextId::TestRunStopped));
}

void TestRunController::bringToFront()
{
    mProcess->write(RaiseRequest);
    WindowSystem::activateWindowsOf(mProcess->processId());
    emit statusMessage(languageText(TextId::TestRunStillGoing));
}

void TestRunController::runEnded(int exitCode, QProcess::ExitStatus status)
{
    QProcess *run = mProcess;
    mProcess = nullptr;
    if (!run)
        return;
    run->deleteLater();
    // The runner removes its data file at a normal end and leaves it at a fault; either way the
    // editor leaves nothing of the run behind.
    mPlace.clear();
    if (exitCode == 0 && status == QProcess::NormalExit)
        return;
    // The runner names its fault in its last line.
    const QStringList lines =
        QString::fromLocal8Bit(run->readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    const QString line = lines.isEmpty() ? QString() : lines.constLast().trimmed();
    const QString prefix = QString::fromLatin1(FaultPrefix);
    const QString reason =
        RunFault::retold(line.startsWith(prefix) ? line.mid(prefix.size()) : line);
    emit statusMessage(languageText(TextId::TestRunFailed) + u' ' + reason);
    // The reason is the box's text; it is not repeated under details.
    mUi.message(mWindow, languageText(TextId::TestRunFailed) + u'\n' + reason, ProductTitle,
                UiServices::Icon::Warning, UiServices::Buttons::Ok);
}

} // namespace kq
