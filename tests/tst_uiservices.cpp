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
    QTest::newRow("one entry") << "Программы|*.exe"
                               << "Программы (*.exe)";
    QTest::newRow("three entries") << "Проекты|*.dlg2|Старые проекты|*.dlg|Программы|*.exe"
                                   << "Проекты (*.dlg2);;Старые проекты (*.dlg);;Программы (*.exe)";
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
