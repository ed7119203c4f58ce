#include "windowsystem.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace kq::WindowSystem {

void setWindowAlpha(QWidget *window, int alpha)
{
    window->setWindowOpacity(alpha / 255.0);
#if QT_CONFIG(xcb)
    // On X11 the property change waits in the connection's output buffer. Qt's glib event loop
    // sends that buffer only while it handles X events, and a timer tick is not one, so without
    // this flush a fade would reach the compositor seconds late, in one jump.
    // Other platforms may offer the X11 interface too (offscreen does), without a connection.
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
#endif
}

#if QT_CONFIG(xcb)
namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// The 32-bit values of a window property, empty when it is missing.
QList<quint32> cardinals(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property,
                         xcb_atom_t type)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, property, type, 0, 4096);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    QList<quint32> values;
    if (reply && reply->format == 32) {
        const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
        values = QList<quint32>(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return values;
}

} // namespace
#endif

void activateWindowsOf(qint64 pid)
{
#if QT_CONFIG(xcb)
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || pid <= 0)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t clientList = internAtom(connection, "_NET_CLIENT_LIST");
    const xcb_atom_t wmPid = internAtom(connection, "_NET_WM_PID");
    const xcb_atom_t activeWindow = internAtom(connection, "_NET_ACTIVE_WINDOW");
    for (const quint32 window : cardinals(connection, root, clientList, XCB_ATOM_WINDOW)) {
        if (cardinals(connection, window, wmPid, XCB_ATOM_CARDINAL).value(0) != quint64(pid))
            continue;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = activeWindow;
        event.data.data32[0] = 2; // the request comes from the user's tools, not the program
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_flush(connection);
#else
    Q_UNUSED(pid);
#endif
}

} // namespace kq::WindowSystem
