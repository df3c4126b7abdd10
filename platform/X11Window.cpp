// SPDX-License-Identifier: MIT
#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QPoint>
#include <QString>
#include <QWindow>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

namespace {

// xcb replies are malloc'ed and the caller frees them.
struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template<typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeReply>;

xcb_window_t rootOf(xcb_connection_t *c, int *screenNumber)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    *screenNumber = 0;
    // The window's screen is the default one of the connection for us.
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

struct Atoms {
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
    xcb_atom_t skipPager = XCB_ATOM_NONE;
    xcb_atom_t skipSwitcher = XCB_ATOM_NONE;
    xcb_atom_t supportingWmCheck = XCB_ATOM_NONE;
    xcb_atom_t wmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t above = XCB_ATOM_NONE;
    xcb_atom_t compositorSelection = XCB_ATOM_NONE;
};

// Atoms live as long as the X server, so each is asked for once: all the
// requests go out together and cost one round trip. A failed look-up is
// not remembered, so the next call asks again.
const Atoms &atoms(xcb_connection_t *c)
{
    static xcb_connection_t *filledFor = nullptr;
    static Atoms cache;
    if (filledFor == c)
        return cache;
    int screen = 0;
    rootOf(c, &screen);
    const QByteArray compositorSelection = "_NET_WM_CM_S" + QByteArray::number(screen);
    const std::pair<xcb_atom_t *, const char *> wanted[] = {
        {&cache.wmState, "_NET_WM_STATE"},
        {&cache.skipTaskbar, "_NET_WM_STATE_SKIP_TASKBAR"},
        {&cache.skipPager, "_NET_WM_STATE_SKIP_PAGER"},
        {&cache.skipSwitcher, "_KDE_NET_WM_STATE_SKIP_SWITCHER"},
        {&cache.supportingWmCheck, "_NET_SUPPORTING_WM_CHECK"},
        {&cache.wmName, "_NET_WM_NAME"},
        {&cache.utf8String, "UTF8_STRING"},
        {&cache.above, "_NET_WM_STATE_ABOVE"},
        {&cache.compositorSelection, compositorSelection.constData()},
    };
    xcb_intern_atom_cookie_t cookies[std::size(wanted)];
    for (size_t i = 0; i < std::size(wanted); ++i) {
        const char *name = wanted[i].second;
        cookies[i] = xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    }
    bool complete = true;
    for (size_t i = 0; i < std::size(wanted); ++i) {
        const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
        *wanted[i].first = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        complete = complete && reply;
    }
    filledFor = complete ? c : nullptr;
    return cache;
}

// The first window a WINDOW property on `win` names, or none.
xcb_window_t windowProperty(xcb_connection_t *c, xcb_window_t win, xcb_atom_t property)
{
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, win, property, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW
        || xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
}

} // namespace

namespace X11Window {

xcb_connection_t *connection()
{
    if (!qGuiApp || !isX11())
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

bool isX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool compositorRunning()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const xcb_atom_t selection = atoms(c).compositorSelection;
    const XcbReply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

QString windowManagerName()
{
    xcb_connection_t *c = connection();
    if (!c)
        return {};
    const Atoms &known = atoms(c);
    int screen = 0;
    const xcb_window_t root = rootOf(c, &screen);
    // The check window names itself too; a stale property from a window
    // manager that has gone does not.
    const xcb_window_t check = windowProperty(c, root, known.supportingWmCheck);
    if (check == XCB_WINDOW_NONE || windowProperty(c, check, known.supportingWmCheck) != check)
        return {};
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, check, known.wmName, known.utf8String, 0, 256), nullptr));
    if (!reply || reply->format != 8)
        return {};
    return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

void setSkipTaskbar(QWidget *window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_window_t win = xcb_window_t(window->winId());
    const Atoms &known = atoms(c);
    std::vector<xcb_atom_t> states;
    // Keep what is already there; Qt merges its own states in the same way.
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, win, known.wmState, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        states.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
    }
    for (const xcb_atom_t a : {known.skipTaskbar, known.skipPager, known.skipSwitcher}) {
        if (std::find(states.begin(), states.end(), a) == states.end())
            states.push_back(a);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, known.wmState, XCB_ATOM_ATOM, 32, uint32_t(states.size()),
                        states.data());
    xcb_flush(c);
}

void setStaysOnTop(QWidget *window, bool on)
{
    // Wayland has no such state for a client to ask; a changed flag would
    // only make the window anew.
    if (isWayland())
        return;
    xcb_connection_t *c = connection();
    if (!c || !window->isVisible()) {
        // Before the first showing the window flag is enough. Elsewhere a
        // changed flag hides the window, so it is shown again.
        const bool visible = window->isVisible();
        if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
            return;
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (visible)
            window->show();
        return;
    }
    int screen = 0;
    const xcb_window_t root = rootOf(c, &screen);
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = atoms(c).wmState;
    event.data.data32[0] = on ? 1 : 0; // add or remove
    event.data.data32[1] = atoms(c).above;
    event.data.data32[2] = 0;
    event.data.data32[3] = 1; // from an ordinary application
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
}

bool startSystemMoveFrom(QWidget *window, QPoint pressGlobal, bool resize)
{
    xcb_connection_t *c = connection();
    if (!c || !window->windowHandle())
        return false;
    const char name[] = "_NET_WM_MOVERESIZE";
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(sizeof name - 1), name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    int screen = 0;
    const xcb_window_t root = rootOf(c, &screen);
    // Device pixels, as the window manager counts them.
    const QPoint at = (QPointF(pressGlobal) * window->devicePixelRatioF()).toPoint();
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window->winId());
    event.type = atom->atom;
    event.data.data32[0] = uint32_t(at.x());
    event.data.data32[1] = uint32_t(at.y());
    event.data.data32[2] = resize ? 4 : 8; // _NET_WM_MOVERESIZE_SIZE_BOTTOMRIGHT or _MOVE
    event.data.data32[3] = 1;              // the left button
    event.data.data32[4] = 1;              // from an ordinary application
    // The window manager needs the pointer our press grabbed.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
    return true;
}

std::optional<bool> pointerButtonDown()
{
    xcb_connection_t *c = connection();
    if (!c)
        return std::nullopt;
    int screen = 0;
    const XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, rootOf(c, &screen)), nullptr));
    if (!reply)
        return std::nullopt;
    // Buttons 4 and 5 are the wheel: they are never held.
    return (reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
}

} // namespace X11Window
