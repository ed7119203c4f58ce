#include "mainwindow.h"

#include "aboutwindow.h"
#include "dialoglistview.h"
#include "findbar.h"
#include "flowpane.h"
#include "flowview.h"
#include "kxbutton.h"
#include "language.h"
#include "localizecontrols.h"
#include "mainsplitter.h"
#include "maintoolbar.h"
#include "managementwindow.h"
#include "optionsetting.h"
#include "picturebutton.h"
#include "previewpane.h"
#include "productinfo.h"
#include "programcommands.h"
#include "programfolder.h"
#include "projectdocument.h"
#include "projectstylebox.h"
#include "propertiespanel.h"
#include "qttranslation.h"
#include "recentprojectsmenu.h"
#include "samplenames.h"
#include "scriptcomposer.h"
#include "statusbar.h"
#include "stepeditactions.h"
#include "themepainter.h"
#include "uiservices.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMargins>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kq {

namespace {

const QColor BarColor(240, 240, 240);
// The editing areas at the size they were designed for, and as small as they may get (the list
// narrower) on a small screen.
constexpr QSize EditingDesigned(860, 520);
constexpr QSize EditingMinimum(800, 520);
// Borders and a title bar, which the window manager adds around the window once it is shown.
constexpr QMargins FrameAllowance(8, 32, 8, 8);
// The preview's first height under the flow tabs: a message window of two lines at full size.
constexpr int FirstPreviewHeight = 200;
// Raised when what previewState writes changes.
constexpr quint8 PreviewStateVersion = 1;

void setBarLook(QWidget *bar)
{
    // The status line is always black, so the two bars keep the light face of the skinned
    // toolbar buttons whatever the theme paints around them.
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, BarColor);
    palette.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(palette);
    bar->setAutoFillBackground(true);
}

QByteArray storedBytes(OptionKey key)
{
    return QByteArray::fromBase64(optionSetting(OptionRead, key).toLatin1());
}

void storeBytes(OptionKey key, const QByteArray &bytes)
{
    optionSetting(OptionWrite, key, QString::fromLatin1(bytes.toBase64()));
}

} // namespace

MainWindow::MainWindow(UiServices &ui, QWidget *parent)
    : QWidget(parent), mUi(ui), mDocument(new ProjectDocument(this))
{
    setObjectName(QStringLiteral("main"));
    setAutoFillBackground(true);

    mProjectCommands = new ProjectCommands(ui, *mDocument, this);
    mProgramCommands = new ProgramCommands(ui, *mDocument, this);
    mToolbar = new MainToolbar(this);
    setBarLook(mToolbar);
    mListView = new DialogListView(*mDocument, this);
    mPanel = new PropertiesPanel(*mDocument, this);
    mComposer = new ScriptComposer(*mDocument, this);
    mStyleBox = new ProjectStyleBox(*mDocument, this);
    mFlowPane = new FlowPane(ui, *mDocument, this);
    mPreview = new PreviewPane(*mDocument, this);
    mFindBar = new FindBar(*mDocument, this);
    mStatusBar = new StatusBar(this);
    setBarLook(mStatusBar);
    mPainter = new ThemePainter(*this, *mStatusBar->label());

    const std::pair<QWidget *, TextId> areas[] = {
        {this, TextId::StatusReady},           {mToolbar, TextId::StatusReady},
        {mListView, TextId::HintDialogList},   {mPanel, TextId::HintProperties},
        {mStyleBox, TextId::HintProjectStyle}, {mComposer, TextId::HintScriptComposer},
        {mPreview, TextId::PreviewHint}};
    for (const auto &[area, hint] : areas)
        mStatusBar->addHintArea(area, hint);

    buildMenus();
    buildShortcuts();
    layOut();
    connectViews();

    setMinimumSize(minimumSizeHint().boundedTo(LargestMinimum));
    resize(InitialSize);
    restoreWindowLayout();
    startUp();
}

void MainWindow::layOut()
{
    auto *content = new QGridLayout;
    content->setContentsMargins(8, 8, 8, 8);
    content->setSpacing(8);
    content->addWidget(mListView, 0, 0, 2, 1);
    content->addWidget(mPanel, 0, 1, 1, 2);
    content->addWidget(mComposer, 1, 1);
    content->addWidget(mStyleBox, 1, 2);
    // A wider window widens the properties panel with its text box; a taller one lengthens the
    // list and the text box. The list's entries are never wider than its designed width.
    content->setColumnStretch(1, 1);
    content->setRowStretch(0, 1);

    auto *editing = new QWidget(this);
    editing->setObjectName(QStringLiteral("editing"));
    editing->setLayout(content);
    editing->setMinimumSize(EditingMinimum);
    // The preview shares the right side with the flow tabs; on a small screen the splitter
    // hands either the room, and a folded preview leaves the map all of it.
    mSideSplit = new QSplitter(Qt::Vertical, this);
    mSideSplit->setObjectName(QStringLiteral("side_split"));
    mSideSplit->setChildrenCollapsible(false);
    mSideSplit->addWidget(mFlowPane);
    mSideSplit->addWidget(mPreview);
    mSideSplit->setStretchFactor(0, 1);
    mSideSplit->setStretchFactor(1, 0);
    mSplitter = new MainSplitter(editing, mSideSplit, this);
    // Pushed out of the way with the flow tabs, the preview is out of sight as when folded: a
    // run there stops rather than wait for answers nobody can see.
    connect(mSplitter, &QSplitter::splitterMoved, this, [this] {
        if (mSplitter->sizes().value(1) == 0)
            mPreview->stopPlaying();
    });
    // A run started by its key while they are away brings them back, as it unfolds the pane.
    connect(mPreview, &PreviewPane::aboutToPlay, this,
            [this] { mSplitter->bringBackFlow(EditingDesigned.width()); });

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(mToolbar);
    // A rim of the window's own background stays around the areas, for its status hint.
    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(4, 4, 4, 4);
    middle->addWidget(mSplitter);
    outer->addLayout(middle, 1);
    outer->addWidget(mFindBar);
    outer->addWidget(mStatusBar);
}

void MainWindow::connectViews()
{
    connect(mToolbar, &MainToolbar::clicked, this, &MainWindow::toolbarClick);
    connect(mToolbar, &MainToolbar::arrowClicked, this, &MainWindow::toolbarArrowClick);
    connect(mToolbar, &MainToolbar::mouseIn, this, [this](ToolButton which) {
        mStatusBar->showText(languageText(MainToolbar::hint(which)));
    });
    connect(mComposer, &ScriptComposer::insertRequested, mPanel, &PropertiesPanel::insertScript);
    connect(mListView, &DialogListView::buttonsUpdated, this, &MainWindow::paintTheme);
    connect(mPanel, &PropertiesPanel::statesChanged, this, &MainWindow::paintTheme);
    connect(mPanel, &PropertiesPanel::charactersReplaced, this,
            [this](int count) { mStatusBar->showText(charactersReplacedNotice(count)); });
    connect(
        mFindBar, &FindBar::replacementsDone, this, [this](const QString &summary, int unstorable) {
            mStatusBar->showText(
                unstorable > 0 ? summary + u' ' + charactersReplacedNotice(unstorable) : summary);
        });
    connect(mFindBar, &FindBar::foundStepsChanged, mFlowPane->flowView(), &FlowView::showFound);
    connect(mFindBar, &FindBar::matchChosen, this, [this](const TextMatch &match) {
        // Its step alone, also when it is the current one outside a selection of others.
        mDocument->setSelection({match.dialog}, match.dialog);
        mPanel->selectInField(int(match.field), match.start, match.length);
    });
    connect(mComposer, &ScriptComposer::statesChanged, this, &MainWindow::paintTheme);
    connect(mFlowPane, &FlowPane::errorStepsFound, mListView, &DialogListView::markErrors);
    mFlowPane->setEditActions(mListView->editActions());
    connect(mListView->editActions(), &StepEditActions::statusMessage, mStatusBar,
            &StatusBar::showText);
    connect(mFlowPane, &FlowPane::findingActivated, this, &MainWindow::showFinding);
    // A double-click on a step's box opens the step for editing at its caption.
    connect(mFlowPane, &FlowPane::stepOpened, this,
            [this] { mPanel->selectInField(int(ProjectDocument::Field::Caption), 0, 0); });
    connect(mDocument, &ProjectDocument::modifiedChanged, this, &QWidget::setWindowModified);
    // The title names the project's file; a project replaced by one without a file, such as an
    // old project imported, shows the product alone.
    connect(mDocument, &ProjectDocument::projectReplaced, this, &MainWindow::updateTitle);
    connect(mDocument, &ProjectDocument::pathChanged, this, &MainWindow::updateTitle);
    connect(mProjectCommands, &ProjectCommands::projectFileUsed, mRecent,
            &RecentProjectsMenu::remember);
    connect(mRecent, &RecentProjectsMenu::openRequested, mProjectCommands,
            &ProjectCommands::openFile);
    connect(mRecent, &RecentProjectsMenu::projectGone, this, [this](const QString &path) {
        mStatusBar->showText(
            languageText(TextId::RecentProjectGone).arg(QDir::toNativeSeparators(path)));
    });
    connect(mProgramCommands, &ProgramCommands::statusMessage, mStatusBar, &StatusBar::showText);
    connect(mProgramCommands, &ProgramCommands::statusLink, mStatusBar, &StatusBar::showLink);
    connect(mStatusBar, &StatusBar::linkActivated, this, [this](const QUrl &url) {
        const auto notOpened = [this, url] { mStatusBar->showAddressFailure(url); };
        if (!mUi.openUrl(url, this, notOpened))
            notOpened();
    });
    // A list operation tells how many go-to scripts it rewrote or left where a deleted step was.
    connect(mDocument, &ProjectDocument::scriptsFollowed, this, [this](int rewritten, int left) {
        mStatusBar->showText(languageText(TextId::GoToScriptsFollowed).arg(rewritten).arg(left));
    });
}

void MainWindow::makeRoomForFindBar()
{
    // The bar takes its height from the editing areas, which must not get smaller than they
    // can be: the window grows instead, as far as the screen lets it.
    const int needed = qMin(minimumSizeHint().height(),
                            screen()->availableGeometry().marginsRemoved(FrameAllowance).height());
    if (height() < needed)
        resize(width(), needed);
}

QString MainWindow::charactersReplacedNotice(int count)
{
    return pluralForm(languageText(TextId::CharactersReplaced), count).arg(count);
}

void MainWindow::showFinding(int step, StepField field)
{
    if (step >= 0)
        mDocument->setCurrentDialog(step + 1);
    if (field == StepField::Header)
        mStyleBox->setFocus(Qt::OtherFocusReason);
    else
        mPanel->focusField(field);
}

void MainWindow::buildShortcuts()
{
    // Undo and redo work anywhere in the window, text boxes included: typing is part of the
    // project's history, not of one box's.
    auto *undo = new QAction(this);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    connect(undo, &QAction::triggered, mDocument, &ProjectDocument::undo);
    auto *redo = new QAction(this);
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(redo, &QAction::triggered, mDocument, &ProjectDocument::redo);
    addActions({undo, redo});

    // The toolbar's commands by key: each runs exactly what its button runs, so pending typing is
    // written first and the usual questions are asked.
    struct KeyCommand
    {
        const char *name;
        QKeyCombination key;
        ToolButton button;
    };
    static const KeyCommand commands[] = {
        {"key_new", Qt::CTRL | Qt::Key_N, ToolButton::New},
        {"key_test", QKeyCombination(Qt::Key_F5), ToolButton::Test}};
    for (const KeyCommand &command : commands) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(command.name));
        action->setShortcut(QKeySequence(command.key));
        connect(action, &QAction::triggered, this,
                [this, button = command.button] { toolbarClick(button); });
        addAction(action);
        mToolKeys[int(command.button)] = action;
    }
    // Find and replace in the bar under the editing areas; F3 and Shift+F3 step through the
    // matches wherever the focus is.
    auto *find = mFindAction = new QAction(this);
    find->setObjectName(QStringLiteral("key_find"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] {
        mFindBar->openFind();
        makeRoomForFindBar();
    });
    auto *replace = mReplaceAction = new QAction(this);
    replace->setObjectName(QStringLiteral("key_replace"));
    replace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(replace, &QAction::triggered, this, [this] {
        mFindBar->openReplace();
        makeRoomForFindBar();
    });
    addActions({find, replace, mFindBar->nextAction(), mFindBar->previousAction()});
    // The Edit menu shows them with their keys, for those who look there first.
    mListView->addToEditMenu({find, replace});

    // Closing by key asks about unsaved changes as the close box does.
    auto *quit = new QAction(this);
    quit->setObjectName(QStringLiteral("key_close"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
}

void MainWindow::retranslateToolTips()
{
    for (int i = 0; i < ToolButtonCount; ++i) {
        const QString hint = languageText(MainToolbar::hint(ToolButton(i)));
        mToolbar->button(ToolButton(i))
            ->setToolTip(
                toolTipWithKey(hint, mToolKeys[i] ? mToolKeys[i]->shortcut() : QKeySequence()));
    }
}

QAction *MainWindow::addMenuEntry(QMenu *menu, const QString &name, std::optional<TextId> caption)
{
    auto *action = new QAction(menu);
    action->setObjectName(name);
    if (caption)
        setCaptionId(action, *caption);
    menu->addAction(action);
    return action;
}

void MainWindow::buildMenus()
{
    mOpenMenu = new QMenu(this);
    mOpenMenu->setObjectName(QStringLiteral("mnuOpn"));
    mOpenMenu->setTitle(QStringLiteral(".Open"));
    QAction *openFile = addMenuEntry(mOpenMenu, QStringLiteral("mnuOpnFile"), TextId::MenuOpenFile);
    addMenuEntry(mOpenMenu, QStringLiteral("mnuOpnLine1"), TextId::MenuSeparator);
    mRecent = new RecentProjectsMenu(*mOpenMenu);
    for (int i = 0; i < SampleCount; ++i) {
        mSampleEntries[i] = addMenuEntry(mOpenMenu, QStringLiteral("mnuOpnF") + QString::number(i));
        connect(mSampleEntries[i], &QAction::triggered, this,
                [this, i] { mProjectCommands->openSample(mSampleEntries.at(i)->text()); });
    }

    mSaveMenu = new QMenu(this);
    mSaveMenu->setObjectName(QStringLiteral("mnuSav"));
    mSaveMenu->setTitle(QStringLiteral(".Save"));
    QAction *save = addMenuEntry(mSaveMenu, QStringLiteral("mnuSavS"), TextId::MenuSave);
    QAction *saveAs = addMenuEntry(mSaveMenu, QStringLiteral("mnuSavAs"), TextId::MenuSaveAs);

    mBuildMenu = new QMenu(this);
    mBuildMenu->setObjectName(QStringLiteral("mnuBld"));
    QAction *build =
        addMenuEntry(mBuildMenu, QStringLiteral("mnuBldProgram"), TextId::MenuBuildProgram);
    QAction *portable =
        addMenuEntry(mBuildMenu, QStringLiteral("mnuBldPortable"), TextId::MenuBuildPortable);
    QAction *web = addMenuEntry(mBuildMenu, QStringLiteral("mnuBldWeb"), TextId::MenuBuildWebPage);
    QAction *windows =
        addMenuEntry(mBuildMenu, QStringLiteral("mnuBldWindows"), TextId::MenuBuildWindows);

    mHelpMenu = new QMenu(this);
    mHelpMenu->setObjectName(QStringLiteral("mnuHlp"));
    mHelpMenu->setTitle(QStringLiteral(".Help"));
    QAction *help = addMenuEntry(mHelpMenu, QStringLiteral("mnuHlpHelp"), TextId::MenuHelp);
    QAction *site = addMenuEntry(mHelpMenu, QStringLiteral("mnuHlpSite"), TextId::MenuWebsite);
    addMenuEntry(mHelpMenu, QStringLiteral("mnuHlpLine1"), TextId::MenuSeparator);
    QAction *about = addMenuEntry(mHelpMenu, QStringLiteral("mnuHlpAbout"), TextId::MenuAbout);

    // The menus only pop up from the toolbar, so their shortcuts also live on the window. Qt
    // counts such menus as context menus, which hide keys on most desktops: the entries show
    // them, so that the keys can be learnt.
    openFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    build->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    for (QAction *keyed : {openFile, save, saveAs, build, help})
        keyed->setShortcutVisibleInContextMenu(true);
    addActions({openFile, save, saveAs, build, help});
    mToolKeys[int(ToolButton::Open)] = openFile;
    mToolKeys[int(ToolButton::Save)] = save;
    mToolKeys[int(ToolButton::Build)] = build;

    connect(openFile, &QAction::triggered, mProjectCommands, &ProjectCommands::open);
    connect(save, &QAction::triggered, this,
            [this] { saveAndRefresh(ProjectCommands::SaveMode::Save); });
    connect(saveAs, &QAction::triggered, this,
            [this] { saveAndRefresh(ProjectCommands::SaveMode::SaveAs); });
    connect(build, &QAction::triggered, mProgramCommands, &ProgramCommands::build);
    connect(portable, &QAction::triggered, mProgramCommands, &ProgramCommands::buildPortable);
    connect(web, &QAction::triggered, mProgramCommands, &ProgramCommands::buildWebPage);
    connect(windows, &QAction::triggered, mProgramCommands, &ProgramCommands::buildForWindows);
    connect(help, &QAction::triggered, this, [this] { mUi.openReadme(); });
    connect(site, &QAction::triggered, this, [this] {
        const auto failed = [this] { mStatusBar->showAddressFailure(QUrl(ProductWebPage)); };
        if (!mUi.openUrl(QUrl(ProductWebPage), mStatusBar, failed))
            failed();
    });
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::startUp()
{
    if (optionSetting(OptionRead, OptionLanguage).isEmpty()) {
        optionSetting(OptionWrite, OptionLanguage, QStringLiteral("russian.lang"));
        optionSetting(OptionWrite, OptionTheme,
                      programPath(QStringLiteral("Themes/standart.tvth")));
    }
    applySettings();
    mComposer->selectCommand(ScriptComposer::NoAction);
    mProjectCommands->newProject();
}

void MainWindow::applySettings()
{
    mPainter->readTheme();
    mPanel->setSelectionColor(mPainter->color(ThemeColorKey::SelectionColor));
    paintTheme();
    const QString language = optionSetting(OptionRead, OptionLanguage);
    languageHeaderValue(language, QStringLiteral("GetFile"));
    const QString languageId = languageHeaderValue(language, QStringLiteral("GetId"));
    QtTranslation::follow(languageId);
    localizeControls(this);
    mComposer->retranslate();
    mPanel->retranslate();
    mListView->retranslate();
    retranslateToolTips();
    mFlowPane->retranslate();
    mPreview->retranslate();
    mFindBar->retranslate();
    mFindAction->setText(languageText(TextId::EditFind));
    mReplaceAction->setText(languageText(TextId::EditReplace));
    showSampleEntries(sampleFileNames(languageId));
    mRecent->refresh();
    mToolbar->layoutButtons();
}

void MainWindow::showSampleEntries(const QStringList &names)
{
    for (int i = 0; i < SampleCount; ++i) {
        const QString name = names.value(i);
        mSampleEntries[i]->setText(name);
        mSampleEntries[i]->setVisible(!name.isEmpty());
    }
}

void MainWindow::reapplySettings()
{
    restoreCaptionIds(this);
    // The pop-up menus' titles and the sample entries go back to their designed captions too,
    // so localising again finds ids (or nothing) there rather than texts.
    mOpenMenu->setTitle(QStringLiteral(".Open"));
    mSaveMenu->setTitle(QStringLiteral(".Save"));
    mHelpMenu->setTitle(QStringLiteral(".Help"));
    for (QAction *sample : mSampleEntries)
        sample->setText(QString());
    mRecent->clearTexts();
    applySettings();
}

void MainWindow::paintTheme()
{
    mPainter->paint();
    mPanel->redrawIcons();
}

void MainWindow::toolbarClick(ToolButton which)
{
    switch (which) {
    case ToolButton::New:
        if (mProjectCommands->mayReplaceProject())
            mProjectCommands->newProject();
        break;
    case ToolButton::Open:
        mProjectCommands->open();
        break;
    case ToolButton::Save:
        saveAndRefresh(ProjectCommands::SaveMode::Save);
        break;
    case ToolButton::Test:
        mProgramCommands->testRun();
        break;
    case ToolButton::Build:
        mProgramCommands->build();
        break;
    case ToolButton::Management:
        showManagement();
        break;
    case ToolButton::Help:
        showMenu(mHelpMenu, mToolbar->button(ToolButton::Help), true);
        break;
    }
}

void MainWindow::toolbarArrowClick(ToolButton which)
{
    if (which == ToolButton::Open)
        showMenu(mOpenMenu, mToolbar->button(ToolButton::Open), false);
    else if (which == ToolButton::Save)
        showMenu(mSaveMenu, mToolbar->button(ToolButton::Save), false);
    else if (which == ToolButton::Build)
        showMenu(mBuildMenu, mToolbar->button(ToolButton::Build), false);
}

void MainWindow::showMenu(QMenu *menu, KXButton *button, bool alignRight)
{
    // Under the button: left edges together, or right edges together for the help menu.
    QPoint at = button->mapToGlobal(QPoint(0, button->height()));
    if (alignRight)
        at.rx() += button->width() - menu->sizeHint().width();
    menu->popup(at);
}

void MainWindow::saveAndRefresh(ProjectCommands::SaveMode mode)
{
    mProjectCommands->save(mode);
    mListView->refresh();
    mPanel->load();
}

void MainWindow::showManagement()
{
    mDocument->commitPendingEdits();
    // A plug-in works on a copy; its result is one undoable change of the document.
    ManagementWindow window(mUi, mDocument->project(), this);
    connect(&window, &ManagementWindow::pluginResultLoaded, mProjectCommands,
            &ProjectCommands::loadPluginResult);
    window.exec();
    reapplySettings();
}

void MainWindow::showAbout()
{
    AboutWindow window(mUi, this);
    connect(&window, &AboutWindow::addressNotOpened, mStatusBar, &StatusBar::showAddressFailure);
    window.exec();
}

void MainWindow::updateTitle()
{
    const QString path = mDocument->path();
    setWindowTitle(path.isEmpty() ? ProductTitle + QStringLiteral("[*]")
                                  : ProductTitle + QStringLiteral(" - [") +
                                        QFileInfo(path).fileName() + QStringLiteral("][*]"));
    setWindowModified(mDocument->isModified());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A run in the preview waits in an event loop of its own: it ends before anything closes.
    mPreview->stopPlaying();
    if (!mProjectCommands->mayReplaceProject()) {
        event->ignore();
        return;
    }
    mProjectCommands->closeProject();
    saveWindowLayout();
    event->accept();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (mShownOnce)
        return;
    mShownOnce = true;
    // Editing starts in the list: a toolbar button with the focus would take the first Enter.
    mListView->list()->setFocus(Qt::OtherFocusReason);
    // Asked over the window, once it is there.
    QTimer::singleShot(0, mProjectCommands, &ProjectCommands::offerRecovery);
}

void MainWindow::restoreWindowLayout()
{
    // Settings of another Qt version or edited by hand are ignored: the window opens as new.
    restoreGeometry(storedBytes(OptionWindowGeometry));
    fitIntoScreen();
    mSplitter->restoreSplit(storedBytes(OptionWindowLayout), width(), EditingDesigned.width());
    mFlowPane->restoreState(storedBytes(OptionProblemsPane));
    restorePreviewState(storedBytes(OptionPreviewPane));
}

void MainWindow::fitIntoScreen()
{
    // A size remembered on a larger screen, or the first size on a small one, would put the
    // settings button, help and the close box off screen: the window is shrunk and moved into
    // the screen's free area, leaving room for the frame the window manager adds.
    const QRect area = screen()->availableGeometry().marginsRemoved(FrameAllowance);
    QRect window = geometry();
    window.setSize(window.size().boundedTo(area.size()).expandedTo(minimumSize()));
    // A window opened for the first time is placed by the window manager.
    if (!testAttribute(Qt::WA_Moved)) {
        resize(window.size());
        return;
    }
    window.moveLeft(qMax(area.left(), qMin(window.left(), area.right() + 1 - window.width())));
    window.moveTop(qMax(area.top(), qMin(window.top(), area.bottom() + 1 - window.height())));
    setGeometry(window);
}

void MainWindow::saveWindowLayout() const
{
    storeBytes(OptionWindowGeometry, saveGeometry());
    storeBytes(OptionWindowLayout, mSplitter->saveState());
    storeBytes(OptionProblemsPane, mFlowPane->saveState());
    storeBytes(OptionPreviewPane, previewState());
}

QByteArray MainWindow::previewState() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << PreviewStateVersion << mPreview->isFolded() << mSideSplit->saveState();
    return state;
}

void MainWindow::restorePreviewState(const QByteArray &state)
{
    QDataStream in(state);
    quint8 version = 0;
    bool folded = false;
    QByteArray split;
    in >> version >> folded >> split;
    if (in.status() != QDataStream::Ok || version != PreviewStateVersion ||
        !mSideSplit->restoreState(split)) {
        const int total = qMax(height() - 120, 2 * FirstPreviewHeight);
        mSideSplit->setSizes({total - FirstPreviewHeight, FirstPreviewHeight});
        return;
    }
    mPreview->setFolded(folded);
}

} // namespace kq
