#pragma once

// Projects played through the runner's own step loop with its real windows, and what each
// window showed written down, for the tests that play the same projects in another player (the
// web page, the Windows program) with the same presses and compare. A press is "1" or "2"
// (click that button), "tap:1" (touch it), "close" (the close box), "esc", "enter",
// "enter-held" (Enter with its repeats), "text-enter" (a click on the text, then Enter), "tab",
// "backtab", "alt:X" (Alt and a key) or "wait" (let the bar fill). An event is
// ["message" or "progress", caption, text, icon, [buttons], interval], ["pause", interval],
// ["ended", what the player says] or ["ran out"] when the presses did.

#include "dialogproject.h"
#include "kxbutton.h"
#include "messagewindow.h"
#include "mnemonic.h"
#include "pausewindow.h"
#include "progresswindow.h"
#include "projectio.h"
#include "stepflow.h"
#include "steploop.h"
#include "stepprojects.h"
#include "windowstep.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kq::RunnerPlay {

using namespace kq::StepTest;

// Presses for a case whose presses are not given: chosen at random among what the window
// offers, the same every time, up to this many.
constexpr int ChosenPresses = 14;

inline QJsonArray strings(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

// Plays the runner's windows and presses what the case says, writing down what each window
// shows in the form webplay.py writes the page's windows.
class Player
{
public:
    // ended and stopped (%1 the runner's reason) are what the player under test says at the
    // end of the run.
    Player(QStringList presses, quint32 seed, QString ended, QString stopped)
        : mPresses(std::move(presses)), mChoosing(mPresses.isEmpty()), mRandom(seed),
          mEnded(std::move(ended)), mStopped(std::move(stopped))
    {
    }

    // Keys go to the active window: a window of its own is made active, a window shown inside
    // another one is brought the focus by the given activation.
    void setActivation(std::function<void(QWidget &)> activation)
    {
        mActivation = std::move(activation);
    }

    // The close box: a window of its own is closed as a window manager closes it, a window shown
    // inside another one by the close box drawn there.
    void setCloser(std::function<void(QWidget &)> closer) { mCloser = std::move(closer); }

    void shown(StepWindow &window, const DialogRecord &record)
    {
        if (record.type == DialogRecord::Pause) {
            mEvents.append(QJsonArray{QStringLiteral("pause"), window.interval()});
            static_cast<PauseWindow &>(window).tick();
            return;
        }
        const bool progress = record.type == DialogRecord::Progress;
        mEvents.append(QJsonArray{progress ? QStringLiteral("progress") : QStringLiteral("message"),
                                  caption(window), text(window), icon(window, record),
                                  strings(buttonCaptions(window)), window.interval()});
        while (window.isVisible()) {
            const QString press = nextPress(window, progress);
            if (press.isEmpty()) {
                mEvents.append(QJsonArray{QStringLiteral("ran out")});
                mRanOut = true;
                window.done(0);
                return;
            }
            mUsed << press;
            apply(window, press);
            // An access key clicks its button a moment later, as a click shows it going down.
            // Whether it went within the time shows in the events that follow.
            if (press.startsWith(u"alt:"))
                static_cast<void>(QTest::qWaitFor([&window] { return !window.isVisible(); }, 300));
        }
    }

    void finished(const StepLoop::Outcome &outcome)
    {
        if (mRanOut)
            return;
        const bool fault = outcome.status == StepLoop::Status::Fault;
        mEvents.append(
            QJsonArray{QStringLiteral("ended"), fault ? mStopped.arg(outcome.fault) : mEnded});
    }

    bool ranOut() const { return mRanOut; }
    QJsonArray events() const { return mEvents; }
    QStringList used() const { return mUsed; }

private:
    // A blank caption is shown as one space, since Qt would put the program's name there.
    static QString caption(const QWidget &window)
    {
        QString title = window.windowTitle();
        return title == u" " ? QString() : title.replace(QStringLiteral("[*][*]"), "[*]");
    }

    static QString text(const QWidget &window)
    {
        return window.findChild<QLabel *>(QStringLiteral("msg_text"))->text();
    }

    static int icon(const QWidget &window, const DialogRecord &record)
    {
        if (window.findChild<QLabel *>(QStringLiteral("msg_icon"))->isHidden())
            return -1;
        return record.ico >= 1 && record.ico <= 5 ? record.ico : 0;
    }

    // The buttons of the project style that the window shows, in the order of their names.
    static QList<QWidget *> buttons(const QWidget &window)
    {
        QList<QWidget *> shown;
        for (QWidget *child : window.findChildren<QWidget *>()) {
            const bool button =
                qobject_cast<QPushButton *>(child) || qobject_cast<KXButton *>(child);
            if (button && !child->isHidden())
                shown << child;
        }
        std::sort(shown.begin(), shown.end(),
                  [](QWidget *a, QWidget *b) { return a->objectName() < b->objectName(); });
        return shown;
    }

    static QStringList buttonCaptions(const QWidget &window)
    {
        QStringList captions;
        for (QWidget *button : buttons(window)) {
            if (auto *system = qobject_cast<QPushButton *>(button))
                captions << withoutMnemonic(system->text());
            else
                captions << withoutMnemonic(static_cast<KXButton *>(button)->caption());
        }
        return captions;
    }

    QString nextPress(const QWidget &window, bool progress)
    {
        if (!mChoosing)
            return mPresses.isEmpty() ? QString() : mPresses.takeFirst();
        if (mUsed.size() >= ChosenPresses)
            return {};
        QStringList offered{QStringLiteral("close"), QStringLiteral("esc"),
                            QStringLiteral("enter")};
        for (int i = 1; i <= buttons(window).size(); ++i)
            offered << QString::number(i);
        if (progress)
            offered << QStringLiteral("wait") << QStringLiteral("wait");
        return offered.at(mRandom.bounded(int(offered.size())));
    }

    // Enter held down: one press, the repeats a keyboard sends, the release, all where the focus
    // was when the key went down.
    static void holdEnter(QWidget *focus)
    {
        const QPointer<QWidget> target(focus);
        for (const bool repeat : {false, true, true, true}) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                           repeat);
            if (target)
                QApplication::sendEvent(target, &down);
        }
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        if (target)
            QApplication::sendEvent(target, &up);
    }

    void activate(QWidget &window)
    {
        if (mActivation) {
            mActivation(window);
            return;
        }
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the window does not become active");
    }

    void apply(StepWindow &window, const QString &press)
    {
        if (press == u"close") {
            if (mCloser)
                mCloser(window);
            else
                window.close();
        } else if (press == u"esc") {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else if (press == u"enter") {
            // Keys go to the active window, where the focus is.
            activate(window);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (press == u"enter-held") {
            activate(window);
            holdEnter(QApplication::focusWidget());
        } else if (press == u"text-enter") {
            activate(window);
            QTest::mouseClick(window.findChild<QLabel *>(QStringLiteral("msg_text")),
                              Qt::LeftButton);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (press == u"tab" || press == u"backtab") {
            activate(window);
            QTest::keyClick(QApplication::focusWidget(),
                            press == u"tab" ? Qt::Key_Tab : Qt::Key_Backtab,
                            press == u"tab" ? Qt::NoModifier : Qt::ShiftModifier);
        } else if (press.startsWith(u"alt:")) {
            activate(window);
            const QString key = press.mid(4);
            QTest::sendKeyEvent(QTest::Click, &window, QKeySequence(key)[0].key(), key.toLower(),
                                Qt::AltModifier);
        } else if (press == u"wait") {
            while (window.isVisible())
                static_cast<ProgressWindow &>(window).tick();
        } else {
            const int index = press.section(u':', -1).toInt() - 1;
            QWidget *button = buttons(window).value(index);
            if (!button)
                qFatal("no button %s after %s: %s", qPrintable(press), qPrintable(mUsed.join(u' ')),
                       qPrintable(buttonCaptions(window).join(u'|')));
            if (auto *system = qobject_cast<QPushButton *>(button))
                system->click();
            else
                static_cast<KXButton *>(button)->click();
        }
    }

    QStringList mPresses;
    bool mChoosing;
    QRandomGenerator mRandom;
    QStringList mUsed;
    QJsonArray mEvents;
    bool mRanOut = false;
    QString mEnded;
    QString mStopped;
    std::function<void(QWidget &)> mActivation;
    std::function<void(QWidget &)> mCloser;
};

// The runner's step kind for a window class, with the player looking on: the window is built
// and played exactly as WindowStep does.
template <class Window> class PlayedStep final : public WindowStepKind<Window>
{
public:
    explicit PlayedStep(Player &player) : mPlayer(player) {}

protected:
    qint16 playBuilt(std::unique_ptr<Window> window, const DialogRecord &record) override
    {
        Window &shown = *window;
        QTimer::singleShot(0, &shown, [this, &shown, &record] { mPlayer.shown(shown, record); });
        const qint16 result = shown.play();
        return mPlayer.ranOut() ? StepKind::EndRun : result;
    }

private:
    Player &mPlayer;
};

struct Case
{
    QString name;
    DialogProject project;
    QStringList presses; // none: chosen as the windows come
};

inline Case crafted(const QString &name, const QString &style, const Steps &steps,
                    const QStringList &presses)
{
    return {name, makeProject(steps, style), presses};
}

inline QList<Case> shippedSamples()
{
    QList<Case> cases;
    const QDir samples(QStringLiteral(KQ_SOURCE_DIR "/data/Samples"));
    for (const QString &file : samples.entryList({"*.dlg2", "*.dlg"}, QDir::Files, QDir::Name)) {
        Case sample{"sample " + file, {}, {}};
        QString error;
        if (!ProjectIO::openPath(sample.project, samples.filePath(file), &error))
            qFatal("cannot open the sample %s: %s", qPrintable(file), qPrintable(error));
        cases << sample;
    }
    return cases;
}

// Every step kind, every script, both styles, circles, targets past the end, "Нет" buttons, the
// close box, the keys, faults, and texts that look like markup.
inline QList<Case> craftedProjects()
{
    const auto goTo = [](int n) { return ButtonScript::goTo(n); };
    DialogProject markup = makeProject(
        {message("<b>&OK</b>", Next, "</script>", Exit), progress(1, "&<i>", Next, Exit)});
    markup.record(1).caption = QStringLiteral("<img src=x onerror=alert(1)>");
    markup.record(1).text = QStringLiteral("</script><script>alert(2)</script>\r\n&amp; \"'`${1}");
    markup.record(2).caption = QStringLiteral("<!-- @@SCRIPT@@");
    markup.record(2).text = QStringLiteral("<svg onload=alert(3)>");
    DialogProject texts =
        makeProject({withIcon(message("", Next), 9), withIcon(message("Ок", Next), 4)});
    texts.record(1).caption = QStringLiteral("   ");
    texts.record(1).text = QStringLiteral("Строка один\r\n\r\n   с отступом\rи ещё   ");
    texts.record(2).caption = QStringLiteral("Заголовок [*] с метками");
    texts.record(2).text = QString(300, u'ж');

    return {
        crafted("buttons, back from the first", "0",
                {message("&Да", Next, "&Нет", Back), message("ОК", Back)}, {"1", "1", "2"}),
        crafted("go-to, exit in capitals, past the end", "1",
                {message("К 2", goTo(2), "Выход", "ВЫХОД"), message("x", Next),
                 message("Далеко", goTo(9))},
                {"1", "1"}),
        crafted("exit", "0", {message("Да", Next, "Выход", Exit), message("x", Next)}, {"2"}),
        crafted("no action and a close box over it", "1",
                {message("Ждать", No, "Дальше", Next), message("Да", Next, "Нет", No)},
                {"1", "1", "2", "2", "close"}),
        crafted("close box presses the last button", "0",
                {message("Дальше", Next, "Снова", goTo(0)), message("Один", goTo(1))},
                {"close", "close", "esc", "esc", "close"}),
        crafted("going round by go-to", "0", {message("Снова", goTo(0))},
                {"1", "1", "1", "1", "1"}),
        crafted("progress: button, bar end, both styles", "1",
                {progress(1, "&Стоп", goTo(2), Next), message("После", goTo(0), "Конец", Exit),
                 message("Остановлено", goTo(0), "Выход", Exit)},
                {"wait", "1", "1", "2"}),
        crafted("progress: no action button, no button", "0",
                {progress(2, "Ждите", No, Next), progress(1, "", Exit, goTo(3)),
                 message("Мимо", Exit), message("Конец", Exit)},
                {"1", "close", "esc", "wait", "close", "esc", "wait", "1"}),
        crafted("pauses and steps that show nothing", "0",
                {pause(2, goTo(3)), message("Мимо", Exit), progress(0, "Стоп", Exit, goTo(5)),
                 message("После паузы", goTo(2)), ofType(7), message("Конец", Exit)},
                {"1", "1"}),
        crafted("pause at the end", "1", {message("Дальше", Next), pause(1, Next)}, {"1"}),
        crafted("circle without a window", "0",
                {message("В круг", Next), pause(0, goTo(2)), progress(0, "", Exit, goTo(1))},
                {"1"}),
        crafted("pauses that lead round", "0",
                {message("В круг", Next), pause(1, goTo(2)), pause(1, Back)}, {"1"}),
        crafted("a progress window going round with a pause", "1",
                {message("В круг", Next), progress(1, "", Exit, Next), pause(1, Back)},
                {"1", "wait", "close"}),
        crafted("a script that cannot run", "0",
                {message("Дальше", Next, "Сломано", "Идти К ab"), message("x", goTo(0))},
                {"1", "1", "2"}),
        crafted("bar end with no action", "1", {progress(1, "Стоп", Exit, No)}, {"wait"}),
        crafted("a style without a look", "5", {pause(1, Next), message("ОК", Next)}, {}),
        crafted("no project style", "стиль", {message("ОК", Next)}, {}),
        crafted("keys: Enter, access keys, Esc", "0",
                {message("&Да", Next, "&Нет", Back), message("&Первый", goTo(0), "В&торой", Next),
                 message("Конец", Exit)},
                {"enter", "alt:П", "alt:Т", "enter", "esc"}),
        crafted(
            "keys: Tab goes round the buttons, held Enter, Enter after a click on the text", "0",
            {message("Один", Next, "Два", goTo(3)), message("Дальше", Next), message("Мимо", Next),
             message("Тут", goTo(0), "Там", Next), message("Конец", Exit)},
            {"tab", "tab", "enter", "enter-held", "backtab", "text-enter", "tab", "tab", "backtab",
             "enter", "enter"}),
        crafted(
            "keys in the skinned style: Tab, held Enter", "1",
            {message("Один", Next, "Два", Back), message("Дальше", Next), message("Конец", Exit)},
            {"tab", "tab", "tab", "enter-held", "text-enter", "enter"}),
        crafted("keys in the skinned style, touch", "1",
                {message("&Да", Next, "&Нет", Back), message("&Ок", Next)}, {"alt:Д", "tap:1"}),
        {"markup in texts", markup, {"1", "wait"}},
        {"blank and long texts, icons", texts, {"1", "1"}},
        crafted("presses run out", "0", {message("Ждать", No)}, {"1", "1"}),
    };
}

inline QStringList lines(const QJsonArray &events)
{
    QStringList lines;
    for (const QJsonValue &event : events)
        lines << QString::fromUtf8(QJsonDocument(event.toArray()).toJson(QJsonDocument::Compact));
    return lines;
}

// The case as the runner's step loop plays it, its data file written in dir; fills in the
// presses chosen.
inline QJsonArray playInRunner(Case &sample, quint32 seed, const QString &dir, const QString &ended,
                               const QString &stopped)
{
    const QString data = QDir(dir).filePath(QStringLiteral("run.dll"));
    QString error;
    // Other players are built from the project as the runner reads it, in code page 1251.
    if (!ProjectIO::writeDataFile(sample.project, data, &error) ||
        !ProjectIO::loadProjectFile(sample.project, data, &error))
        qFatal("cannot write %s: %s", qPrintable(data), qPrintable(error));
    Player player(sample.presses, seed, ended, stopped);
    PlayedStep<MessageWindow> message(player);
    PlayedStep<ProgressWindow> progress(player);
    PlayedStep<PauseWindow> pause(player);
    StepLoop loop;
    loop.setStepKind(DialogRecord::Message, &message);
    loop.setStepKind(DialogRecord::Progress, &progress);
    loop.setStepKind(DialogRecord::Pause, &pause);
    player.finished(loop.run(data, true));
    sample.presses = player.used();
    return player.events();
}

} // namespace kq::RunnerPlay
