#include "command_line.h"

#include "key_table.h"

#include "base/system.h"
#include "ui/platform_options.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace kadromir {

CommandLine ReadCommandLine(const std::vector<std::string>& argv) {
    CommandLine line;
    const std::string program = argv.empty() ? "kadromir" : argv.front();
    line.Arguments.push_back(program);
    line.PlatformArguments.push_back(program);
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
            const ui::PlatformOption kind = ui::PlatformOptionKind(ui::OptionName(arg));
            const bool valueAttached = arg.find('=') != std::string::npos;
            if (kind == ui::PlatformOption::WithValue && (valueAttached || i + 1 < argv.size())) {
                line.PlatformArguments.push_back(arg);
                if (!valueAttached) {
                    line.PlatformArguments.push_back(argv[++i]);
                }
            } else if (kind == ui::PlatformOption::Switch && !valueAttached) {
                line.PlatformArguments.push_back(arg);
            } else {
                line.Asked = CommandLine::Request::Mistake;
                line.Mistake = kind == ui::PlatformOption::WithValue
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

std::string HelpText(const std::string& configFilePath) {
    return "usage: kadromir [--] [PICTURE]\n"
           "Shows 256 x 256 pictures in 16 colours (.SPR, .SCR with its .pal, .RMB) and steps\n"
           "through those of the picture's directory. Without a PICTURE it opens what the\n"
           "settings ask for (the last file, or a file of the last directory).\n"
           "\n"
           "Keys:\n" +
           KeyHelpText() +
           "\n"
           "In the overview of the folder:\n" +
           OverviewKeyHelpText() +
           "\n"
           "Settings: " +
           configFilePath +
           "\n"
           "  (beside the program when it is there or that folder takes new files; otherwise\n"
#ifdef _WIN32
           "  in %APPDATA%\\Кадромир)\n"
           "\n"
           "Options:\n"
           "  -h, --help         this text\n"
           "  --version          the version\n"
           "  --                 ends the options: a PICTURE named -x.spr goes after it\n";
#else
           "  in $XDG_CONFIG_HOME/kadromir, ~/.config/kadromir by default)\n"
           "\n"
           "Options:\n"
           "  -h, --help         this text\n"
           "  --version          the version\n"
           "  --                 ends the options: a PICTURE named -x.spr goes after it\n"
           "  Qt's own options (-platform NAME, -style NAME, -reverse, ...) are taken too.\n"
           "  Where an X display is there (XWayland in a Wayland session) the window is an X11\n"
           "  one, which can be placed and centred; -platform wayland asks for Wayland.\n";
#endif
}

std::optional<std::string> PictureProblem(const std::string& path) {
    int error = 0;
    const std::optional<FileStatus> status = StatusOf(path, true, &error);
    if (!status) {
        return std::string(std::strerror(error));
    }
    if (status->Kind != FileKind::Regular) {
        return std::string(status->Kind == FileKind::Directory ? "a directory, not a picture"
                                                               : "not a regular file");
    }
    if (!MayAccess(path, Access::Read)) {
        return std::string(std::strerror(EACCES));
    }
    return std::nullopt;
}

} // namespace kadromir
