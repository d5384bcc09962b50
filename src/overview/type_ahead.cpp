#include "type_ahead.h"

#include "base/text_case.h"

namespace kadromir {
namespace {

// Whether the text is one character typed over and over.
bool OneLetterRepeated(const std::string& text) {
    const std::size_t length = Utf8CharLength(text, 0);
    if (text.size() <= length) {
        return false;
    }
    for (std::size_t at = length; at < text.size(); at += length) {
        if (text.compare(at, length, text, 0, length) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<int> TypeAhead::Type(std::string_view typed, std::int64_t nowMs, int current,
                                   int count, const std::function<std::string(int)>& nameOf) {
    if (!Started || nowMs - LastMs > PauseMs) {
        Prefix.clear();
    }
    Started = true;
    LastMs = nowMs;
    Prefix += LowerCaseUtf8(typed);
    if (count <= 0 || Prefix.empty()) {
        return std::nullopt;
    }
    // "a" and "aaa": the next name with an "a" after this one; "ab": the first name that
    // starts so, this one first.
    const std::size_t first = Utf8CharLength(Prefix, 0);
    const bool oneLetter = Prefix.size() == first || OneLetterRepeated(Prefix);
    const std::string wanted = oneLetter ? Prefix.substr(0, first) : Prefix;
    const bool none = current < 0 || current >= count;
    const int start = none ? 0 : current;
    for (int step = oneLetter && !none ? 1 : 0; step <= count; ++step) {
        const int index = (start + step) % count;
        if (LowerCaseUtf8(nameOf(index)).starts_with(wanted)) {
            return index;
        }
    }
    return std::nullopt;
}

void TypeAhead::Reset() {
    Prefix.clear();
    Started = false;
}

} // namespace kadromir
