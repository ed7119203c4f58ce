#include "mainwindow.h"
#include "optionsetting.h"
#include "splashwindow.h"
#include "uiservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Settings are kept under the executable's own base name, so a renamed copy keeps its own.
    QApplication::setApplicationName(kq::settingsApplicationName());

    kq::QtUiServices ui;
    kq::MainWindow mainWindow(ui);
    kq::SplashWindow splash([&mainWindow] { mainWindow.show(); });
    return app.exec();
}
