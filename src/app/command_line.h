#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kadromir {

// The viewer's command line, read before Qt starts, so that --help, --version and a
// mistyped option need no display.
struct CommandLine {
    enum class Request { Run, Help, Version, Mistake };
    Request Asked = Request::Run;
    // argv[0] and the pictures named, as the start-up choice reads them.
    std::vector<std::string> Arguments;
    // argv[0] and the options of Qt's own (-platform NAME, -style NAME, ...), for Qt.
    std::vector<std::string> QtArguments;
    // The one line that says what is wrong, for Request::Mistake.
    std::string Mistake;
};

// Options end at "--"; "-" alone is a name.
CommandLine ReadCommandLine(const std::vector<std::string>& argv);

// The window system Qt is to use when the user names none (Qt's -platform option, or
// QT_QPA_PLATFORM): X11 wherever an X display is there, which in a Wayland session is
// XWayland, because only there can a program place its window and read its frame;
// Wayland should X fail. Nothing where the user has chosen or no X display is named:
// Qt's own choice then stands.
std::optional<std::string> DefaultPlatform(const CommandLine& line, const char* chosenPlatform,
                                           const char* xDisplay);

// What --help prints: usage, keys, and where the settings live.
std::string HelpText(const std::string& configFilePath);

// Why the picture named on the command line cannot be shown (missing, no regular file,
// unreadable), or nothing when it can be read.
std::optional<std::string> PictureProblem(const std::string& path);

} // namespace kadromir
