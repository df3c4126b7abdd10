// SPDX-License-Identifier: MIT
#include "platform/X11Activation.h"

#include "platform/X11Window.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};

xcb_window_t rootWindow(xcb_connection_t *c)
{
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

xcb_atom_t activeWindowAtom(xcb_connection_t *c)
{
    // An atom lives as long as the server; the connection stays the same.
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom != XCB_ATOM_NONE)
        return atom;
    const char name[] = "_NET_ACTIVE_WINDOW";
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(sizeof name - 1), name), nullptr));
    if (reply)
        atom = reply->atom;
    return atom;
}

} // namespace

namespace X11Activation {

uint32_t activeWindow()
{
    xcb_connection_t *c = X11Window::connection();
    if (!c)
        return 0;
    const std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, rootWindow(c), activeWindowAtom(c), XCB_ATOM_WINDOW, 0, 1),
                               nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
}

void activate(uint32_t window, uint32_t timestamp)
{
    xcb_connection_t *c = X11Window::connection();
    if (!c || window == 0)
        return;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = activeWindowAtom(c);
    // Source 2: the user asked for this window themselves, as through a
    // pager; a manager may refuse an ordinary application (1) the focus.
    event.data.data32[0] = 2;
    event.data.data32[1] = timestamp;
    event.data.data32[2] = 0;
    const xcb_window_t root = rootWindow(c);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
}

} // namespace X11Activation
