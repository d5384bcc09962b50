#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir {

// An INI text kept line by line, so that writing a key changes its line alone and
// every other line, section and comment stays as it was.
// - Section and key names match without regard to letter case (Latin and Cyrillic);
//   a section header may be followed by a comment.
// - Blanks around keys and values are ignored; a value in double quotes loses them,
//   and a value with blanks at either end is written in them.
// - A leading UTF-8 byte-order mark is skipped on reading and kept on writing.
// - Every line keeps its own line end; new lines take CRLF when the first line ends
//   so, LF when it ends without, and `crLfWhenUnknown` decides for a text of one line.
class IniText {
  public:
    static IniText Parse(std::string_view text, bool crLfWhenUnknown = false);
    std::string Serialise() const;

    // The value of the first line of `key` in `section`; nothing when absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Replaces the key's line in place; a new key goes after the last line of its
    // section that holds a key, a missing section is added at the end.
    void Set(std::string_view section, std::string_view key, std::string_view value);

  private:
    struct Found {
        std::size_t SectionLine = 0;
        bool SectionFound = false;
        std::optional<std::size_t> KeyLine;
        std::size_t InsertAt = 0;
    };
    Found Find(std::string_view section, std::string_view key) const;

    std::vector<std::string> TextLines;
    bool ByteOrderMark = false;
    bool CrLf = false;
};

// Lower case for matching names (Latin and Cyrillic letters fold).
std::string FoldCase(std::string_view text);

} // namespace kadromir
