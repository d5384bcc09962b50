#include "file_list.h"

#include "base/code_pages.h"
#include "base/system.h"
#include "base/text_case.h"

#include <algorithm>
#include <optional>

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

bool SortsBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    // Names in one directory differ byte for byte, so these two keys order every pair.
    if (const int order = a.LowerName.compare(b.LowerName); order != 0) {
        return order < 0;
    }
    return a.Name < b.Name;
}

void DirectoryEntries::Sort() {
    std::sort(Spans.begin(), Spans.end(), [this](const Span& a, const Span& b) {
        return SortsBefore({NameOf(a), LowerNameOf(a)}, {NameOf(b), LowerNameOf(b)});
    });
}

DirectoryEntries ScanDirectory(const std::string& directory,
                               const std::vector<std::string>& lowerMasks) {
    DirectoryEntries entries;
    // An empty directory text names no directory; it is not the working directory.
    if (directory.empty()) {
        return entries;
    }
    ListDirectory(directory, [&](const ListedEntry& entry) {
        const std::string_view name = entry.Name();
        // A name in an old code page sorts by the letters it shows.
        const std::string lower =
            IsValidUtf8(name) ? LowerCaseUtf8(name) : LowerCaseUtf8(ReadableName(name));
        const bool matches =
            std::any_of(lowerMasks.begin(), lowerMasks.end(),
                        [&](const std::string& mask) { return MatchLower(lower, mask); });
        // Only a name that matches costs the look-up of its type, where one is needed.
        if (matches && entry.IsRegularFile()) {
            entries.Add(name, lower);
        }
    });
    return entries;
}

DirectoryEntries ScanAndSortDirectory(const std::string& directory,
                                      const std::vector<std::string>& lowerMasks) {
    DirectoryEntries entries = ScanDirectory(directory, lowerMasks);
    entries.Sort();
    return entries;
}

} // namespace kadromir
