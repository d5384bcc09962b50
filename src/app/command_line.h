#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kadromir {

// The viewer's command line, read before the window system starts, so that --help,
// --version and a mistyped option need no display.
struct CommandLine {
    enum class Request { Run, Help, Version, Mistake };
    Request Asked = Request::Run;
    // argv[0] and the pictures named, as the start-up choice reads them.
    std::vector<std::string> Arguments;
    // argv[0] and the window system's own options (ui::PlatformOptionKind), for it.
    std::vector<std::string> PlatformArguments;
    // The one line that says what is wrong, for Request::Mistake.
    std::string Mistake;
};

// Options end at "--"; "-" alone is a name.
CommandLine ReadCommandLine(const std::vector<std::string>& argv);

// What --help prints: usage, keys, and where the settings live.
std::string HelpText(const std::string& configFilePath);

// Why the picture named on the command line cannot be shown (missing, no regular file,
// unreadable), or nothing when it can be read.
std::optional<std::string> PictureProblem(const std::string& path);

} // namespace kadromir
