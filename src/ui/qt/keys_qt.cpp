#include "keys_qt.h"

#include <array>
#include <utility>

namespace kadromir::ui {
namespace {

bool IsLatinLetterOrDigit(int key) {
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
}

// X key codes of the main block, by row, as the standard keyboard places them.
constexpr std::array<std::pair<quint32, int>, 36> Positions{{
    {10, Qt::Key_1}, {11, Qt::Key_2}, {12, Qt::Key_3}, {13, Qt::Key_4}, {14, Qt::Key_5},
    {15, Qt::Key_6}, {16, Qt::Key_7}, {17, Qt::Key_8}, {18, Qt::Key_9}, {19, Qt::Key_0},
    {24, Qt::Key_Q}, {25, Qt::Key_W}, {26, Qt::Key_E}, {27, Qt::Key_R}, {28, Qt::Key_T},
    {29, Qt::Key_Y}, {30, Qt::Key_U}, {31, Qt::Key_I}, {32, Qt::Key_O}, {33, Qt::Key_P},
    {38, Qt::Key_A}, {39, Qt::Key_S}, {40, Qt::Key_D}, {41, Qt::Key_F}, {42, Qt::Key_G},
    {43, Qt::Key_H}, {44, Qt::Key_J}, {45, Qt::Key_K}, {46, Qt::Key_L}, {52, Qt::Key_Z},
    {53, Qt::Key_X}, {54, Qt::Key_C}, {55, Qt::Key_V}, {56, Qt::Key_B}, {57, Qt::Key_N},
    {58, Qt::Key_M},
}};

// The keys whose codes differ; letters and digits share theirs.
constexpr std::array<std::pair<int, int>, 12> Specials{{
    {Key::Backspace, Qt::Key_Backspace},
    {Key::Enter, Qt::Key_Return},
    {Key::Escape, Qt::Key_Escape},
    {Key::Space, Qt::Key_Space},
    {Key::PageUp, Qt::Key_PageUp},
    {Key::PageDown, Qt::Key_PageDown},
    {Key::End, Qt::Key_End},
    {Key::Home, Qt::Key_Home},
    {Key::Left, Qt::Key_Left},
    {Key::Up, Qt::Key_Up},
    {Key::Right, Qt::Key_Right},
    {Key::Down, Qt::Key_Down},
}};

} // namespace

int VirtualKeyOf(int qtKey) {
    if (IsLatinLetterOrDigit(qtKey)) {
        return qtKey;
    }
    if (qtKey == Qt::Key_Enter) {
        return Key::Enter; // the keypad's, reported with OnKeypad
    }
    for (const auto& [virtualKey, key] : Specials) {
        if (key == qtKey) {
            return virtualKey;
        }
    }
    return 0;
}

int QtKeyOf(int virtualKey) {
    if (IsLatinLetterOrDigit(virtualKey)) {
        return virtualKey;
    }
    for (const auto& [code, key] : Specials) {
        if (code == virtualKey) {
            return key;
        }
    }
    return 0;
}

KeyEvent KeyEventOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers();
    unsigned modifiers = NoModifier;
    modifiers |= held & Qt::ShiftModifier ? unsigned{ShiftHeld} : 0u;
    modifiers |= held & Qt::ControlModifier ? unsigned{ControlHeld} : 0u;
    modifiers |= held & Qt::AltModifier ? unsigned{AltHeld} : 0u;
    modifiers |= held & Qt::KeypadModifier ? unsigned{OnKeypad} : 0u;
    return {VirtualKeyOf(event.key()), modifiers};
}

QKeySequence KeySequenceOf(const Shortcut& shortcut) {
    const int key = QtKeyOf(shortcut.Key);
    if (shortcut.Empty() || key == 0) {
        return {};
    }
    int combined = key;
    combined |= shortcut.Flags & Shortcut::Shift ? int(Qt::SHIFT) : 0;
    combined |= shortcut.Flags & Shortcut::Control ? int(Qt::CTRL) : 0;
    combined |= shortcut.Flags & Shortcut::Alt ? int(Qt::ALT) : 0;
    return QKeySequence(combined);
}

std::string ShortcutDisplayText(const Shortcut& shortcut) {
    return KeySequenceOf(shortcut).toString(QKeySequence::NativeText).toStdString();
}

int LatinKeyAtPosition(const QKeyEvent& event) {
    for (const auto& [code, key] : Positions) {
        if (code == event.nativeScanCode()) {
            return key;
        }
    }
    return 0;
}

int ShortcutKey(const QKeyEvent& event) {
    return IsLatinLetterOrDigit(event.key()) ? event.key() : LatinKeyAtPosition(event);
}

} // namespace kadromir::ui
