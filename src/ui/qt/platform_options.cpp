// Qt's own command-line options, and the window system chosen for Qt.
#include "platform_options.h"

#include <algorithm>
#include <array>

namespace kadromir::ui {
namespace {

constexpr std::array<std::string_view, 13> OptionsWithValue{
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display",     "geometry",           "title"};
constexpr std::array<std::string_view, 5> Switches{"reverse", "widgetcount", "nograb", "dograb",
                                                   "sync"};

template <std::size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

PlatformOption PlatformOptionKind(std::string_view name) {
    return Among(OptionsWithValue, name) ? PlatformOption::WithValue
           : Among(Switches, name)       ? PlatformOption::Switch
                                         : PlatformOption::None;
}

std::optional<std::string> DefaultPlatform(const std::vector<std::string>& platformArguments,
                                           const char* chosenPlatform, const char* xDisplay) {
    bool named = false;
    for (std::size_t i = 1; i < platformArguments.size(); ++i) {
        const std::string& option = platformArguments[i];
        named = named || OptionName(option) == "platform";
        if (PlatformOptionKind(OptionName(option)) == PlatformOption::WithValue &&
            option.find('=') == std::string::npos) {
            ++i; // its value
        }
    }
    const auto given = [](const char* value) { return value != nullptr && *value != '\0'; };
    if (named || given(chosenPlatform) || !given(xDisplay)) {
        return std::nullopt;
    }
    return "xcb;wayland";
}

} // namespace kadromir::ui
