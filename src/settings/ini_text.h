#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir {

// An INI text kept line by line, so that writing a key changes its line alone and
// every other line, section and comment stays as it was.
// - Section and key names match without regard to letter case (Latin and Cyrillic).
// - Blanks around keys and values are ignored; a value in double quotes loses them.
// - Lines may end in LF or CRLF; the text is written back with LF.
class IniText {
public:
    static IniText Parse(std::string_view text);
    std::string Serialise() const;

    // The value of the first line of `key` in `section`; nothing when absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Replaces the key's line in place; a new key goes after the last line of its
    // section that holds a key, a missing section is added at the end.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<std::string>& Lines() const { return TextLines; }

private:
    struct Found {
        std::size_t SectionLine = 0;
        bool SectionFound = false;
        std::optional<std::size_t> KeyLine;
        std::size_t InsertAt = 0;
    };
    Found Find(std::string_view section, std::string_view key) const;

    std::vector<std::string> TextLines;
};

// Lower case for matching names (Latin and Cyrillic letters fold).
std::string FoldCase(std::string_view text);

// How a file's new content reaches the disk; tests replace it to make a write fail
// part-way. Returns false on failure.
using ChunkWriter = std::function<bool(int fd, std::string_view bytes)>;
bool WriteAllChunks(int fd, std::string_view bytes);

// Replaces the file at `path` with `content` atomically: the content goes to a
// temporary file in the same directory, which then replaces the old file by rename.
// On any failure the old file stays whole and the temporary file is removed.
bool ReplaceFileAtomically(const std::string& path, std::string_view content,
                           const ChunkWriter& write = WriteAllChunks);

} // namespace kadromir
