#include "dialogproject.h"
#include "projectcheck.h"
#include "projectio.h"
#include "samplenames.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

using namespace kq;

namespace {

const QStringList Shipped{"FormatC.dlg2", "VirusModification.dlg2", "tester.dlg", "trojan.dlg",
                          "virus.dlg"};
const QStringList English{"Quiz.dlg2", "DeskCleanup.dlg2"};

QString samplePath(const QString &name)
{
    return KQ_SOURCE_DIR "/data/Samples/" + name;
}

} // namespace

class TestSampleNames : public QObject
{
    Q_OBJECT

private slots:
    void namesByLanguage_data();
    void namesByLanguage();
    void everyListedSampleShips();
    void englishSamplesPlay_data();
    void englishSamplesPlay();
};

void TestSampleNames::namesByLanguage_data()
{
    QTest::addColumn<QString>("languageId");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("russian") << "0" << Shipped;
    QTest::newRow("english") << "1" << Shipped + English;
    QTest::newRow("another language") << "2" << Shipped;
    QTest::newRow("identifier with spaces") << " 1 " << Shipped;
    QTest::newRow("language that failed to load") << "ResErr2" << Shipped;
    QTest::newRow("no language") << "" << Shipped;
}

void TestSampleNames::namesByLanguage()
{
    QFETCH(QString, languageId);
    QFETCH(QStringList, names);

    QCOMPARE(sampleFileNames(languageId), names);
}

void TestSampleNames::everyListedSampleShips()
{
    for (const QString &name : sampleFileNames("1"))
        QVERIFY2(QFileInfo(samplePath(name)).isFile(), qPrintable(name));
}

void TestSampleNames::englishSamplesPlay_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("style");

    QTest::newRow("quiz") << "Quiz.dlg2" << 0;
    QTest::newRow("desk cleanup") << "DeskCleanup.dlg2" << 1;
}

// Each English sample opens as a project of its style, speaks English and passes the project
// check: every step reachable, every script runnable, a way out everywhere.
void TestSampleNames::englishSamplesPlay()
{
    QFETCH(QString, name);
    QFETCH(int, style);

    DialogProject project;
    QString error;
    const std::optional<ProjectIO::OpenedKind> opened =
        ProjectIO::openPath(project, samplePath(name), &error);
    QVERIFY2(opened == ProjectIO::OpenedKind::Project, qPrintable(error));
    QCOMPARE(project.record(0).projectStyle(), qint16(style));
    QVERIFY(project.dialogCount() >= 5);

    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    for (int position = 1; position <= project.dialogCount(); ++position) {
        const DialogRecord &record = project.record(position);
        for (const QString &text : {record.caption, record.text, record.btn1, record.btn2})
            QVERIFY2(!cyrillic.match(text).hasMatch(), qPrintable(text));
    }
    const QList<Finding> findings = ProjectCheck::check(project);
    for (const Finding &finding : findings)
        qWarning() << "step" << finding.step << int(finding.kind) << finding.arguments;
    QVERIFY(findings.isEmpty());
}

QTEST_GUILESS_MAIN(TestSampleNames)
#include "tst_samplenames.moc"
