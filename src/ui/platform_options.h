#pragma once

#include <string_view>

namespace kadromir::ui {

// The window system's own command-line options, which the program hands on to it
// untouched (on Qt: -platform NAME, -style NAME, -reverse, ...; also with two dashes
// and as -name=value).
enum class PlatformOption { None, Switch, WithValue };
// What the option named `name` (without its dashes and any attached value) is.
PlatformOption PlatformOptionKind(std::string_view name);

// An option's name without its dashes and attached value: "--style=x" gives "style".
constexpr std::string_view OptionName(std::string_view option) {
    option.remove_prefix(option.starts_with("--") ? 2 : 1);
    return option.substr(0, option.find('='));
}

} // namespace kadromir::ui
