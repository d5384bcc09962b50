#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir {

// One listed entry of a directory: its name, and the name lower-cased once for the
// matching and the sort.
struct DirectoryEntry {
    std::string Name;
    std::string LowerName;
};

inline constexpr std::string_view PictureMasks = "*.spr;*.rmb;*.scr";

// The masks of a ';'-separated list: trimmed of characters up to code 32 at both ends,
// lower-cased, empty ones dropped.
std::vector<std::string> SplitMasks(std::string_view masks);

// Whether a name matches a mask, both lower-cased first: '*' matches any run of
// characters, the empty run included; '?' exactly one character; anything else only
// itself. The whole name must be consumed.
bool MatchesMask(std::string_view name, std::string_view lowerMask);

// The entries of `directory` that match one of the masks, in the order the directory
// gives them. Only regular files and links that end in one are listed: a directory,
// pipe, device, socket, dangling link or link loop can show no picture, and a step
// could never pass it. A missing directory, or an empty text, gives none.
std::vector<DirectoryEntry> ScanDirectory(const std::string& directory,
                                          const std::vector<std::string>& lowerMasks);

// Sorts by lower-cased name, byte by byte (a prefix first); names equal but for letter
// case by their bytes.
void SortFileList(std::vector<DirectoryEntry>& list);

} // namespace kadromir
