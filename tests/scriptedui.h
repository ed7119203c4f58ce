#pragma once

#include "uiservices.h"

#include <QList>
#include <QProcess>
#include <QQueue>
#include <QTimer>

namespace kq {

// Records every question, dialog and process start of the editor and answers from queues. An
// empty queue answers as a user who cancels (message boxes: Cancel, or No, or Ok).
class ScriptedUi final : public UiServices
{
public:
    struct Message
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        QString detail;
    };
    struct FileDialog
    {
        bool save;
        QString title;
        QString filter;
        QString defaultSuffix;
        QString suggestedPath;
        QString acceptLabel;
    };
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };

    QQueue<Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QQueue<QString> fileNames;
    QQueue<std::optional<QColor>> colors;
    bool startSucceeds = true;
    bool urlsOpen = true;
    // Detached programs really run, as the desktop would start them.
    bool detachedStartsRun = false;
    bool urlsFailLater = false; // an address handler starts but fails

    QList<Message> messages;
    QList<QString> prompts;
    QList<FileDialog> fileDialogs;
    QList<QColor> colorRequests;
    QList<Start> starts;
    QList<QUrl> urls;

    Answer message(QWidget *, const QString &text, const QString &title, Icon icon, Buttons buttons,
                   const QString &detail = {}) override
    {
        messages.append({text, title, icon, buttons, detail});
        if (!answers.isEmpty())
            return answers.dequeue();
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            break;
        }
        return Answer::Cancel;
    }

    std::optional<QString> input(QWidget *, const QString &prompt, const QString &,
                                 const QString &) override
    {
        prompts.append(prompt);
        return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
    }

    QString openFileName(QWidget *, const QString &title, const QString &filter) override
    {
        fileDialogs.append({false, title, filter, {}, {}, {}});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }

    QString saveFileName(QWidget *, const SaveRequest &request) override
    {
        fileDialogs.append({true, request.title, request.filter, request.defaultSuffix,
                            request.suggestedPath, request.acceptLabel});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }

    std::optional<QColor> chooseColor(QWidget *, const QColor &initial) override
    {
        colorRequests.append(initial);
        return colors.isEmpty() ? std::nullopt : colors.dequeue();
    }

    bool startDetached(const QString &program, const QStringList &arguments,
                       const QString &workingFolder) override
    {
        starts.append({program, arguments, workingFolder});
        if (detachedStartsRun && startSucceeds)
            return QProcess::startDetached(program, arguments, workingFolder);
        return startSucceeds;
    }

    bool openUrl(const QUrl &url, QObject *context = nullptr,
                 const std::function<void()> &failedLater = {}) override
    {
        urls.append(url);
        // A handler that starts and then fails tells so a moment later, as xdg-open does.
        if (urlsOpen && urlsFailLater && context && failedLater)
            QTimer::singleShot(0, context, failedLater);
        return urlsOpen;
    }

    // Watched processes are real: the tests' stand-in programs run and end.
    QProcess *startWatched(const QString &program, const QStringList &arguments,
                           const QString &workingFolder, QObject *owner) override
    {
        starts.append({program, arguments, workingFolder});
        return startSucceeds ? startProcess(program, arguments, workingFolder, owner) : nullptr;
    }
};

} // namespace kq
