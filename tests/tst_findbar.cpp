// The find bar through the real window: Ctrl+F, typing, F3 and Shift+F3, a click on a match,
// Ctrl+H and Replace all, and Ctrl+Z giving back the project byte for byte.

#include "buttonscript.h"
#include "codepage.h"
#include "findbar.h"
#include "flowpane.h"
#include "flowview.h"
#include "projectdocument.h"
#include "tst_mainwindowfixture.h"

#include <QCheckBox>
#include <QMenu>
#include <QUndoStack>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// By its key, or by the Edit menu's entry, which shows that key.
void openBar(QWidget &window, bool byMenu, const QString &action, QKeyCombination key)
{
    if (!byMenu) {
        QTest::keyClick(&window, key.key(), key.keyboardModifiers());
        return;
    }
    for (QAction *entry : child<QMenu>(&window, "list_edit_menu")->actions()) {
        if (entry->objectName() == action) {
            QVERIFY(!entry->text().isEmpty());
            QCOMPARE(entry->shortcut(), QKeySequence(key));
            entry->trigger();
            return;
        }
    }
    QFAIL(qPrintable(action + " is not in the Edit menu"));
}

} // namespace

class TestFindBar : public QObject
{
    Q_OBJECT

private slots:
    void init() { useDefaultSettings(); }
    void findStepAndReplaceAll_data();
    void findStepAndReplaceAll();
    void replaceGoesOnPastTheNewText_data();
    void replaceGoesOnPastTheNewText();
    void aMatchChosenSelectsItsStepAlone();
    void aKeyToAMatchKeepsTheScriptBeingTyped_data();
    void aKeyToAMatchKeepsTheScriptBeingTyped();
    void aNewProjectReplacesNothingUnseen();

private:
    QScopedPointer<ProgramFolder> mFolder{new ProgramFolder};
};

void TestFindBar::findStepAndReplaceAll_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QString>("with");
    // The steps (from 0) with a match, the match count, and the count Replace all reports.
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("caption1After");
    // The bar opened from the Edit menu rather than by key.
    QTest::addColumn<bool>("byMenu");

    QTest::newRow("cyrillic, any case")
        << "кот" << false << "пёс" << QList<int>{0, 2} << 3 << "пёс и пёсик" << false;
    QTest::newRow("cyrillic, whole words")
        << "КОТ" << true << "пёс" << QList<int>{0, 2} << 2 << "пёс и котик" << true;
    QTest::newRow("outside the code page")
        << "кот" << true << "кот™Ω" << QList<int>{0, 2} << 2 << "кот™? и котик" << false;
}

void TestFindBar::findStepAndReplaceAll()
{
    QFETCH(QString, find);
    QFETCH(bool, wholeWords);
    QFETCH(QString, with);
    QFETCH(QList<int>, steps);
    QFETCH(int, found);
    QFETCH(QString, caption1After);
    QFETCH(bool, byMenu);

    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 3);
        project.record(1).caption = QStringLiteral("Кот и котик");
        project.record(2).caption = QStringLiteral("Собака");
        project.record(3).text = QStringLiteral("Строка\r\nгде кот спит");
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QByteArray before = document(window).project().fileBytes();
    auto *bar = child<FindBar>(&window, "find_bar");
    QVERIFY(!bar->isVisible());

    openBar(window, byMenu, "key_find", Qt::CTRL | Qt::Key_F);
    QVERIFY(bar->isVisible());
    auto *text = child<QLineEdit>(&window, "find_text");
    QTRY_VERIFY(text->hasFocus());
    QVERIFY(!child<QLineEdit>(&window, "replace_text")->isVisible());
    child<QCheckBox>(&window, "find_words")->setChecked(wholeWords);
    EditorTest::typeText(text, find);
    QCOMPARE(bar->matches().size(), found);
    QCOMPARE(child<QListWidget>(&window, "find_matches")->count(), found);
    auto *flow = window.findChild<FlowPane *>()->flowView();
    QCOMPARE(flow->foundSteps(), steps);

    // Enter and F3 go forward, Shift+F3 back; each selects the step and the text in its box.
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(bar->currentMatch(), 0);
    QCOMPARE(document(window).currentDialog(), 1);
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    QCOMPARE(caption->selectedText().compare(find, Qt::CaseInsensitive), 0);
    QTest::keyClick(&window, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(bar->currentMatch(), found - 1);
    QCOMPARE(document(window).currentDialog(), 3);
    auto *messageText = child<QPlainTextEdit>(&window, "msg_text");
    QTRY_VERIFY(messageText->hasFocus());
    QCOMPARE(messageText->textCursor().selectedText().compare(find, Qt::CaseInsensitive), 0);
    QTest::keyClick(&window, Qt::Key_F3);
    QCOMPARE(bar->currentMatch(), 0);

    // A click on a match in the list goes there too.
    auto *list = child<QListWidget>(&window, "find_matches");
    const QRect last = list->visualItemRect(list->item(found - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last.center());
    QCOMPARE(document(window).currentDialog(), 3);

    openBar(window, byMenu, "key_replace", Qt::CTRL | Qt::Key_H);
    auto *replacement = child<QLineEdit>(&window, "replace_text");
    QVERIFY(replacement->isVisible());
    replacement->setText(with);
    const int historyBefore = document(window).undoStack()->count();
    QTest::mouseClick(child<QPushButton>(&window, "replace_all"), Qt::LeftButton);
    QCOMPARE(document(window).undoStack()->count(), historyBefore + 1);
    QCOMPARE(trimmedRight(document(window).record(1).caption), caption1After);
    const QString status = child<QLabel>(&window, "sts")->text();
    QVERIFY2(status.contains(QString::number(found)), qPrintable(status));
    // The notice typing gives for characters the project file cannot hold, one per match.
    const QString notice = pluralForm(languageText(TextId::CharactersReplaced), found).arg(found);
    QCOMPARE(status.contains(notice), with.contains(u'Ω'));

    // One undo gives back every byte.
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document(window).project().fileBytes(), before);
    QCOMPARE(bar->matches().size(), found);

    // Enter in the replacement box replaces the current match alone, and the box keeps the focus
    // for the next.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    replacement->setFocus();
    QTest::keyClick(replacement, Qt::Key_Return);
    QCOMPARE(document(window).undoStack()->count(), historyBefore + 1);
    QCOMPARE(trimmedRight(document(window).record(1).caption),
             storableText(with) + QStringLiteral(" и котик"));
    QCOMPARE(document(window).record(3).text, QStringLiteral("Строка\r\nгде кот спит"));
    QVERIFY(replacement->hasFocus());

    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(flow->foundSteps().isEmpty());
}

void TestFindBar::replaceGoesOnPastTheNewText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("captionAfter");
    QTest::addColumn<QString>("textAfter");

    const QString full = QStringLiteral("кот") + QString(47, u'ы');
    QTest::newRow("the new text holds the found one") << "кот и кот"
                                                      << "коты"
                                                      << "коты и коты"
                                                      << "кот";
    QTest::newRow("only the letter case changes") << "кот и кот"
                                                  << "Кот"
                                                  << "Кот и Кот"
                                                  << "кот";
    QTest::newRow("on to the next field") << "кот"
                                          << "коты"
                                          << "коты"
                                          << "коты";
    QTest::newRow("a match that would not fit is passed") << full << "коты" << full << "коты";
}

// Replace, pressed twice, replaces two matches one after the other, whatever the first became.
void TestFindBar::replaceGoesOnPastTheNewText()
{
    QFETCH(QString, caption);
    QFETCH(QString, with);
    QFETCH(QString, captionAfter);
    QFETCH(QString, textAfter);

    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [&caption](DialogProject &project) {
        fillProject(project, 2);
        project.record(1).caption = caption;
        project.record(1).text = QStringLiteral("кот");
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    auto *text = child<QLineEdit>(&window, "find_text");
    EditorTest::typeText(text, QStringLiteral("кот"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    auto *replacement = child<QLineEdit>(&window, "replace_text");
    QTRY_VERIFY(replacement->hasFocus());
    replacement->setText(with);
    QTest::keyClick(replacement, Qt::Key_Return);
    QTest::keyClick(replacement, Qt::Key_Return);
    QCOMPARE(trimmedRight(document(window).record(1).caption), captionAfter);
    QCOMPARE(trimmedRight(document(window).record(1).text), textAfter);
}

// Ctrl and clicks in the list leave step 1 current outside a selection of steps 0 and 2; a click
// on step 1's match then selects it alone, so that the list's keys act on it and not the others.
void TestFindBar::aMatchChosenSelectsItsStepAlone()
{
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 3);
        for (int dialog = 1; dialog <= 3; ++dialog)
            project.record(dialog).caption = QStringLiteral("кот");
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *steps = child<QListWidget>(&window, "dlg_list");
    const auto entry = [steps](int row) {
        return steps->visualItemRect(steps->item(row)).center();
    };
    QTest::mouseClick(steps->viewport(), Qt::LeftButton, {}, entry(2));
    for (const int row : {0, 1, 1})
        QTest::mouseClick(steps->viewport(), Qt::LeftButton, Qt::ControlModifier, entry(row));
    QCOMPARE(document(window).selectedDialogs(), (QList<int>{1, 3}));
    QCOMPARE(document(window).currentDialog(), 2);

    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    EditorTest::typeText(child<QLineEdit>(&window, "find_text"), QStringLiteral("кот"));
    auto *matches = child<QListWidget>(&window, "find_matches");
    QTest::mouseClick(matches->viewport(), Qt::LeftButton, {},
                      matches->visualItemRect(matches->item(1)).center());
    QCOMPARE(document(window).selectedDialogs(), QList<int>{2});
    QCOMPARE(steps->selectedItems(), QList<QListWidgetItem *>{steps->item(1)});
}

void TestFindBar::aKeyToAMatchKeepsTheScriptBeingTyped_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::newRow("F3") << QKeyCombination(Qt::Key_F3);
    QTest::newRow("Shift+F3") << (Qt::SHIFT | Qt::Key_F3);
}

// A script is written when its box is left; F3 and Shift+F3 reach the find bar from the box
// itself, and the match they go to is on another step: what was typed stays with its own step.
void TestFindBar::aKeyToAMatchKeepsTheScriptBeingTyped()
{
    QFETCH(QKeyCombination, key);

    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 2);
        project.record(2).caption = QStringLiteral("кот");
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    EditorTest::typeText(child<QLineEdit>(&window, "find_text"), QStringLiteral("кот"));
    auto *script = child<QLineEdit>(&window, "msg_btnscr0");
    script->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(script->hasFocus());
    script->clear();
    EditorTest::typeText(script, ButtonScript::Exit);

    QTest::keyClick(script, key.key(), key.keyboardModifiers());
    QCOMPARE(document(window).currentDialog(), 2);
    QCOMPARE(trimmedRight(document(window).record(1).btnscr1), ButtonScript::Exit);
    QCOMPARE(trimmedRight(document(window).record(2).btnscr1), ButtonScript::GoNext);
}

// The first Replace shows the match it would replace. A match gone to in the project before is
// none of a new project's: the new one's are shown before one is replaced.
void TestFindBar::aNewProjectReplacesNothingUnseen()
{
    ScriptedUi ui;
    MainWindow window(ui);
    const QString text = ProjectDocument::newDialogText();
    setUpProject(window, [&text](DialogProject &project) {
        fillProject(project, 3);
        for (int dialog = 1; dialog <= 3; ++dialog)
            project.record(dialog).text = text;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    EditorTest::typeText(child<QLineEdit>(&window, "find_text"), text.section(u' ', 0, 0));
    QTest::keyClick(&window, Qt::Key_F3);
    QTest::keyClick(&window, Qt::Key_F3);

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(document(window).dialogCount(), 1);
    QVERIFY(!child<QListWidget>(&window, "find_matches")->currentItem());
    auto *replacement = child<QLineEdit>(&window, "replace_text");
    replacement->setFocus();
    replacement->setText(QStringLiteral("Z"));
    QTest::keyClick(replacement, Qt::Key_Return);
    QCOMPARE(trimmedRight(document(window).record(1).text), text);
    QTest::keyClick(replacement, Qt::Key_Return);
    QVERIFY(document(window).record(1).text.startsWith(u'Z'));
}

QTEST_MAIN(TestFindBar)
#include "tst_findbar.moc"
