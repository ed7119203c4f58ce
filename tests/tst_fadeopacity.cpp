// The fades as the window system sees them: the window's _NET_WM_WINDOW_OPACITY property, read
// over a connection of the test's own, must follow every step while the real timers run under
// Qt's default event loop. The test starts a virtual X server (Debian package xvfb) for itself.
#include "aboutwindow.h"
#include "editorfixture.h"
#include "scriptedui.h"
#include "splashwindow.h"
#include "virtualdisplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <xcb/xcb.h>

#include <memory>

using namespace kq;

namespace {

// Reads a window's opacity as the server holds it, over a connection apart from Qt's, so that
// reading flushes nothing of what the program under test has left unsent.
class PropertyReader
{
public:
    PropertyReader() : mConnection(xcb_connect(qgetenv("DISPLAY").constData(), nullptr))
    {
        const char name[] = "_NET_WM_WINDOW_OPACITY";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
            xcb_intern_atom_reply(mConnection,
                                  xcb_intern_atom(mConnection, 0, sizeof name - 1, name), nullptr),
            &free);
        if (reply)
            mAtom = reply->atom;
    }
    ~PropertyReader() { xcb_disconnect(mConnection); }

    // The opacity in steps of 255; 255 when the property is missing (Qt removes it at full
    // opacity), -1 when the window cannot be read.
    int alpha(WId window) const
    {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
            xcb_get_property_reply(mConnection,
                                   xcb_get_property(mConnection, 0, xcb_window_t(window), mAtom,
                                                    XCB_ATOM_CARDINAL, 0, 1),
                                   nullptr),
            &free);
        if (!reply)
            return -1;
        if (xcb_get_property_value_length(reply.get()) != 4)
            return 255;
        const quint32 value = *static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
        return int(qRound64(value * 255.0 / 0xffffffffu));
    }

private:
    xcb_connection_t *mConnection;
    xcb_atom_t mAtom = XCB_ATOM_NONE;
};

// Each tick of a fade's timer, the opacity the window holds and the one the server shows.
struct Trace
{
    QList<int> held;
    QList<int> shown;
};

// Records after every timeout of the timer, once the window's own handler has run (it connected
// first). The server takes requests of two clients in no fixed order, so the reading waits a
// little for the value the window holds; the program processes no event meanwhile, so what it
// left unsent stays unsent and the reading shows the old value.
template <typename Window>
void follow(QTimer *timer, const Window &window, const PropertyReader &server, Trace *trace)
{
    QObject::connect(timer, &QTimer::timeout, timer, [&window, &server, trace] {
        if (!window.isVisible())
            return;
        const int held = window.opacity();
        int shown = server.alpha(window.winId());
        QElapsedTimer waited;
        waited.start();
        while (shown != held && waited.elapsed() < 200) {
            QThread::msleep(2);
            shown = server.alpha(window.winId());
        }
        trace->held << held;
        trace->shown << shown;
    });
}

bool onX11()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

} // namespace

class TestFadeOpacity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splashFadeInReachesTheServer();
    void aboutFadesReachTheServer();

private:
    kq::EditorTest::ProgramFolder mProgram;
};

void TestFadeOpacity::initTestCase()
{
    if (!onX11())
        QSKIP("needs an X server: install Xvfb (Debian package xvfb)");
    QVERIFY(mProgram.ok());
}

void TestFadeOpacity::splashFadeInReachesTheServer()
{
    PropertyReader server;
    SplashWindow splash([] {});
    auto *timer = splash.findChild<QTimer *>("time");
    QVERIFY(timer);
    timer->setInterval(10);
    Trace trace;
    follow(timer, splash, server, &trace);

    QTRY_VERIFY_WITH_TIMEOUT(splash.phase() != 0, 10000);
    // Every fade-in step, 6 to 252, as the server saw it right after the step; the 43rd tick
    // only ends the fade-in, and the window stays at 252.
    QCOMPARE(trace.held.size(), 43);
    QCOMPARE(trace.held.at(41), 252);
    QCOMPARE(trace.shown.mid(0, 42), trace.held.mid(0, 42));
    QCOMPARE(trace.shown.constLast(), 252);
}

void TestFadeOpacity::aboutFadesReachTheServer()
{
    PropertyReader server;
    ScriptedUi ui;
    AboutWindow about(ui, nullptr);
    about.show();
    Trace in;
    follow(about.findChild<QTimer *>("iin"), about, server, &in);
    QTRY_COMPARE_WITH_TIMEOUT(about.opacity(), 258, 10000);
    QCOMPARE(in.held.size(), 43);
    // The last tick only stops the timer; the window stays at 252.
    QCOMPARE(in.shown.mid(0, 42), in.held.mid(0, 42));
    QCOMPARE(in.shown.constLast(), 252);

    Trace out;
    follow(about.findChild<QTimer *>("iout"), about, server, &out);
    about.startFadeOut();
    QTRY_VERIFY_WITH_TIMEOUT(!about.isVisible(), 10000);
    QCOMPARE(out.held.size(), 42);
    QCOMPARE(out.held.constLast(), 6);
    QCOMPARE(out.shown, out.held);
}

int main(int argc, char *argv[])
{
    // Started before the application object, which connects to the display it names.
    const kq::EditorTest::VirtualDisplay display;
    if (!display.name().isEmpty()) {
        qputenv("DISPLAY", display.name());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // Qt's default event loop on X11 is glib's; that is where the fades fell behind.
    qunsetenv("QT_NO_GLIB");
    QApplication app(argc, argv);
    TestFadeOpacity test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fadeopacity.moc"
