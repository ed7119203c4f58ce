// The status bar: an area's hint shows while the mouse moves over the area's own background,
// not over the controls on it; commands show their texts there too.

#include "editorfixture.h"
#include "language.h"
#include "statusbar.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kq;

class TestStatusBar : public QObject
{
    Q_OBJECT

private slots:
    void hintFollowsBackgroundOnly_data();
    void hintFollowsBackgroundOnly();
};

void TestStatusBar::hintFollowsBackgroundOnly_data()
{
    QTest::addColumn<bool>("overControl");
    QTest::newRow("background") << false;
    QTest::newRow("control") << true;
}

void TestStatusBar::hintFollowsBackgroundOnly()
{
    QFETCH(bool, overControl);
    QWidget window;
    auto *area = new QWidget(&window);
    area->setGeometry(0, 0, 200, 100);
    auto *button = new QPushButton(area);
    button->setGeometry(10, 10, 50, 20);
    auto *bar = new StatusBar(&window);
    bar->addHintArea(area, TextId::HintDialogList);
    bar->showText("Готово");
    QCOMPARE(bar->label()->objectName(), "sts");

    kq::EditorTest::moveMouse(area, overControl ? QPoint(20, 15) : QPoint(150, 80));

    QCOMPARE(bar->label()->text(),
             overControl ? QString("Готово") : languageText(TextId::HintDialogList));
}

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
