// The theme painter: every kind of control takes its colours from the theme by whether it is
// enabled at the moment of painting, and the status line stays black.

#include "areaframe.h"
#include "editorfixture.h"
#include "iconpicture.h"
#include "olecolor.h"
#include "optionsetting.h"
#include "theme.h"
#include "themepainter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kq;

namespace {

// Ten colours of a theme file, in the order of its keys.
const QList<QColor> TestColors{{10, 20, 30},    {40, 50, 60},    {70, 80, 90},    {100, 110, 120},
                               {130, 140, 150}, {160, 170, 180}, {190, 200, 210}, {220, 230, 240},
                               {15, 25, 35},    {45, 55, 65}};

// A window with one control of each kind, named after its kind; "off" ones are disabled.
struct Window
{
    QWidget window;
    QLabel *status = new QLabel(&window);

    Window()
    {
        auto *area = new AreaFrame("area", &window);
        add<QLineEdit>("box", area);
        add<QComboBox>("list", area);
        add<QLabel>("label", area);
        add<QRadioButton>("option", area);
        add<QPushButton>("button", area);
        add<IconPicture>("icons", area);
        status->setObjectName("status");
    }

    template <typename Control> void add(const QString &name, QWidget *parent)
    {
        (new Control(parent))->setObjectName(name);
        auto *off = new Control(parent);
        off->setObjectName(name + "_off");
        off->setEnabled(false);
    }
};

} // namespace

class TestThemePainter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void colorsFollowKindAndState_data();
    void colorsFollowKindAndState();
    void repaintFollowsNewState();

private:
    QScopedPointer<kq::EditorTest::ProgramFolder> mFolder;
};

void TestThemePainter::init()
{
    mFolder.reset();
    mFolder.reset(new kq::EditorTest::ProgramFolder);
    QVERIFY(mFolder->ok());
    ThemeColors colors{};
    for (int i = 0; i < int(colors.size()); ++i)
        colors[i] = oleFromColor(TestColors[i]);
    QVERIFY(writeUserTheme(mFolder->path("Themes/test.tvth"), "Test", colors));
    optionSetting(OptionWrite, OptionTheme, mFolder->path("Themes/test.tvth"));
}

void TestThemePainter::colorsFollowKindAndState_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("color");
    const int text = QPalette::Text;
    const int base = QPalette::Base;
    QTest::newRow("box") << "box" << base << TestColors[0];
    QTest::newRow("disabled box") << "box_off" << base << TestColors[1];
    QTest::newRow("disabled box text") << "box_off" << text << TestColors[2];
    QTest::newRow("drop-down") << "list" << int(QPalette::Button) << TestColors[0];
    QTest::newRow("disabled drop-down") << "list_off" << int(QPalette::Button) << TestColors[1];
    QTest::newRow("drop-down text") << "list" << int(QPalette::ButtonText) << TestColors[2];
    QTest::newRow("label") << "label" << int(QPalette::WindowText) << TestColors[3];
    QTest::newRow("disabled label") << "label_off" << int(QPalette::WindowText) << TestColors[4];
    QTest::newRow("option") << "option" << int(QPalette::Button) << TestColors[5];
    QTest::newRow("disabled option") << "option_off" << int(QPalette::Button) << TestColors[5];
    QTest::newRow("option text") << "option_off" << int(QPalette::WindowText) << TestColors[2];
    QTest::newRow("button") << "button" << int(QPalette::Button) << TestColors[5];
    QTest::newRow("disabled button") << "button_off" << int(QPalette::Button) << TestColors[6];
    QTest::newRow("window") << "" << int(QPalette::Window) << TestColors[8];
    QTest::newRow("area") << "area" << int(QPalette::Window) << TestColors[9];
    QTest::newRow("status line") << "status" << int(QPalette::WindowText) << QColor(Qt::black);
}

void TestThemePainter::colorsFollowKindAndState()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QColor, color);
    Window shown;
    ThemePainter painter(shown.window, *shown.status);
    painter.readTheme();
    painter.paint();
    QWidget *widget =
        control.isEmpty() ? &shown.window : kq::EditorTest::child<QWidget>(&shown.window, control);
    const auto group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
    QCOMPARE(widget->palette().color(group, QPalette::ColorRole(role)), color);
    QCOMPARE(painter.color(ThemeColorKey::SelectionColor), TestColors[7]);
}

void TestThemePainter::repaintFollowsNewState()
{
    Window shown;
    ThemePainter painter(shown.window, *shown.status);
    painter.readTheme();
    painter.paint();
    auto *icons = kq::EditorTest::child<IconPicture>(&shown.window, "icons");
    QCOMPARE(icons->background(), TestColors[0]);
    icons->setEnabled(false);
    shown.status->setEnabled(false);
    painter.paint();
    QCOMPARE(icons->background(), TestColors[1]);
    QCOMPARE(shown.status->palette().color(QPalette::Disabled, QPalette::WindowText),
             QColor(Qt::black));
}

QTEST_MAIN(TestThemePainter)
#include "tst_themepainter.moc"
