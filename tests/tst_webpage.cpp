// The web page plays a project exactly as the runner does. Each case is played twice with the
// same presses: through the runner's own step loop with its real windows, and as a built page
// in headless Chromium (webplay.py, one browser for all cases). Both must show the same windows
// in the same order and end the same way.

#include "runnerplay.h"
#include "webpagebuilder.h"

#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace kq;
using namespace kq::RunnerPlay;

namespace {

const WebPageWords Words{QStringLiteral("Программа завершена."),
                         QStringLiteral("Программа остановлена: %1"), QStringLiteral("Ещё раз"),
                         QStringLiteral("Закрыть"), QStringLiteral("Нужен JavaScript.")};

struct Played
{
    QJsonArray runner;
    QJsonObject page;
};

} // namespace

class TestWebPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playsAsRunner_data();
    void playsAsRunner();
    void runsNothingItShouldNot_data();
    void runsNothingItShouldNot();

private:
    QTemporaryDir mDir;
    QMap<QString, Played> mPlayed;
};

void TestWebPage::initTestCase()
{
    QVERIFY2(QFile::exists("/usr/bin/chromium") && QFile::exists("/usr/bin/chromedriver"),
             "needs the Debian packages chromium, chromium-driver and python3-selenium "
             "(make deps installs them)");
    QVERIFY(mDir.isValid());
    QList<Case> cases = shippedSamples() + craftedProjects();
    QJsonArray pages;
    for (int i = 0; i < cases.size(); ++i) {
        Case &sample = cases[i];
        mPlayed[sample.name].runner =
            playInRunner(sample, quint32(i + 1), mDir.path(), Words.ended, Words.stopped);
        const QString page = mDir.filePath(QStringLiteral("case%1.html").arg(i));
        QString error;
        QVERIFY2(WebPageBuilder(sample.project, Words).write(page, &error), qPrintable(error));
        pages.append(QJsonObject{
            {"name", sample.name}, {"page", page}, {"presses", strings(sample.presses)}});
    }
    const QString casesFile = mDir.filePath(QStringLiteral("cases.json"));
    const QString resultsFile = mDir.filePath(QStringLiteral("results.json"));
    QFile out(casesFile);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(pages).toJson());
    out.close();

    QProcess browser;
    browser.setProcessChannelMode(QProcess::ForwardedChannels);
    browser.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(KQ_SOURCE_DIR "/tests/webplay.py"), casesFile, resultsFile});
    QVERIFY2(browser.waitForFinished(280000), "the browser did not finish in time");
    QCOMPARE(browser.exitCode(), 0);
    QFile in(resultsFile);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QJsonObject results = QJsonDocument::fromJson(in.readAll()).object();
    for (auto it = mPlayed.begin(); it != mPlayed.end(); ++it)
        it->page = results.value(it.key()).toObject();
}

void TestWebPage::playsAsRunner_data()
{
    QTest::addColumn<QString>("name");
    for (auto it = mPlayed.cbegin(); it != mPlayed.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key();
}

void TestWebPage::playsAsRunner()
{
    QFETCH(QString, name);
    const Played &played = mPlayed.value(name);
    QCOMPARE(played.page.value("error").toString(), QString());
    const QStringList page = lines(played.page.value("events").toArray());
    const QStringList runner = lines(played.runner);
    // Both whole, so that a difference can be read in its context.
    if (page != runner)
        qWarning().noquote() << "page:\n"
                             << page.join(u'\n') << "\nrunner:\n"
                             << runner.join(u'\n');
    QCOMPARE(page, runner);

    // After the end, "Play again" shows the run's first window (or its end) once more.
    const QJsonValue again = played.page.value("again");
    if (runner.constLast().startsWith(u"[\"ended\""))
        QCOMPARE(lines({again}), runner.filter(QRegularExpression("^\\[\"(?!pause)")).mid(0, 1));
    else
        QVERIFY(again.isNull());
}

void TestWebPage::runsNothingItShouldNot_data()
{
    playsAsRunner_data();
}

void TestWebPage::runsNothingItShouldNot()
{
    QFETCH(QString, name);
    const QJsonObject &page = mPlayed.value(name).page;
    QVERIFY(page.contains("alerts"));
    QCOMPARE(page.value("alerts").toInt(), 0);
    QCOMPARE(page.value("images").toInt(), 0);
    QCOMPARE(page.value("violations").toInt(), 0);
    QVERIFY(page.contains("unlabelled"));
    QCOMPARE(page.value("unlabelled").toInt(), 0);
}

QTEST_MAIN(TestWebPage)
#include "tst_webpage.moc"
