#include "uiservices.h"

#include <QTest>

using namespace kq;

class TestUiServices : public QObject
{
    Q_OBJECT

private slots:
    void fileFilter_data();
    void fileFilter();
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

QTEST_GUILESS_MAIN(TestUiServices)
#include "tst_uiservices.moc"
