#pragma once

#include <cstdint>
#include <string>

namespace kadromir::ui {

// Keys by their virtual-key codes, as the program's first form numbers them: a letter
// or a digit of the main block is its upper-case ASCII code.
namespace Key {
inline constexpr int Backspace = 0x08;
inline constexpr int Enter = 0x0D;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PageUp = 0x21;
inline constexpr int PageDown = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
// 'A' to 'Z' and '0' to '9' name themselves.
constexpr int Of(char letterOrDigit) {
    return letterOrDigit >= 'a' && letterOrDigit <= 'z' ? letterOrDigit - 'a' + 'A' : letterOrDigit;
}
} // namespace Key

// The modifiers held with a key (the shift state).
enum Modifier : unsigned {
    NoModifier = 0,
    ShiftHeld = 1,
    ControlHeld = 2,
    AltHeld = 4,
    // The key is on the keypad: another key than the main block's of the same code.
    OnKeypad = 8,
};

// A key pressed while the window is active.
struct KeyEvent {
    int Key = 0;
    unsigned Modifiers = NoModifier;
};

// An accelerator as the first form stores one: flags (virtual key 1, shift 4,
// control 8, alt 16) and a virtual-key code. No key: no shortcut.
struct Shortcut {
    static constexpr std::uint8_t VirtualKey = 1, Shift = 4, Control = 8, Alt = 16;
    std::uint8_t Flags = 0;
    std::uint16_t Key = 0;
    bool Empty() const { return Key == 0; }
    bool operator==(const Shortcut&) const = default;
};

// The shortcut of a key, with the modifier flags it needs.
constexpr Shortcut ShortcutOf(int key, std::uint8_t modifiers = 0) {
    return {static_cast<std::uint8_t>(Shortcut::VirtualKey | modifiers),
            static_cast<std::uint16_t>(key)};
}

// The text a menu shows for a shortcut: the key names of the platform, joined with
// "+" ("Ctrl+S"); empty for no shortcut.
std::string ShortcutDisplayText(const Shortcut& shortcut);

} // namespace kadromir::ui
