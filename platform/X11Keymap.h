// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyCombination>

#include <cstdint>
#include <optional>
#include <vector>

// One key as the X server names it: a keycode and the modifier mask held.
struct X11Key {
    uint8_t keycode = 0;
    uint16_t modifiers = 0;
};

// The X server's keyboard map, as the core protocol gives it: which keycode
// types a keysym, and which modifier bits Alt, Super and Num Lock sit on
// (they move with the layout; Mod1, Mod4 and Mod2 are only the usual places).
// Empty where the application does not run on X11.
class X11Keymap
{
public:
    static X11Keymap current();

    bool isEmpty() const { return m_symbols.empty(); }
    // The first keycode with `keysym` on any of its levels; 0 for none.
    uint8_t keycodeOf(uint32_t keysym) const;
    uint16_t numLockMask() const { return m_numLock; }

    // The keycode and modifiers of `combination`; std::nullopt when this
    // keyboard has no key for it.
    std::optional<X11Key> keyFor(QKeyCombination combination) const;
    // The X keysym of a Qt key; 0 for a key without one here.
    static uint32_t keysymOf(Qt::Key key);

private:
    // Which modifier bit holds a key typing one of `keysyms`; 0 for none.
    uint16_t maskHolding(std::initializer_list<uint32_t> keysyms) const;

    uint8_t m_minKeycode = 0;
    int m_perKeycode = 0;
    std::vector<uint32_t> m_symbols;     // m_perKeycode keysyms per keycode from m_minKeycode
    std::vector<uint8_t> m_modifierKeys; // 8 rows of keycodes, Shift to Mod5
    int m_perModifier = 0;
    uint16_t m_numLock = 0, m_alt = 0, m_super = 0;
};
