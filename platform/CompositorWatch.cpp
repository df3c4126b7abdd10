// SPDX-License-Identifier: MIT
#include "platform/CompositorWatch.h"

#include "platform/X11Window.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};

} // namespace

CompositorWatch::CompositorWatch(QObject *parent)
    : QObject(parent)
{
    xcb_connection_t *c = X11Window::connection();
    if (!c)
        return;
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_xfixes_id);
    if (!ext || !ext->present)
        return;
    // The server answers XFixes requests only from a client that said which
    // version it speaks (Qt has, but that is Qt's business).
    std::unique_ptr<xcb_xfixes_query_version_reply_t, FreeReply> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 1, 0), nullptr));
    if (!version)
        return;
    // The bar lives on the connection's first screen, as X11Window assumes.
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return;
    const QByteArray name = "_NET_WM_CM_S0";
    std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr));
    if (!atom)
        return;
    m_firstXfixesEvent = ext->first_event;
    m_selection = atom->atom;
    xcb_xfixes_select_selection_input(c, screen->root, m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_watching = true;
}

CompositorWatch::~CompositorWatch()
{
    if (m_watching && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositorWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_firstXfixesEvent + XCB_XFIXES_SELECTION_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
    if (notify->selection != m_selection)
        return false;
    // The new owner is in the event, but asking again also covers changes
    // that came while this one was on its way.
    Q_EMIT changed(X11Window::compositorRunning());
    // Qt's clipboard watches other selections the same way: let it see this.
    return false;
}
