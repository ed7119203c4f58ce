#pragma once

#include "dialogproject.h"
#include "editorfixture.h"
#include "language.h"
#include "managementwindow.h"
#include "olecolor.h"
#include "optionsetting.h"
#include "programfolder.h"
#include "resourcefiles.h"
#include "scriptedui.h"
#include "theme.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QTest>

#include <memory>

// Shared ground of the management window tests: a private settings store, a program folder
// copied from the shipped data, and a window over a scripted user.
namespace kq::ManagementTest {

using kq::EditorTest::child;
using kq::EditorTest::choose;
using kq::EditorTest::comboTexts;
using kq::EditorTest::listTexts;

// Removes every file of a folder, so a test fills it with its own.
inline void emptyFolder(const QString &path)
{
    QDir dir(path);
    for (const QString &name : dir.entryList(QDir::Files))
        dir.remove(name);
}

inline QStringList themeLines(const QString &name, const QString &version = "2.0",
                              const QString &status = "User",
                              const kq::ThemeColors &colors = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
{
    QStringList lines{"!KestraneDevelopment10", "!ThemeFile",       "[Info]",  "Name=" + name,
                      "Version=" + version,     "Status=" + status, "[Colors]"};
    for (size_t i = 0; i < colors.size(); ++i)
        lines << QString(kq::ThemeColorSet.at(i)) + "=" + QString::number(colors.at(i));
    return lines;
}

inline QStringList languageLines(const QString &name, const QString &version = "2.0",
                                 const QString &status = "User", const QString &resId = "0",
                                 const QString &author = "Tester",
                                 const QStringList &entries = {"%0001, Создать"})
{
    return QStringList{"!KestraneDevelopment10", "!RescourceFile",   "[Language]",
                       "Name=" + name,           "ResId=" + resId,   "Author=" + author,
                       "Version=" + version,     "Status=" + status, "[Rescource]"} +
           entries;
}

inline QStringList pluginLines(const QString &name, const QString &version = "2.0",
                               const QString &author = "Tester",
                               const QString &description = "Does nothing.")
{
    return {"!KestraneDevelopment10", "!PluginFile",        "[Info]",        "Name=" + name,
            "Author=" + author,       "Version=" + version, "[Description]", description};
}

// The files behind a management list, entry for entry, as each entry holds its own: bare
// language file names, full theme and plug-in description paths.
inline QStringList listedFiles(const QComboBox *list)
{
    QStringList files;
    for (int i = 0; i < list->count(); ++i)
        files << list->itemData(i).toString();
    return files;
}

inline QStringList listedFiles(const QListWidget *list)
{
    QStringList files;
    for (int i = 0; i < list->count(); ++i)
        files << list->item(i)->data(Qt::UserRole).toString();
    return files;
}

inline QStringList listedLanguages(const QWidget *window)
{
    return listedFiles(child<QComboBox>(window, "langlist"));
}

inline QStringList listedThemes(const QWidget *window)
{
    return listedFiles(child<QComboBox>(window, "themelist"));
}

inline QStringList listedPlugins(const QWidget *window)
{
    return listedFiles(child<QListWidget>(window, "pluglist"));
}

// Shows the page of a tab as the user does. A downloads tab, which fills no list, comes first, so
// that the page fills its list again even when it was showing.
inline void showPage(const QWidget *window, int tab)
{
    auto *tabs = child<QTabBar>(window, "maintab");
    tabs->setCurrentIndex(tab == 3 ? 4 : 3);
    tabs->setCurrentIndex(tab);
}

// The theme editor's ten colours as its swatch shows them, entry by entry of the colour list;
// the entry the user had chosen stays chosen.
inline QList<QColor> shownColors(const QWidget *window)
{
    auto *entries = child<QComboBox>(window, "theme_item");
    const auto *swatch = child<QLabel>(window, "lbl_color");
    const int chosen = entries->currentIndex();
    QList<QColor> colors;
    for (int i = 0; i < entries->count(); ++i) {
        entries->setCurrentIndex(i);
        colors << swatch->palette().color(QPalette::Window);
    }
    entries->setCurrentIndex(chosen);
    return colors;
}

// The colours of the active theme that the theme editor works on, in its colour list's order.
inline QList<QColor> activeColors()
{
    QList<QColor> colors;
    for (size_t i = 0; i < kq::ThemeColors().size(); ++i)
        colors << kq::colorFromOle(kq::activeThemeColor(kq::ThemeColorSet.at(i)));
    return colors;
}

// One test's program folder: the shipped data, the Russian language active and the default
// settings written, as the editor's first start leaves them.
class Fixture
{
public:
    Fixture()
    {
        QVERIFY(mFolder.ok());
        QCOMPARE(kq::languageHeaderValue("russian.lang", "GetFile"), QString("russian.lang"));
        kq::optionSetting(kq::OptionWrite, kq::OptionLanguage, "russian.lang");
        kq::optionSetting(kq::OptionWrite, kq::OptionTheme, path("Themes/standart.tvth"));
        mReady = true;
    }

    bool ready() const { return mReady; }
    QString path(const QString &relative) const { return mFolder.path(relative); }
    bool write(const QString &relative, const QStringList &lines) const
    {
        return kq::TestFiles::writeLines(path(relative), lines);
    }

    // The window as the main window opens it, over this fixture's scripted user and project.
    std::unique_ptr<kq::ManagementWindow> open()
    {
        auto window = std::make_unique<kq::ManagementWindow>(ui, project, nullptr);
        QObject::connect(window.get(), &kq::ManagementWindow::pluginResultLoaded,
                         [this](const kq::DialogProject &result) {
                             project = result;
                             ++reloads;
                         });
        return window;
    }

    kq::ScriptedUi ui;
    kq::DialogProject project;
    int reloads = 0;

private:
    kq::EditorTest::ProgramFolder mFolder;
    bool mReady = false;
};

} // namespace kq::ManagementTest
