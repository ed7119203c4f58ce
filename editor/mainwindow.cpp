#include "mainwindow.h"

#include "aboutwindow.h"
#include "editorhelpers.h"
#include "kxbutton.h"
#include "language.h"
#include "mainwindow_helpers.h"
#include "mainwindow_iconpicture.h"
#include "managementwindow.h"
#include "optionsetting.h"
#include "productinfo.h"
#include "programfolder.h"
#include "projectio.h"
#include "uiservices.h"
#include "wholefile.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kq {

namespace {

constexpr int ToolbarHeight = 31;
constexpr int ToolButtonTop = 3;
constexpr int ToolButtonHeight = 25;
const QColor BarColor(240, 240, 240);
const QColor LineColor(178, 178, 178);

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

QString runnerProgram()
{
#ifdef Q_OS_WIN
    return programPath(QStringLiteral("Runner/run.exe"));
#else
    return programPath(QStringLiteral("Runner/run"));
#endif
}

} // namespace

MainWindow::MainWindow(UiServices &ui, QWidget *parent) : QWidget(parent), mUi(ui)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(ProductTitle);
    setAutoFillBackground(true);
    setMouseTracking(true);
    installEventFilter(this);
    mHints.insert(this, id("%0130"));

    buildToolbar();
    buildMenus();
    buildListBox();
    buildDataBox();
    buildScriptBox();
    buildProjectBox();
    buildStatusBar();
    buildCaptionTable();

    auto *content = new QGridLayout;
    content->setContentsMargins(8, 8, 8, 8);
    content->setSpacing(8);
    content->addWidget(mListBox, 0, 0, 2, 1);
    content->addWidget(mDataBox, 0, 1, 1, 2);
    content->addWidget(mScrBox, 1, 1);
    content->addWidget(mProjectBox, 1, 2);
    content->setColumnStretch(1, 1);
    content->setRowStretch(0, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(mToolbar);
    outer->addLayout(content, 1);
    outer->addWidget(mStatusBar);

    resize(880, 600);
    startUp();
}

MainWindow::~MainWindow()
{
    mAlive = false;
}

void MainWindow::buildToolbar()
{
    mToolbar = new QFrame(this);
    mToolbar->setObjectName(QStringLiteral("toolbar"));
    mToolbar->setFixedHeight(ToolbarHeight);
    mToolbar->setMouseTracking(true);
    mToolbar->installEventFilter(this);
    setBarLook(mToolbar);
    mHints.insert(mToolbar, id("%0130"));

    static const char *const pictures[ToolButtonCount] = {
        "new.png", "open.png", "save.png", "test.png", "build.png", "manage.png", "help.png"};
    for (int i = 0; i < ToolButtonCount; ++i) {
        auto *button = new KXButton(mToolbar);
        button->setObjectName(QStringLiteral("sd") + QString::number(i));
        button->setProperty("index", i);
        button->setAutoSize(true);
        button->setMode(i == 1 || i == 2 ? 2 : 0);
        button->setPicture(
            editor::artwork(QStringLiteral("mainwindow/") + QLatin1String(pictures[i])));
        // Buttons 5 and 6 show only their picture; the others carry "%0001" to "%0005".
        button->setCaption(i < 5 ? QStringLiteral("%000") + QString::number(i + 1) : QString());
        button->setGeometry(0, ToolButtonTop, button->width(), ToolButtonHeight);
        connect(button, &KXButton::Click, this, [this, i] { toolbarClick(i); });
        connect(button, &KXButton::ArrowClick, this, [this, i] { toolbarArrowClick(i); });
        connect(button, &KXButton::MouseIn, this, [this, i] { toolbarMouseIn(i); });
        mSd[i] = button;
    }
    for (int i = 0; i < 2; ++i) {
        auto *line = new QFrame(mToolbar);
        line->setObjectName(QStringLiteral("lnl") + QString::number(i));
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, LineColor);
        line->setPalette(palette);
        line->setGeometry(0, ToolButtonTop + 2, 1, ToolButtonHeight - 4);
        mLnl[i] = line;
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
    mMnuOpnFile = addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnFile"), id("%0151"));
    mMnuOpnLine1 = addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnLine1"), id("%0150"));
    for (int i = 0; i < SampleCount; ++i) {
        mMnuOpnF[i] = addMenuEntry(mMnuOpn, QStringLiteral("mnuOpnF") + QString::number(i), {});
        connect(mMnuOpnF[i], &QAction::triggered, this, [this, i] { openSample(i); });
    }

    mMnuSav = new QMenu(this);
    mMnuSav->setObjectName(QStringLiteral("mnuSav"));
    mMnuSav->setTitle(id(".Save"));
    mMnuSavS = addMenuEntry(mMnuSav, QStringLiteral("mnuSavS"), id("%0152"));
    mMnuSavAs = addMenuEntry(mMnuSav, QStringLiteral("mnuSavAs"), id("%0153"));

    mMnuHlp = new QMenu(this);
    mMnuHlp->setObjectName(QStringLiteral("mnuHlp"));
    mMnuHlp->setTitle(id(".Help"));
    mMnuHlpHelp = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpHelp"), id("%0154"));
    mMnuHlpSite = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpSite"), id("%0155"));
    mMnuHlpLine1 = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpLine1"), id("%0150"));
    mMnuHlpAbout = addMenuEntry(mMnuHlp, QStringLiteral("mnuHlpAbout"), id("%0156"));

    // The menus only pop up from the toolbar, so their shortcuts also live on the window.
    mMnuOpnFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mMnuSavS->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mMnuHlpHelp->setShortcut(QKeySequence(Qt::Key_F1));
    addActions({mMnuOpnFile, mMnuSavS, mMnuHlpHelp});

    connect(mMnuOpnFile, &QAction::triggered, this, &MainWindow::openCommand);
    connect(mMnuSavS, &QAction::triggered, this, [this] { saveAndRefresh(SaveMode::Save); });
    connect(mMnuSavAs, &QAction::triggered, this, [this] { saveAndRefresh(SaveMode::SaveAs); });
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
    mSts = new QLabel(id("%0130"), mStatusBar);
    mSts->setObjectName(QStringLiteral("sts"));
    mSts->setMouseTracking(true);
    mSts->installEventFilter(this);
    auto *layout = new QHBoxLayout(mStatusBar);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->addWidget(mSts);
    mHints.insert(mStatusBar, id("%0130"));
    mHints.insert(mSts, id("%0130"));
}

void MainWindow::buildCaptionTable()
{
    mCaptionTable = {
        {mLblType, id("%0101")},      {mLblTime, id("%0102")},      {mLblCaption, id("%0103")},
        {mLblText, id("%0104")},      {mLblBtn[0], id("%0105")},    {mLblBtn[1], id("%0106")},
        {mLblBtnScr[0], id("%0107")}, {mLblBtnScr[1], id("%0108")}, {mLblIco, id("%0109")},
        {mLabel12, id("%0110")},      {mLabel10, id("%0111")},      {mMsgType[0], id("%0120")},
        {mMsgType[1], id("%0121")},   {mMsgType[2], id("%0122")},   {mPrjSt[0], id("%0123")},
        {mPrjSt[1], id("%0124")},     {mSts, id("%0130")},          {mMnuSavS, id("%0152")},
        {mMnuSavAs, id("%0153")},     {mMnuOpnFile, id("%0151")},   {mMnuOpnLine1, id("%0150")},
        {mMnuHlpHelp, id("%0154")},   {mMnuHlpSite, id("%0155")},   {mMnuHlpLine1, id("%0150")},
        {mMnuHlpAbout, id("%0156")},
    };
    for (int i = 0; i < 5; ++i)
        mCaptionTable.append({mSd[i], QStringLiteral("%000") + QString::number(i + 1)});
}

void MainWindow::startUp()
{
    if (OptionSetting(OptionRead, OptionLanguage).isEmpty()) {
        OptionSetting(OptionWrite, OptionLanguage, QStringLiteral("russian.lang"));
        OptionSetting(OptionWrite, OptionTheme,
                      programPath(QStringLiteral("Themes/standart.tvth")));
    }
    UpdateSettings();
    selectCommand(0);
    newProject();
}

void MainWindow::StatusClear()
{
    mSts->setText(ResString(id("%0130")));
}

void MainWindow::toolbarMouseIn(int index)
{
    mSts->setText(ResString(QStringLiteral("%013") + QString::number(index + 1)));
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
        showMenu(mMnuHlp, mSd[6], true);
        break;
    default:
        break;
    }
}

void MainWindow::toolbarArrowClick(int index)
{
    if (index == 1)
        showMenu(mMnuOpn, mSd[1], false);
    else if (index == 2)
        showMenu(mMnuSav, mSd[2], false);
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
    auto *widget = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::MouseMove:
        // Only the area's own background shows its hint, not the controls on it.
        if (mHints.contains(watched) && widget &&
            !widget->childAt(static_cast<QMouseEvent *>(event)->position().toPoint()))
            mSts->setText(ResString(mHints.value(watched)));
        break;
    case QEvent::Resize:
        if (watched == mToolbar)
            layoutToolbar();
        break;
    case QEvent::FocusOut: {
        // A menu or another window taking the focus is not leaving the box; neither is a box
        // that program code has just disabled while loading a dialog.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (widget && widget->isEnabled() && !mLoading && reason != Qt::PopupFocusReason &&
            reason != Qt::ActiveWindowFocusReason)
            leaveField(widget);
        break;
    }
    case QEvent::KeyPress:
        if (watched == mMsgTime)
            return filterDigitKey(mMsgTime, static_cast<QKeyEvent *>(event), true);
        if (watched == mScrArg)
            return filterDigitKey(mScrArg, static_cast<QKeyEvent *>(event), false);
        break;
    case QEvent::KeyRelease:
        if (watched == mMsgTime)
            WriteDialog(mCurrentDialog);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (mayReplaceProject())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::mayReplaceProject()
{
    commitEdits();
    return !mChanged || askSaveChanges();
}

bool MainWindow::askSaveChanges()
{
    const UiServices::Answer answer =
        mUi.message(this, ResString(id("%0128")), ProductTitle, UiServices::Icon::Question,
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
    commitEdits();
    const bool saved = saveCommand(mode);
    ListUpdate();
    return saved;
}

void MainWindow::setProjectTitle(const QString &fileName)
{
    setWindowTitle(ProductTitle + QStringLiteral(" - [") + fileName + QLatin1Char(']'));
}

bool MainWindow::saveCommand(SaveMode mode)
{
    QString path = mProject.path();
    if (mode == SaveMode::SaveAs || path.isEmpty()) {
        path = mUi.saveFileName(this, ResString(id("%0161")),
                                ResString(id("%0163")) + QStringLiteral("|*.dlg2"));
        if (path.isEmpty())
            return false;
        mProject.setPath(path);
    }
    if (!ProjectIO::saveProjectFile(mProject, path)) {
        editor::warnFailed(mUi, this);
        return false;
    }
    setProjectTitle(QFileInfo(path).fileName());
    mChanged = false;
    return true;
}

void MainWindow::openCommand()
{
    if (!mayReplaceProject())
        return;
    const QString filter = ResString(id("%0163")) + QStringLiteral("|*.dlg2|") +
                           ResString(id("%0164")) + QStringLiteral("|*.dlg|") +
                           ResString(id("%0165")) + QStringLiteral("|*.exe");
    // A cancelled dialog or a path without a file leaves the project as it is.
    const QString path = mUi.openFileName(this, ResString(id("%0160")), filter);
    const ProjectIO::OpenResult result = ProjectIO::openPath(mProject, path);
    if (!result.ok) {
        // The records are already cleared; the list still shows what memory now holds.
        editor::warnFailed(mUi, this);
        ListUpdate();
        return;
    }
    if (result.kind == ProjectIO::OpenedKind::Project)
        setProjectTitle(QFileInfo(path).fileName());
    ListUpdate();
    selectStyleFromHeader();
}

void MainWindow::selectStyleFromHeader()
{
    qint16 style = -1;
    if (!mProject.record(0).projectStyle(&style) || style < 0 || style >= int(mPrjSt.size())) {
        editor::warnFailed(mUi, this);
        return;
    }
    selectStyle(style);
}

void MainWindow::openSample(int index)
{
    const QString caption = mMnuOpnF.at(index)->text();
    const QString path = programPath(QStringLiteral("Samples/") + caption);
    if (caption.isEmpty() || !QFileInfo(path).isFile()) {
        mUi.message(this, ResString(id("%0033")), ResString(id("%0020")), UiServices::Icon::Warning,
                    UiServices::Buttons::Ok);
        return;
    }
    // A sample replaces the project as Open does, so unsaved edits are not dropped unasked.
    if (!mayReplaceProject())
        return;
    const QString kind = caption.right(4).toUpper();
    bool ok = true;
    if (kind == u"DLG2") {
        ok = ProjectIO::loadProjectFile(mProject, path);
        // Only a sample that was read becomes the file Save writes to.
        if (ok) {
            mProject.setPath(path);
            setProjectTitle(caption);
        }
    } else if (kind == u".DLG") {
        setWindowTitle(ProductTitle);
        ok = ProjectIO::importLegacyProject(mProject, path);
    }
    ListUpdate();
    if (!ok) {
        editor::warnFailed(mUi, this);
        return;
    }
    mChanged = false;
    selectStyleFromHeader();
}

void MainWindow::testRun()
{
    commitEdits();
    if (!ProjectIO::writeDataFile(mProject, programPath(QStringLiteral("Runner/run.dll")))) {
        editor::warnFailed(mUi, this);
        return;
    }
    const QString runner = runnerProgram();
    if (!QFileInfo(runner).isFile() || !mUi.startDetached(runner, {QStringLiteral("/editor")},
                                                          programPath(QStringLiteral("Runner"))))
        editor::warnFailed(mUi, this);
}

bool MainWindow::copyRunner(const QString &target) const
{
    QFile runner(runnerProgram());
    if (!runner.open(QIODevice::ReadOnly))
        return false;
    const QByteArray program = runner.readAll();
    if (runner.error() != QFileDevice::NoError)
        return false;
    // Written whole before it replaces an existing file of that name.
    return writeWholeFile(target, program) && QFile::setPermissions(target, runner.permissions());
}

void MainWindow::build()
{
    commitEdits();
    const QString target = mUi.saveFileName(this, ResString(id("%0162")),
                                            ResString(id("%0166")) + QStringLiteral("|*.exe"));
    if (target.isEmpty())
        return;
    if (!copyRunner(target) ||
        !ProjectIO::writeDataFile(mProject, ProjectIO::buildDataFilePath(target)))
        editor::warnFailed(mUi, this);
}

void MainWindow::openReadme()
{
    editor::openReadme(mUi);
}

void MainWindow::openWebPage()
{
    mUi.openUrl(QUrl(ProductWebPage));
}

void MainWindow::showManagement()
{
    ManagementWindow window(
        mUi, mProject, [this] { pluginResultLoaded(); }, this);
    window.exec();
    ApplyChanges();
}

void MainWindow::pluginResultLoaded()
{
    ListUpdate();
    // The plug-in's result is in memory only; closing must not drop it unasked.
    mChanged = true;
}

void MainWindow::showAbout()
{
    AboutWindow window(mUi, this);
    window.exec();
}

} // namespace kq
