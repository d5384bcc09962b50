#include "path_rules.h"

namespace kadromir {
namespace {
constexpr char Delimiter = '/';
}

std::string DirectoryPart(std::string_view path) {
    const auto last = path.rfind(Delimiter);
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string FileNamePart(std::string_view path) {
    const auto last = path.rfind(Delimiter);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
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
