#include "managementwindow.h"

#include "editorhelpers.h"
#include "language.h"
#include "managementwindow_p.h"
#include "plugininfo.h"
#include "pluginrunwindow.h"
#include "programfolder.h"
#include "uiservices.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kq {

using namespace management;

namespace {

// The plug-in program lies beside its description file: abc.tvpl goes with abc.plug.
QString programFileOf(const QString &descriptionPath)
{
    return descriptionPath.chopped(5) + QStringLiteral(".plug");
}

} // namespace

QWidget *ManagementWindow::buildPluginPanel()
{
    auto *panel = new QWidget(this);
    const QFont font = editor::fixedPitchFont();

    auto *caption = new QLabel(QStringLiteral("%0215"), panel);
    caption->setObjectName(QStringLiteral("pl_lbl"));

    mPlugList = new QListWidget(panel);
    mPlugList->setObjectName(QStringLiteral("pluglist"));
    mPlugList->setFont(font);
    caption->setBuddy(mPlugList);
    connect(mPlugList, &QListWidget::currentRowChanged, this, &ManagementWindow::pluginSelected);

    mPlugInfo = new QPlainTextEdit(panel);
    mPlugInfo->setObjectName(QStringLiteral("pl_info"));
    mPlugInfo->setFont(font);
    mPlugInfo->setReadOnly(true);

    for (int i = 0; i < int(mPlugButtons.size()); ++i) {
        auto *button =
            captionButton(QStringLiteral("pl_cont") + QString::number(i), resId(220 + i), panel);
        // Enabled by the list filling once the Plugins folder holds a description file.
        button->setEnabled(false);
        mPlugButtons.at(i) = button;
    }
    connect(mPlugButtons.at(0), &QPushButton::clicked, this, &ManagementWindow::runPlugin);
    connect(mPlugButtons.at(1), &QPushButton::clicked, this, &ManagementWindow::deletePlugin);

    auto *lists = new QHBoxLayout;
    lists->addWidget(mPlugList, 2);
    lists->addWidget(mPlugInfo, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : mPlugButtons)
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addWidget(caption);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    return panel;
}

void ManagementWindow::fillPluginList()
{
    mPluginPaths.clear();
    for (const QString &name : folderEntries(QStringLiteral("Plugins"), QStringLiteral("*.tvpl")))
        mPluginPaths << programPath(QStringLiteral("Plugins/") + name);
    // Each description file looked at enables the buttons, a refused one too.
    for (QPushButton *button : mPlugButtons)
        button->setEnabled(!mPluginPaths.isEmpty());
    const QStringList shown = validEntries(
        mPluginPaths,
        [](const QString &path) {
            return PluginInfo(path, QStringLiteral("GetVersion")) == u"2.0";
        },
        [](const QString &path) { return PluginInfo(path, QStringLiteral("GetName")); });
    {
        const QSignalBlocker blocker(mPlugList);
        mPlugList->clear();
        mPlugList->addItems(shown);
    }
    if (mPlugList->count() > 0)
        selectPlugin(0);
}

void ManagementWindow::selectPlugin(int row)
{
    {
        const QSignalBlocker blocker(mPlugList);
        mPlugList->setCurrentRow(row);
    }
    pluginSelected();
}

void ManagementWindow::pluginSelected()
{
    const int row = mPlugList->currentRow();
    if (row < 0 || row >= mPluginPaths.size())
        return;
    const QString path = mPluginPaths.at(row);

    const QString version = PluginInfo(path, QStringLiteral("GetVersion"));
    if (version != u"2.0" &&
        acceptsDeletingVersion(version, 30, ResString(QStringLiteral("%0203")))) {
        deletePlugin();
        return;
    }

    mPlugInfo->setPlainText(editor::toBoxText(
        ResString(QStringLiteral("%0232")) + u'\n' + PluginInfo(path, QStringLiteral("GetAuthor")) +
        u'\n' + ResString(QStringLiteral("%0233")) + u'\n' + PluginDescription(path)));
}

void ManagementWindow::runPlugin()
{
    const int row = mPlugList->currentRow();
    if (row < 0 || row >= mPluginPaths.size())
        return;
    const QString program = programFileOf(mPluginPaths.at(row));
    if (!QFileInfo(program).isFile()) {
        mUi.message(this, ResString(QStringLiteral("%0029")), ResString(QStringLiteral("%0203")),
                    UiServices::Icon::Error, UiServices::Buttons::Ok);
        return;
    }

    if (PluginRunWindow::earlierPluginRuns()) {
        mUi.message(this, ResString(QStringLiteral("%0311")), ResString(QStringLiteral("%0020")),
                    UiServices::Icon::Warning, UiServices::Buttons::Ok);
        return;
    }

    // QDialog::hide() would end the modal loop the main window runs this window in.
    const QPoint at = pos();
    QWidget::setVisible(false);
    {
        PluginRunWindow run(mUi, mProject, mProjectReloaded, parentWidget());
        run.setPluginName(mPlugList->currentItem()->text());
        run.setFile(program);
        run.exec();
    }
    show();
    // Shown again, the window comes back where the user left it, not a title bar lower.
    move(at);
}

void ManagementWindow::deletePlugin()
{
    const int row = mPlugList->currentRow();
    if (row < 0 || row >= mPluginPaths.size())
        return;
    if (!confirmsDelete(mPlugList->currentItem()->text(), ResString(QStringLiteral("%0203"))))
        return;
    const QString path = mPluginPaths.at(row);
    QFile::remove(path);
    QFile::remove(programFileOf(path));
    FrmSub(2);
}

} // namespace kq
