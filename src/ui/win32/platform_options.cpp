// Windows takes no options of its own on a program's command line: every argument is
// the program's.
#include "ui/platform_options.h"

namespace kadromir::ui {

PlatformOption PlatformOptionKind(std::string_view) {
    return PlatformOption::None;
}

} // namespace kadromir::ui
