// Steps copied, cut and duplicated and pasted into the same or a second document, through the
// clipboard's own format: go-to targets among the copies lead to the copies, others to the same
// step of the same project or to the same number in another, the 99-step limit, and contents
// that are not ours.

#include "projectdocument.h"
#include "scriptshorthand.h"
#include "stepclipboard.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <memory>

using namespace kq;
using namespace kq::ScriptShorthand;

namespace {

// What one copy goes through: the clipboard's bytes and back.
CopiedSteps throughClipboard(const CopiedSteps &steps)
{
    const std::unique_ptr<QMimeData> data(StepClipboard::toMimeData(steps));
    const auto read = StepClipboard::fromMimeData(data.get());
    return read ? *read : CopiedSteps{};
}

// The list change done between the copy and the paste.
void change(ProjectDocument &document, const QString &between, const QList<int> &copied)
{
    if (between == "cut")
        document.deleteDialogs(copied, TextId::UndoCut);
    else if (between == "move 2 up")
        document.moveDialog(2, -1);
}

} // namespace

class TestStepClipboard : public QObject
{
    Q_OBJECT

private slots:
    void pasteLeadsTargets_data();
    void pasteLeadsTargets();
    void duplicateFollowsItsSteps();
    void manyAtOnceAreOneCommand_data();
    void manyAtOnceAreOneCommand();
    void foreignContentsAreIgnored_data();
    void foreignContentsAreIgnored();
    void plainTextHasOneLineAStep();
};

void TestStepClipboard::pasteLeadsTargets_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QList<int>>("copied");
    QTest::addColumn<QString>("between");
    // Empty: pasted into the source document; else the second document's steps.
    QTest::addColumn<QStringList>("target");
    QTest::addColumn<int>("after");
    // Empty: the paste does not fit, and nothing changes.
    QTest::addColumn<QStringList>("expected");

    const QStringList abcd{"A K01 K02", "B K00 K03", "C N N", "D K01 X"};
    QTest::newRow("same project, at the end")
        << abcd << QList<int>{1, 2} << "" << QStringList{} << 4
        << QStringList{"A K01 K02", "B K00 K03", "C N N", "D K01 X", "A K05 K02", "B K04 K03"};
    QTest::newRow("same project, in the middle: outside targets follow the insertion")
        << abcd << QList<int>{1, 2} << "" << QStringList{} << 1
        << QStringList{"A K03 K04", "A K02 K04", "B K01 K05", "B K00 K05", "C N N", "D K03 X"};
    QTest::newRow("another project: outside targets keep their number")
        << abcd << QList<int>{1, 2} << "" << QStringList{"X K01 N", "Y N N"} << 1
        << QStringList{"X K03 N", "A K02 K02", "B K01 K03", "Y N N"};
    QTest::newRow("scattered steps into another project at the start")
        << abcd << QList<int>{2, 4} << "" << QStringList{"X K00 N"} << 0
        << QStringList{"B K00 K01", "D K00 X", "X K02 N"};
    QTest::newRow("cut and pasted further down: targets follow both")
        << abcd << QList<int>{2} << "cut" << QStringList{} << 3
        << QStringList{"A K01 K01", "C N N", "D K01 X", "B K00 K02"};
    QTest::newRow("the list changed between copy and paste")
        << QStringList{"A K01 N", "B K00 N", "C N N"} << QList<int>{1} << "move 2 up"
        << QStringList{} << 3 << QStringList{"B K01 N", "A K00 N", "C N N", "A K00 N"};
    QTest::newRow("targets past the last step keep their number")
        << QStringList{"A K07 K01", "B N N"} << QList<int>{1} << "" << QStringList{} << 2
        << QStringList{"A K07 K01", "B N N", "A K07 K01"};
    QTest::newRow("99 steps at most: nothing pasted")
        << abcd << QList<int>{1, 2, 3} << "" << QStringList{"*97"} << 5 << QStringList{};
    QTest::newRow("99 steps exactly") << abcd << QList<int>{1, 2} << "" << QStringList{"*97"} << 97
                                      << QStringList{"*97", "A K98 K02", "B K97 K03"};
}

void TestStepClipboard::pasteLeadsTargets()
{
    QFETCH(QStringList, source);
    QFETCH(QList<int>, copied);
    QFETCH(QString, between);
    QFETCH(QStringList, target);
    QFETCH(int, after);
    QFETCH(QStringList, expected);
    ProjectDocument first;
    first.replaceProject(projectOfSteps(source));
    ProjectDocument second;
    second.replaceProject(projectOfSteps(target.isEmpty() ? QStringList{"Z N N"} : target));
    ProjectDocument &pasteInto = target.isEmpty() ? first : second;

    const CopiedSteps steps = throughClipboard(first.copySteps(copied));
    QCOMPARE(steps.records.size(), copied.size());
    change(first, between, copied);
    const QByteArray before = pasteInto.project().fileBytes();
    const int commands = pasteInto.undoStack()->count();

    QCOMPARE(pasteInto.pasteSteps(steps, after), !expected.isEmpty());
    if (expected.isEmpty()) {
        QCOMPARE(pasteInto.project().fileBytes(), before);
        QCOMPARE(pasteInto.undoStack()->count(), commands);
        QCOMPARE(pasteInto.stepsRoom(), DialogProject::MaxDialogs - pasteInto.dialogCount());
        return;
    }
    const DialogProject wanted = projectOfSteps(expected);
    QCOMPARE(pasteInto.project().fileBytes(), wanted.fileBytes());
    // What was pasted is selected, the first of it current.
    QList<int> pasted;
    for (int k = 0; k < copied.size(); ++k)
        pasted << after + 1 + k;
    QCOMPARE(pasteInto.selectedDialogs(), pasted);
    QCOMPARE(pasteInto.currentDialog(), after + 1);
    // One command, undone to the exact bytes and redone.
    QCOMPARE(pasteInto.undoStack()->count(), commands + 1);
    pasteInto.undoStack()->undo();
    QCOMPARE(pasteInto.project().fileBytes(), before);
    pasteInto.undoStack()->redo();
    QCOMPARE(pasteInto.project().fileBytes(), wanted.fileBytes());
}

void TestStepClipboard::duplicateFollowsItsSteps()
{
    ProjectDocument document;
    const DialogProject start = projectOfSteps({"A K01 K02", "B K00 K03", "C N N", "D K01 X"});
    document.replaceProject(start);
    QVERIFY(document.duplicateDialogs({1, 2}));
    QCOMPARE(document.project().fileBytes(), projectOfSteps({"A K01 K04", "B K00 K05", "A K03 K04",
                                                             "B K02 K05", "C N N", "D K01 X"})
                                                 .fileBytes());
    QCOMPARE(document.selectedDialogs(), (QList<int>{3, 4}));
    document.undoStack()->undo();
    QCOMPARE(document.project().fileBytes(), start.fileBytes());
}

void TestStepClipboard::manyAtOnceAreOneCommand_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("selectedAfter");

    // Steps named by their first numbers, so that each is told apart: A leads to C, C to E.
    const QStringList start{"A K02 N", "B N N", "C K04 N", "D N N", "E K00 X"};
    QTest::newRow("a block moves up as a block")
        << "up" << QList<int>{3, 4}
        << QStringList{"A K01 N", "C K04 N", "D N N", "B N N", "E K00 X"} << QList<int>{2, 3};
    QTest::newRow("scattered steps each move down by one")
        << "down" << QList<int>{1, 3}
        << QStringList{"B N N", "A K03 N", "D N N", "C K04 N", "E K01 X"} << QList<int>{2, 4};
    QTest::newRow("a step at the top stays, and the one it would pass")
        << "up" << QList<int>{1, 2, 4}
        << QStringList{"A K03 N", "B N N", "D N N", "C K04 N", "E K00 X"} << QList<int>{1, 2, 3};
    QTest::newRow("dragged to the end")
        << "to6" << QList<int>{1, 3}
        << QStringList{"B N N", "D N N", "E K03 X", "A K04 N", "C K02 N"} << QList<int>{4, 5};
    QTest::newRow("scattered steps deleted: targets as if one by one")
        << "delete" << QList<int>{2, 4} << QStringList{"A K01 N", "C K02 N", "E K00 X"}
        << QList<int>{2};
}

void TestStepClipboard::manyAtOnceAreOneCommand()
{
    QFETCH(QString, operation);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, selectedAfter);
    ProjectDocument document;
    const DialogProject start = projectOfSteps({"A K02 N", "B N N", "C K04 N", "D N N", "E K00 X"});
    document.replaceProject(start);
    document.setSelection(selected, selected.first());
    QSignalSpy contents(&document, &ProjectDocument::contentsChanged);

    if (operation == "delete")
        document.deleteDialogs(selected);
    else if (operation.startsWith("to"))
        document.moveDialogsTo(selected, operation.mid(2).toInt());
    else
        document.moveDialogs(selected, operation == "up" ? -1 : 1);

    QCOMPARE(document.project().fileBytes(), projectOfSteps(expected).fileBytes());
    QCOMPARE(document.selectedDialogs(), selectedAfter);
    QCOMPARE(contents.size(), 1);
    QCOMPARE(document.undoStack()->count(), 1);
    document.undoStack()->undo();
    QCOMPARE(document.project().fileBytes(), start.fileBytes());
    QCOMPARE(document.selectedDialogs(), selected);
}

void TestStepClipboard::foreignContentsAreIgnored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ours");
    CopiedSteps steps{"mark", {0, 2}, {DialogRecord::cleared(), DialogRecord::cleared()}};
    const QByteArray good = StepClipboard::encode(steps);
    QTest::newRow("ours") << good << true;
    QTest::newRow("nothing") << QByteArray() << false;
    QTest::newRow("cut short") << good.left(good.size() - 1) << false;
    QTest::newRow("one byte more") << good + 'x' << false;
    QTest::newRow("another magic") << "KQSTEPS2" + good.mid(8) << false;
    QTest::newRow("plain text") << QByteArray("0\tA\tB\n") << false;
    CopiedSteps unordered = steps;
    unordered.numbers = {2, 0};
    QTest::newRow("numbers out of order") << StepClipboard::encode(unordered) << false;
    CopiedSteps none = steps;
    none.records.clear();
    QTest::newRow("no steps") << StepClipboard::encode(none) << false;
}

void TestStepClipboard::foreignContentsAreIgnored()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ours);
    QMimeData data;
    data.setData(StepClipboard::MimeType, bytes);
    QCOMPARE(StepClipboard::fromMimeData(&data).has_value(), ours);
    QMimeData text;
    text.setText(QString::fromLatin1(bytes));
    QVERIFY(!StepClipboard::fromMimeData(&text));
}

void TestStepClipboard::plainTextHasOneLineAStep()
{
    DialogProject project = projectOfSteps({"A N N", "B N N"});
    project.record(2).caption = "Title";
    project.record(2).text = "two\r\nlines";
    ProjectDocument document;
    document.replaceProject(project);
    const std::unique_ptr<QMimeData> data(StepClipboard::toMimeData(document.copySteps({1, 2})));
    QCOMPARE(data->text(), "0\t\tA\n1\tTitle\ttwo lines\n");
}

QTEST_MAIN(TestStepClipboard)
#include "tst_stepclipboard.moc"
