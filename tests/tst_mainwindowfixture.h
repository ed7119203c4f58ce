#pragma once

// Shared set-up of the main window tests: a private program folder with the shipped languages,
// themes and samples and a stand-in runner, a private settings store, and small helpers.

#include "dialogproject.h"
#include "kxbutton.h"
#include "language.h"
#include "mainwindow.h"
#include "optionsetting.h"
#include "programfolder.h"
#include "scriptedui.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedPointer>
#include <QTemporaryDir>
#include <QTest>

namespace mwtest {

inline bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

inline QString runnerName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Runner/run.exe");
#else
    return QStringLiteral("Runner/run");
#endif
}

inline const QByteArray FakeRunner = "#!/bin/sh\nexit 0\n";

// A program folder of the test's own, so tests never touch the real one and can run in parallel.
struct ProgramFolder
{
    QTemporaryDir dir;
    bool ok = false;

    ProgramFolder()
    {
        ok = dir.isValid() && copyTree(QStringLiteral(KQ_SOURCE_DIR "/data"), dir.path()) &&
             QDir().mkpath(dir.path() + QStringLiteral("/Runner"));
        QFile runner(dir.path() + QLatin1Char('/') + runnerName());
        ok = ok && runner.open(QIODevice::WriteOnly) && runner.write(FakeRunner) > 0;
        runner.close();
        runner.setPermissions(runner.permissions() | QFile::ExeOwner | QFile::ExeUser);
        kq::setProgramFolder(dir.path());
    }
    ~ProgramFolder() { kq::setProgramFolder(QString()); }

    QString path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }
};

// A fresh program folder for the next test; the old one goes first, as it resets the folder.
inline bool renew(QScopedPointer<ProgramFolder> &folder)
{
    folder.reset();
    folder.reset(new ProgramFolder);
    return folder->ok;
}

inline void useSettings(const QString &language, const QString &themeFile)
{
    kq::OptionSetting(kq::OptionWrite, kq::OptionLanguage, language);
    kq::OptionSetting(kq::OptionWrite, kq::OptionTheme,
                      themeFile.isEmpty() ? QString() : kq::programPath(themeFile));
}

// Settings as left by an earlier start: Russian and the standard theme.
inline void useDefaultSettings()
{
    useSettings(QStringLiteral("russian.lang"), QStringLiteral("Themes/standart.tvth"));
}

template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Leaving a box with the Tab key, as far as the window can tell.
inline void leave(QWidget *box)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &event);
}

// A project of count dialogs whose texts are "D0", "D1", ... and whose style is 0.
inline void fillProject(kq::DialogProject &project, int count)
{
    project.clearRecord(0);
    project.record(0).text = QStringLiteral("0");
    for (int i = 1; i <= count; ++i)
        project.newDialog(i, QStringLiteral("D") + QString::number(i - 1));
    project.setDialogCount(qint16(count));
}

// The list as it shows: one text per entry.
inline QStringList entries(const kq::MainWindow &window)
{
    auto *list = child<QListWidget>(&window, QStringLiteral("dlg_list"));
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace mwtest

// Each test program keeps its settings in a private store that dies with it.
#define KQ_MAINWINDOW_TEST_MAIN(TestObject)                                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir config;                                                                      \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));                              \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
