// The preview shows the runner's own step windows and plays a project in place. Its windows must
// look exactly like the runner's, follow every edit, and play exactly as the runner's step loop
// with the same presses.

#include "inplaceplay.h"
#include "previewpane.h"
#include "projectdocument.h"
#include "runfault.h"
#include "runnerplay.h"
#include "stepstage.h"
#include "tst_mainwindowfixture.h"

#include <QAccessible>
#include <QPainter>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QWindow>

using namespace kq;
using namespace kq::MainWindowTest;
using kq::RunnerPlay::Case;
using kq::RunnerPlay::Player;

namespace {

// What both players say at the end of a run; the in-place play is told the runner's outcome.
const QString Ended = QStringLiteral("Программа завершена.");
const QString Stopped = QStringLiteral("Программа остановлена: %1");

// The window the runner itself builds for a record, with its clock run `ticks` times.
std::unique_ptr<StepWindow> runnerWindow(const DialogRecord &record, qint16 style, int ticks)
{
    if (record.type == DialogRecord::Message)
        return std::make_unique<MessageWindow>(record, style);
    auto window = std::make_unique<ProgressWindow>(record, style);
    for (int tick = 0; tick < ticks; ++tick)
        window->tick();
    return window;
}

QImage pixels(const QPixmap &picture)
{
    return picture.toImage().convertToFormat(QImage::Format_RGB32);
}

// The runner's window as it looks on the screen: shown, its first button is the default one.
// While another window is active, no button shows the keyboard focus, as in the still preview,
// which leaves the keyboard to the editing boxes.
QImage shownRunnerWindow(StepWindow &window)
{
    QWidget other;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the runner's window is not shown");
    other.show();
    other.activateWindow();
    if (!QTest::qWaitForWindowActive(&other))
        qFatal("another window does not become active");
    return pixels(window.grab());
}

// What the preview's stage shows of the window, without its title bar.
QImage shownWindow(const PreviewPane &pane)
{
    const StepStage *stage = pane.stage();
    return pixels(stage->viewport()->grab(stage->clientRect()));
}

QRect captionRect(const QStyleOptionTitleBar &bar)
{
    return QApplication::style()->subControlRect(QStyle::CC_TitleBar, &bar,
                                                 QStyle::SC_TitleBarLabel, nullptr);
}

// The caption of a title bar over a window, as the style draws it with the title the window
// system was given.
QImage titleBarCaption(const QWidget &window)
{
    const QStyleOptionTitleBar bar =
        StepStage::titleBarOption(window.width(), window.windowHandle()->title());
    QImage image(bar.rect.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    QApplication::style()->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter);
    return image.copy(captionRect(bar));
}

// The caption of the title bar the stage draws over its window, at the real size.
QImage shownTitleBarCaption(const PreviewPane &pane)
{
    const StepStage *stage = pane.stage();
    const QStyleOptionTitleBar bar = StepStage::titleBarOption(stage->window()->width(), QString());
    const QRect client = stage->clientRect();
    const QRect caption =
        captionRect(bar).translated(client.left(), client.top() - bar.rect.height());
    return pixels(stage->viewport()->grab(caption));
}

// A drag of a splitter's handle by the mouse.
void dragHandle(QWidget &handle, QPoint by)
{
    const QPoint middle = handle.rect().center();
    QTest::mousePress(&handle, Qt::LeftButton, {}, middle);
    QTest::mouseMove(&handle, middle + by);
    QTest::mouseRelease(&handle, Qt::LeftButton, {}, middle + by);
}

// The pane put out of sight as a user does: "fold" by its title, "collapse" by dragging the main
// splitter until the side with the pane is gone.
void putOutOfSight(MainWindow &window, const QString &how)
{
    if (how == u"fold") {
        child<QToolButton>(&window, QStringLiteral("preview_title"))->click();
        return;
    }
    auto *split = child<QSplitter>(&window, QStringLiteral("main_splitter"));
    dragHandle(*split->handle(1), QPoint(split->sizes().at(1), 0));
}

DialogProject oneStep(const DialogRecord &record, qint16 style)
{
    DialogProject project;
    project.record(0).text = QString::number(style);
    project.record(1) = record;
    project.setDialogCount(1);
    return project;
}

// A pane on a document of its own, large enough for any window at its real size.
struct PaneOnDocument
{
    PaneOnDocument() : pane(document)
    {
        pane.resize(1800, 900);
        pane.show();
    }
    ProjectDocument document;
    PreviewPane pane;
};

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsAsRunner_data();
    void drawsAsRunner();
    void followsEdits_data();
    void followsEdits();
    void followsTyping();
    void tellsWhatItCannotShow_data();
    void tellsWhatItCannotShow();
    void scalesDownToFit_data();
    void scalesDownToFit();
    void tellsTheMoment_data();
    void tellsTheMoment();
    void playsInPlace();
    void accessKeysGoFirst_data();
    void accessKeysGoFirst();
    void stopsWhenNotSeen_data();
    void stopsWhenNotSeen();
    void playsInSight_data();
    void playsInSight();
    void stopsOnEditAndEsc_data();
    void stopsOnEditAndEsc();
    void playsAsRunner_data();
    void playsAsRunner();
    void namesItsControls_data();
    void namesItsControls();

private:
    QScopedPointer<MainWindowTest::ProgramFolder> mFolder;
    QTemporaryDir mDir;
};

void TestPreview::initTestCase()
{
    QVERIFY(renew(mFolder));
    useSettings(QStringLiteral("english.lang"), QStringLiteral("Themes/standart.tvth"));
    languageHeaderValue(QStringLiteral("english.lang"), QStringLiteral("GetFile"));
}

void TestPreview::drawsAsRunner_data()
{
    QTest::addColumn<qint16>("style");
    QTest::addColumn<DialogRecord>("record");
    QTest::addColumn<int>("ticks");
    for (const qint16 style : {qint16(0), qint16(1)}) {
        const QString look = style == 0 ? QStringLiteral("system") : QStringLiteral("skinned");
        for (qint16 ico = 0; ico <= 5; ++ico) {
            DialogRecord one;
            one.caption = QStringLiteral("Вопрос");
            one.text = QStringLiteral("Продолжить?");
            one.btn1 = QStringLiteral("&Да");
            one.ico = ico;
            QTest::addRow("%s, icon %d, one button", qPrintable(look), ico) << style << one << 0;
            DialogRecord two = one;
            two.btn2 = QStringLiteral("Нет");
            QTest::addRow("%s, icon %d, two buttons", qPrintable(look), ico) << style << two << 0;
        }
        DialogRecord longText;
        longText.caption = QString(80, u'З');
        longText.text = QStringLiteral("Первая строка\r\n") + QString(120, u'ж') +
                        QStringLiteral("\r\n\r\n   с отступом");
        longText.btn1 = QStringLiteral("ОК");
        longText.btn2 = QString(40, u'W');
        longText.ico = 3;
        QTest::addRow("%s, long texts", qPrintable(look)) << style << longText << 0;
        DialogRecord marks = longText;
        marks.caption = QStringLiteral("Итог [*] и [*][*]");
        QTest::addRow("%s, title marks", qPrintable(look)) << style << marks << 0;
        DialogRecord bar;
        bar.type = DialogRecord::Progress;
        bar.caption = QStringLiteral("Загрузка");
        bar.text = QStringLiteral("Подождите");
        bar.btn1 = QStringLiteral("Стоп");
        bar.time = 5;
        bar.ico = 1;
        QTest::addRow("%s, progress at 37 %%", qPrintable(look)) << style << bar << 37;
        bar.btn1.clear();
        QTest::addRow("%s, progress full, no button", qPrintable(look)) << style << bar << 100;
    }
}

void TestPreview::drawsAsRunner()
{
    QFETCH(qint16, style);
    QFETCH(DialogRecord, record);
    QFETCH(int, ticks);
    PaneOnDocument on;
    on.document.replaceProject(oneStep(record, style));
    child<QSlider>(&on.pane, QStringLiteral("preview_moment"))->setValue(ticks);
    QVERIFY(on.pane.stage()->window());
    QCOMPARE(on.pane.stage()->scale(), 1.0);

    const std::unique_ptr<StepWindow> runner = runnerWindow(record, style, ticks);
    QCOMPARE(on.pane.stage()->window()->size(), runner->size());
    QCOMPARE(on.pane.stage()->window()->windowTitle(), runner->windowTitle());
    const QImage expected = shownRunnerWindow(*runner);
    const QImage shown = shownWindow(on.pane);
    if (shown != expected) {
        shown.save(QDir::temp().filePath(QStringLiteral("kq_preview_shown.png")));
        expected.save(QDir::temp().filePath(QStringLiteral("kq_preview_runner.png")));
    }
    QCOMPARE(shown.size(), expected.size());
    QVERIFY2(shown == expected, "the preview draws the window otherwise than the runner");
    QVERIFY2(shownTitleBarCaption(on.pane) == titleBarCaption(*runner),
             "the preview's title bar shows another title than the runner's");
}

void TestPreview::followsEdits_data()
{
    QTest::addColumn<std::function<void(ProjectDocument &)>>("edit");
    using Edit = std::function<void(ProjectDocument &)>;
    QTest::newRow("text") << Edit(
        [](ProjectDocument &d) { d.setField(1, ProjectDocument::Field::Text, "Новый\r\nтекст"); });
    QTest::newRow("caption") << Edit(
        [](ProjectDocument &d) { d.setField(1, ProjectDocument::Field::Caption, "Заголовок"); });
    QTest::newRow("button 2") << Edit(
        [](ProjectDocument &d) { d.setField(1, ProjectDocument::Field::Button2, "Второй"); });
    QTest::newRow("icon") << Edit([](ProjectDocument &d) { d.setIcon(1, 4); });
    QTest::newRow("style") << Edit([](ProjectDocument &d) { d.setStyle(1); });
    QTest::newRow("type") << Edit([](ProjectDocument &d) {
        d.setType(1, DialogRecord::Progress);
        d.setTime(1, 3);
    });
    QTest::newRow("undo") << Edit([](ProjectDocument &d) {
        d.setIcon(1, 2);
        d.setField(1, ProjectDocument::Field::Button1, "Ещё");
        d.undo();
    });
    QTest::newRow("redo") << Edit([](ProjectDocument &d) {
        d.setStyle(1);
        d.undo();
        d.redo();
    });
    QTest::newRow("another step selected") << Edit([](ProjectDocument &d) {
        d.insertDialog(1);
        d.setField(2, ProjectDocument::Field::Text, "Второй шаг");
        d.setCurrentDialog(2);
    });
}

void TestPreview::followsEdits()
{
    QFETCH(std::function<void(ProjectDocument &)>, edit);
    PaneOnDocument on;
    DialogRecord record;
    record.text = QStringLiteral("Было");
    record.btn1 = QStringLiteral("ОК");
    on.document.replaceProject(oneStep(record, 0));
    edit(on.document);

    const DialogRecord &now = on.document.record(on.document.currentDialog());
    const qint16 style = *on.document.record(0).projectStyle();
    const std::unique_ptr<StepWindow> runner = runnerWindow(now, style, 0);
    QVERIFY(on.pane.stage()->window());
    QCOMPARE(shownWindow(on.pane), shownRunnerWindow(*runner));
}

void TestPreview::followsTyping()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *text = child<QPlainTextEdit>(&window, QStringLiteral("msg_text"));
    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("Typed"));
    const auto *pane = child<PreviewPane>(&window, QStringLiteral("preview_pane"));
    QVERIFY(pane->stage()->window());
    const auto *shown = pane->stage()->window()->findChild<QLabel *>(QStringLiteral("msg_text"));
    QCOMPARE(shown->text(), QStringLiteral("Typed"));
    QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
    shown = pane->stage()->window()->findChild<QLabel *>(QStringLiteral("msg_text"));
    QVERIFY(shown->text() != QStringLiteral("Typed"));

    // Folded, the pane builds nothing; unfolded, it shows what was typed meanwhile.
    auto *title = child<QToolButton>(&window, QStringLiteral("preview_title"));
    title->click();
    QTest::keyClicks(text, QStringLiteral("Unseen"));
    title->click();
    shown = pane->stage()->window()->findChild<QLabel *>(QStringLiteral("msg_text"));
    QVERIFY2(shown->text().contains(QStringLiteral("Unseen")), qPrintable(shown->text()));
}

void TestPreview::tellsWhatItCannotShow_data()
{
    QTest::addColumn<DialogProject>("project");
    QTest::addColumn<QString>("card");
    QTest::addColumn<bool>("warned");
    using namespace kq::StepTest;
    QTest::newRow("pause") << makeProject({pause(5, ButtonScript::goTo(1)), message("ОК", "")})
                           << "Invisible pause, 5 s, then -> step 1" << false;
    QTest::newRow("pause to the exit") << makeProject({pause(2, ButtonScript::Exit)})
                                       << "Invisible pause, 2 s, then -> Exit" << false;
    QTest::newRow("pause of no time")
        << makeProject({pause(0, ButtonScript::GoNext)})
        << "This step shows nothing: the run goes on at once." << false;
    QTest::newRow("unknown type") << makeProject({ofType(7)})
                                  << "This step shows nothing: the run goes on at once." << false;
    QTest::newRow("no project style")
        << makeProject({message("ОК", "")}, QStringLiteral("x")) << QString() << false;
    QTest::newRow("too wide a text")
        << makeProject({withText(message("ОК", ""), QString(300, u'Ж'))}) << QString() << true;
}

void TestPreview::tellsWhatItCannotShow()
{
    QFETCH(DialogProject, project);
    QFETCH(QString, card);
    QFETCH(bool, warned);
    PaneOnDocument on;
    on.document.replaceProject(project);
    const auto *pages = child<QStackedWidget>(&on.pane, QString());
    const auto *shownCard = child<QLabel>(&on.pane, QStringLiteral("preview_card"));
    const bool windowShown = pages->currentWidget() == on.pane.stage();
    if (!card.isEmpty()) {
        QVERIFY(!windowShown);
        QCOMPARE(shownCard->text(), card);
    }
    if (QTest::currentDataTag() == QByteArray("no project style")) {
        QVERIFY(!windowShown);
        QVERIFY(shownCard->text().contains(QStringLiteral("style")));
    }
    QCOMPARE(child<QLabel>(&on.pane, QStringLiteral("preview_warning"))->isVisible(), warned);
}

void TestPreview::scalesDownToFit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("paneSize");
    QTest::newRow("a long line") << QString(60, u'Ж') << QSize(300, 400);
    QTest::newRow("hundreds of line breaks") << QString(511, u'\n') + u'Ж' << QSize(400, 250);
}

void TestPreview::scalesDownToFit()
{
    QFETCH(QString, text);
    QFETCH(QSize, paneSize);
    PaneOnDocument on;
    using namespace kq::StepTest;
    on.document.replaceProject(makeProject({withText(message("ОК", ""), text)}));
    on.pane.resize(paneSize);
    QTRY_VERIFY(on.pane.stage()->scale() < 1.0);
    // The whole window, its title bar and its buttons, is in sight.
    const QSizeF shown = QSizeF(on.pane.stage()->outerSize()) * on.pane.stage()->scale();
    QVERIFY(shown.width() <= on.pane.stage()->viewport()->width());
    QVERIFY(shown.height() <= on.pane.stage()->viewport()->height());
    QCOMPARE(child<QLabel>(&on.pane, QStringLiteral("preview_scale"))->text(),
             QStringLiteral("%1 %").arg(qRound(on.pane.stage()->scale() * 100)));
}

void TestPreview::tellsTheMoment_data()
{
    QTest::addColumn<qint16>("time");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("label");
    QTest::newRow("start") << qint16(5) << 0 << "The bar at 0 s of 5 s";
    QTest::newRow("a tick") << qint16(1) << 1 << "The bar at 0.01 s of 1 s";
    QTest::newRow("part way") << qint16(5) << 37 << "The bar at 1.85 s of 5 s";
    QTest::newRow("largest time, full") << qint16(32767) << 100 << "The bar at 32767 s of 32767 s";
    QTest::newRow("largest time, part way")
        << qint16(32767) << 37 << "The bar at 12123.79 s of 32767 s";
}

void TestPreview::tellsTheMoment()
{
    QFETCH(qint16, time);
    QFETCH(int, ticks);
    QFETCH(QString, label);
    PaneOnDocument on;
    using namespace kq::StepTest;
    on.document.replaceProject(makeProject({progress(time, "Стоп", Exit, Next)}));
    child<QSlider>(&on.pane, QStringLiteral("preview_moment"))->setValue(ticks);
    QCOMPARE(child<QLabel>(&on.pane, QStringLiteral("preview_moment_label"))->text(), label);
}

void TestPreview::playsInPlace()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    using namespace kq::StepTest;
    setUpProject(window, [](DialogProject &project) {
        project = makeProject({message("Дальше", Next), pause(1, ButtonScript::goTo(3)),
                               message("Мимо", Exit), progress(1, "", Exit, Next),
                               message("Конец", Exit)});
    });
    ProjectDocument &doc = document(window);
    auto *pane = child<PreviewPane>(&window, QStringLiteral("preview_pane"));
    QStringList seen;
    connect(pane->player(), &InPlacePlay::stepStarted, this,
            [&](int step) { seen << QStringLiteral("%1@%2").arg(step).arg(doc.currentDialog()); });
    // Each window is answered by its first button; a pause and a bar go by themselves, in time.
    connect(pane->player(), &InPlacePlay::windowWaiting, this, [](StepWindow &shown) {
        QTimer::singleShot(0, &shown, [&shown] {
            if (auto *button = shown.findChild<QPushButton *>(QStringLiteral("msg_btn1"));
                button && button->isVisible() && shown.objectName() == u"msgf")
                button->click();
        });
    });
    const int history = doc.undoStack()->count();
    QTest::keyClick(&window, Qt::Key_F6);
    QCOMPARE(seen, QStringList({"0@1", "1@2", "3@4", "4@5"}));
    QCOMPARE(child<QLabel>(pane, QStringLiteral("preview_card"))->text(),
             languageText(TextId::WebProgramEnded));
    QCOMPARE(doc.undoStack()->count(), history);
    QVERIFY(!doc.isModified());

    // A fault ends with the runner's reason, in the active language.
    setUpProject(window, [](DialogProject &project) {
        project = makeProject({message("Дальше", "Идти К ab")});
    });
    pane->playFromStart();
    QCOMPARE(child<QLabel>(pane, QStringLiteral("preview_card"))->text(),
             languageText(TextId::WebProgramStopped)
                 .arg(RunFault::retold(RunFault::scriptCannotRun(0, "Идти К ab"))));
}

void TestPreview::accessKeysGoFirst_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("caption");
    // Each button's access key is also that of a label of the properties panel.
    QTest::newRow("system, English") << "english.lang"
                                     << "0"
                                     << "&Continue";
    QTest::newRow("skinned, English") << "english.lang"
                                      << "1"
                                      << "&Continue";
    QTest::newRow("system, Russian") << "russian.lang"
                                     << "0"
                                     << "&Нет";
    QTest::newRow("skinned, Russian") << "russian.lang"
                                      << "1"
                                      << "&Нет";
}

void TestPreview::accessKeysGoFirst()
{
    QFETCH(QString, language);
    QFETCH(QString, style);
    QFETCH(QString, caption);
    useSettings(language, QStringLiteral("Themes/standart.tvth"));
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    using namespace kq::StepTest;
    setUpProject(window, [&](DialogProject &project) {
        project = makeProject({message(caption, Next), message("Конец", Exit)}, style);
    });
    auto *pane = child<PreviewPane>(&window, QStringLiteral("preview_pane"));
    QList<int> started;
    connect(pane->player(), &InPlacePlay::stepStarted, this, [&](int step) { started << step; });
    connect(pane->player(), &InPlacePlay::windowWaiting, this, [&](StepWindow &shown) {
        QTimer::singleShot(0, &shown, [&, pane] {
            if (started.size() > 1) {
                pane->stopPlaying();
                return;
            }
            // The access key, where the keys of the window on the stage go.
            const QString letter = caption.mid(caption.indexOf(u'&') + 1, 1);
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                                QKeySequence(letter)[0].key(), letter.toLower(), Qt::AltModifier);
            QTimer::singleShot(2000, pane, &PreviewPane::stopPlaying);
        });
    });
    pane->playFromStart();
    useSettings(QStringLiteral("english.lang"), QStringLiteral("Themes/standart.tvth"));
    QCOMPARE(started, QList<int>({0, 1}));
}

void TestPreview::stopsWhenNotSeen_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the pane folded") << "fold";
    QTest::newRow("the side with the pane collapsed") << "collapse";
}

void TestPreview::stopsWhenNotSeen()
{
    QFETCH(QString, how);
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    using namespace kq::StepTest;
    setUpProject(window, [](DialogProject &project) {
        project = makeProject({message("Дальше", Next), pause(1, Back)});
    });
    auto *pane = child<PreviewPane>(&window, QStringLiteral("preview_pane"));
    bool stopped = false;
    connect(pane->player(), &InPlacePlay::windowWaiting, this, [&](StepWindow &shown) {
        QTimer::singleShot(0, &shown, [&, pane] {
            putOutOfSight(window, how);
            stopped = pane->player()->wasStopped();
            pane->stopPlaying();
        });
    });
    pane->playFromStart();
    QVERIFY2(stopped, "a run nobody sees goes on");
    QVERIFY(!pane->isPlaying());
}

void TestPreview::playsInSight_data()
{
    stopsWhenNotSeen_data();
}

void TestPreview::playsInSight()
{
    QFETCH(QString, how);
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    using namespace kq::StepTest;
    setUpProject(window,
                 [](DialogProject &project) { project = makeProject({message("ОК", Exit)}); });
    auto *pane = child<PreviewPane>(&window, QStringLiteral("preview_pane"));
    putOutOfSight(window, how);
    bool seen = false;
    connect(pane->player(), &InPlacePlay::windowWaiting, this, [&](StepWindow &shown) {
        QTimer::singleShot(0, &shown, [&, pane] {
            seen = !pane->stage()->viewport()->visibleRegion().isEmpty();
            pane->stopPlaying();
        });
    });
    QTest::keyClick(&window, Qt::Key_F6);
    QVERIFY2(seen, "the run plays out of sight");
}

void TestPreview::stopsOnEditAndEsc_data()
{
    QTest::addColumn<QString>("how");
    // Where the step that was playing, dialog 2, is after the stop.
    QTest::addColumn<int>("played");
    QTest::newRow("an edit") << "edit" << 2;
    QTest::newRow("Esc on the pane") << "esc" << 2;
    QTest::newRow("undo") << "undo" << 2;
    QTest::newRow("the stop button") << "stop" << 2;
    QTest::newRow("a step inserted before") << "insert" << 3;
    QTest::newRow("the playing step moved up") << "up" << 1;
}

void TestPreview::stopsOnEditAndEsc()
{
    QFETCH(QString, how);
    QFETCH(int, played);
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    using namespace kq::StepTest;
    setUpProject(window, [](DialogProject &project) {
        project = makeProject({message("Дальше", Next), message("Стой", No)});
    });
    ProjectDocument &doc = document(window);
    doc.setField(1, ProjectDocument::Field::Caption, QStringLiteral("Правка"));
    auto *pane = child<PreviewPane>(&window, QStringLiteral("preview_pane"));
    int windows = 0;
    connect(pane->player(), &InPlacePlay::windowWaiting, this, [&](StepWindow &shown) {
        ++windows;
        QTimer::singleShot(0, &shown, [&, how, pane] {
            if (windows == 1) {
                shown.findChild<QPushButton *>(QStringLiteral("msg_btn1"))->click();
                return;
            }
            if (how == u"edit")
                doc.setField(1, ProjectDocument::Field::Text, QStringLiteral("Изменено"));
            else if (how == u"undo")
                doc.undo();
            else if (how == u"stop")
                child<QPushButton>(pane, QStringLiteral("preview_stop"))->click();
            else if (how == u"insert")
                doc.insertDialog(0);
            else if (how == u"up")
                child<QPushButton>(&window, QStringLiteral("list_up"))->click();
            else
                QTest::keyClick(child<QPushButton>(pane, QStringLiteral("preview_play")),
                                Qt::Key_Escape);
        });
    });
    doc.setCurrentDialog(1);
    pane->playHere();
    QVERIFY(!pane->isPlaying());
    QCOMPARE(windows, 2);
    // Back to editing the step that was playing, wherever the edit put it, shown as it is now.
    QCOMPARE(doc.currentDialog(), played);
    QVERIFY(pane->stage()->window());
    QVERIFY(pane->stage()->window()->isVisible());
    QCOMPARE(pane->stage()->window()->findChild<QLabel *>(QStringLiteral("msg_text"))->text(),
             QStringLiteral("Шаг 1"));
}

namespace {

// The middle of the close box in the title bar the stage draws over its window, on its viewport.
QPoint closeBoxOn(const StepStage &stage)
{
    QStyle *style = QApplication::style();
    const QStyleOptionTitleBar bar = StepStage::titleBarOption(stage.window()->width(), QString());
    const int barHeight = bar.rect.height();
    const QPointF box =
        style->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, nullptr)
            .center();
    const QRect client = stage.clientRect();
    return client.topLeft() +
           QPointF(box.x() * stage.scale(), (box.y() - barHeight) * stage.scale()).toPoint();
}

} // namespace

void TestPreview::playsAsRunner_data()
{
    QTest::addColumn<Case>("sample");
    QTest::addColumn<quint32>("seed");
    QList<Case> cases = RunnerPlay::shippedSamples() + RunnerPlay::craftedProjects();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(qPrintable(cases.at(i).name)) << cases.at(i) << quint32(i + 1);
}

void TestPreview::playsAsRunner()
{
    QFETCH(Case, sample);
    QFETCH(quint32, seed);
    const QStringList runner =
        RunnerPlay::lines(RunnerPlay::playInRunner(sample, seed, mDir.path(), Ended, Stopped));

    PaneOnDocument on;
    on.pane.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(on.pane.window()));
    on.document.replaceProject(sample.project);
    Player player(sample.presses, seed, Ended, Stopped);
    // A window on the stage takes keys once the stage has the focus.
    player.setActivation([&on](QWidget &shown) {
        on.pane.stage()->setFocus(Qt::OtherFocusReason);
        if (!shown.focusWidget())
            shown.nextInFocusChain()->setFocus(Qt::TabFocusReason);
    });
    player.setCloser([&on](QWidget &) {
        StepStage *stage = on.pane.stage();
        QTest::mouseClick(stage->viewport(), Qt::LeftButton, {}, closeBoxOn(*stage));
    });
    connect(on.pane.player(), &InPlacePlay::windowWaiting, this,
            [&](StepWindow &shown, const DialogRecord &record) {
                QTimer::singleShot(0, &shown, [&, record] {
                    player.shown(shown, record);
                    if (player.ranOut())
                        on.pane.stopPlaying();
                });
            });
    connect(on.pane.player(), &InPlacePlay::ended, this,
            [&](const StepLoop::Outcome &outcome) { player.finished(outcome); });
    on.pane.playFromStart();
    const QStringList inPlace = RunnerPlay::lines(player.events());
    if (inPlace != runner)
        qWarning().noquote() << "in place:\n"
                             << inPlace.join(u'\n') << "\nrunner:\n"
                             << runner.join(u'\n');
    QCOMPARE(inPlace, runner);
}

void TestPreview::namesItsControls_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "english.lang";
    QTest::newRow("Russian") << "russian.lang";
}

void TestPreview::namesItsControls()
{
    QFETCH(QString, language);
    languageHeaderValue(language, QStringLiteral("GetFile"));
    PaneOnDocument on;
    on.pane.retranslate();
    const std::pair<const char *, TextId> named[] = {
        {"preview_title", TextId::PreviewTitle},
        {"preview_play", TextId::PreviewPlayHere},
        {"preview_play_start", TextId::PreviewPlayFromStart},
        {"preview_stop", TextId::PreviewStop},
        {"preview_moment", TextId::PreviewMomentName},
        {"preview_scale", TextId::PreviewScaleName},
        {"preview_stage", TextId::PreviewTitle}};
    for (const auto &[name, id] : named) {
        const auto *control = child<QWidget>(&on.pane, QLatin1String(name));
        QAccessibleInterface *accessible =
            QAccessible::queryAccessibleInterface(const_cast<QWidget *>(control));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), languageText(id));
        QVERIFY(!languageText(id).isEmpty());
    }
    // The window's buttons are real buttons, named by their captions.
    DialogRecord record;
    record.btn1 = QStringLiteral("&Да");
    record.btn2 = QStringLiteral("Нет");
    for (const qint16 style : {qint16(0), qint16(1)}) {
        on.document.replaceProject(oneStep(record, style));
        QStringList names;
        for (QWidget *button : on.pane.stage()->window()->findChildren<QWidget *>()) {
            if (button->isHidden() || !button->focusPolicy())
                continue;
            names << QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
        }
        names.sort();
        QCOMPARE(names, QStringList({"Да", "Нет"}));
    }
    languageHeaderValue(QStringLiteral("english.lang"), QStringLiteral("GetFile"));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
