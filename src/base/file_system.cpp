#include "file_system.h"

#include "file_reader.h"
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

std::optional<FileBytes> FileReader::Read(std::size_t reported, std::size_t limit,
                                          const Chunk& read) {
    // The reported size sizes the buffer and lets the loop stop without one more read
    // to meet the end.
    std::size_t capacity = std::min(limit, std::max<std::size_t>(reported, 1));
    FileBytes result;
    result.Data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    std::size_t& used = result.Size;
    while (used < limit && !(reported > 0 && used == reported)) {
        if (used == capacity) {
            const std::size_t grown = std::min(limit, capacity * 2);
            auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(grown);
            std::copy_n(result.Data.get(), used, larger.get());
            result.Data = std::move(larger);
            capacity = grown;
        }
        const long long got = read(result.Data.get() + used, capacity - used);
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    return result;
}

} // namespace kadromir
