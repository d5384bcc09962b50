#include "command_line.h"

#include "key_table.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

// Qt's own command-line options: those that take a value, and those that do not. Qt
// also takes them with two dashes and as -name=value.
constexpr std::array<std::string_view, 13> QtOptionsWithValue{
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display",     "geometry",           "title"};
constexpr std::array<std::string_view, 5> QtSwitches{"reverse", "widgetcount", "nograb", "dograb",
                                                     "sync"};

template <std::size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// An option's name without its dashes and attached value: "--style=x" gives "style".
std::string_view OptionName(std::string_view option) {
    option.remove_prefix(option.starts_with("--") ? 2 : 1);
    return option.substr(0, option.find('='));
}

} // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& argv) {
    CommandLine line;
    const std::string program = argv.empty() ? "kadromir" : argv.front();
    line.Arguments.push_back(program);
    line.QtArguments.push_back(program);
    bool optionsEnded = false;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.Arguments.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.Asked = CommandLine::Request::Help;
            return line;
        } else if (arg == "--version") {
            line.Asked = CommandLine::Request::Version;
            return line;
        } else {
            const std::string_view name = OptionName(arg);
            const bool valueAttached = arg.find('=') != std::string::npos;
            if (Among(QtOptionsWithValue, name) && (valueAttached || i + 1 < argv.size())) {
                line.QtArguments.push_back(arg);
                if (!valueAttached) {
                    line.QtArguments.push_back(argv[++i]);
                }
            } else if (Among(QtSwitches, name) && !valueAttached) {
                line.QtArguments.push_back(arg);
            } else {
                line.Asked = CommandLine::Request::Mistake;
                line.Mistake = Among(QtOptionsWithValue, name)
                                   ? "kadromir: '" + arg + "' needs a value"
                                   : "kadromir: unknown option '" + arg +
                                         "'; a picture whose name starts with - goes after -- "
                                         "(see kadromir --help)";
                return line;
            }
        }
    }
    return line;
}

std::optional<std::string> DefaultPlatform(const CommandLine& line, const char* chosenPlatform,
                                           const char* xDisplay) {
    bool named = false;
    for (std::size_t i = 1; i < line.QtArguments.size(); ++i) {
        const std::string& option = line.QtArguments[i];
        named = named || OptionName(option) == "platform";
        if (Among(QtOptionsWithValue, OptionName(option)) &&
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

std::string HelpText(const std::string& configFilePath) {
    return "usage: kadromir [--] [PICTURE]\n"
           "Shows 256 x 256 pictures in 16 colours (.SPR, .SCR with its .pal, .RMB) and steps\n"
           "through those of the picture's directory. Without a PICTURE it opens what the\n"
           "settings ask for (the last file, or a file of the last directory).\n"
           "\n"
           "Keys:\n" +
           KeyHelpText() +
           "\n"
           "Settings: " +
           configFilePath +
           "\n"
           "  (beside the program when it is there or that folder takes new files; otherwise\n"
           "  in $XDG_CONFIG_HOME/kadromir, ~/.config/kadromir by default)\n"
           "\n"
           "Options:\n"
           "  -h, --help         this text\n"
           "  --version          the version\n"
           "  --                 ends the options: a PICTURE named -x.spr goes after it\n"
           "  Qt's own options (-platform NAME, -style NAME, -reverse, ...) are taken too.\n"
           "  Where an X display is there (XWayland in a Wayland session) the window is an X11\n"
           "  one, which can be placed and centred; -platform wayland asks for Wayland.\n";
}

std::optional<std::string> PictureProblem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::string(std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return std::string(S_ISDIR(info.st_mode) ? "a directory, not a picture"
                                                 : "not a regular file");
    }
    if (::access(path.c_str(), R_OK) != 0) {
        return std::string(std::strerror(errno));
    }
    return std::nullopt;
}

} // namespace kadromir
