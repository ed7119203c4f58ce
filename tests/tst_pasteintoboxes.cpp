// Ctrl+V into every editable box of the main window, whatever the clipboard holds: nothing, only
// a picture, rich text, ten megabytes of text or characters the project file cannot hold. The
// editor survives, and each box shows what its record holds. Run offscreen, and once more under an
// X server of its own (KQ_OWN_X_SERVER), where a cleared clipboard has no owner at all.

#include "codepage.h"
#include "textlines.h"
#include "tst_mainwindowfixture.h"
#include "virtualdisplay.h"

#include <QClipboard>
#include <QImage>
#include <QMimeData>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// The boxes a user can paste into, and the width of what each may hold.
const std::pair<const char *, int> Boxes[] = {{"msg_caption", DialogRecord::CaptionWidth},
                                              {"msg_text", DialogRecord::TextWidth},
                                              {"msg_btn0", DialogRecord::ButtonWidth},
                                              {"msg_btn1", DialogRecord::ButtonWidth},
                                              {"msg_btnscr0", DialogRecord::ButtonWidth},
                                              {"msg_btnscr1", DialogRecord::ButtonWidth},
                                              {"msg_time", 5},
                                              {"scr_arg", 2}};

void fillClipboard(const QString &kind)
{
    QClipboard *clipboard = QApplication::clipboard();
    if (kind == "nothing") {
        clipboard->clear();
    } else if (kind == "a picture") {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        clipboard->setImage(image);
    } else if (kind == "rich text") {
        auto *mime = new QMimeData;
        mime->setHtml("<p><b>Bold</b> <i>words</i></p>");
        mime->setText("Bold words");
        clipboard->setMimeData(mime);
    } else if (kind == "ten megabytes") {
        clipboard->setText(QString(10 * 1024 * 1024, u'a'));
    } else {
        clipboard->setText(QStringLiteral("✓ 日本 €"));
    }
}

// What the box shows of its record, as the record stores it.
QString shownAsStored(QWidget *box)
{
    if (const auto *line = qobject_cast<QLineEdit *>(box))
        return storableText(line->text());
    return storableText(toRecordText(static_cast<QPlainTextEdit *>(box)->toPlainText()));
}

QString fieldOf(const DialogRecord &record, const QString &box)
{
    const std::pair<const char *, QString> fields[] = {{"msg_caption", record.caption},
                                                       {"msg_text", record.text},
                                                       {"msg_btn0", record.btn1},
                                                       {"msg_btn1", record.btn2},
                                                       {"msg_btnscr0", record.btnscr1},
                                                       {"msg_btnscr1", record.btnscr2},
                                                       {"msg_time", QString::number(record.time)}};
    for (const auto &[name, value] : fields) {
        if (box == QLatin1String(name))
            return trimmedRight(value);
    }
    return {};
}

} // namespace

class TestPasteIntoBoxes : public QObject
{
    Q_OBJECT

private slots:
    void init() { useDefaultSettings(); }
    void pasteNeverCrashes_data();
    void pasteNeverCrashes();

private:
    QScopedPointer<ProgramFolder> mFolder{new ProgramFolder};
};

void TestPasteIntoBoxes::pasteNeverCrashes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("clipboard");
    // What the caption and the text hold afterwards, the paste after their "Start"; the other
    // boxes are checked against their records.
    QTest::addColumn<QString>("pasted");
    const std::pair<const char *, QString> clipboards[] = {
        {"nothing", QString()},
        {"a picture", QString()},
        {"rich text", QStringLiteral("Bold words")},
        {"ten megabytes", QString(DialogRecord::TextWidth, u'a')},
        {"characters outside the code page", QStringLiteral("? ?? €")}};
    for (const auto &[name, width] : Boxes) {
        for (const auto &[clipboard, pasted] : clipboards)
            QTest::addRow("%s, %s", name, clipboard)
                << name << width << clipboard << (QStringLiteral("Start") + pasted).left(width);
    }
}

void TestPasteIntoBoxes::pasteNeverCrashes()
{
    QFETCH(QString, box);
    QFETCH(int, width);
    QFETCH(QString, clipboard);
    QFETCH(QString, pasted);
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 2);
        project.record(1).caption = project.record(1).text = QStringLiteral("Start");
        project.record(2).type = DialogRecord::Progress;
        project.record(2).time = 30;
    });
    window.show();
    // The test's own X server has no window manager to activate the window.
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The time box takes part on the progress step.
    selectEntry(window, box == "msg_time" ? 1 : 0);
    const QByteArray before = document(window).project().fileBytes();
    if (box == "scr_arg") {
        auto *direction = child<QComboBox>(&window, "scr_com");
        direction->setFocus();
        QTest::keyClick(direction, Qt::Key_Down); // "go": the step number takes part
        auto *to = child<QComboBox>(&window, "scr_atr");
        QTest::keyClick(to, Qt::Key_End);
    }
    fillClipboard(clipboard);
    auto *target = child<QWidget>(&window, box);
    QVERIFY(target->isEnabled());
    target->setFocus();
    QTest::keyClick(target, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    leave(target);

    const DialogRecord &record = document(window).record(box == "msg_time" ? 2 : 1);
    if (clipboard == "nothing" || clipboard == "a picture")
        QCOMPARE(document(window).project().fileBytes(), before);
    if (box == "msg_caption" || box == "msg_text")
        QCOMPARE(fieldOf(record, box), pasted);
    if (box != "scr_arg") {
        QCOMPARE(shownAsStored(target), fieldOf(record, box));
        QVERIFY(fieldOf(record, box).size() <= width);
    } else {
        QVERIFY(child<QLineEdit>(&window, box)->text().size() <= width);
    }
}

int main(int argc, char *argv[])
{
    std::optional<kq::EditorTest::VirtualDisplay> display;
    if (qEnvironmentVariableIsSet("KQ_OWN_X_SERVER")) {
        display.emplace();
        if (display->name().isEmpty()) {
            qWarning("skipped: Xvfb could not be started (Debian package xvfb)");
            return 0;
        }
        qputenv("DISPLAY", display->name());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    TestPasteIntoBoxes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pasteintoboxes.moc"
