// What the main window's start asks of the system beyond its own widgets: its pictures are read
// without Qt's image-format plug-ins, and the marks of findings never search the desktop's icon
// theme, which Qt does file by file wherever the theme's cache is older than its folders.

#include "tst_mainwindowfixture.h"

#include "editorlook.h"
#include "problemsview.h"
#include "projectcheck.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QStyle>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// The file names of the image-format plug-ins this process has loaded.
QStringList loadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable /proc/self/maps")};
    QStringList plugins;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const int at = line.indexOf("/imageformats/");
        const QString name = QFileInfo(QString::fromLocal8Bit(line.mid(at))).fileName();
        if (at >= 0 && !plugins.contains(name))
            plugins << name;
    }
    return plugins;
}

const QColor ProbeColor(0, 0, 255);

// An icon theme whose error and warning icons, the ones the style offers for message boxes, are
// plain blue squares.
bool writeProbeTheme(const QString &folder)
{
    const QString icons = folder + QStringLiteral("/kqprobe/16x16/status");
    if (!QDir().mkpath(icons))
        return false;
    const QByteArray index = "[Icon Theme]\nName=kqprobe\nDirectories=16x16/status\n\n"
                             "[16x16/status]\nSize=16\nContext=Status\nType=Fixed\n";
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(ProbeColor);
    return kq::TestFiles::writeBytes(folder + QStringLiteral("/kqprobe/index.theme"), index) &&
           square.save(icons + QStringLiteral("/dialog-error.png"), "png") &&
           square.save(icons + QStringLiteral("/dialog-warning.png"), "png");
}

QImage picture(const QIcon &icon)
{
    return icon.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestMainWindowStartUp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    // First, before any other test of this program reads a picture through a plug-in.
    void startLoadsNoImagePlugin();
    void findingMarksAskNoIconTheme();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestMainWindowStartUp::init()
{
    QVERIFY(renew(mFolder));
    useDefaultSettings();
}

void TestMainWindowStartUp::startLoadsNoImagePlugin()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(loadedImagePlugins(), QStringList());
}

void TestMainWindowStartUp::findingMarksAskNoIconTheme()
{
    QTemporaryDir themes;
    QVERIFY(writeProbeTheme(themes.path()));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName(QStringLiteral("kqprobe"));
    const auto restoreTheme = qScopeGuard([&] {
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(themeName);
    });

    ScriptedUi ui;
    MainWindow window(ui);
    // The theme is in force: the style's own message icons come from it.
    QCOMPARE(picture(window.style()->standardIcon(QStyle::SP_MessageBoxCritical)).pixelColor(8, 8),
             ProbeColor);

    // Step 0 shows an icon without a picture (a warning) and step 2 traps its user (an error).
    fillProject(window, 3);
    setUpProject(window, [](DialogProject &project) {
        project.record(1).ico = 9;
        project.record(3).btnscr1 = QStringLiteral("Нет");
        project.record(3).btnscr2 = QStringLiteral("Нет");
    });
    const auto *problems = child<ProblemsView>(&window, "problems_list");
    const QList<Finding> findings = problems->findings();
    QVERIFY(ProjectCheck::errorCount(findings) >= 1);
    QVERIFY(ProjectCheck::errorCount(findings) < findings.size());
    for (int row = 0; row < findings.size(); ++row) {
        const QImage mark = picture(problems->topLevelItem(row)->icon(0));
        QCOMPARE(mark, picture(EditorLook::findingIcon(findings.at(row).severity())));
    }
    const QListWidgetItem *entry = child<QListWidget>(&window, "dlg_list")->item(2);
    QCOMPARE(picture(entry->icon()), picture(EditorLook::findingIcon(Finding::Severity::Error)));
}

QTEST_MAIN(TestMainWindowStartUp)
#include "tst_mainwindowstartup.moc"
