#include "buildtarget.h"
#include "resourcefiles.h"
#include "stepprojects.h"
#include "webpagebuilder.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;
using namespace kq::StepTest;

namespace {

const WebPageWords Words{"Конец.", "Сбой: %1", "Ещё раз", "Закрыть", "Нужен JavaScript."};

QString pageOf(const DialogProject &project)
{
    return QString::fromUtf8(WebPageBuilder(project, Words).page());
}

// The text between an opening tag that starts with `open` and the next closing tag `close`.
QString element(const QString &page, const QString &open, const QString &close)
{
    const qsizetype from = page.indexOf(u'>', page.indexOf(open)) + 1;
    return page.mid(from, page.indexOf(close, from) - from);
}

QString sha256Source(const QString &text)
{
    return "'sha256-" +
           QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toBase64() + "'";
}

} // namespace

class TestWebPageBuilder : public QObject
{
    Q_OBJECT

private slots:
    void selfContained_data();
    void selfContained();
    void textsStayText_data();
    void textsStayText();
    void titleAndIcon();
    void pagePath_data();
    void pagePath();
    void writes();
    void replacesOnlyAnEarlierPage_data();
    void replacesOnlyAnEarlierPage();
};

void TestWebPageBuilder::selfContained_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("skinned");
    QTest::newRow("system look") << "0" << false;
    QTest::newRow("skinned look") << "1" << true;
}

void TestWebPageBuilder::selfContained()
{
    QFETCH(QString, style);
    QFETCH(bool, skinned);
    const QString page = pageOf(
        makeProject({withIcon(message("Да", Next), 3), progress(2, "Стоп", Exit, Next)}, style));
    // Everything the page uses is inside it: no address but data.
    static const QRegularExpression address("(src|href|url)\\s*[=(]\\s*[\"']?+(?!data:)",
                                            QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(!page.contains(address), qPrintable(address.match(page).captured()));
    QVERIFY(!page.contains("http:") && !page.contains("https:") && !page.contains("://"));
    QCOMPARE(page.count("<script"), 2);
    QCOMPARE(page.count("<style"), 1);

    // The policy forbids every request and lets only the page's own style and script run.
    const QString csp =
        page.section("http-equiv=\"Content-Security-Policy\" content=\"", 1, 1).section(u'"', 0, 0);
    QVERIFY(csp.startsWith("default-src 'none'; "));
    QVERIFY(csp.contains("style-src " + sha256Source(element(page, "<style", "</style>")) + ";"));
    const QString script = page.section("<script>", 1, 1).section("</script>", 0, 0);
    QVERIFY(csp.contains("script-src " + sha256Source(script) + ";"));
    QVERIFY(csp.contains("img-src data:;"));
    QVERIFY(!csp.contains("unsafe"));

    QCOMPARE(page.contains("class=\"look1\""), skinned);
    QCOMPARE(page.contains("border-image"), skinned);
    QVERIFY(
        page.contains(".i1, .i2, .i3, .i4, .i5 { background-image: url(data:image/png;base64,"));
}

void TestWebPageBuilder::textsStayText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    const QStringList texts{"<img src=x onerror=alert(1)>",
                            "</script><script>alert(1)</script>",
                            "<!--",
                            "@@SCRIPT@@",
                            "&lt;\"'`",
                            "\u2028\u2029"};
    for (const char *field : {"caption", "text", "btn1"}) {
        for (const QString &typed : texts)
            QTest::newRow(qPrintable(QString(field) + " " + typed)) << QString(field) << typed;
    }
}

void TestWebPageBuilder::textsStayText()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    DialogProject project = makeProject({message("ОК", Next)});
    DialogRecord &record = project.record(1);
    (field == "caption" ? record.caption : field == "text" ? record.text : record.btn1) = typed;
    const QString page = pageOf(project);

    // The page's own markup is all there is: two scripts, one style, nothing typed breaks out.
    QCOMPARE(page.count("<script"), 2);
    QCOMPARE(page.count("</script>"), 2);
    QCOMPARE(page.count("<!--"), 0);
    QVERIFY(!page.contains("<img"));
    QVERIFY(!page.contains(QChar(0x2028)) && !page.contains(QChar(0x2029)));
    // A caption also names the page.
    QCOMPARE(page.count("@@"), typed.count("@@") * (field == "caption" ? 2 : 1));
    QCOMPARE(page.count("\"use strict\""), 1);
    // The typed text reaches the table as it was typed; a button's "&" marks its access key.
    if (field == "btn1" && typed.contains(u'&'))
        return;
    QString json = element(page, "<script type=\"application/json\"", "</script>");
    json.replace("\\u003c", "<").replace("\\u003e", ">").replace("\\u0026", "&");
    json.replace("\\u2028", QChar(0x2028)).replace("\\u2029", QChar(0x2029));
    QVERIFY(json.contains(QString(typed).replace("\"", "\\\"")));
}

void TestWebPageBuilder::titleAndIcon()
{
    DialogProject project = makeProject({pause(1, Next), withIcon(message("Да", Next), 4)});
    project.record(2).caption = "Викторина <1>";
    const QString page = pageOf(project);
    QVERIFY(page.contains("<title>Викторина &lt;1&gt;</title>"));
    QVERIFY(page.contains("<html lang=\"ru\">"));
    QVERIFY(page.contains("<link rel=\"icon\" href=\"data:image/png;base64,"));

    project.record(2).caption.clear();
    project.record(2).ico = 0;
    project.record(2).text = "Plain";
    project.setPath("/home/u/My quiz.dlg2");
    const QString plain = pageOf(project);
    QVERIFY(plain.contains("<title>My quiz</title>"));
    QVERIFY(plain.contains("<html lang=\"en\">"));
    QVERIFY(!plain.contains("rel=\"icon\""));
}

void TestWebPageBuilder::pagePath_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("path");
    QTest::newRow("no extension") << "/home/u/quiz"
                                  << "/home/u/quiz.html";
    QTest::newRow("html") << "/home/u/quiz.html"
                          << "/home/u/quiz.html";
    QTest::newRow("another extension stays") << "/home/u/quiz.htm"
                                             << "/home/u/quiz.htm";
    QTest::newRow("dot in the folder") << "/home/u.v/quiz"
                                       << "/home/u.v/quiz.html";
}

void TestWebPageBuilder::pagePath()
{
    QFETCH(QString, chosen);
    QFETCH(QString, path);
    QCOMPARE(WebPageBuilder::pagePath(chosen), path);
}

void TestWebPageBuilder::writes()
{
    QTemporaryDir dir;
    const DialogProject project = makeProject({message("ОК", Next)});
    const WebPageBuilder builder(project, Words);
    const QString path = dir.filePath("quiz.html");
    QString error;
    QVERIFY2(builder.write(path, &error), qPrintable(error));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), builder.page());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{"quiz.html"});
    QVERIFY(!builder.write(dir.filePath("missing/quiz.html"), &error));
    QVERIFY(!error.isEmpty());
}

void TestWebPageBuilder::replacesOnlyAnEarlierPage_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<bool>("replaced");
    const QByteArray mark = WebPageMark;
    QTest::newRow("an earlier page")
        << WebPageBuilder(makeProject({pause(1, Exit)}), Words).page() << true;
    QTest::newRow("a page of someone else")
        << QByteArray("<!DOCTYPE html>\n<html><head><title>Mine</title></head></html>") << false;
    QTest::newRow("the mark deep in a page's text")
        << "<!DOCTYPE html>\n<html><body><p>" + QByteArray(8192, 'x') + mark + "</p></body></html>"
        << false;
    QTest::newRow("notes that quote the mark") << "My notes: " + mark << false;
}

void TestWebPageBuilder::replacesOnlyAnEarlierPage()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.filePath("quiz.html");
    QVERIFY(kq::TestFiles::writeBytes(path, existing));
    const DialogProject project = makeProject({message("ОК", Next)});
    const WebPageBuilder builder(project, Words);

    QString error;
    QCOMPARE(builder.write(path, &error), replaced);

    QCOMPARE(kq::TestFiles::readBytes(path), replaced ? builder.page() : existing);
    QCOMPARE(error.contains("is not a web page an earlier build wrote"), !replaced);
}

QTEST_GUILESS_MAIN(TestWebPageBuilder)
#include "tst_webpagebuilder.moc"
