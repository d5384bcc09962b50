// Keys on Win32.
#include "keys_win32.h"

#include <array>
#include <string>
#include <utility>

namespace kadromir::ui {
namespace {

// Keys that the keypad has too, with Num Lock off: the main block's are "extended".
bool IsNavigationKey(WPARAM key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
}

// The names Windows menus show for keys that are not a letter or a digit.
constexpr std::array<std::pair<int, const char*>, 12> KeyNames{{
    {Key::Backspace, "Backspace"},
    {Key::Enter, "Enter"},
    {Key::Escape, "Esc"},
    {Key::Space, "Space"},
    {Key::PageUp, "PgUp"},
    {Key::PageDown, "PgDn"},
    {Key::End, "End"},
    {Key::Home, "Home"},
    {Key::Left, "Left"},
    {Key::Up, "Up"},
    {Key::Right, "Right"},
    {Key::Down, "Down"},
}};

} // namespace

KeyEvent KeyEventOf(WPARAM virtualKey, LPARAM keyData) {
    const bool extended = (HIWORD(keyData) & KF_EXTENDED) != 0;
    unsigned modifiers = NoModifier;
    modifiers |= GetKeyState(VK_SHIFT) < 0 ? unsigned{ShiftHeld} : 0u;
    modifiers |= GetKeyState(VK_CONTROL) < 0 ? unsigned{ControlHeld} : 0u;
    modifiers |= GetKeyState(VK_MENU) < 0 ? unsigned{AltHeld} : 0u;
    if ((IsNavigationKey(virtualKey) && !extended) || (virtualKey == VK_RETURN && extended) ||
        (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_DIVIDE)) {
        modifiers |= OnKeypad;
    }
    return {static_cast<int>(virtualKey), modifiers};
}

bool ShortcutMatches(const Shortcut& shortcut, const KeyEvent& key) {
    if (shortcut.Empty() || key.Key != shortcut.Key || (key.Modifiers & OnKeypad) != 0) {
        return false;
    }
    unsigned wanted = NoModifier;
    wanted |= shortcut.Flags & Shortcut::Shift ? unsigned{ShiftHeld} : 0u;
    wanted |= shortcut.Flags & Shortcut::Control ? unsigned{ControlHeld} : 0u;
    wanted |= shortcut.Flags & Shortcut::Alt ? unsigned{AltHeld} : 0u;
    return (key.Modifiers & (ShiftHeld | ControlHeld | AltHeld)) == wanted;
}

std::string ShortcutDisplayText(const Shortcut& shortcut) {
    if (shortcut.Empty()) {
        return {};
    }
    std::string text;
    text += shortcut.Flags & Shortcut::Control ? "Ctrl+" : "";
    text += shortcut.Flags & Shortcut::Shift ? "Shift+" : "";
    text += shortcut.Flags & Shortcut::Alt ? "Alt+" : "";
    const int key = shortcut.Key;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return text + static_cast<char>(key);
    }
    if (key >= VK_F1 && key <= VK_F24) {
        return text + "F" + std::to_string(key - VK_F1 + 1);
    }
    for (const auto& [code, name] : KeyNames) {
        if (code == key) {
            return text + name;
        }
    }
    return {};
}

} // namespace kadromir::ui
