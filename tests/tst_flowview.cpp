#include "flowitems.h"
#include "flowview.h"
#include "language.h"
#include "programfolder.h"
#include "stepprojects.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;
using namespace kq::StepTest;

namespace {

QString describe(const FlowEdge &edge)
{
    const QStringList fields{"-", "button1", "button2", "barfull", "pauseend", "header"};
    const QStringList looks{"next", "forward", "back", "end", "stays", "fault", "start"};
    const QStringList marks{"", " !warning", " !error"};
    return QStringLiteral("%1 %2 %3 %4 [%5]%6")
        .arg(edge.step)
        .arg(fields.at(int(edge.field)), looks.at(int(edge.look)))
        .arg(edge.target)
        .arg(edge.label, marks.at(int(edge.mark)));
}

QString describe(const FlowNode &node)
{
    const QStringList kinds{"start", "step", "pastend", "exit", "fault"};
    const QStringList marks{"", " !warning", " !error"};
    return QStringLiteral("%1 %2 %3%4")
        .arg(kinds.at(int(node.kind)))
        .arg(node.step)
        .arg(node.title, marks.at(int(node.mark)));
}

template <class T> QStringList describeAll(const QList<T> &items)
{
    QStringList lines;
    for (const T &item : items)
        lines << describe(item);
    return lines;
}

DialogProject captioned(const Steps &steps)
{
    DialogProject project = makeProject(steps);
    for (int i = 1; i <= project.dialogCount(); ++i)
        project.record(i).caption = QStringLiteral("Окно %1").arg(i - 1);
    return project;
}

DialogProject straightProject(int count)
{
    return captioned(Steps(count, message("Далее", Next)));
}

// The list operations as the document does them: records after the place move by one.
DialogProject inserted(const DialogProject &project, int at, const QString &caption)
{
    DialogProject result = project;
    const int count = project.dialogCount();
    for (int dialog = count; dialog >= at + 1; --dialog)
        result.record(dialog + 1) = project.record(dialog);
    result.newDialog(at + 1, caption);
    result.record(at + 1).caption = caption;
    result.setDialogCount(qint16(count + 1));
    return result;
}

DialogProject removed(const DialogProject &project, int at)
{
    DialogProject result = project;
    const int count = project.dialogCount();
    for (int dialog = at + 1; dialog < count; ++dialog)
        result.record(dialog) = project.record(dialog + 1);
    result.clearRecord(count);
    result.setDialogCount(qint16(count - 1));
    return result;
}

// Everything a box or an arrow draws, told apart from the view's own comparison.
QString drawn(const FlowNode &node)
{
    const QRectF &rect = node.rect;
    return describe(node) + QStringLiteral(" %1,%2 %3x%4 %5 %6 %7 %8 %9")
                                .arg(rect.x())
                                .arg(rect.y())
                                .arg(rect.width())
                                .arg(rect.height())
                                .arg(node.subtitle)
                                .arg(node.type)
                                .arg(node.ico)
                                .arg(node.style)
                                .arg(node.tooltip);
}

QString drawn(const FlowEdge &edge)
{
    QString path;
    for (int i = 0; i < edge.path.elementCount(); ++i)
        path +=
            QStringLiteral(" %1:%2").arg(edge.path.elementAt(i).x).arg(edge.path.elementAt(i).y);
    return describe(edge) + path +
           QStringLiteral(" %1,%2 %3 %4 %5 %6")
               .arg(edge.labelAt.x())
               .arg(edge.labelAt.y())
               .arg(edge.labelWidth)
               .arg(edge.labelAlignedRight)
               .arg(edge.arrowhead)
               .arg(edge.tooltip);
}

// What the items in the scene draw and what the plan holds, each sorted.
QPair<QStringList, QStringList> pictureAndPlan(const FlowView &view)
{
    QStringList picture;
    for (const QGraphicsItem *item : view.scene()->items()) {
        if (item->type() == FlowNodeItem::Type)
            picture << drawn(static_cast<const FlowNodeItem *>(item)->node());
        else if (item->type() == FlowEdgeItem::Type)
            picture << drawn(static_cast<const FlowEdgeItem *>(item)->edge());
    }
    QStringList plan;
    for (const FlowNode &node : view.plan().nodes)
        plan << drawn(node);
    for (const FlowEdge &edge : view.plan().edges)
        plan << drawn(edge);
    picture.sort();
    plan.sort();
    return {picture, plan};
}

// The view's picture exported as PNG and as SVG, the SVG drawn on white at the PNG's size.
std::pair<QImage, QImage> exportedPictures(FlowView &view)
{
    QTemporaryDir dir;
    if (!view.exportPicture(dir.filePath("flow.png")) ||
        !view.exportPicture(dir.filePath("flow.svg")))
        return {};
    const QImage png = QImage(dir.filePath("flow.png")).convertToFormat(QImage::Format_RGB32);
    QImage svg(png.size(), QImage::Format_RGB32);
    svg.fill(Qt::white);
    QPainter painter(&svg);
    QSvgRenderer(dir.filePath("flow.svg")).render(&painter);
    painter.end();
    return {png, svg};
}

// The columns of a picture in which some pixel is dark: how wide its drawing runs.
int darkColumns(const QImage &picture)
{
    int columns = 0;
    for (int x = 0; x < picture.width(); ++x) {
        for (int y = 0; y < picture.height(); ++y) {
            if (qGray(picture.pixel(x, y)) < 128) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

QList<QGraphicsItem *> stepItems(const FlowView &view)
{
    QList<QGraphicsItem *> items;
    for (int step = 0; view.stepItem(step); ++step)
        items << view.stepItem(step);
    return items;
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Steps)

class TestFlowView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void nodesAndEdges_data();
    void nodesAndEdges();
    void subtitlesLeaveOutAccessKeys();
    void findingsMarkBoxesAndArrows();
    void insertRedrawsTheStepsFromThere();
    void deleteRedrawsTheStepsFromThere();
    void editRedrawsOnlyThatStep();
    void itemsShowWhatThePlanHolds_data();
    void itemsShowWhatThePlanHolds();
    void updateKeepsZoomScrollAndSelection();
    void clickingABoxActivatesItsStep();
    void arrowKeysMoveBetweenSteps();
    void zoomByKeysAndWheel();
    void opensShowingTheWholeWidth_data();
    void opensShowingTheWholeWidth();
    void arcsThatOverlapNeverShareALane();
    void exportsPng();
    void exportsSvg();
    void svgShowsTheIconsThePngShows();
    void svgTextsAsLargeAsThePng();
    void exportReportsAFolderThatIsMissing();
};

void TestFlowView::initTestCase()
{
    setProgramFolder(QStringLiteral(KQ_SOURCE_DIR "/data"));
    QCOMPARE(languageHeaderValue("english.lang", "GetFile"), QString("english.lang"));
}

void TestFlowView::cleanupTestCase()
{
    setProgramFolder(QString());
}

void TestFlowView::nodesAndEdges_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("nodes");
    QTest::addColumn<QStringList>("edges");

    QTest::newRow("message, progress, pause")
        << Steps{message("Да", Next, "Нет", Exit), progress(5, "Стоп", ButtonScript::goTo(0), Next),
                 pause(2, No)}
        << QStringList{"start -1 Project", "step 0 Окно 0",        "exit 0 Exit",
                       "step 1 Окно 1",    "step 2 Окно 2 !error", "fault 2 \"Нет\" !error"}
        << QStringList{"-1 - start 0 []",
                       "0 button1 next 1 [Да]",
                       "0 button2 end -1 [Нет]",
                       "1 barfull next 2 [<Bar full>]",
                       "2 pauseend fault -1 [<Pause over>] !error",
                       "1 button1 back 0 [Стоп]"};
    QTest::newRow("going on from the last step")
        << Steps{message("Дальше", Next, "Снова", ButtonScript::goTo(0))}
        << QStringList{"start -1 Project", "step 0 Окно 0", "pastend -1 Past the last step"}
        << QStringList{"-1 - start 0 []", "0 button1 end 1 [Дальше]", "0 button2 back 0 [Снова]"};
    QTest::newRow("ends left of their step")
        << Steps{message("Назад", Back, "Далеко", ButtonScript::goTo(7)),
                 message("Ещё", No, "", ""), ofType(7)}
        << QStringList{"start -1 Project", "step 0 Окно 0 !warning", "pastend 0 Before step 0",
                       "pastend 0 Past the last step",
                       // No path reaches step 1: its error cannot happen, so it is a warning.
                       "step 1 Окно 1 !warning", "step 2 Окно 2 !warning",
                       "pastend -1 Past the last step"}
        << QStringList{"-1 - start 0 []", "0 button1 end -1 [Назад] !warning",
                       "0 button2 end 7 [Далеко] !warning", "1 button1 stays -1 [Ещё]",
                       "2 - end 3 [no window]"};
}

void TestFlowView::nodesAndEdges()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, nodes);
    QFETCH(QStringList, edges);
    const DialogProject project = captioned(steps);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    QCOMPARE(describeAll(view.plan().nodes), nodes);
    QCOMPARE(describeAll(view.plan().edges), edges);
    // Every box and arrow of the plan is in the scene, and nothing else.
    QCOMPARE(view.scene()->items().size(), nodes.size() + edges.size());
}

void TestFlowView::subtitlesLeaveOutAccessKeys()
{
    // The boxes borrow the panel's labels, whose "&" marks an access key there.
    const DialogProject project = captioned(Steps{progress(5, "Стоп", Next, Next), ofType(7)});
    const FlowPlan plan = FlowPlan::make(project, ProjectCheck::check(project));
    QStringList subtitles;
    for (const FlowNode &node : plan.nodes) {
        if (node.kind == FlowNode::Kind::Step)
            subtitles << node.subtitle;
    }
    QCOMPARE(subtitles, QStringList({"Progress · Time (s): 5", "Type: 7 · no window"}));
}

void TestFlowView::findingsMarkBoxesAndArrows()
{
    // The bar-full script of step 1 cannot run; step 2 is never reached.
    const DialogProject project = captioned({message("Дальше", Next, "Выход", Exit),
                                             progress(3, "", Exit, No), message("Выход", Exit)});
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    const FlowNode &node = view.stepItem(1)->node();
    QCOMPARE(node.mark, FlowMark::Error);
    QVERIFY2(node.tooltip.contains("Bar-full script is \"Нет\""), qPrintable(node.tooltip));
    const QList<FlowEdgeItem *> edges = view.edgeItems(1);
    QCOMPARE(edges.size(), 1);
    QCOMPARE(edges.at(0)->edge().mark, FlowMark::Error);
    QVERIFY(edges.at(0)->toolTip().contains("runs by itself"));
    QCOMPARE(view.stepItem(2)->node().mark, FlowMark::Warning);
    QVERIFY(view.stepItem(2)->toolTip().contains("No path from step 0"));
    QCOMPARE(view.stepItem(0)->node().mark, FlowMark::None);
}

void TestFlowView::insertRedrawsTheStepsFromThere()
{
    const DialogProject before = straightProject(5);
    FlowView view;
    view.showProject(before, ProjectCheck::check(before));
    const QList<QGraphicsItem *> old = stepItems(view);
    const QList<FlowEdgeItem *> firstArrows = view.edgeItems(0);

    const DialogProject after = inserted(before, 2, QStringLiteral("Новый"));
    view.showProject(after, ProjectCheck::check(after));
    const QList<QGraphicsItem *> now = stepItems(view);
    QCOMPARE(now.size(), 6);
    // The steps before the new one are the same items; from the new one on, each is drawn anew.
    QCOMPARE(now.mid(0, 2), old.mid(0, 2));
    for (int step = 2; step < 6; ++step)
        QVERIFY2(!old.contains(now.at(step)), qPrintable(QString::number(step)));
    QCOMPARE(view.stepItem(2)->node().title, QString("Новый"));
    QCOMPARE(view.stepItem(3)->node().title, QString("Окно 2"));
    QCOMPARE(view.edgeItems(0), firstArrows);
    QCOMPARE(view.scene()->items().size(), view.plan().nodes.size() + view.plan().edges.size());
}

void TestFlowView::deleteRedrawsTheStepsFromThere()
{
    const DialogProject before = straightProject(5);
    FlowView view;
    view.showProject(before, ProjectCheck::check(before));
    const QList<QGraphicsItem *> old = stepItems(view);

    const DialogProject after = removed(before, 1);
    view.showProject(after, ProjectCheck::check(after));
    const QList<QGraphicsItem *> now = stepItems(view);
    QCOMPARE(now.size(), 4);
    QCOMPARE(now.at(0), old.at(0));
    for (int step = 1; step < 4; ++step)
        QVERIFY(!old.contains(now.at(step)));
    QCOMPARE(view.stepItem(1)->node().title, QString("Окно 2"));
    QCOMPARE(view.scene()->items().size(), view.plan().nodes.size() + view.plan().edges.size());
}

void TestFlowView::editRedrawsOnlyThatStep()
{
    DialogProject project = straightProject(4);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    const QList<QGraphicsItem *> old = stepItems(view);
    const QList<FlowEdgeItem *> arrows = view.edgeItems(1);

    project.record(3).caption = QStringLiteral("Другой");
    view.showProject(project, ProjectCheck::check(project));
    const QList<QGraphicsItem *> now = stepItems(view);
    QCOMPARE(now.size(), 4);
    for (int step : {0, 1, 3})
        QCOMPARE(now.at(step), old.at(step));
    QVERIFY(now.at(2) != old.at(2));
    QCOMPARE(view.stepItem(2)->node().title, QString("Другой"));

    // A button caption changes only that arrow.
    project.record(2).btn1 = QStringLiteral("Вперёд");
    view.showProject(project, ProjectCheck::check(project));
    QCOMPARE(view.stepItem(1), now.at(1));
    QCOMPARE(view.edgeItems(1).size(), 1);
    QVERIFY(view.edgeItems(1).at(0) != arrows.at(0));
    QCOMPARE(view.edgeItems(1).at(0)->edge().label, QString("Вперёд"));
}

void TestFlowView::itemsShowWhatThePlanHolds_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change : {"none", "caption edited", "step deleted", "step inserted",
                               "steps swapped", "jump retargeted", "jump past the end"})
        QTest::newRow(change) << change;
}

// Whatever changed, the items kept and the items made show exactly the new plan: no item is
// left over from the old picture and none shows a box or arrow as it was.
void TestFlowView::itemsShowWhatThePlanHolds()
{
    QFETCH(QString, change);
    // Jumps forward and back, an end and a button that stays: arcs in lanes and end boxes.
    const DialogProject before =
        captioned({message("Далее", Next), message("Далее", ButtonScript::goTo(4)),
                   message("Назад", Back, "Выход", Exit), message("Стой", No, "Далее", Next),
                   message("В начало", ButtonScript::goTo(1))});
    DialogProject after = before;
    if (change == "caption edited")
        after.record(4).caption = QStringLiteral("Другой");
    else if (change == "step deleted")
        after = removed(before, 1);
    else if (change == "step inserted")
        after = inserted(before, 2, QStringLiteral("Новый"));
    else if (change == "steps swapped")
        std::swap(after.record(2), after.record(3));
    else if (change == "jump retargeted")
        after.record(2).btnscr1 = ButtonScript::goTo(3);
    else if (change == "jump past the end")
        after.record(5).btnscr1 = ButtonScript::goTo(9);

    FlowView view;
    view.showProject(before, ProjectCheck::check(before));
    view.showProject(after, ProjectCheck::check(after));
    const auto [picture, plan] = pictureAndPlan(view);
    QCOMPARE(picture, plan);
}

void TestFlowView::updateKeepsZoomScrollAndSelection()
{
    const DialogProject project = straightProject(30);
    FlowView view;
    view.resize(400, 300);
    view.show();
    view.showProject(project, ProjectCheck::check(project));
    view.setZoom(1.5);
    view.selectStep(20);
    const int scroll = view.verticalScrollBar()->value();
    QVERIFY(scroll > 0);

    const DialogProject edited = inserted(project, 25, QStringLiteral("Новый"));
    view.showProject(edited, ProjectCheck::check(edited));
    QCOMPARE(view.zoom(), 1.5);
    QCOMPARE(view.verticalScrollBar()->value(), scroll);
    QCOMPARE(view.selectedStep(), 20);
    QVERIFY(view.stepItem(20)->isCurrent());
    QCOMPARE(view.stepItem(19)->isCurrent(), false);
}

void TestFlowView::clickingABoxActivatesItsStep()
{
    const DialogProject project = captioned(
        {message("Да", Next, "Выход", Exit), message("Дальше", Next), message("Выход", Exit)});
    FlowView view;
    view.resize(600, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.showProject(project, ProjectCheck::check(project));
    QSignalSpy activated(&view, &FlowView::stepActivated);

    const QPoint box = view.mapFromScene(view.stepItem(1)->node().rect.center());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), 1);
    QCOMPARE(view.selectedStep(), 1);
    QVERIFY(view.stepItem(1)->isCurrent());

    // The end box "Exit" left of step 0 belongs to step 0.
    QRectF exitBox;
    for (const FlowNode &node : view.plan().nodes) {
        if (node.kind == FlowNode::Kind::Exit && node.step == 0)
            exitBox = node.rect;
    }
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.mapFromScene(exitBox.center()));
    QCOMPARE(activated.size(), 2);
    QCOMPARE(activated.at(1).at(0).toInt(), 0);

    // Empty space selects nothing; selecting from outside emits nothing.
    QTest::mouseClick(
        view.viewport(), Qt::LeftButton, {},
        view.mapFromScene(view.stepItem(1)->node().rect.topRight() + QPointF(200, 0)));
    view.selectStep(2);
    QCOMPARE(activated.size(), 2);
    QVERIFY(view.stepItem(2)->isCurrent());
    QVERIFY(!view.stepItem(0)->isCurrent());
}

void TestFlowView::arrowKeysMoveBetweenSteps()
{
    const DialogProject project = straightProject(3);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    view.selectStep(0);
    QSignalSpy activated(&view, &FlowView::stepActivated);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down); // past the last step: stays
    QTest::keyClick(&view, Qt::Key_Up);
    QCOMPARE(activated.size(), 3);
    QCOMPARE(activated.at(1).at(0).toInt(), 2);
    QCOMPARE(view.selectedStep(), 1);
}

void TestFlowView::zoomByKeysAndWheel()
{
    const DialogProject project = straightProject(3);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    QCOMPARE(view.zoom(), 1.0);
    QTest::keyClick(&view, Qt::Key_Plus);
    QVERIFY(view.zoom() > 1.1);
    QTest::keyClick(&view, Qt::Key_Minus);
    QTest::keyClick(&view, Qt::Key_Minus);
    QVERIFY(view.zoom() < 0.9);
    QTest::keyClick(&view, Qt::Key_0);
    QCOMPARE(view.zoom(), 1.0);

    const QPointF at(50, 50);
    QWheelEvent plain(at, view.mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &plain);
    QCOMPARE(view.zoom(), 1.0);
    QWheelEvent zoomed(at, view.mapToGlobal(at), {}, {0, 240}, Qt::NoButton, Qt::ControlModifier,
                       Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &zoomed);
    QCOMPARE(view.zoom(), 1.44);

    view.setZoom(100);
    QCOMPARE(view.zoom(), FlowView::MaxZoom);
    view.setZoom(0);
    QCOMPARE(view.zoom(), FlowView::MinZoom);
}

void TestFlowView::opensShowingTheWholeWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("narrow split") << 180;
    QTest::newRow("half a window") << 320;
    QTest::newRow("wider than the picture") << 900;
}

void TestFlowView::opensShowingTheWholeWidth()
{
    QFETCH(int, width);
    // End boxes on both sides of the step column, arcs out to the right.
    const DialogProject project =
        captioned({message("Выход", Exit, "Далее", Next),
                   message("Назад", "Идти К 00", "Конец", "Идти К 07"), message("Далее", Next)});
    FlowView view;
    view.resize(width, 400);
    view.show();
    view.showProject(project, ProjectCheck::check(project));
    const auto wholeWidthShown = [&view] {
        const QRect shown = view.mapFromScene(view.plan().bounds).boundingRect();
        return shown.left() >= 0 && shown.right() <= view.viewport()->width();
    };
    QVERIFY(wholeWidthShown());
    QVERIFY(view.zoom() <= 1.0);

    // A narrower split after a restart: still the whole width.
    view.resize(width * 2 / 3, 400);
    QVERIFY(wholeWidthShown());

    // Once the user zooms, the view keeps the zoom; Ctrl+0 fits the whole picture again.
    view.setZoom(2.0);
    view.resize(width, 400);
    QCOMPARE(view.zoom(), 2.0);
    QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
    QCoreApplication::processEvents(); // the scroll bars that are no longer needed go
    const QRect shown = view.mapFromScene(view.plan().bounds).boundingRect();
    // Within a pixel of rounding, the picture's corners lie in the view.
    QVERIFY(view.viewport()->rect().adjusted(-1, -1, 1, 1).contains(shown));
    QVERIFY(view.zoom() <= 1.0);
}

void TestFlowView::arcsThatOverlapNeverShareALane()
{
    // 99 steps with jumps back and forth of many lengths.
    Steps steps;
    for (int step = 0; step < 99; ++step) {
        const int back = step / 3;
        const int ahead = std::min(98, step + 2 + step % 7);
        steps << message("Назад", ButtonScript::goTo(back), "Вперёд", ButtonScript::goTo(ahead));
    }
    const DialogProject project = captioned(steps);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    QCOMPARE(view.plan().nodes.size(), 1 + 99);

    struct Arc
    {
        qreal lane;
        qreal top;
        qreal bottom;
    };
    QList<Arc> arcs;
    for (const FlowEdge &edge : view.plan().edges) {
        if (edge.look != FlowEdge::Look::Forward && edge.look != FlowEdge::Look::Back)
            continue;
        const QRectF bounds = edge.path.boundingRect();
        arcs.append({bounds.right(), bounds.top(), bounds.bottom()});
        // Every arc runs right of the boxes and ends at its target's box.
        QVERIFY(bounds.left() >= FlowPlan::NodeWidth);
        const QPointF end = edge.path.currentPosition();
        QCOMPARE(end.x(), FlowPlan::NodeWidth);
        QVERIFY(end.y() > FlowPlan::rowTop(edge.target));
        QVERIFY(end.y() < FlowPlan::rowTop(edge.target) + FlowPlan::NodeHeight);
    }
    QVERIFY(arcs.size() > 150);
    for (int a = 0; a < arcs.size(); ++a) {
        for (int b = a + 1; b < arcs.size(); ++b) {
            const bool overlap =
                arcs.at(a).top <= arcs.at(b).bottom && arcs.at(b).top <= arcs.at(a).bottom;
            QVERIFY(!overlap || arcs.at(a).lane != arcs.at(b).lane);
        }
    }
}

void TestFlowView::exportsPng()
{
    const DialogProject project = straightProject(4);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    view.selectStep(1);
    QTemporaryDir dir;
    const QString path = dir.filePath("flow.png");
    QString error;
    QVERIFY2(view.exportPicture(path, &error), qPrintable(error));
    QImage picture(path, "PNG");
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), view.plan().bounds.size().toSize());
    // Boxes and arrows are drawn, not an empty page.
    int dark = 0;
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2)
            dark += qGray(picture.pixel(x, y)) < 128;
    }
    QVERIFY(dark > 100);
    // The highlight of the view is not part of the picture, and comes back afterwards.
    QVERIFY(view.stepItem(1)->isCurrent());
}

void TestFlowView::exportsSvg()
{
    const DialogProject project = straightProject(3);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    QTemporaryDir dir;
    const QString path = dir.filePath("flow.SVG");
    QVERIFY(view.exportPicture(path));
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox().size(), view.plan().bounds.size().toSize());
}

// Each step's icon in the SVG picture is its own cell of the strip, as in the PNG picture.
void TestFlowView::svgShowsTheIconsThePngShows()
{
    DialogProject project = straightProject(5);
    for (int dialog = 1; dialog <= 5; ++dialog)
        project.record(dialog).ico = qint16(dialog);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    const auto [png, svg] = exportedPictures(view);
    QVERIFY(!png.isNull());

    int icons = 0;
    for (const FlowNode &node : view.plan().nodes) {
        if (node.kind != FlowNode::Kind::Step)
            continue;
        const QRect icon = QRectF(node.rect.right() - 28, node.rect.top() + 8, 20, 20)
                               .translated(-view.plan().bounds.topLeft())
                               .toRect()
                               .adjusted(2, 2, -2, -2);
        qint64 difference = 0;
        for (int y = icon.top(); y <= icon.bottom(); ++y) {
            for (int x = icon.left(); x <= icon.right(); ++x)
                difference += qAbs(qGray(png.pixel(x, y)) - qGray(svg.pixel(x, y)));
        }
        const qint64 mean = difference / (icon.width() * icon.height());
        QVERIFY2(mean < 24, qPrintable(QStringLiteral("step %1: %2").arg(node.step).arg(mean)));
        ++icons;
    }
    QCOMPARE(icons, 5);
}

// A step's texts take the same room in the SVG picture as in the PNG picture.
void TestFlowView::svgTextsAsLargeAsThePng()
{
    const DialogProject project = captioned(Steps(1, message("Далее", Next)));
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    const auto [png, svg] = exportedPictures(view);
    QVERIFY(!png.isNull());
    // Inside the step's box, clear of its frame and icon, only texts are drawn.
    const auto step =
        std::find_if(view.plan().nodes.cbegin(), view.plan().nodes.cend(),
                     [](const FlowNode &node) { return node.kind == FlowNode::Kind::Step; });
    const QRect texts =
        step->rect.translated(-view.plan().bounds.topLeft()).toRect().adjusted(4, 4, -32, -4);
    const int pngWidth = darkColumns(png.copy(texts));
    const int svgWidth = darkColumns(svg.copy(texts));
    QVERIFY(pngWidth > 20);
    QVERIFY2(qAbs(svgWidth - pngWidth) <= pngWidth / 10,
             qPrintable(QStringLiteral("SVG %1, PNG %2").arg(svgWidth).arg(pngWidth)));
}

void TestFlowView::exportReportsAFolderThatIsMissing()
{
    const DialogProject project = straightProject(2);
    FlowView view;
    view.showProject(project, ProjectCheck::check(project));
    QTemporaryDir dir;
    QString error;
    QVERIFY(!view.exportPicture(dir.filePath("missing/flow.png"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("missing/flow.png")));
}

QTEST_MAIN(TestFlowView)
#include "tst_flowview.moc"
