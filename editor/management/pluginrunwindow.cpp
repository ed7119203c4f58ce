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
#include <QTemporaryDir>
#include <QVBoxLayout>

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

// Where the exchange goes: the program folder's Plugins folder, or the user's own when that is
// read-only.
QString pluginsFolder()
{
    return FilePlaces::current().folderForWriting(QStringLiteral("Plugins"));
}

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

QStringList PluginRunWindow::sEndedFolders;

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
    removeEndedFolders();

    mWait.setObjectName(QStringLiteral("wait"));
    mWait.setParent(this);
    mWait.setInterval(WaitInterval);
    connect(&mWait, &QTimer::timeout, this, &PluginRunWindow::waitTick);
    mWait.start();
}

PluginRunWindow::~PluginRunWindow()
{
    endExchange();
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

QString PluginRunWindow::exchangePath(const QString &name) const
{
    return QDir(mExchange->path()).filePath(name);
}

void PluginRunWindow::removeExchangeFiles()
{
    // A file that is missing or still in use simply stays as it is.
    const QDir plugins(pluginsFolder());
    for (const QString &name : {OutputFile, InputFile, ProgramCopy})
        QFile::remove(plugins.filePath(name));
}

void PluginRunWindow::removeEndedFolders()
{
    // Only folders of this editor's own runs: another editor's run may be going on beside them.
    for (const QString &folder : std::as_const(sEndedFolders))
        QDir(folder).removeRecursively();
}

void PluginRunWindow::endExchange()
{
    if (!mExchange)
        return;
    sEndedFolders << mExchange->path();
    mExchange.reset();
    removeEndedFolders();
}

void PluginRunWindow::waitTick()
{
    if (mEnded)
        return;
    if (!isVisible())
        show();
    if (!mLoaded)
        startPlugin();
    else if (QFileInfo(exchangePath(OutputFile)).isFile())
        loadResult();
}

void PluginRunWindow::startPlugin()
{
    QString error;
    const std::optional<QByteArray> bytes = programBytes(mFile, &error);
    if (!bytes) {
        fail(error);
        return;
    }
    // A new folder that only its owner may enter, named at random, so no other run (nor anyone
    // who foresaw the name) shares it; the plug-in finds it as its own folder.
    mExchange = std::make_unique<QTemporaryDir>(
        QDir(pluginsFolder()).filePath(QStringLiteral("run-XXXXXX")));
    if (!mExchange->isValid()) {
        error = mExchange->errorString();
        mExchange.reset();
        fail(error);
        return;
    }
    const QString program = exchangePath(ProgramCopy);
    FileIdentity copy;
    if (!writeNewFile(exchangePath(InputFile), mProject.fileBytes(), InputPermissions, nullptr,
                      &error) ||
        !writeNewFile(program, *bytes, ProgramPermissions, &copy, &error)) {
        fail(error);
        return;
    }
    // Started only while its name still leads to the very file just written.
    if (regularFileAt(program) != copy || !mUi.startDetached(program, {}, mExchange->path())) {
        fail();
        return;
    }
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
    accept();
}

void PluginRunWindow::fail(const QString &reason)
{
    mWait.stop();
    mUi.warnFailed(this, reason);
    reject();
}

void PluginRunWindow::done(int result)
{
    mWait.stop();
    mEnded = true;
    endExchange();
    QDialog::done(result);
}

} // namespace kq
