// Many steps at once in the real window: the list's extended selection by keys, copy and paste by
// key between two editors, the keys left to the text boxes, foreign clipboard contents, the
// 99-step notice, drag and drop on the list, and arrows drawn anew on the map.

#include "buttonscript.h"
#include "flowitems.h"
#include "flowview.h"
#include "stepclipboard.h"
#include "tst_mainwindowfixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>

#include <memory>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

QString scriptOf(const QString &shorthand)
{
    if (shorthand == "N")
        return ButtonScript::GoNext;
    if (shorthand == "X")
        return ButtonScript::Exit;
    return ButtonScript::GoToPrefix + shorthand.mid(1);
}

// Steps "text script1 [script2]", script 2 "go next" unless given; "K02" is "Идти К 02", N next,
// X exit. Each shows two buttons.
DialogProject projectOfSteps(const QStringList &steps)
{
    DialogProject project;
    fillProject(project, int(steps.size()));
    for (int i = 0; i < steps.size(); ++i) {
        const QStringList parts = steps.at(i).split(u' ');
        DialogRecord &record = project.record(i + 1);
        record.text = parts.at(0);
        record.btn2 = QStringLiteral("Two");
        record.btnscr1 = scriptOf(parts.at(1));
        record.btnscr2 = scriptOf(parts.value(2, "N"));
    }
    return project;
}

QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    for (const QListWidgetItem *item : list->selectedItems())
        rows << list->row(item) + 1;
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Keys as written: "Home", "End", "Up", "Down", "S+Up", "S+Down", "^A", "^C", "^X", "^V", "^D",
// "Del", "^Up", "^Down".
void pressKeys(QWidget *widget, const QString &keys)
{
    static const QHash<QString, Qt::Key> names = {
        {"Home", Qt::Key_Home}, {"End", Qt::Key_End},   {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down},
        {"A", Qt::Key_A},       {"C", Qt::Key_C},       {"X", Qt::Key_X},   {"V", Qt::Key_V},
        {"D", Qt::Key_D},       {"Del", Qt::Key_Delete}};
    for (QString key : keys.split(u' ', Qt::SkipEmptyParts)) {
        Qt::KeyboardModifiers modifiers;
        if (key.startsWith("S+")) {
            modifiers |= Qt::ShiftModifier;
            key = key.mid(2);
        }
        if (key.startsWith(u'^')) {
            modifiers |= Qt::ControlModifier;
            key = key.mid(1);
        }
        QTest::keyClick(widget, names.value(key), modifiers);
    }
}

class Editor
{
public:
    explicit Editor(const QStringList &steps)
    {
        window.show();
        document(window).replaceProject(projectOfSteps(steps));
        focusList();
    }
    // The keys go to the list of the active window.
    void focusList()
    {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        list()->setFocus();
    }
    QListWidget *list() const { return child<QListWidget>(&window, "dlg_list"); }

    ScriptedUi ui;
    MainWindow window{ui};
};

} // namespace

class TestStepEditing : public QObject
{
    Q_OBJECT

private slots:
    void init() { useDefaultSettings(); }
    void listSelectsWithKeys_data();
    void listSelectsWithKeys();
    void anEmptiedListSelectionShowsTheCurrentStep_data();
    void anEmptiedListSelectionShowsTheCurrentStep();
    void clipboardBetweenTwoEditors_data();
    void clipboardBetweenTwoEditors();
    void textBoxesKeepTheirKeys();
    void foreignClipboardIsIgnored();
    void pasteBeyondNinetyNineSaysWhatFits();
    void dragAndDrop_data();
    void dragAndDrop();
    void linksDrawnOnTheMap_data();
    void linksDrawnOnTheMap();
    void emptySpaceOfTheMapAddsAtTheEnd_data();
    void emptySpaceOfTheMapAddsAtTheEnd();
    void aChangeUnderTheDragEndsIt_data();
    void aChangeUnderTheDragEndsIt();
    void theMapChoosesTheStepClicked_data();
    void theMapChoosesTheStepClicked();
    void aMapClickWritesTheTypingAndChoosesTheStepSeen_data();
    void aMapClickWritesTheTypingAndChoosesTheStepSeen();

private:
    ProgramFolder mFolder;
};

const QStringList FiveSteps{"A K02", "B N", "C K04", "D N", "E K00"};

void TestStepEditing::listSelectsWithKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("afterDelete");
    QTest::newRow("shift down twice")
        << "Home S+Down S+Down" << QList<int>{1, 2, 3} << 3 << QStringList{"D N", "E K00"};
    QTest::newRow("shift up from the end")
        << "End S+Up" << QList<int>{4, 5} << 4 << QStringList{"A K02", "B N", "C K04"};
    // The project keeps one step: everything selected deletes nothing.
    QTest::newRow("all") << "^A" << QList<int>{1, 2, 3, 4, 5} << 1 << FiveSteps;
}

void TestStepEditing::listSelectsWithKeys()
{
    QFETCH(QString, keys);
    QFETCH(QList<int>, selected);
    QFETCH(int, current);
    QFETCH(QStringList, afterDelete);
    Editor editor(FiveSteps);
    const QByteArray start = document(editor.window).project().fileBytes();
    pressKeys(editor.list(), keys);
    QCOMPARE(document(editor.window).selectedDialogs(), selected);
    QCOMPARE(document(editor.window).currentDialog(), current);
    QCOMPARE(selectedRows(editor.list()), selected);
    // The panel shows the current step.
    QCOMPARE(child<QPlainTextEdit>(&editor.window, "msg_text")->toPlainText(),
             FiveSteps.at(current - 1).left(1));

    pressKeys(editor.list(), "Del");
    QCOMPARE(entries(editor.window).size(), afterDelete.size());
    QCOMPARE(trimmedRight(document(editor.window).record(1).text), afterDelete.first().left(1));
    if (afterDelete != FiveSteps) {
        QTest::keyClick(editor.list(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document(editor.window).project().fileBytes(), start);
        QCOMPARE(selectedRows(editor.list()), selected);
    }
}

void TestStepEditing::anEmptiedListSelectionShowsTheCurrentStep_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("ctrl+click on the one selected")
        << 2 << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("click below the last entry") << 5 << Qt::KeyboardModifiers();
}

// Delete acts on the current step when nothing else is selected: the list must not show it
// unselected, or a step the user did not choose goes.
void TestStepEditing::anEmptiedListSelectionShowsTheCurrentStep()
{
    QFETCH(int, row);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Editor editor(FiveSteps);
    QListWidget *steps = editor.list();
    QTest::mouseClick(steps->viewport(), Qt::LeftButton, {},
                      steps->visualItemRect(steps->item(2)).center());
    const QRect last = steps->visualItemRect(steps->item(4));
    const QPoint at = row < steps->count()
                          ? steps->visualItemRect(steps->item(row)).center()
                          : QPoint(last.center().x(), last.bottom() + last.height());
    QVERIFY(steps->viewport()->rect().contains(at));
    QTest::mouseClick(steps->viewport(), Qt::LeftButton, modifiers, at);
    QCOMPARE(document(editor.window).selectedDialogs(), QList<int>{3});
    QCOMPARE(selectedRows(steps), QList<int>{3});
}

void TestStepEditing::clipboardBetweenTwoEditors_data()
{
    QTest::addColumn<QString>("firstKeys");
    QTest::addColumn<QString>("secondKeys");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::newRow("copy two, paste after the first")
        << "Home S+Down ^C"
        << "Home ^V" << FiveSteps << QStringList{"X K03", "A K02", "B N", "Y N"};
    QTest::newRow("cut the last, paste at the end")
        << "End ^X"
        << "End ^V" << QStringList{"A K02", "B N", "C K04", "D N"}
        << QStringList{"X K01", "Y N", "E K00"};
    QTest::newRow("duplicate in the first, nothing in the second")
        << "Down S+Down ^D"
        << "" << QStringList{"A K02", "B N", "C K06", "B N", "C K06", "D N", "E K00"}
        << QStringList{"X K01", "Y N"};
}

void TestStepEditing::clipboardBetweenTwoEditors()
{
    QFETCH(QString, firstKeys);
    QFETCH(QString, secondKeys);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QGuiApplication::clipboard()->clear();
    Editor one(FiveSteps);
    Editor two({"X K01", "Y N"});
    one.focusList();
    pressKeys(one.list(), firstKeys);
    two.focusList();
    pressKeys(two.list(), secondKeys);
    QCOMPARE(document(one.window).project().fileBytes(), projectOfSteps(first).fileBytes());
    QCOMPARE(document(two.window).project().fileBytes(), projectOfSteps(second).fileBytes());
}

void TestStepEditing::textBoxesKeepTheirKeys()
{
    Editor editor(FiveSteps);
    QGuiApplication::clipboard()->clear();
    auto *caption = child<QLineEdit>(&editor.window, "msg_caption");
    caption->setFocus();
    QTest::keyClicks(caption, "abc");
    pressKeys(caption, "^A ^C");
    QCOMPARE(QGuiApplication::clipboard()->text(), "abc");
    QVERIFY(!StepClipboard::holdsSteps(QGuiApplication::clipboard()->mimeData()));
    pressKeys(caption, "^V ^D");
    QCOMPARE(caption->text(), "abc");
    QCOMPARE(document(editor.window).dialogCount(), 5);
}

void TestStepEditing::foreignClipboardIsIgnored()
{
    Editor editor(FiveSteps);
    QGuiApplication::clipboard()->setText("0\tA\tnot ours\n");
    auto *paste = editor.window.findChild<QAction *>("edit_paste");
    QVERIFY(paste && !paste->isEnabled());
    pressKeys(editor.list(), "^V");
    auto *bad = new QMimeData;
    bad->setData(StepClipboard::MimeType, "KQSTEPS1 broken");
    QGuiApplication::clipboard()->setMimeData(bad);
    pressKeys(editor.list(), "^V");
    QCOMPARE(document(editor.window).undoStack()->count(), 0);
    QCOMPARE(document(editor.window).dialogCount(), 5);
}

void TestStepEditing::pasteBeyondNinetyNineSaysWhatFits()
{
    Editor editor(FiveSteps);
    QStringList many;
    for (int k = 0; k < 98; ++k)
        many << QStringLiteral("F%1 N").arg(k);
    Editor full(many);
    editor.focusList();
    pressKeys(editor.list(), "Home S+Down ^C");
    full.focusList();
    const QByteArray before = document(full.window).project().fileBytes();
    pressKeys(full.list(), "^V");
    QCOMPARE(document(full.window).project().fileBytes(), before);
    const QString notice = child<QLabel>(&full.window, "sts")->text();
    QVERIFY2(notice.contains(u'2') && notice.contains(u'1'), qPrintable(notice));
}

void TestStepEditing::dragAndDrop_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("fromOther");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("lowerHalf");
    QTest::addColumn<bool>("control");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("selected");
    QTest::newRow("first two below the fourth")
        << "Home S+Down" << false << 3 << true << false
        << QStringList{"C K04", "D N", "A K00", "B N", "E K02"} << QList<int>{3, 4};
    QTest::newRow("last above the first")
        << "End" << false << 0 << false << false
        << QStringList{"E K01", "A K03", "B N", "C K00", "D N"} << QList<int>{1};
    QTest::newRow("ctrl copies") << "Home" << false << 1 << true << true
                                 << QStringList{"A K03", "B N", "A K03", "C K05", "D N", "E K00"}
                                 << QList<int>{3};
    QTest::newRow("from another editor copies")
        << "Home S+Down" << true << 4 << true << false
        << QStringList{"A K02", "B N", "C K04", "D N", "E K00", "X K06", "Y N"} << QList<int>{6, 7};
}

void TestStepEditing::dragAndDrop()
{
    QFETCH(QString, keys);
    QFETCH(bool, fromOther);
    QFETCH(int, row);
    QFETCH(bool, lowerHalf);
    QFETCH(bool, control);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, selected);
    Editor editor(FiveSteps);
    Editor other({"X K01", "Y N"});
    editor.focusList();
    const QByteArray start = document(editor.window).project().fileBytes();
    QListWidget *source = fromOther ? other.list() : editor.list();
    pressKeys(source, keys);
    // What the list hands a drag: its selected entries as steps.
    const std::unique_ptr<QMimeData> data(
        source->model()->mimeData(source->selectionModel()->selectedIndexes()));
    QVERIFY(StepClipboard::holdsSteps(data.get()));

    QVERIFY(dropOnList(editor.list(), data.get(), row, lowerHalf,
                       control ? Qt::ControlModifier : Qt::NoModifier));
    QCOMPARE(document(editor.window).project().fileBytes(), projectOfSteps(expected).fileBytes());
    QCOMPARE(selectedRows(editor.list()), selected);
    QCOMPARE(document(editor.window).undoStack()->count(), 1);
    QTest::keyClick(editor.list(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document(editor.window).project().fileBytes(), start);
}

namespace {

// Where on the map's viewport a drawn arrow is dropped: "step N", "exit", "start" or "empty";
// "handle" is where it started (a click, not a drag).
QPoint placeOnMap(FlowView *view, const QString &place, QPoint handle)
{
    if (place == "handle")
        return handle;
    if (place.startsWith("step "))
        return view->mapFromScene(
            view->stepItem(place.mid(5).toInt())->sceneBoundingRect().center());
    if (place == "empty") {
        const QPoint corner = view->viewport()->rect().bottomRight() - QPoint(4, 4);
        return view->items(corner).isEmpty() ? corner : QPoint(-1, -1);
    }
    const auto kind = place == "exit" ? FlowNode::Kind::Exit : FlowNode::Kind::Start;
    for (QGraphicsItem *item : view->scene()->items()) {
        if (item->type() == FlowNodeItem::Type &&
            static_cast<FlowNodeItem *>(item)->node().kind == kind)
            return view->mapFromScene(item->sceneBoundingRect().center());
    }
    return {-1, -1};
}

} // namespace

const QStringList MapSteps{"A K02", "B N", "C X"};

void TestStepEditing::linksDrawnOnTheMap_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("step"); // the current step
    QTest::addColumn<int>("from"); // the step whose handle is dragged, pointed at first
    QTest::addColumn<int>("handle");
    QTest::addColumn<QString>("dropOn");
    QTest::addColumn<QStringList>("expected");
    const QStringList start = MapSteps;
    QTest::newRow("button 1 to a step")
        << start << 0 << 0 << 0 << "step 1" << QStringList{"A K01", "B N", "C X"};
    QTest::newRow("button 2 to its own step")
        << start << 2 << 2 << 1 << "step 2" << QStringList{"A K02", "B N", "C X K02"};
    QTest::newRow("to the exit box")
        << start << 1 << 1 << 0 << "exit" << QStringList{"A K02", "B X", "C X"};
    QTest::newRow("to an exit box shown for the drag")
        << QStringList{"A K01", "B N", "C K00"} << 1 << 1 << 1 << "exit"
        << QStringList{"A K01", "B N X", "C K00"};
    QTest::newRow("to empty space: a new step")
        << start << 0 << 0 << 0 << "empty" << QStringList{"A K03", "B N", "C X", "new"};
    QTest::newRow("from the step under the pointer")
        << start << 0 << 1 << 0 << "step 2" << QStringList{"A K02", "B K02", "C X"};
    QTest::newRow("the start box leads nowhere") << start << 0 << 0 << 0 << "start" << start;
    QTest::newRow("a click is not a drag") << start << 0 << 0 << 0 << "handle" << start;
}

// The handle of a way out dragged with the mouse changes that script as the composer would, as one
// command, and leaves the step it came from current.
void TestStepEditing::linksDrawnOnTheMap()
{
    QFETCH(QStringList, steps);
    QFETCH(int, step);
    QFETCH(int, from);
    QFETCH(int, handle);
    QFETCH(QString, dropOn);
    QFETCH(QStringList, expected);
    Editor editor(steps);
    editor.window.resize(1280, 1000);
    auto *view = child<FlowView>(&editor.window, "flow_view");
    const QByteArray start = document(editor.window).project().fileBytes();
    selectEntry(editor.window, step);
    QTest::mouseMove(view->viewport(), placeOnMap(view, QStringLiteral("step %1").arg(from), {}));
    QList<QPoint> handles;
    for (const FlowHandleItem *shown : view->handleItems()) {
        if (shown->step() == from)
            handles << view->mapFromScene(shown->scenePos());
    }
    QCOMPARE(handles.size(), 2);
    const QPoint pressed = handles.at(handle);

    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, pressed);
    // Where to drop is found once the drag is under way: the map may show more for it.
    if (dropOn != "handle")
        QTest::mouseMove(view->viewport(), pressed + QPoint(-6, 24));
    const QPoint to = placeOnMap(view, dropOn, pressed);
    QVERIFY2(view->viewport()->rect().contains(to), qPrintable(dropOn));
    if (to != pressed)
        QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);

    DialogProject wanted = projectOfSteps(expected.mid(0, 3));
    if (expected.size() > 3) {
        wanted.record(4) = ProjectDocument::newDialogRecord();
        wanted.setDialogCount(4);
    }
    QCOMPARE(document(editor.window).project().fileBytes(), wanted.fileBytes());
    QCOMPARE(document(editor.window).currentDialog(), (expected == steps ? step : from) + 1);
    QCOMPARE(document(editor.window).undoStack()->count(), expected == steps ? 0 : 1);
    // The box shown for the drag goes with it.
    QCOMPARE(placeOnMap(view, "exit", {}) == QPoint(-1, -1), !expected.join(u' ').contains(u'X'));
    document(editor.window).undo();
    QCOMPARE(document(editor.window).project().fileBytes(), start);
}

void TestStepEditing::emptySpaceOfTheMapAddsAtTheEnd_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("new step") << "flow_insert_end" << QStringList{"A K02", "B N", "C X", "new"};
    QTest::newRow("paste") << "flow_paste_end" << QStringList{"A K02", "B N", "C X", "A K02"};
}

// A right click on the map where there is no step offers what goes at the end of the list.
void TestStepEditing::emptySpaceOfTheMapAddsAtTheEnd()
{
    QFETCH(QString, entry);
    QFETCH(QStringList, expected);
    Editor editor({"A K02", "B N", "C X"});
    editor.window.resize(1280, 1000);
    pressKeys(editor.list(), "Home ^C");
    auto *view = child<FlowView>(&editor.window, "flow_view");
    const QPoint empty = placeOnMap(view, "empty", {});
    QVERIFY(view->viewport()->rect().contains(empty));

    QString offered;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        offered = menu->objectName();
        for (QAction *action : menu->actions()) {
            if (action->objectName() == entry && action->isEnabled())
                action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, empty, view->viewport()->mapToGlobal(empty));
    QApplication::sendEvent(view->viewport(), &click);

    QCOMPARE(offered, QString("flow_end_menu"));
    DialogProject wanted = projectOfSteps(expected.mid(0, 3));
    wanted.record(4) =
        expected.at(3) == "new" ? ProjectDocument::newDialogRecord() : wanted.record(1);
    wanted.setDialogCount(4);
    QCOMPARE(document(editor.window).project().fileBytes(), wanted.fileBytes());
    QCOMPARE(document(editor.window).currentDialog(), 4);
}

void TestStepEditing::aChangeUnderTheDragEndsIt_data()
{
    QTest::addColumn<QString>("change");
    // Step 1 is dragged from; the change makes step 1 another step, which must stay as it is.
    QTest::newRow("undo of a step inserted before") << "undo";
    QTest::newRow("the step before deleted by key") << "delete";
}

void TestStepEditing::aChangeUnderTheDragEndsIt()
{
    QFETCH(QString, change);
    Editor editor({"A K02", "B N", "C X"});
    editor.window.resize(1280, 1000);
    ProjectDocument &doc = document(editor.window);
    if (change == "undo")
        doc.insertDialog(0);
    doc.setCurrentDialog(change == "undo" ? 2 : 1);
    auto *view = child<FlowView>(&editor.window, "flow_view");
    view->setFocus();
    const int from = change == "undo" ? 2 : 1;
    QTest::mouseMove(view->viewport(), placeOnMap(view, QStringLiteral("step %1").arg(from), {}));
    QPoint pressed(-1, -1);
    for (const FlowHandleItem *shown : view->handleItems()) {
        if (shown->step() == from)
            pressed = view->mapFromScene(shown->scenePos());
    }
    QVERIFY(view->viewport()->rect().contains(pressed));
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, pressed);
    QTest::mouseMove(view->viewport(), pressed + QPoint(-6, 24));

    if (change == "undo")
        QTest::keyClick(&editor.window, Qt::Key_Z, Qt::ControlModifier);
    else
        QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(doc.dialogCount(), change == "undo" ? 3 : 2);
    const QByteArray changed = doc.project().fileBytes();
    const QPoint to = placeOnMap(view, "step 0", {});
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(doc.project().fileBytes(), changed);
}

void TestStepEditing::theMapChoosesTheStepClicked_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("a click, then Delete") << false;
    QTest::newRow("the box's menu, Delete") << true;
}

// Ctrl and clicks in the list leave step 1 current outside a selection of steps 0 and 2; the map
// then acts on its box alone.
void TestStepEditing::theMapChoosesTheStepClicked()
{
    QFETCH(bool, byMenu);
    Editor editor(FiveSteps);
    editor.window.resize(1280, 1000);
    QListWidget *list = editor.list();
    const auto entry = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, entry(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, entry(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, entry(1));
    ProjectDocument &doc = document(editor.window);
    QCOMPARE(doc.selectedDialogs(), (QList<int>{1, 3}));
    QCOMPARE(doc.currentDialog(), 2);

    auto *view = child<FlowView>(&editor.window, "flow_view");
    const QPoint box = placeOnMap(view, "step 1", {});
    if (byMenu) {
        QTimer::singleShot(0, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *action : menu->actions()) {
                if (action->objectName() == "edit_delete")
                    action->trigger();
            }
            menu->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, box, view->viewport()->mapToGlobal(box));
        QApplication::sendEvent(view->viewport(), &click);
    } else {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Delete);
    }
    QCOMPARE(doc.project().fileBytes(),
             projectOfSteps({"A K01", "C K03", "D N", "E K00"}).fileBytes());
}

void TestStepEditing::aMapClickWritesTheTypingAndChoosesTheStepSeen_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byMenu");
    // A script written when its box is left leads elsewhere: the map is laid out anew.
    QTest::newRow("script") << "msg_btnscr0" << false;
    QTest::newRow("script, context menu") << "msg_btnscr0" << true;
    QTest::newRow("caption") << "msg_caption" << false;
}

void TestStepEditing::aMapClickWritesTheTypingAndChoosesTheStepSeen()
{
    QFETCH(QString, box);
    QFETCH(bool, byMenu);
    Editor editor(FiveSteps);
    editor.window.resize(1280, 1000);
    auto *field = child<QLineEdit>(&editor.window, box);
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    EditorTest::typeText(field, ButtonScript::Exit);
    auto *view = child<FlowView>(&editor.window, "flow_view");
    const QPoint at = placeOnMap(view, "step 3", {});
    if (byMenu) {
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, at);
        QString menuName;
        QTimer::singleShot(0, [&menuName] {
            QWidget *menu = QApplication::activePopupWidget();
            QVERIFY(menu);
            menuName = menu->objectName();
            menu->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &click);
        QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, at);
        QCOMPARE(menuName, "flow_menu");
    } else {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(view->hasFocus());
    }
    ProjectDocument &doc = document(editor.window);
    QCOMPARE(doc.currentDialog(), 4);
    QCOMPARE(doc.selectedDialogs(), QList<int>{4});
    DialogRecord typed = projectOfSteps(FiveSteps).record(1);
    ProjectDocument::fieldOf(typed, box == "msg_caption" ? ProjectDocument::Field::Caption
                                                         : ProjectDocument::Field::Script1) =
        ButtonScript::Exit;
    QCOMPARE(doc.record(1).toBytes(), typed.toBytes());
    QCOMPARE(doc.undoStack()->count(), 1);
}

QTEST_MAIN(TestStepEditing)
#include "tst_stepediting.moc"
