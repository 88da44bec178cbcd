// The keyboard's way to the unit's keys, described once: the window acts on
// it, the keys' tooltips and Help / Key Map list it.
#pragma once
#include <QKeySequence>
#include <QString>
#include <Qt>

#include "ui/screen.h"

namespace host {

struct KeyboardKey {
    Qt::Key key;
    uint8_t code;  // ems::KEY_SOFT1 ...
    bool anywhere; // anywhere in the window, else while the front panel has the focus
};

inline constexpr KeyboardKey KEYBOARD_KEYS[] = {
    {Qt::Key_F1, ems::KEY_SOFT1, true},    {Qt::Key_F2, ems::KEY_SOFT2, true},  {Qt::Key_F3, ems::KEY_SOFT3, true},
    {Qt::Key_F4, ems::KEY_SOFT4, true},    {Qt::Key_F5, ems::KEY_SOFT5, true},  {Qt::Key_Return, ems::KEY_PUSH, false},
    {Qt::Key_Enter, ems::KEY_PUSH, false}, {Qt::Key_Plus, ems::KEY_CW, false},  {Qt::Key_Right, ems::KEY_CW, false},
    {Qt::Key_Up, ems::KEY_CW, false},      {Qt::Key_Minus, ems::KEY_CCW, false}, {Qt::Key_Left, ems::KEY_CCW, false},
    {Qt::Key_Down, ems::KEY_CCW, false},
};

// The keyboard keys of a unit key, "F1" or "Return, Enter".
inline QString keyboard_keys_of(uint8_t code)
{
    QStringList names;
    for (const KeyboardKey& k : KEYBOARD_KEYS)
        if (k.code == code) names.append(QKeySequence(k.key).toString(QKeySequence::NativeText));
    return names.join(", ");
}

} // namespace host
