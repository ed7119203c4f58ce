#pragma once

#include "textid.h"

#include <QObject>
#include <QUrl>

class QWidget;

namespace kq {

class ProjectDocument;
class TestRunController;
class UiServices;

// The commands that make a program of the project as it is in memory, unsaved edits included:
// the test run, the build of a program, the portable build of a folder and the web page. Before any
// of them, errors the project check finds are asked about once; warnings never stop them.
class ProgramCommands : public QObject
{
    Q_OBJECT

public:
    // Questions, dialogs and warnings appear over window.
    ProgramCommands(UiServices &ui, ProjectDocument &document, QWidget *window);

    void testRun();
    void build();
    void buildPortable();
    void buildWebPage();
    void buildForWindows();

signals:
    // What a command did, for the status bar.
    void statusMessage(const QString &text);
    // What a command made that the user may open at once: a built web page.
    void statusLink(const QString &text, const QString &linkText, const QUrl &url);

private:
    // True when the project check finds no error, or the user goes on all the same.
    bool mayRunDespiteErrors(TextId question);

    UiServices &mUi;
    ProjectDocument &mDocument;
    QWidget *mWindow;
    TestRunController *mTestRun;
};

} // namespace kq
