#include "pluginpage.h"

#include "editorlook.h"
#include "fileplaces.h"
#include "language.h"
#include "plugininfo.h"
#include "pluginrunwindow.h"
#include "textlines.h"
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

using namespace Management;

namespace {

// The plug-in program lies beside its description file: abc.tvpl goes with abc.plug.
QString programFileOf(const QString &descriptionPath)
{
    return descriptionPath.chopped(5) + QStringLiteral(".plug");
}

} // namespace

PluginPage::PluginPage(UiServices &ui, const DialogProject &project, QWidget *parent)
    : ManagementPage(ui, TextId::TabPlugins, parent), mProject(project)
{
    const QFont font = EditorLook::fixedPitchFont();

    auto *caption = new QLabel(resourceId(TextId::InstalledPluginsLabel), this);
    caption->setObjectName(QStringLiteral("pl_lbl"));

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("pluglist"));
    mList->setAccessibleName(languageText(TextId::InstalledPluginsLabel));
    mList->setFont(font);
    caption->setBuddy(mList);
    connect(mList, &QListWidget::currentRowChanged, this, &PluginPage::pluginSelected);

    mInfo = new QPlainTextEdit(this);
    mInfo->setObjectName(QStringLiteral("pl_info"));
    mInfo->setAccessibleName(languageText(TextId::AboutPlugin));
    mInfo->setFont(font);
    mInfo->setReadOnly(true);

    const TextId captions[] = {TextId::RunPlugin, TextId::DeletePlugin};
    for (int i = 0; i < int(mButtons.size()); ++i) {
        auto *button = captionButton(QStringLiteral("pl_cont") + QString::number(i),
                                     resourceId(captions[i]), this);
        // Enabled by the list filling once the Plugins folder holds a description file.
        button->setEnabled(false);
        mButtons.at(i) = button;
    }
    connect(mButtons.at(0), &QPushButton::clicked, this, &PluginPage::runPlugin);
    connect(mButtons.at(1), &QPushButton::clicked, this, &PluginPage::deletePlugin);

    auto *lists = new QHBoxLayout;
    lists->addWidget(mList, 2);
    lists->addWidget(mInfo, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : mButtons)
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addWidget(caption);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
}

void PluginPage::fill()
{
    QStringList paths = folderEntries(QStringLiteral("Plugins"), QStringLiteral("*.tvpl"));
    // Each description file looked at enables the buttons, a refused one too.
    for (QPushButton *button : mButtons)
        button->setEnabled(!paths.isEmpty());
    const QStringList shown = validEntries(
        paths,
        [](const QString &path) {
            return pluginHeaderValue(path, QStringLiteral("GetVersion")) == u"2.0";
        },
        [](const QString &path) {
            return listedName(pluginHeaderValue(path, QStringLiteral("GetName")), QString(),
                              FilePlaces::current().isUsersOwn(path));
        });
    {
        const QSignalBlocker blocker(mList);
        mList->clear();
        // Each entry holds its description path.
        for (qsizetype row = 0; row < shown.size(); ++row)
            (new QListWidgetItem(shown.at(row), mList))->setData(Qt::UserRole, paths.at(row));
    }
    if (mList->count() > 0)
        selectPlugin(0);
}

void PluginPage::selectPlugin(int row)
{
    {
        const QSignalBlocker blocker(mList);
        mList->setCurrentRow(row);
    }
    pluginSelected();
}

void PluginPage::pluginSelected()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;

    const QString version = pluginHeaderValue(path, QStringLiteral("GetVersion"));
    if (version != u"2.0" && acceptsDeletingVersion(version, TextId::PluginVersionBefore,
                                                    TextId::PluginVersionAfter, title())) {
        deletePlugin();
        return;
    }

    mInfo->setPlainText(toBoxText(languageText(TextId::PluginAuthorLabel) + u'\n' +
                                  pluginHeaderValue(path, QStringLiteral("GetAuthor")) + u'\n' +
                                  languageText(TextId::PluginDescriptionLabel) + u'\n' +
                                  pluginDescriptionText(path)));
}

void PluginPage::runPlugin()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const QString program = programFileOf(path);
    if (!QFileInfo(program).isFile()) {
        mUi.message(window(), languageText(TextId::PluginProgramMissing), title(),
                    UiServices::Icon::Error, UiServices::Buttons::Ok);
        return;
    }

    // The management window steps aside while the plug-in runs. QDialog::hide() would end the
    // modal loop the main window runs it in, so it is hidden as a plain widget.
    QWidget *management = window();
    const QPoint at = management->pos();
    management->QWidget::setVisible(false);
    {
        PluginRunWindow run(mUi, mProject, management->parentWidget());
        connect(&run, &PluginRunWindow::resultLoaded, this, &PluginPage::takeResult);
        run.setPluginName(mList->currentItem()->text());
        run.setFile(program);
        run.exec();
    }
    management->show();
    // Shown again, the window comes back where the user left it, not a title bar lower.
    management->move(at);
}

QString PluginPage::selectedPath() const
{
    const QListWidgetItem *item = mList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void PluginPage::takeResult(const DialogProject &result)
{
    mProject = result;
    emit resultLoaded(result);
}

void PluginPage::deletePlugin()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    if (refusesShipped(path) || !confirmsDelete(mList->currentItem()->text()))
        return;
    QFile::remove(path);
    QFile::remove(programFileOf(path));
    fill();
}

} // namespace kq
