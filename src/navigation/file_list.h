#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir {

// One listed entry of a directory: its name, and the name lower-cased once for the
// matching and the sort. A view into its DirectoryEntries.
struct DirectoryEntry {
    std::string_view Name;
    std::string_view LowerName;
};

// The listed entries of a directory, kept compactly: every name, and its lower-cased
// form where that differs, in one block of bytes, and per entry where they lie. A list
// of 100,000 names takes about a fifth of what separate strings would.
class DirectoryEntries {
  public:
    std::size_t size() const { return Spans.size(); }
    bool empty() const { return Spans.empty(); }
    DirectoryEntry operator[](std::size_t i) const {
        return {NameOf(Spans[i]), LowerNameOf(Spans[i])};
    }
    void Add(std::string_view name, std::string_view lowerName);
    // By lower-cased name, byte by byte (a prefix first); names equal but for letter
    // case by their bytes.
    void Sort();

    class Iterator {
      public:
        Iterator(const DirectoryEntries& list, std::size_t at) : List(&list), At(at) {}
        DirectoryEntry operator*() const { return (*List)[At]; }
        Iterator& operator++() {
            ++At;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        const DirectoryEntries* List;
        std::size_t At;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

  private:
    // A lower length of 0 means the name is its own lower-cased form: no name is empty.
    struct Span {
        std::uint32_t Offset;
        std::uint16_t NameLength;
        std::uint16_t LowerLength;
    };
    std::string_view NameOf(const Span& at) const {
        return std::string_view(Bytes).substr(at.Offset, at.NameLength);
    }
    std::string_view LowerNameOf(const Span& at) const {
        return at.LowerLength == 0
                   ? NameOf(at)
                   : std::string_view(Bytes).substr(at.Offset + at.NameLength, at.LowerLength);
    }
    std::string Bytes;
    std::vector<Span> Spans;
};

// The lists' order: by lower-cased name, byte by byte (a prefix first), then, for names
// equal but for letter case, by their bytes.
bool SortsBefore(const DirectoryEntry& a, const DirectoryEntry& b);

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
DirectoryEntries ScanDirectory(const std::string& directory,
                               const std::vector<std::string>& lowerMasks);

// A scan and its sort, the whole work of a rebuild that may run off the window thread.
DirectoryEntries ScanAndSortDirectory(const std::string& directory,
                                      const std::vector<std::string>& lowerMasks);

} // namespace kadromir
