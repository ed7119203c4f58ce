#include "testruncontroller.h"

#include "language.h"
#include "productinfo.h"
#include "programbuilder.h"
#include "programfolder.h"
#include "projectio.h"
#include "testrun.h"
#include "uiservices.h"
#include "windowsystem.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace kq {

namespace {

QString dataFile()
{
    return programPath(QStringLiteral("Runner/run.dll"));
}

} // namespace

TestRunController::TestRunController(UiServices &ui, QWidget *window)
    : QObject(window), mUi(ui), mWindow(window)
{
    setObjectName(QStringLiteral("test_run"));
}

TestRunController::~TestRunController()
{
    // A test run ends with its editor; the data file it played is not left behind.
    if (!mProcess)
        return;
    mProcess->disconnect(this);
    mProcess->kill();
    mProcess->waitForFinished();
    QFile::remove(dataFile());
}

void TestRunController::start(const DialogProject &project)
{
    // A second run would write over the data file the first one plays.
    if (isRunning()) {
        bringToFront();
        return;
    }
    QString error;
    if (!ProjectIO::writeDataFile(project, dataFile(), &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    const QString runner = runnerProgram();
    mProcess = QFileInfo(runner).isFile()
                   ? mUi.startWatched(runner, {QStringLiteral("/editor")},
                                      programPath(QStringLiteral("Runner")), this)
                   : nullptr;
    if (!mProcess) {
        mUi.warnFailed(mWindow, runner);
        return;
    }
    connect(mProcess, &QProcess::finished, this, &TestRunController::runEnded);
}

void TestRunController::bringToFront()
{
    mProcess->write(RaiseRequest);
    WindowSystem::activateWindowsOf(mProcess->processId());
    emit statusMessage(languageText(313));
}

void TestRunController::runEnded(int exitCode, QProcess::ExitStatus status)
{
    QProcess *run = mProcess;
    mProcess = nullptr;
    if (!run)
        return;
    run->deleteLater();
    if (exitCode == 0 && status == QProcess::NormalExit)
        return;
    // The runner names its fault in its last line; the data file it leaves is the editor's.
    const QStringList lines =
        QString::fromLocal8Bit(run->readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    const QString reason = lines.isEmpty() ? QString() : lines.constLast().trimmed();
    QFile::remove(dataFile());
    emit statusMessage(languageText(312) + u' ' + reason);
    mUi.message(mWindow, languageText(312), ProductTitle, UiServices::Icon::Warning,
                UiServices::Buttons::Ok, reason);
}

} // namespace kq
