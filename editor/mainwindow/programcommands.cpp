#include "programcommands.h"

#include "language.h"
#include "productinfo.h"
#include "programbuilder.h"
#include "projectcheck.h"
#include "projectdocument.h"
#include "testruncontroller.h"
#include "uiservices.h"
#include "webpagebuilder.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace kq {

namespace {

// A save dialog given the name of an existing folder walks into it, and then offers the file of
// the same name inside: the program of an earlier portable build. The folder is what was meant.
QString portableFolder(const QString &chosen)
{
    const QFileInfo file(chosen);
    if (file.isFile() && file.fileName() == file.absoluteDir().dirName())
        return file.absolutePath();
    return chosen;
}

} // namespace

ProgramCommands::ProgramCommands(UiServices &ui, ProjectDocument &document, QWidget *window)
    : QObject(window), mUi(ui), mDocument(document), mWindow(window),
      mTestRun(new TestRunController(ui, window))
{
    setObjectName(QStringLiteral("program_commands"));
    connect(mTestRun, &TestRunController::statusMessage, this, &ProgramCommands::statusMessage);
}

bool ProgramCommands::mayRunDespiteErrors(int question)
{
    const int errors = ProjectCheck::errorCount(ProjectCheck::check(mDocument.project()));
    if (errors == 0)
        return true;
    return mUi.message(mWindow, pluralForm(languageText(question), errors).arg(errors),
                       ProductTitle, UiServices::Icon::Warning,
                       UiServices::Buttons::YesNo) == UiServices::Answer::Yes;
}

void ProgramCommands::testRun()
{
    mDocument.commitPendingEdits();
    // A run still going is stopped or brought to the front, so nothing is asked about errors.
    if (!mTestRun->isRunning() && !mayRunDespiteErrors(TestRunQuestion))
        return;
    mTestRun->start(mDocument.project());
}

void ProgramCommands::build()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(BuildQuestion))
        return;
    // A built program ends as the runner does: in ".exe" on Windows only.
    const QString ending = QFileInfo(runnerProgram()).suffix();
    const QString target = mUi.saveFileName(
        mWindow, {languageText(162),
                  languageText(166) + QStringLiteral("|*.exe"),
                  {},
                  mDocument.pathBeside(ending.isEmpty() ? QString() : u'.' + ending),
                  languageText(609)});
    if (target.isEmpty())
        return;
    QString error;
    if (!buildProgram(mDocument.project(), runnerProgram(), target, &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    emit statusMessage(languageText(404).arg(QDir::toNativeSeparators(target)));
}

void ProgramCommands::buildPortable()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(BuildQuestion))
        return;
    // The name typed is the new folder; the program inside it takes the folder's name.
    const QString folder =
        portableFolder(mUi.saveFileName(mWindow, {languageText(402),
                                                  {},
                                                  {},
                                                  mDocument.pathBeside(QStringLiteral("-portable")),
                                                  languageText(609)}));
    if (folder.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    PortableBuild result;
    QString error;
    const bool built =
        kq::buildPortable(mDocument.project(), portableRunnerProgram(), folder, &result, &error);
    QGuiApplication::restoreOverrideCursor();
    if (!built) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    emit statusMessage(languageText(403)
                           .arg(QDir::toNativeSeparators(result.program))
                           .arg(result.bundled.size())
                           .arg(megabytes(result.folderBytes)));
}

void ProgramCommands::buildWebPage()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(BuildQuestion))
        return;
    const QString chosen = mUi.saveFileName(
        mWindow,
        {languageText(406), languageText(407) + QStringLiteral("|*.html"), QStringLiteral("html"),
         mDocument.pathBeside(QStringLiteral(".html")), languageText(609)});
    if (chosen.isEmpty())
        return;
    const QString page = WebPageBuilder::pagePath(chosen);
    QString error;
    if (!WebPageBuilder(mDocument.project()).write(page, &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    emit statusLink(languageText(408)
                        .arg(QDir::toNativeSeparators(page))
                        .arg(kilobytes(QFileInfo(page).size())),
                    languageText(OpenInBrowserId), QUrl::fromLocalFile(page));
}

} // namespace kq
