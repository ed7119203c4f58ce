#include "plainlabel.h"
#include "uiservices.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kq;

class TestUiServices : public QObject
{
    Q_OBJECT

private slots:
    void fileFilter_data();
    void fileFilter();
    void messageTextIsPlain_data();
    void messageTextIsPlain();
    void failingAddressHandlerIsHeard_data();
    void failingAddressHandlerIsHeard();
};

void TestUiServices::fileFilter_data()
{
    QTest::addColumn<QString>("pipe");
    QTest::addColumn<QString>("qt");
#ifdef Q_OS_WIN
    const QString programs = "*.exe";
#else
    // Built programs have no extension on this platform, so the dialog must list them all.
    const QString programs = "*";
#endif
    QTest::newRow("one entry") << "Проекты|*.dlg2"
                               << "Проекты (*.dlg2)";
    QTest::newRow("programs") << "Программы|*.exe"
                              << "Программы (" + programs + ")";
    QTest::newRow("three entries")
        << "Проекты|*.dlg2|Старые проекты|*.dlg|Программы|*.exe"
        << "Проекты (*.dlg2);;Старые проекты (*.dlg);;Программы (" + programs + ")";
    QTest::newRow("dangling description dropped") << "A|*.a|B"
                                                  << "A (*.a)";
    QTest::newRow("empty") << ""
                           << "";
}

void TestUiServices::fileFilter()
{
    QFETCH(QString, pipe);
    QFETCH(QString, qt);
    QCOMPARE(qtFileFilter(pipe), qt);
}

void TestUiServices::messageTextIsPlain_data()
{
    QTest::addColumn<QString>("text");
    // Names and versions from downloaded files reach messages ("delete this plug-in?").
    // A downloaded version lands in the first line, where a tag makes Qt guess rich text.
    QTest::newRow("version in a question") << "Версия <b>1.0</b> не подходит. Удалить?\nПлагин";
    QTest::newRow("link and entity") << "<a href=\"https://example.org\">сайт</a> &amp; 1.0";
    QTest::newRow("table") << "<table><tr><td>x</td></tr></table>";
}

void TestUiServices::messageTextIsPlain()
{
    QFETCH(QString, text);
    QtUiServices ui;
    QSize shown;
    QSize plain;
    QString label;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        auto *message = box->findChild<QLabel *>("qt_msgbox_label");
        QVERIFY(message);
        label = message->text();
        shown = message->sizeHint();
        plain = kq::TestLabels::plainTextSize(message);
        box->accept();
    });
    // Should the box not be found, it must not wait for a person either.
    QTimer::singleShot(5000, this, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    ui.message(nullptr, text, "Плагины", UiServices::Icon::Question, UiServices::Buttons::YesNo);
    QCOMPARE(label, text);
    // As rich text the tags would vanish and the label take another size.
    QCOMPARE(shown, plain);
}

void TestUiServices::failingAddressHandlerIsHeard_data()
{
    QTest::addColumn<int>("status"); // the address handler's exit status
    QTest::newRow("no browser took it") << 1;
    QTest::newRow("opened") << 0;
}

// xdg-open that starts but cannot open the address says so by its exit status, which is heard.
void TestUiServices::failingAddressHandlerIsHeard()
{
    QFETCH(int, status);
    QTemporaryDir bin;
    QFile opener(bin.filePath("xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/asked\"\nexit " +
                 QByteArray::number(status) + "\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);

    QtUiServices ui;
    QObject asker;
    bool failed = false;
    QVERIFY(ui.openUrl(QUrl("https://quorvex.example.org/"), &asker, [&] { failed = true; }));
    qputenv("PATH", path);
    QTRY_VERIFY(QFile::exists(bin.filePath("asked")));
    QTest::qWait(200);
    QCOMPARE(failed, status != 0);
}

QTEST_MAIN(TestUiServices)
#include "tst_uiservices.moc"
