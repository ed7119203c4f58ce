// Many steps at once in the real window: the list's extended selection by keys, copy and paste by
// key between two editors, the keys left to the text boxes, foreign clipboard contents, the
// 99-step notice, and drag and drop on the list.

#include "buttonscript.h"
#include "stepclipboard.h"
#include "tst_mainwindowfixture.h"

#include <QClipboard>
#include <QMimeData>
#include <QUndoStack>

#include <memory>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// Steps "text script1" with script 2 "go next"; "K02" is "Идти К 02", N next.
DialogProject projectOfSteps(const QStringList &steps)
{
    DialogProject project;
    fillProject(project, int(steps.size()));
    for (int i = 0; i < steps.size(); ++i) {
        const QStringList parts = steps.at(i).split(u' ');
        project.record(i + 1).text = parts.at(0);
        project.record(i + 1).btnscr1 = parts.at(1) == "N"
                                            ? ButtonScript::GoNext
                                            : ButtonScript::GoToPrefix + parts.at(1).mid(1);
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
    void clipboardBetweenTwoEditors_data();
    void clipboardBetweenTwoEditors();
    void textBoxesKeepTheirKeys();
    void foreignClipboardIsIgnored();
    void pasteBeyondNinetyNineSaysWhatFits();
    void dragAndDrop_data();
    void dragAndDrop();

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

QTEST_MAIN(TestStepEditing)
#include "tst_stepediting.moc"
