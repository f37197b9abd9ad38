#include "ui/qt/stay_on_top.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace melodex::ui::qt {
namespace {

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name),
                              nullptr),
        &std::free);
    return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Asks the window manager to add or remove the window's "above" state (EWMH _NET_WM_STATE).
bool ask_window_manager(xcb_connection_t* connection, xcb_window_t window, bool on) {
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr),
        &std::free);
    if (geometry == nullptr) return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(connection, "_NET_WM_STATE");
    message.data.data32[0] = on ? 1 : 0;  // add or remove
    message.data.data32[1] = atom(connection, "_NET_WM_STATE_ABOVE");
    message.data.data32[2] = atom(connection, "_NET_WM_STATE_STAYS_ON_TOP");
    message.data.data32[3] = 1;  // asked by an application
    xcb_send_event(connection, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

}  // namespace

void set_stays_on_top(QWidget& window, bool on) {
    const Qt::WindowFlags flags = window.windowFlags().setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window.windowFlags()) return;
    // A shown window on X11 changes its state in place: new widget flags would hide it and show
    // it anew, where the window manager may place it elsewhere.
    auto* x11 = QGuiApplication::platformName() == QStringLiteral("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    if (window.isVisible() && x11 != nullptr && x11->connection() != nullptr &&
        window.windowHandle() != nullptr &&
        ask_window_manager(x11->connection(), static_cast<xcb_window_t>(window.winId()), on)) {
        window.overrideWindowFlags(flags);
        window.windowHandle()->setFlags(flags);
        return;
    }
    const bool shown = window.isVisible();
    window.setWindowFlags(flags);
    if (shown) window.show();
}

}  // namespace melodex::ui::qt
