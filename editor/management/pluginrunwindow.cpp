#include "pluginrunwindow.h"

#include "fileplaces.h"
#include "language.h"
#include "projectio.h"
#include "uiservices.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>

#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>
#include <signal.h>

namespace kq {

namespace {

const QString InputFile = QStringLiteral("Input.tmp");
const QString OutputFile = QStringLiteral("Output.tmp");
const QString ProgramCopy = QStringLiteral("plugin.exe");

constexpr QFileDevice::Permissions InputPermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
    QFileDevice::ReadOther;
constexpr QFileDevice::Permissions ProgramPermissions =
    InputPermissions | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

// The plug-in program's bytes; none with a reason in *error when its file cannot be read whole.
std::optional<QByteArray> programBytes(const QString &path, QString *error)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return bytes;
    }
    *error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return std::nullopt;
}

} // namespace

PluginRunWindow::PluginRunWindow(UiServices &ui, const DialogProject &project, QWidget *parent)
    : QDialog(parent), mUi(ui), mProject(project)
{
    setObjectName(QStringLiteral("plug"));

    // Language files and plug-in descriptions come from anywhere: their texts are plain text.
    auto *running = new QLabel(languageText(TextId::PluginRunning), this);
    running->setObjectName(QStringLiteral("lbl0"));
    running->setTextFormat(Qt::PlainText);
    mName = new QLabel(this);
    mName->setObjectName(QStringLiteral("pl_name"));
    mName->setTextFormat(Qt::PlainText);
    QFont bold = mName->font();
    bold.setBold(true);
    mName->setFont(bold);
    auto *waiting = new QLabel(languageText(TextId::PluginRunWait), this);
    waiting->setObjectName(QStringLiteral("lbl1"));
    waiting->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addWidget(running);
    layout->addWidget(mName);
    layout->addSpacing(6);
    layout->addWidget(waiting);
    fitSize();

    removeExchangeFiles();

    mWait.setObjectName(QStringLiteral("wait"));
    mWait.setParent(this);
    mWait.setInterval(WaitInterval);
    connect(&mWait, &QTimer::timeout, this, &PluginRunWindow::waitTick);
    mWait.start();
}

void PluginRunWindow::setPluginName(const QString &name)
{
    mName->setText(name);
    setWindowTitle(name);
    fitSize();
}

void PluginRunWindow::fitSize()
{
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

QString PluginRunWindow::exchangePath(const QString &name)
{
    // Beside the plug-in program as it runs: the program folder's Plugins folder, or the user's
    // own when that is read-only.
    return QDir(FilePlaces::current().folderForWriting(QStringLiteral("Plugins"))).filePath(name);
}

qint64 PluginRunWindow::sLastPluginPid = 0;
qint64 PluginRunWindow::sLastPluginGroup = 0;

bool PluginRunWindow::earlierPluginRuns()
{
    // Signal 0 only asks whether the process, or any process of the group, exists.
    return (sLastPluginPid > 0 && ::kill(pid_t(sLastPluginPid), 0) == 0) ||
           (sLastPluginGroup > 0 && ::kill(-pid_t(sLastPluginGroup), 0) == 0);
}

void PluginRunWindow::rememberPluginGroup()
{
    // A detached program runs in a process group of its own, which the programs it starts join:
    // a plug-in that hands its work to a child and ends is still running as long as the child
    // is. A program in the editor's own group (or one already gone) is watched by itself only.
    const pid_t group = sLastPluginPid > 0 ? ::getpgid(pid_t(sLastPluginPid)) : -1;
    sLastPluginGroup = group > 0 && group != ::getpgrp() ? group : 0;
}

void PluginRunWindow::removeExchangeFiles()
{
    // A file that is missing or still in use simply stays as it is.
    for (const QString &name : {OutputFile, InputFile, ProgramCopy})
        QFile::remove(exchangePath(name));
}

void PluginRunWindow::waitTick()
{
    if (!isVisible())
        show();
    if (!mLoaded)
        startPlugin();
    else if (QFileInfo(exchangePath(OutputFile)).isFile())
        loadResult();
}

void PluginRunWindow::startPlugin()
{
    // Both files are made anew where a link or anything else may have been put in their place,
    // so nothing is ever written through it.
    const QString program = exchangePath(ProgramCopy);
    QString error;
    const std::optional<QByteArray> bytes = programBytes(mFile, &error);
    FileIdentity copy;
    if (!bytes ||
        !writeNewFile(exchangePath(InputFile), mProject.fileBytes(), InputPermissions, nullptr,
                      &error) ||
        !writeNewFile(program, *bytes, ProgramPermissions, &copy, &error)) {
        fail(error);
        return;
    }
    // Started only while its name still leads to the very file just written.
    if (regularFileAt(program) != copy ||
        !mUi.startDetached(program, {}, QFileInfo(program).absolutePath(), &sLastPluginPid)) {
        fail();
        return;
    }
    rememberPluginGroup();
    mLoaded = true;
}

void PluginRunWindow::loadResult()
{
    mWait.stop();
    // A result the project cannot hold (more than 99 dialogs) or cannot read is refused whole,
    // and the project stays as it was.
    QString error;
    if (!ProjectIO::loadProjectFile(mProject, exchangePath(OutputFile), &error)) {
        fail(error);
        return;
    }
    emit resultLoaded(mProject);
    removeExchangeFiles();
    accept();
}

void PluginRunWindow::fail(const QString &reason)
{
    mWait.stop();
    mUi.warnFailed(this, reason);
    removeExchangeFiles();
    QDialog::reject();
}

void PluginRunWindow::reject()
{
    mWait.stop();
    removeExchangeFiles();
    QDialog::reject();
}

} // namespace kq
