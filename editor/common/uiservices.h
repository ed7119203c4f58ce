#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QObject;
class QProcess;
class QWidget;

namespace kq {

// What a save dialog asks for and offers.
struct SaveRequest
{
    QString title;
    QString filter;
    // Added to a name typed without any extension.
    QString defaultSuffix;
    // The folder the dialog opens in and the name it fills in; a bare name opens where the
    // dialog would open anyway.
    QString suggestedPath;
    // The accept button's caption, saying what it does; the platform's "Save" when empty.
    QString acceptLabel;
};

// Every standard dialog and every outside process of the editor goes through this one seam, so
// that tests can answer questions and file dialogs from a script.
class UiServices
{
public:
    enum class Icon { Warning, Question, Error, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~UiServices() = default;

    // detail, when given, is the reason an operation gave, shown as the box's detail text.
    // Text and detail are plain text, whatever they hold.
    virtual Answer message(QWidget *parent, const QString &text, const QString &title, Icon icon,
                           Buttons buttons, const QString &detail = {}) = 0;
    // An input box; no value when the user cancels.
    virtual std::optional<QString> input(QWidget *parent, const QString &prompt,
                                         const QString &title, const QString &defaultText) = 0;
    // File dialogs take filters in the product's "desc|*.ext|desc2|*.ext2" form and return the
    // chosen path, or an empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const SaveRequest &request) = 0;
    // The colour chooser; no value when the user cancels.
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) = 0;
    // Starts a program without waiting for it.
    virtual bool startDetached(const QString &program, const QStringList &arguments,
                               const QString &workingFolder) = 0;
    // Opens a document or an address with the desktop's default handler; false when none could
    // be started. A handler that starts and then fails (xdg-open finding no browser that takes
    // the address) calls failedLater, while context lives.
    virtual bool openUrl(const QUrl &url, QObject *context = nullptr,
                         const std::function<void()> &failedLater = {}) = 0;
    // Starts a program whose end the editor watches; the process belongs to owner. Null when
    // it could not be started.
    virtual QProcess *startWatched(const QString &program, const QStringList &arguments,
                                   const QString &workingFolder, QObject *owner) = 0;

    // The warning of a command that failed, titled OperationFailed: the reason the operation gave
    // is its text, OperationFailed again when there is none.
    void warnFailed(QWidget *parent, const QString &reason = {});
    // Opens "readme.txt" of the program folder with the desktop's viewer; nothing when it is
    // missing.
    void openReadme();
};

// The real dialogs and processes.
class QtUiServices final : public UiServices
{
public:
    Answer message(QWidget *parent, const QString &text, const QString &title, Icon icon,
                   Buttons buttons, const QString &detail = {}) override;
    std::optional<QString> input(QWidget *parent, const QString &prompt, const QString &title,
                                 const QString &defaultText) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFileName(QWidget *parent, const SaveRequest &request) override;
    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) override;
    bool startDetached(const QString &program, const QStringList &arguments,
                       const QString &workingFolder) override;
    bool openUrl(const QUrl &url, QObject *context = nullptr,
                 const std::function<void()> &failedLater = {}) override;
    QProcess *startWatched(const QString &program, const QStringList &arguments,
                           const QString &workingFolder, QObject *owner) override;
};

// A started process with its working folder, or null when it did not start.
QProcess *startProcess(const QString &program, const QStringList &arguments,
                       const QString &workingFolder, QObject *owner);

// "Projects|*.dlg2|Old projects|*.dlg" becomes "Projects (*.dlg2);;Old projects (*.dlg)".
QString qtFileFilter(const QString &pipeFilter);

} // namespace kq
