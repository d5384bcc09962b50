#pragma once

#include <QKeyEvent>

namespace kadromir::ui {

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
