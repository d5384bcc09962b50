#pragma once

#include "ui/keys.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace kadromir::ui {

// The window layer's key codes and Qt's, both ways. A key Qt has no code for, or one
// the layer does not name, maps to 0.
int VirtualKeyOf(int qtKey);
int QtKeyOf(int virtualKey);
// A key press as the layer reports it: the virtual key and the shift state.
KeyEvent KeyEventOf(const QKeyEvent& event);
// The shortcut as Qt's key sequence, and back.
QKeySequence KeySequenceOf(const Shortcut& shortcut);

// The Latin letter or digit key at the physical position of a key event, whatever
// keyboard layout is active: single-key shortcuts such as C must act while, say, a
// Russian layout makes that key type "С". Key codes are those of the X keyboard
// (evdev code + 8), which both X11 and Wayland deliver on Linux. Returns 0 where the
// position holds no letter or digit of the main block.
int LatinKeyAtPosition(const QKeyEvent& event);

// The key to match a single-key shortcut against: the event's own key when it is a
// Latin letter or digit, else the Latin key at its position.
int ShortcutKey(const QKeyEvent& event);

} // namespace kadromir::ui
