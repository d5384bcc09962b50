#pragma once

#include "ui/keys.h"

#include <array>
#include <string>
#include <string_view>

namespace kadromir {

// The viewer's keys, in one table: the shortcuts of the commands, the navigation keys
// and the --help text are all made from it.
enum class KeyCommand { Next, Previous, Open, ScreenX1, ScreenX2, Centre, Reload, Overview };

struct KeyBinding {
    KeyCommand Command;
    std::array<int, 2> Keys; // virtual-key codes; 0 where there is no second key
    std::string_view KeyNames;
    std::string_view Does; // a "\n" continues on the next line of the help
};

inline constexpr std::array<KeyBinding, 8> KeyTable{{
    {KeyCommand::Next,
     {ui::Key::Right, ui::Key::Space},
     "Right, Space",
     "next picture (after the last, the first)"},
    {KeyCommand::Previous,
     {ui::Key::Left, ui::Key::Backspace},
     "Left, Backspace",
     "previous picture"},
    {KeyCommand::Open, {ui::Key::Of('O'), 0}, "O", "open a picture (Открыть)"},
    {KeyCommand::ScreenX1,
     {ui::Key::Of('1'), 0},
     "1",
     "window for the picture at its own size (Экран х1)"},
    {KeyCommand::ScreenX2,
     {ui::Key::Of('2'), 0},
     "2",
     "window for the picture at twice its size (Экран х2)"},
    {KeyCommand::Centre,
     {ui::Key::Of('C'), 0},
     "C",
     "window to the middle of the screen (Поцентру)"},
    {KeyCommand::Reload,
     {ui::Key::Of('R'), 0},
     "R",
     "settings read again from the file (Обновить из сохранённых\nнастроек)"},
    {KeyCommand::Overview,
     {ui::Key::Enter, 0},
     "Enter",
     "every picture of the folder at a glance (Обзор папки)"},
}};

// The command's row; every command has one.
constexpr const KeyBinding& BindingOf(KeyCommand command) {
    std::size_t i = 0;
    while (i + 1 < KeyTable.size() && KeyTable[i].Command != command) {
        ++i;
    }
    return KeyTable[i];
}

// The first key of a command.
constexpr int KeyOf(KeyCommand command) {
    return BindingOf(command).Keys[0];
}

// Whether `key` is one of the command's keys.
constexpr bool IsKeyOf(KeyCommand command, int key) {
    const auto& keys = BindingOf(command).Keys;
    return key != 0 && (keys[0] == key || keys[1] == key);
}

// The table as the --help text lists it, a line a command.
std::string KeyHelpText();
// The keys of the folder overview, as the --help text lists them.
std::string OverviewKeyHelpText();

} // namespace kadromir
