#include "runfault.h"
#include "stepprojects.h"
#include "steptable.h"

#include <QJsonArray>
#include <QTest>

using namespace kq;
using namespace kq::StepTest;

namespace {

QString wayName(const StepTable::Way &way)
{
    switch (way.kind) {
    case StepTable::Way::Kind::Step:
        return QString::number(way.step);
    case StepTable::Way::Kind::End:
        return QStringLiteral("end");
    case StepTable::Way::Kind::Stays:
        return QStringLiteral("stays");
    case StepTable::Way::Kind::Fault:
        break;
    }
    return QStringLiteral("fault: ") + way.fault;
}

// "start 0", then one line for each step that is shown:
// "0 message icon -1: ОК>1 close>1" or "2 pause 3000 ms: end>end".
QStringList describe(const StepTable &table)
{
    QStringList lines{QStringLiteral("start ") + wayName(table.start())};
    const QStringList types{"message", "progress", "pause"};
    for (int number = 0; number < table.steps().size(); ++number) {
        const std::optional<StepTable::Step> &step = table.steps().at(number);
        if (!step)
            continue;
        QString line = QStringLiteral("%1 %2").arg(number).arg(types.value(step->type));
        if (step->type == DialogRecord::Message)
            line += QStringLiteral(" icon %1:").arg(step->icon);
        else
            line += QStringLiteral(" %1 ms:").arg(step->interval);
        for (const StepTable::Button &button : step->buttons)
            line += QStringLiteral(" %1>%2").arg(button.caption, wayName(button.way));
        if (step->type != DialogRecord::Pause)
            line += QStringLiteral(" close>") + wayName(step->closeBox);
        if (step->type != DialogRecord::Message)
            line += QStringLiteral(" end>") + wayName(step->end);
        lines << line;
    }
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class TestStepTable : public QObject
{
    Q_OBJECT

private slots:
    void compile_data();
    void compile();
    void shownTexts();
    void json();
};

void TestStepTable::compile_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("table");
    const QString zero = QStringLiteral("0");
    const QString cannotRun = "fault: " + RunFault::scriptCannotRun(0, "Идти К ab");

    QTest::newRow("no steps") << zero << Steps{} << QStringList{"start end"};
    QTest::newRow("on, back, off the end")
        << zero << Steps{message("Да", Next, "Нет", Back), message("ОК", Next)}
        << QStringList{"start 0", "0 message icon -1: Да>1 Нет>end close>end",
                       "1 message icon -1: ОК>end close>end"};
    QTest::newRow("go-to, past the end, exit")
        << zero
        << Steps{message("К 1", ButtonScript::goTo(1), "Далеко", ButtonScript::goTo(7)),
                 message("Выход", "выход")}
        << QStringList{"start 0", "0 message icon -1: К 1>1 Далеко>end close>end",
                       "1 message icon -1: Выход>end close>end"};
    QTest::newRow("no action stays; a close box over it ends")
        << zero << Steps{message("Ещё", No, "Дальше", Next), message("Да", Next, "Нет", No)}
        << QStringList{"start 0", "0 message icon -1: Ещё>stays Дальше>1 close>1",
                       "1 message icon -1: Да>end Нет>stays close>end"};
    QTest::newRow("close box presses the last button")
        << zero
        << Steps{message("Дальше", Next, "Назад", ButtonScript::goTo(1)), message("ОК", Exit)}
        << QStringList{"start 0", "0 message icon -1: Дальше>1 Назад>1 close>1",
                       "1 message icon -1: ОК>end close>end"};
    QTest::newRow("a broken script is a fault")
        << zero << Steps{message("Да", "Идти К ab")}
        << QStringList{"start 0", "0 message icon -1: Да>" + cannotRun + " close>" + cannotRun};
    QTest::newRow("steps that show nothing are passed through")
        << zero
        << Steps{message("Дальше", Next),
                 pause(0, ButtonScript::goTo(3)),
                 message("—", Exit),
                 progress(0, "Стоп", Exit, Next),
                 ofType(7),
                 message("Конец", Exit)}
        << QStringList{"start 0", "0 message icon -1: Дальше>5 close>5",
                       "2 message icon -1: —>end close>end",
                       "5 message icon -1: Конец>end close>end"};
    QTest::newRow("progress: button, no action, no button")
        << zero
        << Steps{progress(3, "Стоп", Exit, Next), progress(1, "Ждите", No, Next),
                 progress(2, "  ", Exit, ButtonScript::goTo(0))}
        << QStringList{"start 0", "0 progress 30 ms: Стоп>end close>end end>1",
                       "1 progress 10 ms: Ждите>stays close>stays end>2",
                       "2 progress 20 ms: close>stays end>0"};
    QTest::newRow("a pause waits and then follows its script")
        << zero
        << Steps{pause(3, ButtonScript::goTo(2)), message("Мимо", Exit), message("ОК", Back)}
        << QStringList{"start 0", "0 pause 3000 ms: end>2", "1 message icon -1: Мимо>end close>end",
                       "2 message icon -1: ОК>1 close>1"};
    QTest::newRow("steps that lead round without a window")
        << zero
        << Steps{pause(0, ButtonScript::goTo(1)), ofType(5), pause(-2, ButtonScript::goTo(0))}
        << QStringList{"start fault: " + RunFault::silentLoop(0)};
    QTest::newRow("a circle entered from a window")
        << zero << Steps{message("Круг", Next), pause(0, ButtonScript::goTo(2)), pause(0, Back)}
        << QStringList{"start 0", "0 message icon -1: Круг>fault: " + RunFault::silentLoop(1) +
                                      " close>fault: " + RunFault::silentLoop(1)};
    QTest::newRow("pauses that lead round with no window in between")
        << zero << Steps{message("Начать", Next), pause(1, ButtonScript::goTo(2)), pause(1, Back)}
        << QStringList{"start 0",
                       "0 message icon -1: Начать>fault: " + RunFault::pauseLoop(1) +
                           " close>fault: " + RunFault::pauseLoop(1),
                       "1 pause 1000 ms: end>fault: " + RunFault::pauseLoop(2),
                       "2 pause 1000 ms: end>fault: " + RunFault::pauseLoop(1)};
    QTest::newRow("a progress window goes round with a pause: its close box ends")
        << zero << Steps{message("Начать", Next), progress(1, "", Exit, Next), pause(1, Back)}
        << QStringList{"start 0", "0 message icon -1: Начать>1 close>1",
                       "1 progress 10 ms: close>end end>2", "2 pause 1000 ms: end>1"};
    QTest::newRow("bar end with no action")
        << zero << Steps{progress(0, "", Exit, No)}
        << QStringList{"start fault: " + RunFault::scriptCannotRun(0, No)};
    QTest::newRow("header without a style")
        << "стиль" << Steps{message("ОК", Next)}
        << QStringList{"start fault: " + RunFault::noProjectStyle()};
    QTest::newRow("a style without a look stops at the first window")
        << "5" << Steps{pause(1, Next), progress(0, "", Next, Next), message("ОК", Next)}
        << QStringList{"start 0", "0 pause 1000 ms: end>fault: " + RunFault::cannotShow(1, 5),
                       "2 message icon -1: ОК>end close>end"};
    QTest::newRow("icons of messages")
        << " 1 "
        << Steps{withIcon(message("a", Next), 0), withIcon(message("b", Next), 3),
                 withIcon(message("c", Next), 9), withIcon(progress(1, "", Next, Next), 0)}
        << QStringList{"start 0", "0 message icon -1: a>1 close>1", "1 message icon 3: b>2 close>2",
                       "2 message icon 0: c>3 close>3", "3 progress 10 ms: close>stays end>end"};
}

void TestStepTable::compile()
{
    QFETCH(QString, style);
    QFETCH(Steps, steps);
    QFETCH(QStringList, table);
    QCOMPARE(describe(StepTable::compile(makeProject(steps, style))), table);
}

void TestStepTable::shownTexts()
{
    DialogProject project = makeProject({progress(2, "  &Стоп ", Exit, Next)});
    project.record(1).caption = QStringLiteral("  Окно  ");
    project.record(1).text = QStringLiteral("раз\r\nдва\rтри\nчетыре   ");
    project.record(1).ico = 4;
    const StepTable::Step step = *StepTable::compile(project).steps().constFirst();
    QCOMPARE(step.caption, QStringLiteral("  Окно"));
    QCOMPARE(step.text, QStringLiteral("раз\nдва\nтри\nчетыре"));
    QCOMPARE(step.buttons.constFirst().caption, QStringLiteral("&Стоп"));
    QCOMPARE(step.icon, 4);
}

void TestStepTable::json()
{
    const StepTable table = StepTable::compile(makeProject(
        {message("&Да", Next, "Н&ет", No), pause(1, "Идти К ab"), progress(0, "", Exit, Next)},
        "1"));
    const QJsonObject json = table.toJson();
    QCOMPARE(json.value("style").toInt(), 1);
    QCOMPARE(json.value("start").toInt(), 0);
    const QJsonArray steps = json.value("steps").toArray();
    QCOMPARE(steps.size(), 3);
    QVERIFY(steps.at(2).isNull());
    const QJsonArray buttons = steps.at(0).toObject().value("buttons").toArray();
    QCOMPARE(buttons.at(0).toObject().value("key").toString(), QStringLiteral("Д"));
    QCOMPARE(buttons.at(0).toObject().value("way").toInt(), 1);
    QCOMPARE(buttons.at(1).toObject().value("before").toString(), QStringLiteral("Н"));
    QCOMPARE(buttons.at(1).toObject().value("after").toString(), QStringLiteral("т"));
    QCOMPARE(buttons.at(1).toObject().value("way").toInt(), -2);
    QCOMPARE(steps.at(0).toObject().value("close").toInt(), -1);
    QCOMPARE(steps.at(1).toObject().value("end").toString(),
             RunFault::scriptCannotRun(1, "Идти К ab"));
    QCOMPARE(steps.at(1).toObject().value("interval").toInt(), 1000);
}

QTEST_GUILESS_MAIN(TestStepTable)
#include "tst_steptable.moc"
