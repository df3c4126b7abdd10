// SPDX-License-Identifier: MIT
#include "platform/X11Keymap.h"

#include "platform/X11Window.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template<typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeReply>;

// Keysyms of the keys that are not Latin-1 characters.
struct NamedKey {
    Qt::Key key;
    uint32_t keysym;
};
constexpr NamedKey kNamedKeys[] = {
    {Qt::Key_Escape, 0xff1b},     {Qt::Key_Tab, 0xff09},
    {Qt::Key_Backspace, 0xff08},  {Qt::Key_Return, 0xff0d},
    {Qt::Key_Enter, 0xff8d},      {Qt::Key_Insert, 0xff63},
    {Qt::Key_Delete, 0xffff},     {Qt::Key_Pause, 0xff13},
    {Qt::Key_Print, 0xff61},      {Qt::Key_Home, 0xff50},
    {Qt::Key_End, 0xff57},        {Qt::Key_Left, 0xff51},
    {Qt::Key_Up, 0xff52},         {Qt::Key_Right, 0xff53},
    {Qt::Key_Down, 0xff54},       {Qt::Key_PageUp, 0xff55},
    {Qt::Key_PageDown, 0xff56},   {Qt::Key_Menu, 0xff67},
    {Qt::Key_ScrollLock, 0xff14}, {Qt::Key_Henkan, 0xff23},
    {Qt::Key_Muhenkan, 0xff22},   {Qt::Key_Zenkaku_Hankaku, 0xff2a},
};

constexpr uint32_t kNumLock = 0xff7f;
constexpr uint32_t kAltL = 0xffe9, kAltR = 0xffea, kMetaL = 0xffe7, kMetaR = 0xffe8;
constexpr uint32_t kSuperL = 0xffeb, kSuperR = 0xffec;

} // namespace

X11Keymap X11Keymap::current()
{
    X11Keymap map;
    xcb_connection_t *c = X11Window::connection();
    if (!c)
        return map;
    const xcb_setup_t *setup = xcb_get_setup(c);
    const uint8_t count = uint8_t(setup->max_keycode - setup->min_keycode + 1);
    const auto keysCookie = xcb_get_keyboard_mapping(c, setup->min_keycode, count);
    const auto modifiersCookie = xcb_get_modifier_mapping(c);
    const XcbReply<xcb_get_keyboard_mapping_reply_t> keys(xcb_get_keyboard_mapping_reply(c, keysCookie, nullptr));
    const XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(c, modifiersCookie, nullptr));
    if (!keys || !modifiers || keys->keysyms_per_keycode == 0)
        return map;
    map.m_minKeycode = setup->min_keycode;
    map.m_perKeycode = keys->keysyms_per_keycode;
    const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(keys.get());
    map.m_symbols.assign(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(keys.get()));
    const xcb_keycode_t *modifierKeys = xcb_get_modifier_mapping_keycodes(modifiers.get());
    map.m_perModifier = modifiers->keycodes_per_modifier;
    map.m_modifierKeys.assign(modifierKeys, modifierKeys + xcb_get_modifier_mapping_keycodes_length(modifiers.get()));
    map.m_numLock = map.maskHolding({kNumLock});
    map.m_alt = map.maskHolding({kAltL, kAltR, kMetaL, kMetaR});
    map.m_super = map.maskHolding({kSuperL, kSuperR});
    if (!map.m_alt)
        map.m_alt = XCB_MOD_MASK_1;
    if (!map.m_super)
        map.m_super = XCB_MOD_MASK_4;
    return map;
}

uint8_t X11Keymap::keycodeOf(uint32_t keysym) const
{
    if (keysym == 0 || m_perKeycode == 0)
        return 0;
    for (size_t i = 0; i < m_symbols.size(); ++i) {
        if (m_symbols[i] == keysym)
            return uint8_t(m_minKeycode + i / size_t(m_perKeycode));
    }
    return 0;
}

uint16_t X11Keymap::maskHolding(std::initializer_list<uint32_t> keysyms) const
{
    // Shift, Lock and Control (rows 0 to 2) are fixed; the others move.
    for (int row = 3; row < 8; ++row) {
        for (int k = 0; k < m_perModifier; ++k) {
            const uint8_t keycode = m_modifierKeys[size_t(row * m_perModifier + k)];
            if (keycode < m_minKeycode)
                continue;
            const size_t first = size_t(keycode - m_minKeycode) * size_t(m_perKeycode);
            for (int level = 0; level < m_perKeycode && first + size_t(level) < m_symbols.size(); ++level) {
                for (const uint32_t wanted : keysyms) {
                    if (m_symbols[first + size_t(level)] == wanted)
                        return uint16_t(1u << row);
                }
            }
        }
    }
    return 0;
}

uint32_t X11Keymap::keysymOf(Qt::Key key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return uint32_t(key - Qt::Key_A + 'a');
    // The rest of Latin-1: Qt's key codes and the keysyms are its code points.
    if ((key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        || (key >= Qt::Key_nobreakspace && key <= Qt::Key_ydiaeresis))
        return uint32_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return uint32_t(0xffbe + (key - Qt::Key_F1));
    for (const NamedKey &named : kNamedKeys) {
        if (named.key == key)
            return named.keysym;
    }
    return 0;
}

std::optional<X11Key> X11Keymap::keyFor(QKeyCombination combination) const
{
    const uint8_t keycode = keycodeOf(keysymOf(combination.key()));
    if (keycode == 0)
        return std::nullopt;
    const Qt::KeyboardModifiers held = combination.keyboardModifiers();
    uint16_t mask = 0;
    if (held & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (held & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (held & Qt::AltModifier)
        mask |= m_alt;
    if (held & Qt::MetaModifier)
        mask |= m_super;
    return X11Key{keycode, mask};
}
