// SPDX-License-Identifier: MIT
#include "platform/X11Window.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_connection_t *connection()
{
    if (!X11Window::isX11())
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

xcb_window_t rootOf(xcb_connection_t *c, int *screenNumber)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    *screenNumber = 0;
    // The window's screen is the default one of the connection for us.
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

} // namespace

namespace X11Window {

bool isX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool compositorRunning()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    int screen = 0;
    rootOf(c, &screen);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    const xcb_atom_t selection = atom(c, name.constData());
    xcb_get_selection_owner_reply_t *reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_WINDOW_NONE;
    free(reply);
    return owned;
}

void setSkipTaskbar(QWidget *window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_window_t win = xcb_window_t(window->winId());
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms;
    // Keep what is already there; Qt merges its own states in the same way.
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, win, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        atoms.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    for (const char *name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t a = atom(c, name);
        if (std::find(atoms.begin(), atoms.end(), a) == atoms.end())
            atoms.push_back(a);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    xcb_flush(c);
}

void setStaysOnTop(QWidget *window, bool on)
{
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
    event.type = atom(c, "_NET_WM_STATE");
    event.data.data32[0] = on ? 1 : 0; // add or remove
    event.data.data32[1] = atom(c, "_NET_WM_STATE_ABOVE");
    event.data.data32[2] = 0;
    event.data.data32[3] = 1; // from an ordinary application
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
}

} // namespace X11Window
