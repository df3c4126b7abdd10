// SPDX-License-Identifier: MIT
#include "core/settings/SummonKey.h"

#include "core/settings/IniFile.h"

#include <QKeySequence>

namespace {

const QString kSection = QStringLiteral("Keys");
const QString kKey = QStringLiteral("Summon");

bool typesNothing(Qt::Key key)
{
    return (key >= Qt::Key_F13 && key <= Qt::Key_F35) || key == Qt::Key_Pause || key == Qt::Key_ScrollLock;
}

bool isModifierKey(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

SummonKey SummonKey::defaultKey()
{
    return {QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Space)};
}

bool SummonKey::usable(QKeyCombination combination)
{
    const Qt::Key key = combination.key();
    if (key == Qt::Key_unknown || key == 0 || isModifierKey(key))
        return false;
    // Keypad is a property of the key, not a key to hold down.
    const Qt::KeyboardModifiers held = combination.keyboardModifiers() & ~Qt::KeypadModifier;
    return (held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) || typesNothing(key);
}

std::optional<SummonKey> SummonKey::parse(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    if (trimmed.isEmpty())
        return SummonKey{};
    const QKeySequence sequence = QKeySequence::fromString(trimmed, QKeySequence::PortableText);
    // A chord of several presses cannot be grabbed as one key.
    if (sequence.count() != 1 || !usable(sequence[0]))
        return std::nullopt;
    return SummonKey{sequence[0]};
}

QString SummonKey::toString() const
{
    return isOn() ? QKeySequence(key).toString(QKeySequence::PortableText) : QString();
}

SummonKey SummonKey::read(const IniFile &ini)
{
    const std::optional<QString> text = ini.value(kSection, kKey);
    if (!text)
        return defaultKey();
    return parse(*text).value_or(defaultKey());
}

void SummonKey::write(IniFile &ini) const
{
    if (*this == defaultKey() && !ini.value(kSection, kKey))
        return;
    ini.setValue(kSection, kKey, toString());
}
