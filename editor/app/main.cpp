#include "commandline.h"
#include "mainwindow.h"
#include "optionsetting.h"
#include "splashwindow.h"
#include "uiservices.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QTextStream>

namespace {

void nameApplication()
{
    // Settings are kept under the executable's own base name, so a renamed copy keeps its own.
    QCoreApplication::setApplicationName(kq::settingsApplicationName());
    QCoreApplication::setApplicationVersion(QStringLiteral(KQ_VERSION));
}

// Checking, building and telling what is wrong with a command line need no display, so no GUI
// application is made for them.
int runWithoutWindow(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameApplication();
    // Qt's parser says what is wrong with a command line in the language active when it reads.
    kq::useSettingsLanguage();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kq::runWithoutWindow(
        kq::parseCommandLine(kq::withoutWindowSystemOptions(QCoreApplication::arguments())), out,
        err);
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (kq::runsWithoutWindow(arguments))
        return runWithoutWindow(argc, argv);
    if (kq::lacksDisplay(arguments, QProcessEnvironment::systemEnvironment())) {
        // Without a display only a windowless application can say so, in the user's language.
        QCoreApplication app(argc, argv);
        nameApplication();
        kq::useSettingsLanguage();
        QTextStream err(stderr);
        return kq::refuseWithoutDisplay(err);
    }

    QApplication app(argc, argv);
    nameApplication();
    // Qt's own options (-platform, -style, ...) are gone from the application's arguments.
    const kq::CommandLine commandLine = kq::parseCommandLine(QApplication::arguments());
    if (commandLine.action != kq::CommandLine::Action::Edit) {
        kq::useSettingsLanguage();
        QTextStream out(stdout);
        QTextStream err(stderr);
        return kq::runWithoutWindow(commandLine, out, err);
    }

    kq::QtUiServices ui;
    kq::MainWindow mainWindow(ui);
    // A file named on the command line opens as Open opens it, over the shown main window.
    const auto showMainWindow = [&mainWindow, &commandLine] {
        mainWindow.show();
        if (!commandLine.file.isEmpty())
            mainWindow.projectCommands().openFile(commandLine.file);
    };
    if (!kq::showsStartupPicture(commandLine,
                                 kq::optionSetting(kq::OptionRead, kq::OptionStartupPicture))) {
        showMainWindow();
        return app.exec();
    }
    kq::SplashWindow splash(showMainWindow);
    return app.exec();
}
