#include "path_rules.h"

namespace kadromir {
namespace {
#ifdef _WIN32
constexpr std::string_view Delimiters = "\\/";
constexpr char NativeDelimiter = '\\';
#else
constexpr std::string_view Delimiters = "/";
constexpr char NativeDelimiter = '/';
#endif

// Where the directory part ends: after the last delimiter, or on Windows after the
// drive of a name like "C:pic.spr".
std::size_t DirectoryEnd(std::string_view path) {
    const auto last = path.find_last_of(Delimiters);
    if (last != std::string_view::npos) {
        return last + 1;
    }
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
        return 2;
    }
#endif
    return 0;
}
} // namespace

std::string DirectoryPart(std::string_view path) {
    return std::string(path.substr(0, DirectoryEnd(path)));
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(DirectoryEnd(path)));
}

bool IsDelimiter(char c) {
    return Delimiters.find(c) != std::string_view::npos;
}

bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
    // "C:\..." or "C:/...", and "\\server\share" (a lone leading delimiter is
    // relative to the current drive, not absolute).
    return (path.size() >= 3 && path[1] == ':' && IsDelimiter(path[2])) ||
           (path.size() >= 2 && IsDelimiter(path[0]) && IsDelimiter(path[1]));
#else
    return path.starts_with('/');
#endif
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty() && !IsDelimiter(joined.back())) {
        joined += NativeDelimiter;
    }
    joined += name;
    return joined;
}

bool IsWindowsDeviceName(std::string_view name) {
    std::string stem = AsciiUpper(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (stem == device) {
            return true;
        }
    }
    // COM1 to COM9 and LPT1 to LPT9 (and the superscript digits Windows also takes).
    const bool port = stem.size() >= 4 && (stem.starts_with("COM") || stem.starts_with("LPT"));
    const std::string_view number = port ? std::string_view(stem).substr(3) : std::string_view();
    return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

std::string ExtensionPart(std::string_view path) {
    const auto dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string NameWithoutExtension(std::string_view path) {
    std::string name = FileNamePart(path);
    if (const auto dot = name.rfind('.'); dot != std::string::npos) {
        name.resize(dot);
    }
    return name;
}

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace kadromir
