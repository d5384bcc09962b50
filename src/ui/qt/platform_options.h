#pragma once

#include "ui/platform_options.h"

#include <optional>
#include <string>
#include <vector>

namespace kadromir::ui {

// The window system Qt is to use when the user names none (Qt's -platform option among
// `platformArguments`, argv[0] first, or QT_QPA_PLATFORM): X11 wherever an X display is
// there, which in a Wayland session is XWayland, because only there can a program
// place its window and read its frame; Wayland should X fail. Nothing where the user
// has chosen or no X display is named: Qt's own choice then stands.
std::optional<std::string> DefaultPlatform(const std::vector<std::string>& platformArguments,
                                           const char* chosenPlatform, const char* xDisplay);

} // namespace kadromir::ui
