// The dialog list with its buttons, on the editing views of a document of their own: entries,
// insert, delete, move, the buttons' states and the selection that loads a dialog.

#include "tst_mainwindowfixture.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace kq;
using namespace kq::MainWindowTest;

class TestDialogListView : public QObject
{
    Q_OBJECT

private slots:
    void init() { useDefaultSettings(); }

    void newProjectShowsOneDialog_data();
    void newProjectShowsOneDialog();
    void entryShowsNumberAndStartOfText_data();
    void entryShowsNumberAndStartOfText();
    void newDialogGoesAfterCurrent_data();
    void newDialogGoesAfterCurrent();
    void newDialogStopsAtNinetyNine();
    void deleteSelectsNeighbour_data();
    void deleteSelectsNeighbour();
    void moveDownThenUpRestoresOrder();
    void listOperationsShowWhatARefillShows_data();
    void listOperationsShowWhatARefillShows();
    void listButtonsFollowSelection_data();
    void listButtonsFollowSelection();
    void selectionLoadsDialog();
    void fewerDialogsSelectFirst();

private:
    ProgramFolder mFolder;
};

void TestDialogListView::newProjectShowsOneDialog_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("entry");
    QTest::newRow("russian") << "russian.lang"
                             << "0. Текст сообщения";
    QTest::newRow("english") << "english.lang"
                             << "0. Message text";
}

void TestDialogListView::newProjectShowsOneDialog()
{
    QFETCH(QString, language);
    QFETCH(QString, entry);
    useSettings(language, "Themes/standart.tvth");
    Views window;

    QCOMPARE(entries(window), QStringList{entry});
    QCOMPARE(document(window).currentDialog(), 1);
    QCOMPARE(document(window).project().dialogCount(), 1);
    QCOMPARE(trimmedRight(document(window).project().record(0).text), "0");
    QVERIFY(child<QPushButton>(&window, "list_new")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "list_delete")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "list_up")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "list_down")->isEnabled());
    QVERIFY(!document(window).isModified());
}

void TestDialogListView::entryShowsNumberAndStartOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entry");
    QTest::newRow("word and spaces") << "Слово     "
                                     << "1. Слово";
    QTest::newRow("thirty characters") << "abcdefghijklmnopqrstuvwxyz0123"
                                       << "1. abcdefghijklmnopqrst";
    QTest::newRow("space at the cut") << "abcdefghijklmnopqrs tuvwxyz"
                                      << "1. abcdefghijklmnopqrs";
    QTest::newRow("line break") << "ab\r\ncd"
                                << "1. ab  cd";
    QTest::newRow("empty") << ""
                           << "1. ";
}

void TestDialogListView::entryShowsNumberAndStartOfText()
{
    QFETCH(QString, text);
    QFETCH(QString, entry);
    Views window;
    setUpProject(window, [&](DialogProject &project) {
        fillProject(project, 2);
        project.record(2).text = text;
    });
    QCOMPARE(entries(window).value(1), entry);
}

void TestDialogListView::newDialogGoesAfterCurrent_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");
    const QString added = "Текст сообщения";
    QTest::newRow("first") << 0 << QStringList{"0. D0", "1. " + added, "2. D1", "3. D2"};
    QTest::newRow("second") << 1 << QStringList{"0. D0", "1. D1", "2. " + added, "3. D2"};
    QTest::newRow("last") << 2 << QStringList{"0. D0", "1. D1", "2. D2", "3. " + added};
}

void TestDialogListView::newDialogGoesAfterCurrent()
{
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    Views window;
    fillProject(window, 3);
    selectEntry(window, selected);

    child<QPushButton>(&window, "list_new")->click();

    QCOMPARE(entries(window), expected);
    QCOMPARE(document(window).currentDialog(), selected + 2);
    QCOMPARE(document(window).project().dialogCount(), 4);
    const DialogRecord &record = document(window).project().record(selected + 2);
    QCOMPARE(record.type, DialogRecord::Message);
    QCOMPARE(record.btnscr1, QString("Идти Далее"));
    QCOMPARE(record.btnscr2, QString("Идти Далее"));
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "Текст сообщения");
    // A new step is an edit of the project: closing now asks about it.
    QVERIFY(document(window).isModified());
}

void TestDialogListView::newDialogStopsAtNinetyNine()
{
    Views window;
    fillProject(window, 98);
    auto *listNew = child<QPushButton>(&window, "list_new");
    QVERIFY(listNew->isEnabled());

    listNew->click();
    QCOMPARE(document(window).project().dialogCount(), 99);
    QVERIFY(!listNew->isEnabled());

    listView(window).insertDialog();
    QCOMPARE(document(window).project().dialogCount(), 99);
    QCOMPARE(entries(window).size(), 99);
}

void TestDialogListView::deleteSelectsNeighbour_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("current");
    QTest::newRow("middle of three") << 3 << 1 << QStringList{"0. D0", "1. D2"} << 2;
    QTest::newRow("first of three") << 3 << 0 << QStringList{"0. D1", "1. D2"} << 1;
    QTest::newRow("last of three") << 3 << 2 << QStringList{"0. D0", "1. D1"} << 2;
    QTest::newRow("last of two") << 2 << 1 << QStringList{"0. D0"} << 1;
}

void TestDialogListView::deleteSelectsNeighbour()
{
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    QFETCH(int, current);
    Views window;
    fillProject(window, count);
    selectEntry(window, selected);

    child<QPushButton>(&window, "list_delete")->click();

    QCOMPARE(entries(window), expected);
    QCOMPARE(document(window).currentDialog(), current);
    QCOMPARE(child<QListWidget>(&window, "dlg_list")->currentRow(), current - 1);
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(),
             expected.at(current - 1).mid(3));
    QCOMPARE(child<QPushButton>(&window, "list_delete")->isEnabled(), count - 1 > 1);
    QVERIFY(window.ui.messages.isEmpty());
}

void TestDialogListView::moveDownThenUpRestoresOrder()
{
    Views window;
    fillProject(window, 3);
    selectEntry(window, 0);

    child<QPushButton>(&window, "list_down")->click();
    QCOMPARE(entries(window), (QStringList{"0. D1", "1. D0", "2. D2"}));
    QCOMPARE(document(window).currentDialog(), 2);
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "D0");

    child<QPushButton>(&window, "list_up")->click();
    QCOMPARE(entries(window), (QStringList{"0. D0", "1. D1", "2. D2"}));
    QCOMPARE(document(window).currentDialog(), 1);
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "D0");
    QVERIFY(!child<QPushButton>(&window, "list_up")->isEnabled());
}

// Each entry as the list shows it: its text, "!" for an error mark and "*" for the selection.
static QStringList shownEntries(const QWidget &window)
{
    const auto *list = child<QListWidget>(&window, "dlg_list");
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem *item = list->item(row);
        shown << item->text() + (item->icon().isNull() ? "" : " !") +
                     (row == list->currentRow() ? " *" : "");
    }
    return shown;
}

void TestDialogListView::listOperationsShowWhatARefillShows_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::newRow("delete in the middle") << QStringList{"delete 3"};
    QTest::newRow("delete the first") << QStringList{"delete 1"};
    QTest::newRow("delete the last") << QStringList{"delete 6"};
    QTest::newRow("insert after the first") << QStringList{"insert 1"};
    QTest::newRow("insert after the last") << QStringList{"insert 6"};
    QTest::newRow("move down and up") << QStringList{"down 2", "up 5"};
    QTest::newRow("delete undone") << QStringList{"delete 2", "undo"};
    QTest::newRow("several undone and redone")
        << QStringList{"insert 3", "down 4", "delete 2", "undo", "undo", "redo"};
}

// The list changes only the entries an operation touches; what it shows afterwards is what
// filling it again from the document shows.
void TestDialogListView::listOperationsShowWhatARefillShows()
{
    QFETCH(QStringList, operations);
    Views window;
    fillProject(window, 6);
    listView(window).markErrors({1, 4});
    ProjectDocument &edited = document(window);
    for (const QString &operation : operations) {
        const QString verb = operation.section(' ', 0, 0);
        const int dialog = operation.section(' ', 1).toInt();
        if (verb == "insert")
            edited.insertDialog(dialog);
        else if (verb == "delete")
            edited.deleteDialog(dialog);
        else if (verb == "up" || verb == "down")
            edited.moveDialog(dialog, verb == "up" ? -1 : 1);
        else if (verb == "undo")
            edited.undo();
        else
            edited.redo();
    }
    const QStringList shown = shownEntries(window);
    QCOMPARE(shown.size(), edited.dialogCount());
    listView(window).refresh();
    QCOMPARE(shown, shownEntries(window));
}

void TestDialogListView::listButtonsFollowSelection_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("remove");
    QTest::newRow("first") << 3 << 0 << false << true << true;
    QTest::newRow("middle") << 3 << 1 << true << true << true;
    QTest::newRow("last") << 3 << 2 << true << false << true;
    QTest::newRow("only") << 1 << 0 << false << false << false;
}

void TestDialogListView::listButtonsFollowSelection()
{
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(bool, up);
    QFETCH(bool, down);
    QFETCH(bool, remove);
    Views window;
    fillProject(window, count);
    // A click in the list runs the same handler as program code selecting the entry.
    child<QListWidget>(&window, "dlg_list")->setCurrentRow(selected);

    QCOMPARE(document(window).currentDialog(), selected + 1);
    QCOMPARE(child<QPushButton>(&window, "list_up")->isEnabled(), up);
    QCOMPARE(child<QPushButton>(&window, "list_down")->isEnabled(), down);
    QCOMPARE(child<QPushButton>(&window, "list_delete")->isEnabled(), remove);
}

void TestDialogListView::selectionLoadsDialog()
{
    Views window;
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 2);
        DialogRecord &record = project.record(2);
        record.text = "Строка 1\r\nСтрока 2" + QString(20, ' ');
        record.caption = "Заголовок   ";
        record.btn1 = "Да";
        record.btn2 = "Нет";
        record.btnscr2 = "Выход";
        record.time = 0;
    });
    selectEntry(window, 1);

    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "Строка 1\nСтрока 2");
    QCOMPARE(child<QLineEdit>(&window, "msg_caption")->text(), "Заголовок");
    QCOMPARE(child<QLineEdit>(&window, "msg_btn0")->text(), "Да");
    QCOMPARE(child<QLineEdit>(&window, "msg_btn1")->text(), "Нет");
    QCOMPARE(child<QLineEdit>(&window, "msg_btnscr0")->text(), "Идти Далее");
    QCOMPARE(child<QLineEdit>(&window, "msg_btnscr1")->text(), "Выход");
    QVERIFY(!document(window).isModified());
}

void TestDialogListView::fewerDialogsSelectFirst()
{
    Views window;
    fillProject(window, 5);
    selectEntry(window, 4);

    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 2);
        project.record(1).text = "Первый";
    });

    QCOMPARE(document(window).currentDialog(), 1);
    QCOMPARE(child<QListWidget>(&window, "dlg_list")->currentRow(), 0);
    QCOMPARE(child<QPlainTextEdit>(&window, "msg_text")->toPlainText(), "Первый");
}

QTEST_MAIN(TestDialogListView)
#include "tst_dialoglistview.moc"
