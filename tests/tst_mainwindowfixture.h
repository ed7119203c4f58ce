#pragma once

// Shared set-up of the main window tests: a private program folder with the shipped data and a
// stand-in runner, a private settings store, and small helpers.

#include "dialoglistview.h"
#include "dialogproject.h"
#include "editorfixture.h"
#include "kxbutton.h"
#include "language.h"
#include "mainwindow.h"
#include "optionsetting.h"
#include "programfolder.h"
#include "projectcommands.h"
#include "projectdocument.h"
#include "projectfile.h"
#include "projectstylebox.h"
#include "propertiespanel.h"
#include "scriptcomposer.h"
#include "scriptedui.h"
#include "themepainter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedPointer>
#include <QTest>

#include <functional>

namespace kq::MainWindowTest {

using kq::EditorTest::child;
using kq::EditorTest::choose;

inline QString runnerName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Runner/run.exe");
#else
    return QStringLiteral("Runner/run");
#endif
}

inline const QByteArray FakeRunner = "#!/bin/sh\nexit 0\n";
// Stands in for the Windows player, which Windows builds copy: a program image starts so.
inline const QByteArray FakeWindowsPlayer = "MZ stand-in Windows player";

// The shipped data, a stand-in runner that ends at once and a stand-in Windows player.
class ProgramFolder : public kq::EditorTest::ProgramFolder
{
public:
    ProgramFolder()
    {
        const QString runner = path(runnerName());
        mOk = mOk && kq::TestFiles::writeBytes(runner, FakeRunner) &&
              QFile::setPermissions(runner, QFile::permissions(runner) | QFile::ExeOwner |
                                                QFile::ExeUser) &&
              kq::TestFiles::writeBytes(path(QStringLiteral("Runner/windows-player.exe")),
                                        FakeWindowsPlayer);
    }
};

// A fresh program folder for the next test; the old one goes first, as it resets the folder.
inline bool renew(QScopedPointer<ProgramFolder> &folder)
{
    folder.reset();
    folder.reset(new ProgramFolder);
    return folder->ok();
}

// The two settings, and nothing remembered from windows of earlier tests: no place, size or
// split of the window and no recent projects.
inline void useSettings(const QString &language, const QString &themeFile)
{
    kq::optionSetting(kq::OptionWrite, kq::OptionLanguage, language);
    kq::optionSetting(kq::OptionWrite, kq::OptionTheme,
                      themeFile.isEmpty() ? QString() : kq::programPath(themeFile));
    for (const kq::OptionKey key :
         {kq::OptionWindowGeometry, kq::OptionWindowLayout, kq::OptionRecentProjects})
        kq::optionSetting(kq::OptionWrite, key, QString());
}

// Settings as left by an earlier start: Russian and the standard theme.
inline void useDefaultSettings()
{
    useSettings(QStringLiteral("russian.lang"), QStringLiteral("Themes/standart.tvth"));
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

// The editing views of the main window on a document of their own, without the window around
// them: the list, the properties panel, the script box and the style options, wired as the
// window wires them, in the language and theme of the settings, showing a new project.
class Views : public QWidget
{
public:
    Views()
    {
        kq::languageHeaderValue(kq::optionSetting(kq::OptionRead, kq::OptionLanguage),
                                QStringLiteral("GetFile"));
        auto *document = new kq::ProjectDocument(this);
        auto *list = new kq::DialogListView(*document, this);
        auto *panel = new kq::PropertiesPanel(*document, this);
        auto *composer = new kq::ScriptComposer(*document, this);
        auto *style = new kq::ProjectStyleBox(*document, this);
        QObject::connect(composer, &kq::ScriptComposer::insertRequested, panel,
                         &kq::PropertiesPanel::insertScript);
        auto *layout = new QGridLayout(this);
        layout->addWidget(list, 0, 0, 2, 1);
        layout->addWidget(panel, 0, 1, 1, 2);
        layout->addWidget(composer, 1, 1);
        layout->addWidget(style, 1, 2);

        auto *status = new QLabel(this);
        auto *painter = new kq::ThemePainter(*this, *status);
        painter->readTheme();
        panel->setSelectionColor(painter->color(kq::ThemeColorKey::SelectionColor));
        const auto paint = [painter, panel] {
            painter->paint();
            panel->redrawIcons();
        };
        QObject::connect(list, &kq::DialogListView::buttonsUpdated, this, paint);
        QObject::connect(panel, &kq::PropertiesPanel::statesChanged, this, paint);
        QObject::connect(composer, &kq::ScriptComposer::statesChanged, this, paint);
        paint();
        composer->selectCommand(kq::ScriptComposer::NoAction);
        kq::ProjectCommands(ui, *document, this).newProject();
    }

    // What the views asked or opened: nothing, since they leave that to the window.
    kq::ScriptedUi ui;
};

// The document and views of a main window or of Views, as their children.
inline kq::ProjectDocument &document(const QWidget &window)
{
    return *child<kq::ProjectDocument>(&window, QString());
}

inline kq::PropertiesPanel &panel(const QWidget &window)
{
    return *child<kq::PropertiesPanel>(&window, QStringLiteral("data_box"));
}

inline kq::DialogListView &listView(const QWidget &window)
{
    return *child<kq::DialogListView>(&window, QStringLiteral("listbox"));
}

// Selecting a list entry, as a click on it does.
inline void selectEntry(const QWidget &window, int row)
{
    child<QListWidget>(&window, QStringLiteral("dlg_list"))->setCurrentRow(row);
}

// Test set-up: the window's project as a file opened in the editor would give it, with a fresh
// history.
template <typename Edit> void setUpProject(QWidget &window, Edit edit)
{
    kq::DialogProject project = document(window).project();
    edit(project);
    document(window).replaceProject(project);
}

inline void fillProject(QWidget &window, int count)
{
    setUpProject(window, [count](kq::DialogProject &project) { fillProject(project, count); });
}

// The texts of the dialogs a data file holds, as the runner would read them.
inline QStringList dialogTexts(const QString &path)
{
    kq::DialogProject project;
    kq::ProjectFile file;
    QStringList texts;
    if (!file.open(path) || !project.load(file))
        return {"unreadable"};
    for (int i = 1; i <= project.dialogCount(); ++i)
        texts << kq::trimmedRight(project.record(i).text);
    return texts;
}

// The title as the window system shows it: the modified mark "[*]" is Qt's placeholder.
inline QString shownTitle(const QWidget &window)
{
    return window.windowTitle().remove(QStringLiteral("[*]"));
}

// A drop on the dialog list as the list receives one: entering, moving over the upper or lower
// half of the entry in the row, dropping. Whether the list took it.
inline bool dropOnList(QListWidget *list, const QMimeData *data, int row, bool lowerHalf,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect entry = list->visualItemRect(list->item(row));
    const QPoint at(entry.center().x(), lowerHalf ? entry.bottom() - 1 : entry.top() + 1);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(list->viewport(), &enter);
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(list->viewport(), &move);
    QDropEvent dropped(at, actions, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(list->viewport(), &dropped);
    return dropped.isAccepted();
}

// The list as it shows: one text per entry.
inline QStringList entries(const QWidget &window)
{
    return kq::EditorTest::listTexts(child<QListWidget>(&window, QStringLiteral("dlg_list")));
}

// What describe tells of each visible entry of a numbered group of menu entries, such as the
// samples "mnuOpnF0", "mnuOpnF1", ..., in order.
template <typename Describe>
QStringList visibleEntries(const kq::MainWindow &window, const QString &name, int count,
                           Describe describe)
{
    QStringList shown;
    for (int i = 0; i < count; ++i) {
        const auto *entry = child<QAction>(&window, name + QString::number(i));
        if (entry->isVisible())
            shown << std::invoke(describe, entry);
    }
    return shown;
}

} // namespace kq::MainWindowTest
