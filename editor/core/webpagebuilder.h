#pragma once

#include <QByteArray>
#include <QString>

namespace kq {

class DialogProject;

// The words the web page says itself, in the language the page is built in.
struct WebPageWords
{
    QString ended;     // at the end of the run
    QString stopped;   // at a fault; %1 the runner's reason
    QString playAgain; // the button that starts the run again
    QString close;     // the name of a window's close box
    QString noScript;  // shown by a browser that runs no script

    // The words of the active language file.
    static WebPageWords ofLanguage();
};

// Builds a project into one self-contained web page that plays it as the runner does: the page
// carries the project compiled into a StepTable, the pictures of its project style as data, and
// a script that only follows the table. A policy in the page forbids it every request.
class WebPageBuilder
{
public:
    explicit WebPageBuilder(const DialogProject &project,
                            WebPageWords words = WebPageWords::ofLanguage());

    QByteArray page() const;
    // Writes the page whole where BuildTarget allows it: a new file, or a page an earlier build
    // wrote. False with a reason in *error (when given).
    bool write(const QString &path, QString *error = nullptr) const;

    // The page file for a name chosen without any extension gets ".html".
    static QString pagePath(const QString &chosen);

private:
    const DialogProject &mProject;
    WebPageWords mWords;
};

} // namespace kq
