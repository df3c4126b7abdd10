// SPDX-License-Identifier: MIT
#include "platform/GlobalKey.h"

#include "platform/X11Keymap.h"
#include "platform/X11Window.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

xcb_window_t rootWindow(xcb_connection_t *c)
{
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

constexpr uint8_t kBadAccess = 10;

} // namespace

GlobalKey::GlobalKey(QObject *parent)
    : QObject(parent)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

GlobalKey::~GlobalKey()
{
    release();
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

GlobalKey::Result GlobalKey::grab(QKeyCombination combination)
{
    release();
    xcb_connection_t *c = X11Window::connection();
    if (!c)
        return Result::Unavailable;
    const X11Keymap keymap = X11Keymap::current();
    const std::optional<X11Key> key = keymap.keyFor(combination);
    if (!key)
        return Result::Unavailable;
    m_root = rootWindow(c);
    m_lockMasks = uint16_t(XCB_MOD_MASK_LOCK | keymap.numLockMask());
    const uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, keymap.numLockMask(),
                              uint16_t(XCB_MOD_MASK_LOCK | keymap.numLockMask())};
    // All four requests first, then their answers: one round trip.
    std::vector<xcb_void_cookie_t> cookies;
    std::vector<Grab> made;
    for (const uint16_t lock : locks) {
        const Grab grab{key->keycode, uint16_t(key->modifiers | lock)};
        // Num Lock on no modifier bit: the second pair would repeat the first.
        if (std::find_if(made.begin(), made.end(), [&](const Grab &g) { return g.modifiers == grab.modifiers; })
            != made.end())
            continue;
        made.push_back(grab);
        cookies.push_back(
            xcb_grab_key_checked(c, 0, m_root, grab.modifiers, grab.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool busy = false, failed = false;
    for (size_t i = 0; i < cookies.size(); ++i) {
        std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(xcb_request_check(c, cookies[i]), &std::free);
        if (!error) {
            m_grabs.push_back(made[i]);
            continue;
        }
        busy = busy || error->error_code == kBadAccess;
        failed = true;
    }
    if (failed) {
        // Half a key would work with Caps Lock off and not on: all or none.
        release();
        return busy ? Result::Busy : Result::Unavailable;
    }
    m_combination = combination;
    return Result::Taken;
}

void GlobalKey::release()
{
    if (xcb_connection_t *c = X11Window::connection(); c && !m_grabs.empty()) {
        for (const Grab &grab : m_grabs)
            xcb_ungrab_key(c, grab.keycode, m_root, grab.modifiers);
        xcb_flush(c);
    }
    m_grabs.clear();
    m_held = false;
}

bool GlobalKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_grabs.empty() || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY) {
        // Another layout may put the key or Num Lock elsewhere.
        const auto *mapping = static_cast<const xcb_mapping_notify_event_t *>(message);
        if (mapping->request != XCB_MAPPING_POINTER)
            grab(m_combination);
        return false;
    }
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    if (key->event != m_root)
        return false;
    const uint16_t state = key->state & ~m_lockMasks & 0xff;
    const bool ours = std::any_of(m_grabs.begin(), m_grabs.end(), [&](const Grab &grab) {
        return grab.keycode == key->detail && (grab.modifiers & ~m_lockMasks) == state;
    });
    if (type == XCB_KEY_RELEASE) {
        if (key->detail == m_grabs.front().keycode) {
            m_held = false;
            m_releasedAt = key->time;
        }
        return false;
    }
    if (!ours)
        return false;
    // Auto-repeat: more presses while held, or a release and a press at the
    // very same time where the server does not hide the releases.
    const bool repeat = m_held || key->time == m_releasedAt;
    m_held = true;
    if (!repeat)
        Q_EMIT pressed(key->time);
    return true;
}
