#include "file_system.h"

#include "text_case.h"

#include <algorithm>

namespace kadromir {

bool ExistsAsFile(const std::string& path) {
    const auto status = path.empty() ? std::nullopt : StatusOf(path);
    return status && status->Kind == FileKind::Regular;
}

bool ExistsAsDirectory(const std::string& path) {
    const auto status = path.empty() ? std::nullopt : StatusOf(path);
    return status && status->Kind == FileKind::Directory;
}

std::vector<std::string> NamesInAnyCase(const std::string& directory, std::string_view name) {
    std::vector<std::string> names;
    const std::string lower = LowerCaseUtf8(name);
    ListDirectory(directory.empty() ? "." : directory, [&](const ListedEntry& entry) {
        if (LowerCaseUtf8(entry.Name()) == lower) {
            names.emplace_back(entry.Name());
        }
    });
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace kadromir
