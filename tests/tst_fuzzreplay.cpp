#include "harnesses.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

// Every input of the fuzzers' seed corpus, and every input that ever broke a harness, run again
// through its harness in the ordinary build, so that a fault once mended stays mended.
class TestFuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replays_data();
    void replays();
};

namespace {

using Harness = std::function<void(const QByteArray &)>;

struct Named
{
    const char *name;
    Harness harness;
};

const Named Harnesses[] = {
    {"projectfile", kq::Fuzz::projectFile},   {"buttonscript", kq::Fuzz::buttonScript},
    {"legacyimport", kq::Fuzz::legacyImport}, {"resourcefiles", kq::Fuzz::resourceFiles},
    {"checkedrun", kq::Fuzz::checkedRun},
};

} // namespace

Q_DECLARE_METATYPE(Harness)

void TestFuzzReplay::replays_data()
{
    QTest::addColumn<Harness>("harness");
    QTest::addColumn<QString>("input");

    int seeds = 0;
    for (const Named &entry : Harnesses) {
        for (const char *kind : {"corpus", "regressions"}) {
            const QDir folder(QStringLiteral(KQ_SOURCE_DIR "/fuzz/%1/%2")
                                  .arg(QLatin1String(kind), QLatin1String(entry.name)));
            for (const QString &file : folder.entryList(QDir::Files, QDir::Name)) {
                QTest::addRow("%s/%s/%s", kind, entry.name, qPrintable(file))
                    << entry.harness << folder.filePath(file);
                if (QLatin1String(kind) == u"corpus")
                    ++seeds;
            }
        }
        QVERIFY2(seeds > 0, entry.name);
        seeds = 0;
    }
}

void TestFuzzReplay::replays()
{
    QFETCH(Harness, harness);
    QFETCH(QString, input);

    QFile file(input);
    QVERIFY(file.open(QIODevice::ReadOnly));
    try {
        harness(file.readAll());
    } catch (const kq::Fuzz::InvariantBroken &broken) {
        QFAIL(broken.what());
    }
}

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
