#include "file_list.h"

#include "base/code_pages.h"
#include "base/text_case.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace kadromir {

std::vector<std::string> SplitMasks(std::string_view masks) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= masks.size()) {
        auto end = masks.find(';', start);
        if (end == std::string_view::npos) {
            end = masks.size();
        }
        std::string_view mask = masks.substr(start, end - start);
        while (!mask.empty() && static_cast<unsigned char>(mask.front()) <= 32) {
            mask.remove_prefix(1);
        }
        while (!mask.empty() && static_cast<unsigned char>(mask.back()) <= 32) {
            mask.remove_suffix(1);
        }
        if (!mask.empty()) {
            result.push_back(LowerCaseUtf8(mask));
        }
        start = end + 1;
    }
    return result;
}

namespace {

bool MatchLower(std::string_view name, std::string_view mask) {
    // Iterative wildcard match with one backtracking point for the last '*'.
    std::size_t n = 0, m = 0;
    std::optional<std::size_t> star;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            star = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n += Utf8CharLength(name, n);
            ++m;
        } else if (m < mask.size() && mask[m] == name[n]) {
            ++n;
            ++m;
        } else if (star) {
            starName += Utf8CharLength(name, starName);
            n = starName;
            m = *star;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') {
        ++m;
    }
    return m == mask.size();
}

// Whether the entry is a regular file, or a symbolic link that ends in one. The type
// from the directory is certain for everything but links and file systems that do
// not report it; those take one stat.
bool IsRegularFile(int directoryFd, const dirent& entry) {
    if (entry.d_type == DT_REG) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return ::fstatat(directoryFd, entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view lowerMask) {
    return MatchLower(LowerCaseUtf8(name), lowerMask);
}

void DirectoryEntries::Add(std::string_view name, std::string_view lowerName) {
    // Names of a directory entry are at most 255 bytes; lower-casing keeps them short.
    const bool same = lowerName == name;
    // Offsets are 32 bits: a directory whose names pass 4 GiB is listed in part.
    if (Bytes.size() + name.size() + (same ? 0 : lowerName.size()) > UINT32_MAX) {
        return;
    }
    Spans.push_back({static_cast<std::uint32_t>(Bytes.size()),
                     static_cast<std::uint16_t>(name.size()),
                     static_cast<std::uint16_t>(same ? 0 : lowerName.size())});
    Bytes.append(name);
    if (!same) {
        Bytes.append(lowerName);
    }
}

void DirectoryEntries::Sort() {
    // The lower-cased name, then the name's own bytes. Names in one directory differ
    // byte for byte, so these two keys order every pair.
    std::sort(Spans.begin(), Spans.end(), [this](const Span& a, const Span& b) {
        if (const int order = LowerNameOf(a).compare(LowerNameOf(b)); order != 0) {
            return order < 0;
        }
        return NameOf(a) < NameOf(b);
    });
}

DirectoryEntries ScanDirectory(const std::string& directory,
                               const std::vector<std::string>& lowerMasks) {
    DirectoryEntries entries;
    // An empty directory text names no directory; it is not the working directory.
    DIR* stream = directory.empty() ? nullptr : ::opendir(directory.c_str());
    if (stream == nullptr) {
        return entries;
    }
    const int fd = ::dirfd(stream);
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        // A name in an old code page sorts by the letters it shows.
        const std::string lower =
            IsValidUtf8(name) ? LowerCaseUtf8(name) : LowerCaseUtf8(ReadableName(name));
        const bool matches =
            std::any_of(lowerMasks.begin(), lowerMasks.end(),
                        [&](const std::string& mask) { return MatchLower(lower, mask); });
        if (!matches) {
            continue;
        }
        if (IsRegularFile(fd, *entry)) {
            entries.Add(name, lower);
        }
    }
    ::closedir(stream);
    return entries;
}

DirectoryEntries ScanAndSortDirectory(const std::string& directory,
                                      const std::vector<std::string>& lowerMasks) {
    DirectoryEntries entries = ScanDirectory(directory, lowerMasks);
    entries.Sort();
    return entries;
}

} // namespace kadromir
