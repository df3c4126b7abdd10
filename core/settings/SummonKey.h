// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyCombination>
#include <QString>

#include <optional>

class IniFile;

// The key combination that summons the bar from anywhere on the desktop,
// or none. It is not one of the design's settings, so it lives in a section
// of its own ("[Keys] Summon=Ctrl+Alt+Space") that is written only once the
// user has chosen something other than the default; an empty value turns
// the key off. A default-made value is off; read() of an empty file gives
// the default.
struct SummonKey {
    QKeyCombination key; // Qt::Key_unknown when off

    // Ctrl+Alt+Space: taken by none of GNOME, KDE Plasma and Xfce, nor by
    // ibus, fcitx5 and Mozc, whose keys are Ctrl+Space, Super+Space,
    // Shift+Space and Ctrl+Shift+Space.
    static SummonKey defaultKey();

    bool isOn() const { return key.key() != Qt::Key_unknown; }

    // Whether a combination can be taken from the whole desktop without
    // stealing typing: it needs Ctrl, Alt or Super, or is a key that types
    // nothing (F13 and beyond, Pause, Scroll Lock).
    static bool usable(QKeyCombination combination);
    // "Ctrl+Alt+Space" and the like, as QKeySequence spells it in English;
    // an empty text is off. std::nullopt for a text that names no usable
    // combination.
    static std::optional<SummonKey> parse(QStringView text);
    QString toString() const;

    // A missing or unreadable value gives the default.
    static SummonKey read(const IniFile &ini);
    // Leaves a file that never held the key alone while the key is the
    // default, so a settings file written from nothing stays as it was.
    void write(IniFile &ini) const;

    bool operator==(const SummonKey &other) const { return key == other.key; }
};
