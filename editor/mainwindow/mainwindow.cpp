#include "mainwindow.h"

#include "aboutwindow.h"
#include "autosave.h"
#include "dialoglistview.h"
#include "flowview.h"
#include "iconpicture.h"
#include "kxbutton.h"
#include "language.h"
#include "maintoolbar.h"
#include "managementwindow.h"
#include "optionsetting.h"
#include "picturebutton.h"
#include "problemsview.h"
#include "productinfo.h"
#include "programbuilder.h"
#include "programfolder.h"
#include "projectcheck.h"
#include "projectdocument.h"
#include "projectio.h"
#include "projectstylebox.h"
#include "propertiespanel.h"
#include "scriptcomposer.h"
#include "testrun.h"
#include "uiservices.h"
#include "windowsystem.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

namespace kq {

namespace {

const QColor BarColor(240, 240, 240);
const QString ProjectSuffix = QStringLiteral("dlg2");
// The editing areas at the size they were designed for.
constexpr QSize EditingMinimum(860, 520);

QString id(const char *text)
{
    return QLatin1String(text);
}

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

// A name typed without any extension is a project file; one typed with an extension stays.
QString withProjectSuffix(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + ProjectSuffix;
}

} // namespace

MainWindow::MainWindow(UiServices &ui, QWidget *parent)
    : QWidget(parent), mUi(ui), mDocument(new ProjectDocument(this))
{
    setObjectName(QStringLiteral("main"));
    setAutoFillBackground(true);
    setMouseTracking(true);
    installEventFilter(this);
    mHints.insert(this, resourceId(130));

    mToolbar = new MainToolbar(this);
    setBarLook(mToolbar);
    mListView = new DialogListView(*mDocument, this);
    mPanel = new PropertiesPanel(*mDocument, this);
    mComposer = new ScriptComposer(*mDocument, this);
    mStyleBox = new ProjectStyleBox(*mDocument, this);
    const std::pair<QWidget *, const char *> areas[] = {{mToolbar, "%0130"},
                                                        {mListView, "%0138"},
                                                        {mPanel, "%0139"},
                                                        {mStyleBox, "%0140"},
                                                        {mComposer, "%0141"}};
    for (const auto &[area, hint] : areas) {
        area->installEventFilter(this);
        mHints.insert(area, id(hint));
    }

    buildFlowTabs();
    buildMenus();
    buildStatusBar();
    buildShortcuts();
    buildCaptionTable();
    layOut();
    connectDocument();
    mAutosave = new Autosave(*mDocument, this);

    setMinimumSize(InitialSize);
    resize(InitialSize);
    restoreWindowLayout();
    startUp();
}

MainWindow::~MainWindow()
{
    mAlive = false;
    // A test run ends with its editor; the data file it played is not left behind.
    if (mTestRun) {
        mTestRun->disconnect(this);
        mTestRun->kill();
        mTestRun->waitForFinished();
        QFile::remove(programPath(QStringLiteral("Runner/run.dll")));
    }
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
    mSplitter = new QSplitter(Qt::Horizontal, this);
    mSplitter->setObjectName(QStringLiteral("main_splitter"));
    mSplitter->addWidget(editing);
    mSplitter->addWidget(mFlowTabs);
    // The split follows the window's width in shareWidthChange.
    mSplitter->installEventFilter(this);
    // The flow picture can be pushed out of the way; the editing areas cannot.
    mSplitter->setCollapsible(0, false);
    mSplitter->setCollapsible(1, true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(mToolbar);
    // A rim of the window's own background stays around the areas, for its status hint.
    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(4, 4, 4, 4);
    middle->addWidget(mSplitter);
    outer->addLayout(middle, 1);
    outer->addWidget(mStatusBar);
}

void MainWindow::connectDocument()
{
    connect(mToolbar, &MainToolbar::clicked, this, &MainWindow::toolbarClick);
    connect(mToolbar, &MainToolbar::arrowClicked, this, &MainWindow::toolbarArrowClick);
    connect(mToolbar, &MainToolbar::mouseIn, this, &MainWindow::toolbarMouseIn);
    connect(mComposer, &ScriptComposer::insertRequested, mPanel, &PropertiesPanel::insertScript);
    connect(mListView, &DialogListView::buttonsUpdated, this, &MainWindow::SetColors);
    connect(mPanel, &PropertiesPanel::statesChanged, this, &MainWindow::SetColors);
    connect(mComposer, &ScriptComposer::statesChanged, this, &MainWindow::SetColors);
    connect(mDocument, &ProjectDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(mDocument, &ProjectDocument::pathChanged, this, &MainWindow::updateTitle);
    connect(mDocument, &ProjectDocument::contentsChanged, this, &MainWindow::checkProject);
    // A project opened shows its whole flow, however the user zoomed the one before.
    connect(mDocument, &ProjectDocument::projectReplaced, mFlowView, &FlowView::showWholeWidth);
    connect(mDocument, &ProjectDocument::currentDialogChanged, this,
            [this](int dialog) { mFlowView->selectStep(dialog - 1); });
}

void MainWindow::buildFlowTabs()
{
    mFlowTabs = new QTabWidget(this);
    mFlowTabs->setObjectName(QStringLiteral("flow_tabs"));
    mFlowTabs->setMinimumWidth(260);

    auto *flowPage = new QWidget(mFlowTabs);
    mFlowView = new FlowView(flowPage);
    mExportPicture = new QPushButton(QStringLiteral("%0372"), flowPage);
    mExportPicture->setObjectName(QStringLiteral("flow_export"));
    mExportPicture->setAutoDefault(false);
    connect(mExportPicture, &QPushButton::clicked, this, &MainWindow::exportPicture);
    mFitFlow = new QPushButton(QStringLiteral("%0480"), flowPage);
    mFitFlow->setObjectName(QStringLiteral("flow_fit"));
    mFitFlow->setAutoDefault(false);
    connect(mFitFlow, &QPushButton::clicked, mFlowView, &FlowView::fitToView);
    // Ctrl+0 fits the map from anywhere in the window, as the button does.
    auto *fitKey = new QAction(this);
    fitKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    addAction(fitKey);
    connect(fitKey, &QAction::triggered, mFlowView, &FlowView::fitToView);
    // Tab goes along the row from left to right.
    setTabOrder(mFitFlow, mExportPicture);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mFitFlow);
    buttons->addStretch(1);
    buttons->addWidget(mExportPicture);
    auto *flowLayout = new QVBoxLayout(flowPage);
    flowLayout->setContentsMargins(4, 4, 4, 4);
    flowLayout->addWidget(mFlowView, 1);
    flowLayout->addLayout(buttons);
    mFlowTabs->addTab(flowPage, QStringLiteral("%0370"));

    mProblems = new ProblemsView(mFlowTabs);
    mFlowTabs->addTab(mProblems, QStringLiteral("%0371"));

    connect(mFlowView, &FlowView::stepActivated, this,
            [this](int step) { mDocument->setCurrentDialog(step + 1); });
    connect(mProblems, &ProblemsView::findingActivated, this, [this](int step, StepField field) {
        if (step >= 0)
            mDocument->setCurrentDialog(step + 1);
        if (field == StepField::Header)
            mStyleBox->setFocus(Qt::OtherFocusReason);
        else
            mPanel->focusField(field);
    });
}

void MainWindow::retranslateFlowTabs()
{
    mFlowTabs->setTabText(0, languageText(370));
    mFlowTabs->setTabText(1, languageText(371));
    mExportPicture->setText(languageText(372));
    mFitFlow->setText(languageText(480));
    mFitFlow->setToolTip(toolTipWithKey(languageText(481), QKeySequence(Qt::CTRL | Qt::Key_0)));
    mFlowView->setToolTip(languageText(482));
    mFlowView->setAccessibleName(mFlowTabs->tabText(0));
    mProblems->setAccessibleName(mFlowTabs->tabText(1));
    mProblems->retranslate();
    checkProject();
}

void MainWindow::checkProject()
{
    // The check is cheap for 99 steps, so it runs after every change.
    const QList<Finding> findings = ProjectCheck::check(mDocument->project());
    mProblems->showFindings(findings);
    mFlowView->showProject(mDocument->project(), findings);
    mFlowView->selectStep(mDocument->currentDialog() - 1);
    QSet<int> errorSteps;
    for (const Finding &finding : findings) {
        if (finding.severity() == Finding::Severity::Error && finding.step >= 0)
            errorSteps.insert(finding.step);
    }
    mListView->markErrors(errorSteps);
}

void MainWindow::exportPicture()
{
    const QString path = mUi.saveFileName(this, languageText(373),
                                          languageText(374) + QStringLiteral("|*.png|") +
                                              languageText(375) + QStringLiteral("|*.svg"),
                                          QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QString error;
    if (!mFlowView->exportPicture(path, &error))
        mUi.message(this, languageText(377), ProductTitle, UiServices::Icon::Warning,
                    UiServices::Buttons::Ok, error);
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
        int button;
    };
    static const KeyCommand commands[] = {{"key_new", Qt::CTRL | Qt::Key_N, 0},
                                          {"key_test", QKeyCombination(Qt::Key_F5), 3},
                                          {"key_build", Qt::CTRL | Qt::Key_B, 4}};
    for (const KeyCommand &command : commands) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(command.name));
        action->setShortcut(QKeySequence(command.key));
        connect(action, &QAction::triggered, this,
                [this, button = command.button] { toolbarClick(button); });
        addAction(action);
        mToolKeys[command.button] = action;
    }
    mToolKeys[1] = mMnuOpnFile;
    mToolKeys[2] = mMnuSavS;
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
        const QString hint = languageText(131 + i);
        mToolbar->button(i)->setToolTip(
            toolTipWithKey(hint, mToolKeys[i] ? mToolKeys[i]->shortcut() : QKeySequence()));
    }
}

QAction *MainWindow::addMenuEntry(QMenu *menu, const QString &name, const QString &caption)
{
    auto *action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}

void MainWindow::buildMenus()
{
    mMnuOpn = new QMenu(this);
    mMnuOpn->setObjectName(QStringLiteral("mnuOpn"));
    mMnuOpn->setTitle(id(".Open"));
    mMnuOpnFile = addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnFile"), resourceId(151));
    mMnuOpnLine1 = addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnLine1"), resourceId(150));
    for (int i = 0; i < RecentCount; ++i) {
        mMnuOpnRecent[i] =
            addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnRecent") + QString::number(i), {});
        connect(mMnuOpnRecent[i], &QAction::triggered, this, [this, i] { openRecent(i); });
    }
    mMnuOpnLine2 = mMnuOpn->addSeparator();
    mMnuOpnLine2->setObjectName(QStringLiteral("mnuOpnLine2"));
    mMnuOpn->setToolTipsVisible(true);
    // Another editor may have opened or saved a project meanwhile.
    connect(mMnuOpn, &QMenu::aboutToShow, this, &MainWindow::showRecentEntries);
    for (int i = 0; i < SampleCount; ++i) {
        mMnuOpnF[i] = addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnF") + QString::number(i), {});
        connect(mMnuOpnF[i], &QAction::triggered, this, [this, i] { openSample(i); });
    }

    mMnuSav = new QMenu(this);
    mMnuSav->setObjectName(QStringLiteral("mnuSav"));
    mMnuSav->setTitle(id(".Save"));
    mMnuSavS = addMenuEntry(mMnuSav, QStringLiteral("mnuSavS"), resourceId(152));
    mMnuSavAs = addMenuEntry(mMnuSav, QStringLiteral("mnuSavAs"), resourceId(153));

    mMnuBld = new QMenu(this);
    mMnuBld->setObjectName(QStringLiteral("mnuBld"));
    mMnuBldProgram = addMenuEntry(mMnuBld, QStringLiteral("mnuBldProgram"), resourceId(400));
    mMnuBldPortable = addMenuEntry(mMnuBld, QStringLiteral("mnuBldPortable"), resourceId(401));

    mMnuHlp = new QMenu(this);
    mMnuHlp->setObjectName(QStringLiteral("mnuHlp"));
    mMnuHlp->setTitle(id(".Help"));
    mMnuHlpHelp = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpHelp"), resourceId(154));
    mMnuHlpSite = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpSite"), resourceId(155));
    mMnuHlpLine1 = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpLine1"), resourceId(150));
    mMnuHlpAbout = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpAbout"), resourceId(156));

    // The menus only pop up from the toolbar, so their shortcuts also live on the window.
    mMnuOpnFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mMnuSavS->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mMnuSavAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mMnuHlpHelp->setShortcut(QKeySequence(Qt::Key_F1));
    addActions({mMnuOpnFile, mMnuSavS, mMnuSavAs, mMnuHlpHelp});

    connect(mMnuOpnFile, &QAction::triggered, this, &MainWindow::openCommand);
    connect(mMnuSavS, &QAction::triggered, this, [this] { saveAndRefresh(SaveMode::Save); });
    connect(mMnuSavAs, &QAction::triggered, this, [this] { saveAndRefresh(SaveMode::SaveAs); });
    connect(mMnuBldProgram, &QAction::triggered, this, &MainWindow::build);
    connect(mMnuBldPortable, &QAction::triggered, this, &MainWindow::buildPortableCommand);
    connect(mMnuHlpHelp, &QAction::triggered, this, &MainWindow::openReadme);
    connect(mMnuHlpSite, &QAction::triggered, this, &MainWindow::openWebPage);
    connect(mMnuHlpAbout, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::buildStatusBar()
{
    mStatusBar = new QFrame(this);
    mStatusBar->setObjectName(QStringLiteral("statusbar"));
    mStatusBar->setMouseTracking(true);
    mStatusBar->installEventFilter(this);
    setBarLook(mStatusBar);
    mSts = new QLabel(resourceId(130), mStatusBar);
    mSts->setObjectName(QStringLiteral("sts"));
    mSts->setMouseTracking(true);
    mSts->installEventFilter(this);
    auto *layout = new QHBoxLayout(mStatusBar);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->addWidget(mSts);
    mHints.insert(mStatusBar, resourceId(130));
    mHints.insert(mSts, resourceId(130));
}

void MainWindow::buildCaptionTable()
{
    // Every caption that localisation replaces, by control name, so ApplyChanges can put the
    // ids back before the captions are looked up again.
    static const std::pair<const char *, const char *> named[] = {{"msg_lbltype", "%0101"},
                                                                  {"msg_lbltime", "%0102"},
                                                                  {"msg_lblcaption", "%0103"},
                                                                  {"msg_lbltext", "%0104"},
                                                                  {"msg_lblbtn1", "%0105"},
                                                                  {"msg_lblbtn2", "%0106"},
                                                                  {"msg_lblbtnscr1", "%0107"},
                                                                  {"msg_lblbtnscr2", "%0108"},
                                                                  {"msg_lblico", "%0109"},
                                                                  {"Label12", "%0110"},
                                                                  {"Label10", "%0111"},
                                                                  {"msg_type0", "%0120"},
                                                                  {"msg_type1", "%0121"},
                                                                  {"msg_type2", "%0122"},
                                                                  {"prj_st0", "%0123"},
                                                                  {"prj_st1", "%0124"},
                                                                  {"sts", "%0130"},
                                                                  {"sd0", "%0001"},
                                                                  {"sd1", "%0002"},
                                                                  {"sd2", "%0003"},
                                                                  {"sd3", "%0004"},
                                                                  {"sd4", "%0005"}};
    for (const auto &[name, caption] : named)
        mCaptionTable.append({findChild<QObject *>(QLatin1String(name)), id(caption)});
    mCaptionTable +=
        QList<Caption>{{mMnuSavS, resourceId(152)},       {mMnuSavAs, resourceId(153)},
                       {mMnuOpnFile, resourceId(151)},    {mMnuOpnLine1, resourceId(150)},
                       {mMnuHlpHelp, resourceId(154)},    {mMnuHlpSite, resourceId(155)},
                       {mMnuHlpLine1, resourceId(150)},   {mMnuHlpAbout, resourceId(156)},
                       {mMnuBldProgram, resourceId(400)}, {mMnuBldPortable, resourceId(401)}};
}

void MainWindow::startUp()
{
    if (optionSetting(OptionRead, OptionLanguage).isEmpty()) {
        optionSetting(OptionWrite, OptionLanguage, QStringLiteral("russian.lang"));
        optionSetting(OptionWrite, OptionTheme,
                      programPath(QStringLiteral("Themes/standart.tvth")));
    }
    UpdateSettings();
    selectCommand(0);
    newProject();
}

const DialogProject &MainWindow::project() const
{
    return mDocument->project();
}

qint16 MainWindow::CurrentDialog() const
{
    return qint16(mDocument->currentDialog());
}

bool MainWindow::Changed() const
{
    return mDocument->isModified();
}

void MainWindow::ListUpdate()
{
    mListView->refresh();
    mPanel->load();
}

void MainWindow::WriteDialog()
{
    mDocument->commitPendingEdits();
}

void MainWindow::StatusClear()
{
    mSts->setText(languageText(130));
}

void MainWindow::toolbarMouseIn(int index)
{
    mSts->setText(languageText(131 + index));
}

void MainWindow::toolbarClick(int index)
{
    switch (index) {
    case 0:
        if (mayReplaceProject())
            newProject();
        break;
    case 1:
        openCommand();
        break;
    case 2:
        saveAndRefresh(SaveMode::Save);
        break;
    case 3:
        testRun();
        break;
    case 4:
        build();
        break;
    case 5:
        showManagement();
        break;
    case 6:
        showMenu(mMnuHlp, mToolbar->button(6), true);
        break;
    default:
        break;
    }
}

void MainWindow::toolbarArrowClick(int index)
{
    if (index == 1)
        showMenu(mMnuOpn, mToolbar->button(1), false);
    else if (index == 2)
        showMenu(mMnuSav, mToolbar->button(2), false);
    else if (index == 4)
        showMenu(mMnuBld, mToolbar->button(4), false);
}

void MainWindow::showMenu(QMenu *menu, KXButton *button, bool alignRight)
{
    // Under the button: left edges together, or right edges together for the help menu.
    QPoint at = button->mapToGlobal(QPoint(0, button->height()));
    if (alignRight)
        at.rx() += button->width() - menu->sizeHint().width();
    menu->popup(at);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (!mAlive)
        return false;
    if (watched == mSplitter && event->type() == QEvent::Resize) {
        shareWidthChange(*static_cast<QResizeEvent *>(event));
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        // Only the area's own background shows its hint, not the controls on it.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (mHints.contains(watched) && widget &&
            !widget->childAt(static_cast<QMouseEvent *>(event)->position().toPoint()))
            mSts->setText(languageText(mHints.value(watched)));
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::shareWidthChange(const QResizeEvent &event)
{
    // The first layout of the window, and a flow picture pushed out of the way, keep the split
    // as it is; the editing areas hold short texts, so a quarter of what the width changes by
    // goes to them and the rest to the picture of the flow.
    const int change = event.size().width() - event.oldSize().width();
    QList<int> sizes = mSplitter->sizes();
    if (!event.oldSize().isValid() || !mSplitter->isVisible() || change == 0 || sizes.at(1) == 0)
        return;
    sizes[0] += change / 4;
    sizes[1] += change - change / 4;
    mSplitter->setSizes(sizes);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayReplaceProject()) {
        event->ignore();
        return;
    }
    // Whatever was chosen, the project has been dealt with: no recovery copy is left behind.
    mAutosave->discard();
    saveWindowLayout();
    event->accept();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (mShownOnce)
        return;
    mShownOnce = true;
    // Asked over the window, once it is there.
    QTimer::singleShot(0, this, &MainWindow::offerRecovery);
}

bool MainWindow::mayReplaceProject()
{
    mDocument->commitPendingEdits();
    return !Changed() || askSaveChanges();
}

bool MainWindow::askSaveChanges()
{
    const UiServices::Answer answer =
        mUi.message(this, languageText(128), ProductTitle, UiServices::Icon::Question,
                    UiServices::Buttons::YesNoCancel);
    switch (answer) {
    case UiServices::Answer::Yes:
        // Work that could not be written is not given up: a failed or cancelled save stops here.
        return saveAndRefresh(SaveMode::Save);
    case UiServices::Answer::No:
        return true;
    default:
        return false;
    }
}

bool MainWindow::saveAndRefresh(SaveMode mode)
{
    mDocument->commitPendingEdits();
    const bool saved = saveCommand(mode);
    ListUpdate();
    return saved;
}

void MainWindow::updateTitle()
{
    const QString path = mDocument->path();
    setWindowTitle(path.isEmpty() ? ProductTitle + QStringLiteral("[*]")
                                  : ProductTitle + QStringLiteral(" - [") +
                                        QFileInfo(path).fileName() + QStringLiteral("][*]"));
    setWindowModified(mDocument->isModified());
}

bool MainWindow::saveCommand(SaveMode mode)
{
    QString path = mDocument->path();
    if (mode == SaveMode::SaveAs || path.isEmpty()) {
        path = withProjectSuffix(mUi.saveFileName(
            this, languageText(161), languageText(163) + QStringLiteral("|*.dlg2"), ProjectSuffix));
        if (path.isEmpty())
            return false;
    }
    // The document's own records stay as they are; only their file changes.
    DialogProject written = mDocument->project();
    QString error;
    if (!ProjectIO::saveProjectFile(written, path, &error)) {
        mUi.warnFailed(this, error);
        return false;
    }
    mDocument->markSaved(path);
    mAutosave->discard();
    rememberProject(path);
    return true;
}

void MainWindow::newProject()
{
    DialogProject fresh;
    fresh.record(0).text = QStringLiteral("0");
    fresh.newDialog(1, ProjectDocument::newDialogText());
    fresh.setDialogCount(1);
    mDocument->replaceProject(fresh);
    mAutosave->discard();
    updateTitle();
}

void MainWindow::openCommand()
{
    if (!mayReplaceProject())
        return;
    const QString filter = languageText(163) + QStringLiteral("|*.dlg2|") + languageText(164) +
                           QStringLiteral("|*.dlg|") + languageText(165) + QStringLiteral("|*.exe");
    // A cancelled dialog leaves the project as it is.
    const QString path = mUi.openFileName(this, languageText(160), filter);
    if (!path.isEmpty())
        openProjectPath(path);
}

void MainWindow::openFile(const QString &path)
{
    if (mayReplaceProject())
        openProjectPath(path);
}

bool MainWindow::openProjectPath(const QString &path)
{
    // The project is read aside, so a file that cannot be read leaves the one in the editor,
    // its path and its title untouched.
    DialogProject opened = mDocument->project();
    QString error;
    if (!ProjectIO::openPath(opened, path, &error)) {
        mUi.warnFailed(this, error);
        return false;
    }
    mDocument->replaceProject(opened);
    mAutosave->discard();
    updateTitle();
    rememberProject(path);
    warnBrokenStyle();
    return true;
}

void MainWindow::warnBrokenStyle()
{
    const qint16 style = mDocument->record(0).projectStyle().value_or(-1);
    if (style < 0 || style > 1)
        mUi.warnFailed(this, languageText(310));
}

void MainWindow::openSample(int index)
{
    const QString caption = mMnuOpnF.at(index)->text();
    const QString path = programPath(QStringLiteral("Samples/") + caption);
    if (caption.isEmpty() || !QFileInfo(path).isFile()) {
        mUi.message(this, languageText(33), languageText(20), UiServices::Icon::Warning,
                    UiServices::Buttons::Ok);
        return;
    }
    // A sample replaces the project as Open does, so unsaved edits are not dropped unasked.
    if (!mayReplaceProject())
        return;
    const QString kind = caption.right(4).toUpper();
    DialogProject sample = mDocument->project();
    bool ok = true;
    QString error;
    if (kind == u"DLG2") {
        ok = ProjectIO::loadProjectFile(sample, path, &error);
        // Only a sample that was read becomes the file Save writes to.
        sample.setPath(path);
    } else if (kind == u".DLG") {
        ok = ProjectIO::importLegacyProject(sample, path, &error);
    } else {
        return;
    }
    if (!ok) {
        mUi.warnFailed(this, error);
        return;
    }
    mDocument->replaceProject(sample);
    mAutosave->discard();
    updateTitle();
    warnBrokenStyle();
}

bool MainWindow::mayRunDespiteErrors()
{
    const int errors = ProjectCheck::errorCount(ProjectCheck::check(mDocument->project()));
    if (errors == 0)
        return true;
    // Warnings never stop a run; errors are asked about once.
    return mUi.message(this, languageText(376).arg(errors), ProductTitle, UiServices::Icon::Warning,
                       UiServices::Buttons::YesNo) == UiServices::Answer::Yes;
}

void MainWindow::testRun()
{
    mDocument->commitPendingEdits();
    // One test run at a time: a second would write over the data file the first one plays, so
    // the running one is asked to bring its window to the front instead.
    if (mTestRun) {
        mTestRun->write(RaiseRequest);
        WindowSystem::activateWindowsOf(mTestRun->processId());
        mSts->setText(languageText(313));
        return;
    }
    if (!mayRunDespiteErrors())
        return;
    QString error;
    if (!ProjectIO::writeDataFile(mDocument->project(),
                                  programPath(QStringLiteral("Runner/run.dll")), &error)) {
        mUi.warnFailed(this, error);
        return;
    }
    const QString runner = runnerProgram();
    mTestRun = QFileInfo(runner).isFile()
                   ? mUi.startWatched(runner, {QStringLiteral("/editor")},
                                      programPath(QStringLiteral("Runner")), this)
                   : nullptr;
    if (!mTestRun) {
        mUi.warnFailed(this, runner);
        return;
    }
    connect(mTestRun, &QProcess::finished, this, &MainWindow::testRunEnded);
}

void MainWindow::testRunEnded(int exitCode, QProcess::ExitStatus status)
{
    QProcess *run = mTestRun;
    mTestRun = nullptr;
    if (!run)
        return;
    run->deleteLater();
    if (exitCode == 0 && status == QProcess::NormalExit)
        return;
    // The runner names its fault in its last line; the data file it leaves is the editor's.
    const QStringList lines =
        QString::fromLocal8Bit(run->readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    const QString reason = lines.isEmpty() ? QString() : lines.constLast().trimmed();
    QFile::remove(programPath(QStringLiteral("Runner/run.dll")));
    mSts->setText(languageText(312) + u' ' + reason);
    mUi.message(this, languageText(312), ProductTitle, UiServices::Icon::Warning,
                UiServices::Buttons::Ok, reason);
}

void MainWindow::build()
{
    mDocument->commitPendingEdits();
    if (!mayRunDespiteErrors())
        return;
    const QString target =
        mUi.saveFileName(this, languageText(162), languageText(166) + QStringLiteral("|*.exe"));
    if (target.isEmpty())
        return;
    QString error;
    if (!buildProgram(mDocument->project(), runnerProgram(), target, &error)) {
        mUi.warnFailed(this, error);
        return;
    }
    mSts->setText(languageText(404).arg(QDir::toNativeSeparators(target)));
}

void MainWindow::buildPortableCommand()
{
    mDocument->commitPendingEdits();
    if (!mayRunDespiteErrors())
        return;
    // The name typed is the new folder; the program inside it takes the folder's name.
    const QString folder = mUi.saveFileName(this, languageText(402), {});
    if (folder.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    PortableBuild result;
    QString error;
    const bool built =
        buildPortable(mDocument->project(), runnerProgram(), folder, &result, &error);
    QGuiApplication::restoreOverrideCursor();
    if (!built) {
        mUi.warnFailed(this, error);
        return;
    }
    mSts->setText(languageText(403)
                      .arg(QDir::toNativeSeparators(result.program))
                      .arg(result.bundled.size())
                      .arg(megabytes(result.folderBytes)));
}

void MainWindow::openReadme()
{
    mUi.openReadme();
}

void MainWindow::openWebPage()
{
    mUi.openUrl(QUrl(ProductWebPage));
}

void MainWindow::showManagement()
{
    mDocument->commitPendingEdits();
    // A plug-in works on a copy; its result replaces the document as one new, unsaved project.
    ManagementWindow window(mUi, mDocument->project(), this);
    connect(&window, &ManagementWindow::pluginResultLoaded, this, &MainWindow::pluginResultLoaded);
    window.exec();
    ApplyChanges();
}

void MainWindow::pluginResultLoaded(const DialogProject &result)
{
    DialogProject replaced = result;
    replaced.setPath(mDocument->path());
    mDocument->replaceProject(replaced, ProjectDocument::Replaced::Unsaved);
    mAutosave->saveNow();
}

void MainWindow::showAbout()
{
    AboutWindow window(mUi, this);
    window.exec();
}

void MainWindow::offerRecovery()
{
    const std::optional<Autosave::Recovery> left = Autosave::findLeftOver();
    if (!left)
        return;
    const UiServices::Answer answer =
        mUi.message(this, languageText(309), ProductTitle, UiServices::Icon::Question,
                    UiServices::Buttons::YesNo, left->originalPath);
    if (answer != UiServices::Answer::Yes) {
        Autosave::remove(*left);
        return;
    }
    DialogProject recovered;
    QString error;
    if (!ProjectIO::loadProjectFile(recovered, left->projectFile, &error)) {
        mUi.warnFailed(this, error);
        return;
    }
    recovered.setPath(left->originalPath);
    mDocument->replaceProject(recovered, ProjectDocument::Replaced::Unsaved);
    updateTitle();
    Autosave::remove(*left);
    mAutosave->saveNow();
}

void MainWindow::selectEntry(int row)
{
    mDocument->setCurrentDialog(row + 1);
}

void MainWindow::listNew()
{
    mListView->insertDialog();
}

void MainWindow::listDelete()
{
    mListView->deleteDialog();
}

void MainWindow::listUp()
{
    mListView->moveUp();
}

void MainWindow::listDown()
{
    mListView->moveDown();
}

void MainWindow::selectType(int type)
{
    mPanel->selectType(type);
}

void MainWindow::selectStyle(int style)
{
    mStyleBox->selectStyle(style);
}

void MainWindow::iconClick(int cell)
{
    mPanel->iconClick(cell);
}

void MainWindow::selectCommand(int index)
{
    mComposer->selectCommand(index);
}

void MainWindow::selectDirection(int index)
{
    mComposer->selectDirection(index);
}

void MainWindow::insertScript(int button)
{
    mComposer->insertScript(button);
}

} // namespace kq
