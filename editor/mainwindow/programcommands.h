#pragma once

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

signals:
    // What a command did, for the status bar.
    void statusMessage(const QString &text);
    // What a command made that the user may open at once: a built web page.
    void statusLink(const QString &text, const QString &linkText, const QUrl &url);

private:
    // The questions asked before a project with errors runs or is built.
    static constexpr int TestRunQuestion = 376;
    // "Open in the browser", after a web page is built.
    static constexpr int OpenInBrowserId = 721;
    static constexpr int BuildQuestion = 603;
    // True when the project check finds no error, or the user goes on all the same.
    bool mayRunDespiteErrors(int question);

    UiServices &mUi;
    ProjectDocument &mDocument;
    QWidget *mWindow;
    TestRunController *mTestRun;
};

} // namespace kq
