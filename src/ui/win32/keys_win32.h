#pragma once

// Keys on Win32: the virtual-key codes are the layer's own, so only the shift state
// and the keypad need reading.

#include "ui/keys.h"

#include <windows.h>

namespace kadromir::ui {

// The key of a WM_KEYDOWN or WM_SYSKEYDOWN message, with the shift state at its time.
KeyEvent KeyEventOf(WPARAM virtualKey, LPARAM keyData);

// Whether the key pressed is the shortcut's: the same key with exactly its modifiers.
// The keypad's keys are other keys than the main block's.
bool ShortcutMatches(const Shortcut& shortcut, const KeyEvent& key);

} // namespace kadromir::ui
