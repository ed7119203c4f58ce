#include "programcommands.h"

#include "language.h"
#include "productinfo.h"
#include "programbuilder.h"
#include "projectcheck.h"
#include "projectdocument.h"
#include "testruncontroller.h"
#include "uiservices.h"
#include "webpagebuilder.h"
#include "windowsprogrambuilder.h"

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

bool ProgramCommands::mayRunDespiteErrors(TextId question)
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
    if (!mTestRun->isRunning() && !mayRunDespiteErrors(TextId::RunDespiteErrorsQuestion))
        return;
    mTestRun->start(mDocument.project());
}

void ProgramCommands::build()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(TextId::BuildDespiteErrorsQuestion))
        return;
    // A built program ends as the runner does: in ".exe" on Windows only.
    const QString ending = QFileInfo(runnerProgram()).suffix();
    const QString target = mUi.saveFileName(
        mWindow, {languageText(TextId::BuildProgramTitle),
                  languageText(TextId::ProgramFiles) + QStringLiteral("|*.exe"),
                  {},
                  mDocument.pathBeside(ending.isEmpty() ? QString() : u'.' + ending),
                  languageText(TextId::BuildButton)});
    if (target.isEmpty())
        return;
    QString error;
    if (!buildProgram(mDocument.project(), runnerProgram(), target, &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    emit statusMessage(languageText(TextId::ProgramBuilt).arg(QDir::toNativeSeparators(target)));
}

void ProgramCommands::buildPortable()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(TextId::BuildDespiteErrorsQuestion))
        return;
    // The name typed is the new folder; the program inside it takes the folder's name.
    const QString folder =
        portableFolder(mUi.saveFileName(mWindow, {languageText(TextId::BuildPortableTitle),
                                                  {},
                                                  {},
                                                  mDocument.pathBeside(QStringLiteral("-portable")),
                                                  languageText(TextId::BuildButton)}));
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
    emit statusMessage(languageText(TextId::PortableBuilt)
                           .arg(QDir::toNativeSeparators(result.program))
                           .arg(result.bundled.size())
                           .arg(megabytes(result.folderBytes)));
}

void ProgramCommands::buildWebPage()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(TextId::BuildDespiteErrorsQuestion))
        return;
    const QString chosen = mUi.saveFileName(
        mWindow,
        {languageText(TextId::BuildWebPageTitle),
         languageText(TextId::WebPageFiles) + QStringLiteral("|*.html"), QStringLiteral("html"),
         mDocument.pathBeside(QStringLiteral(".html")), languageText(TextId::BuildButton)});
    if (chosen.isEmpty())
        return;
    const QString page = WebPageBuilder::pagePath(chosen);
    QString error;
    if (!WebPageBuilder(mDocument.project()).write(page, &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    emit statusLink(languageText(TextId::WebPageBuilt)
                        .arg(QDir::toNativeSeparators(page))
                        .arg(kilobytes(QFileInfo(page).size())),
                    languageText(TextId::OpenInBrowser), QUrl::fromLocalFile(page));
}

void ProgramCommands::buildForWindows()
{
    mDocument.commitPendingEdits();
    if (!mayRunDespiteErrors(TextId::BuildDespiteErrorsQuestion))
        return;
    const QString chosen = mUi.saveFileName(
        mWindow, {languageText(TextId::BuildWindowsTitle),
                  languageText(TextId::WindowsProgramFiles) + QStringLiteral("|*.exe"),
                  QStringLiteral("exe"), mDocument.pathBeside(QStringLiteral(".exe")),
                  languageText(TextId::BuildButton)});
    if (chosen.isEmpty())
        return;
    const QString program = WindowsProgramBuilder::programPath(chosen);
    QString error;
    if (!WindowsProgramBuilder(mDocument.project())
             .write(program, windowsPlayerProgram(), &error)) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    emit statusMessage(languageText(TextId::WindowsProgramBuilt)
                           .arg(QDir::toNativeSeparators(program))
                           .arg(kilobytes(QFileInfo(program).size())));
}

} // namespace kq
