// A step window minimised by a real window manager comes back by itself. openbox offers a
// minimise box on every dialog, whatever the window asks for; the test starts a virtual X server
// (Debian package xvfb) and openbox on it for itself, and asks openbox to minimise the window as
// its title bar button does: with the ICCCM request on the root window, over a connection of its
// own.
#include "dialogrecord.h"
#include "messagewindow.h"
#include "progresswindow.h"
#include "virtualdisplay.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstring>

#include <xcb/xcb.h>

#include <memory>

using namespace kq;

namespace {

constexpr quint32 NormalState = 1;
constexpr quint32 IconicState = 3;

// The window manager's side of a window, read and asked for apart from Qt's connection.
class WindowManagerView
{
public:
    WindowManagerView() : mConnection(xcb_connect(qgetenv("DISPLAY").constData(), nullptr))
    {
        mWmState = atom("WM_STATE");
        mChangeState = atom("WM_CHANGE_STATE");
    }
    ~WindowManagerView() { xcb_disconnect(mConnection); }

    // The ICCCM state the window manager gives the window; 0 before it manages it.
    quint32 state(xcb_window_t window) const
    {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
            xcb_get_property_reply(
                mConnection, xcb_get_property(mConnection, 0, window, mWmState, mWmState, 0, 2),
                nullptr),
            &free);
        if (!reply || xcb_get_property_value_length(reply.get()) < 4)
            return 0;
        return *static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    }

    void askToMinimise(xcb_window_t window) const
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = mChangeState;
        message.data.data32[0] = IconicState;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data->root;
        xcb_send_event(mConnection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(mConnection);
    }

private:
    xcb_atom_t atom(const char *name) const
    {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
            xcb_intern_atom_reply(mConnection,
                                  xcb_intern_atom(mConnection, 0, uint16_t(strlen(name)), name),
                                  nullptr),
            &free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    xcb_connection_t *mConnection;
    xcb_atom_t mWmState = XCB_ATOM_NONE;
    xcb_atom_t mChangeState = XCB_ATOM_NONE;
};

// Counts the times a window was minimised, however briefly.
class MinimiseCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange &&
            static_cast<QWidget *>(watched)->windowState() & Qt::WindowMinimized)
            ++count;
        return false;
    }
};

} // namespace

class TestMinimisedStep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void comesBack_data();
    void comesBack();

private:
    QProcess mWindowManager;
};

void TestMinimisedStep::initTestCase()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("no virtual X server (Debian package xvfb)");
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty())
        QSKIP("no openbox (Debian package openbox)");
    mWindowManager.start(openbox, {QStringLiteral("--sm-disable")});
    QVERIFY(mWindowManager.waitForStarted());
    // openbox has taken the screen once it announces itself on the root window.
    QTest::qWait(1000);
}

void TestMinimisedStep::cleanupTestCase()
{
    mWindowManager.kill();
    mWindowManager.waitForFinished();
}

void TestMinimisedStep::comesBack_data()
{
    QTest::addColumn<bool>("progress");
    QTest::newRow("message") << false;
    QTest::newRow("progress") << true;
}

void TestMinimisedStep::comesBack()
{
    QFETCH(bool, progress);
    DialogRecord record = DialogRecord::cleared();
    record.caption = QStringLiteral("Шаг");
    record.text = QStringLiteral("Текст шага");
    record.btn1 = QStringLiteral("Да");
    record.time = 30;
    std::unique_ptr<QDialog> window;
    if (progress)
        window = std::make_unique<ProgressWindow>(record, 0);
    else
        window = std::make_unique<MessageWindow>(record, 0);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const WindowManagerView manager;
    const auto id = xcb_window_t(window->winId());
    QTRY_COMPARE(manager.state(id), NormalState);

    MinimiseCounter minimised;
    window->installEventFilter(&minimised);
    manager.askToMinimise(id);
    // openbox minimises it, as Qt learns, and the window comes back and stays.
    QTRY_COMPARE(minimised.count, 1);
    QTRY_COMPARE(manager.state(id), NormalState);
    QTest::qWait(300);
    QCOMPARE(manager.state(id), NormalState);
    QVERIFY(!(window->windowState() & Qt::WindowMinimized));
}

int main(int argc, char *argv[])
{
    // Started before the application object, which connects to the display it names.
    const kq::EditorTest::VirtualDisplay display;
    if (!display.name().isEmpty()) {
        qputenv("DISPLAY", display.name());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    TestMinimisedStep test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_minimisedstep.moc"
