#include "aboutwindow.h"
#include "editorfixture.h"
#include "optionsetting.h"
#include "productinfo.h"
#include "quietopacity.h"
#include "resourcefiles.h"
#include "scriptedui.h"

#include <QEnterEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kq;

namespace {

const QStringList RussianLines{
    "Программа для создания 32-битных диалоговых приложений под Windows.",
    "Версия 2.0 Beta",
    "",
    "Спасибо бета-тестерам:",
    "",
    "И всем-всем, кто работает с моей прогаммой!!!",
    ""};
const QStringList EnglishLines{
    "Quorvex will help you in creating 32-bit dialoged Windows applications.",
    "Version 2.0 Beta",
    "",
    "Special thanks to:",
    "",
    "And to everybody, who works with my program!!!",
    ""};

QStringList languageFile(const QString &resId)
{
    return {
        "!KestraneDevelopment10", "!RescourceFile", "[Language]",  "Name=Test",   "ResId=" + resId,
        "Author=Tests",           "Version=2.0",    "Status=User", "[Rescource]", "%0001, x"};
}

struct About
{
    ScriptedUi ui;
    AboutWindow window{ui, nullptr};
    QTimer *iin = window.findChild<QTimer *>("iin");
    QTimer *iout = window.findChild<QTimer *>("iout");
    QLabel *mail = window.findChild<QLabel *>("g_mail");

    About() { window.show(); }
    QLabel *label(const QString &name) const { return window.findChild<QLabel *>(name); }
    int shownAlpha() const { return qRound(window.windowOpacity() * 255); }
    void fadeIn(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            window.fadeInTick();
    }
    // Fade-out steps until the window closes; -1 when it does not close within 100.
    int fadeOutSteps()
    {
        for (int step = 1; step <= 100; ++step) {
            const int before = window.opacity();
            window.fadeOutTick();
            if (!window.isVisible())
                return window.opacity() <= 0 ? step : -1;
            if (before - window.opacity() != 6 || shownAlpha() != window.opacity())
                return -1;
        }
        return -1;
    }
};

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void borderlessModalPicture();
    void fadeIn();
    void clickFadesOutAndCloses_data();
    void clickFadesOutAndCloses();
    void otherButtonsDoNotClose();
    void escapeFadesOut();
    void closingEndsExec();
    void linkOpensTheWebPage();
    void hoverColours_data();
    void hoverColours();
    void textsByLanguage_data();
    void textsByLanguage();

private:
    kq::EditorTest::ProgramFolder mProgram;
};

void TestAboutWindow::initTestCase()
{
    gOuterHandler = qInstallMessageHandler(quietOpacityWarnings);
    QVERIFY(mProgram.ok());
    QVERIFY(kq::TestFiles::writeLines(mProgram.path("Languages/second.lang"), languageFile("2")));
    QVERIFY(kq::TestFiles::writeLines(mProgram.path("Languages/spaced.lang"), languageFile(" 1 ")));
    QVERIFY(kq::TestFiles::writeLines(mProgram.path("Languages/eleven.lang"), languageFile("11")));
}

void TestAboutWindow::init()
{
    optionSetting(OptionWrite, OptionLanguage, "russian.lang");
}

void TestAboutWindow::borderlessModalPicture()
{
    About a;
    QCOMPARE(a.window.objectName(), QString("about"));
    QVERIFY(a.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(a.window.isModal());
    QCOMPARE(a.window.size(), QSize(569, 376));
    QCOMPARE(a.label("pct")->pixmap().size(), QSize(569, 376));
    QCOMPARE(a.mail->text(), QString("https://quorvex.example.org/"));
    for (int i = 0; i < 7; ++i) {
        const QLabel *line = a.label("lbl" + QString::number(i));
        QVERIFY2(line, qPrintable(QString::number(i)));
        QVERIFY(a.window.rect().contains(line->geometry()));
    }
    QVERIFY(a.window.rect().contains(a.mail->geometry()));
}

void TestAboutWindow::fadeIn()
{
    About a;
    QCOMPARE(a.window.opacity(), 0);
    QVERIFY(a.iin->isActive());
    QCOMPARE(a.iin->interval(), 10);
    QVERIFY(!a.iout->isActive());
    QCOMPARE(a.iout->interval(), 10);

    for (int step = 1; step <= 42; ++step) {
        a.window.fadeInTick();
        QCOMPARE(a.shownAlpha(), 6 * step);
    }
    QVERIFY(a.iin->isActive());
    a.window.fadeInTick();
    QVERIFY(!a.iin->isActive());
    QCOMPARE(a.shownAlpha(), 252);
    QVERIFY(a.window.isVisible());
}

void TestAboutWindow::clickFadesOutAndCloses_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("fadeInTicks");
    QTest::addColumn<int>("fadeOutSteps");

    QTest::newRow("picture, at once") << "pct" << 0 << 1;
    QTest::newRow("picture, fading in") << "pct" << 7 << 7;
    QTest::newRow("first line, fading in") << "lbl0" << 20 << 20;
    QTest::newRow("names, nearly in") << "lbl4" << 42 << 42;
    QTest::newRow("picture, fully in") << "pct" << 43 << 43;
    QTest::newRow("last line, fully in") << "lbl6" << 43 << 43;
}

void TestAboutWindow::clickFadesOutAndCloses()
{
    QFETCH(QString, target);
    QFETCH(int, fadeInTicks);
    QFETCH(int, fadeOutSteps);

    About a;
    QSignalSpy finished(&a.window, &QDialog::finished);
    a.fadeIn(fadeInTicks);
    QTest::mouseClick(a.label(target), Qt::LeftButton);
    QVERIFY(!a.iin->isActive());
    QVERIFY(a.iout->isActive());
    QVERIFY(a.window.isVisible());

    QCOMPARE(a.fadeOutSteps(), fadeOutSteps);
    QVERIFY(!a.iout->isActive());
    QCOMPARE(finished.count(), 1);
}

void TestAboutWindow::otherButtonsDoNotClose()
{
    About a;
    QTest::mouseClick(a.label("pct"), Qt::RightButton);
    QTest::mouseClick(a.label("lbl2"), Qt::MiddleButton);
    QVERIFY(a.iin->isActive());
    QVERIFY(!a.iout->isActive());
}

void TestAboutWindow::escapeFadesOut()
{
    About a;
    a.fadeIn(43);
    QTest::keyClick(&a.window, Qt::Key_Escape);
    QVERIFY(a.window.isVisible());
    QVERIFY(a.iout->isActive());
    QCOMPARE(a.fadeOutSteps(), 43);
}

void TestAboutWindow::closingEndsExec()
{
    About a;
    a.window.hide();
    QTimer::singleShot(0, &a.window, [&a] { QTest::mouseClick(a.label("lbl1"), Qt::LeftButton); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, &a.window, &QDialog::accept);
    guard.start(5000);
    QCOMPARE(a.window.exec(), int(QDialog::Rejected));
    QVERIFY(guard.isActive());
    QVERIFY(a.window.opacity() <= 0);
}

void TestAboutWindow::linkOpensTheWebPage()
{
    About a;
    a.fadeIn(10);
    QTest::mouseClick(a.mail, Qt::LeftButton);
    QCOMPARE(a.ui.urls, QList<QUrl>{QUrl(ProductWebPage)});
    QVERIFY(a.window.isVisible());
    QVERIFY(a.iin->isActive());
    QVERIFY(!a.iout->isActive());

    QTest::mouseClick(a.mail, Qt::LeftButton);
    QCOMPARE(a.ui.urls.size(), 2);
    QVERIFY(a.window.isVisible());

    // Without a browser the main window is told, which says so in its status line.
    QSignalSpy notOpened(&a.window, &AboutWindow::addressNotOpened);
    a.ui.urlsOpen = false;
    QTest::mouseClick(a.mail, Qt::LeftButton);
    QCOMPARE(notOpened.size(), 1);
    QCOMPARE(notOpened.first().first().toUrl(), QUrl(ProductWebPage));
}

void TestAboutWindow::hoverColours_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("resting") << QStringList() << QColor(0, 0, 180);
    QTest::newRow("on the link") << QStringList{"g_mail"} << QColor(0, 0, 255);
    QTest::newRow("link, then picture") << QStringList{"g_mail", "pct"} << QColor(0, 0, 180);
    QTest::newRow("link, then a line") << QStringList{"g_mail", "lbl5"} << QColor(0, 0, 180);
    QTest::newRow("line, then link") << QStringList{"lbl0", "g_mail"} << QColor(0, 0, 255);
}

void TestAboutWindow::hoverColours()
{
    QFETCH(QStringList, path);
    QFETCH(QColor, colour);

    About a;
    for (const QString &name : path) {
        QLabel *widget = a.label(name);
        QEnterEvent enter(QPointF(2, 2), widget->mapTo(&a.window, QPointF(2, 2)),
                          widget->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(widget, &enter);
    }
    QCOMPARE(a.mail->palette().color(QPalette::WindowText), colour);
}

void TestAboutWindow::textsByLanguage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("inEnglish");

    QTest::newRow("russian.lang, id 0") << "russian.lang" << false;
    QTest::newRow("english.lang, id 1") << "english.lang" << true;
    QTest::newRow("id 2") << "second.lang" << false;
    QTest::newRow("id 11") << "eleven.lang" << false;
    QTest::newRow("id 1 with spaces") << "spaced.lang" << true;
    QTest::newRow("missing file") << "gone.lang" << false;
    QTest::newRow("no setting") << "" << false;
}

void TestAboutWindow::textsByLanguage()
{
    QFETCH(QString, file);
    QFETCH(bool, inEnglish);

    optionSetting(OptionWrite, OptionLanguage, file);
    About a;
    const QStringList &expected = inEnglish ? EnglishLines : RussianLines;
    QStringList texts;
    for (int i = 0; i < 7; ++i) {
        const QLabel *line = a.label("lbl" + QString::number(i));
        texts << line->text();
        if (!expected.at(i).isEmpty())
            QCOMPARE(line->text(), expected.at(i));
        // Every line fits its place over the picture.
        QVERIFY2(line->heightForWidth(line->width()) <= line->height(), qPrintable(line->text()));
    }
    const bool cyrillic = texts.join(QString()).contains(QRegularExpression("[а-яА-Я]"));
    QCOMPARE(cyrillic, !inEnglish);
    QVERIFY(texts.at(2).contains("Kestrane Development"));
    QCOMPARE(texts.at(4), QString("Arvid, Leila, Timur, Ingrid, Marek, Oksana, Yannick"));
    QVERIFY(texts.at(6).contains("K E S T R A N E   D E V E L O P M E N T"));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
