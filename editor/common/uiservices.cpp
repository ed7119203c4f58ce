#include "uiservices.h"

#include "language.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

namespace kq {

namespace {

QMessageBox::Icon messageIcon(UiServices::Icon icon)
{
    switch (icon) {
    case UiServices::Icon::Warning:
        return QMessageBox::Warning;
    case UiServices::Icon::Question:
        return QMessageBox::Question;
    case UiServices::Icon::Error:
        return QMessageBox::Critical;
    case UiServices::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons messageButtons(UiServices::Buttons buttons)
{
    switch (buttons) {
    case UiServices::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case UiServices::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UiServices::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// How long a handler's failure still answers the user's request; a browser that xdg-open runs
// in its place and that is closed much later says nothing about the address.
constexpr qint64 OpenerWatchedMs = 15000;

bool openWatched(const QString &opener, const QUrl &url, QObject *context,
                 const std::function<void()> &failedLater)
{
    // The process belongs to no window, so that closing the window that asked (or the editor)
    // leaves the browser running.
    auto *process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer watched;
    watched.start();
    const QPointer<QObject> asker(context);
    QObject::connect(process, &QProcess::finished, process,
                     [=](int code, QProcess::ExitStatus status) {
                         const bool failed = status != QProcess::NormalExit || code != 0;
                         if (failed && asker && !watched.hasExpired(OpenerWatchedMs))
                             failedLater();
                         process->deleteLater();
                     });
    process->start(opener, {url.toString(QUrl::FullyEncoded)});
    if (process->waitForStarted())
        return true;
    delete process;
    return false;
}

} // namespace

void UiServices::warnFailed(QWidget *parent, const QString &reason)
{
    const QString title = languageText(TextId::OperationFailed);
    message(parent, reason.isEmpty() ? title : reason, title, Icon::Warning, Buttons::Ok);
}

void UiServices::openReadme()
{
    const QString readme = helpFilePath();
    if (QFileInfo(readme).isFile())
        openUrl(QUrl::fromLocalFile(readme));
}

UiServices::Answer QtUiServices::message(QWidget *parent, const QString &text, const QString &title,
                                         Icon icon, Buttons buttons, const QString &detail)
{
    QMessageBox box(messageIcon(icon), title, text, messageButtons(buttons), parent);
    // Messages carry names and versions from files users download: never rich text.
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(detail);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closing a question box without an answer is a cancel, never a silent yes.
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

std::optional<QString> QtUiServices::input(QWidget *parent, const QString &prompt,
                                           const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtUiServices::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), qtFileFilter(filter));
}

QString QtUiServices::saveFileName(QWidget *parent, const SaveRequest &request)
{
    QFileDialog dialog(parent, request.title, QString(), qtFileFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.acceptLabel.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
    if (!request.suggestedPath.isEmpty()) {
        const QFileInfo suggested(request.suggestedPath);
        if (suggested.isAbsolute())
            dialog.setDirectory(suggested.absolutePath());
        dialog.selectFile(suggested.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtUiServices::chooseColor(QWidget *parent, const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

bool QtUiServices::startDetached(const QString &program, const QStringList &arguments,
                                 const QString &workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

QProcess *startProcess(const QString &program, const QStringList &arguments,
                       const QString &workingFolder, QObject *owner)
{
    auto *process = new QProcess(owner);
    process->setWorkingDirectory(workingFolder);
    process->start(program, arguments);
    if (!process->waitForStarted()) {
        delete process;
        return nullptr;
    }
    return process;
}

QProcess *QtUiServices::startWatched(const QString &program, const QStringList &arguments,
                                     const QString &workingFolder, QObject *owner)
{
    return startProcess(program, arguments, workingFolder, owner);
}

bool QtUiServices::openUrl(const QUrl &url, QObject *context,
                           const std::function<void()> &failedLater)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Qt starts xdg-open and forgets it; started here, its exit status tells a failure.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (context && failedLater && !url.isLocalFile() && !opener.isEmpty())
        return openWatched(opener, url, context, failedLater);
#endif
    return QDesktopServices::openUrl(url);
}

QString qtFileFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
#ifndef Q_OS_WIN
        // Programs carry no ".exe" here, so the entry for programs must show files of any name.
        if (pattern.compare(u"*.exe", Qt::CaseInsensitive) == 0)
            pattern = QStringLiteral("*");
#endif
        entries << QStringLiteral("%1 (%2)").arg(parts.at(i), pattern);
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace kq
