#pragma once

#include <string>
#include <string_view>

namespace kadromir {

// The Unicode simple lower-case mapping of a UTF-8 text for the Latin, Greek and
// Cyrillic letters (ASCII, Latin-1, Latin Extended-A, basic Greek, Cyrillic and its
// supplement); every other character, and every byte that is not part of a valid
// UTF-8 sequence, stays as it is.
std::string LowerCaseUtf8(std::string_view text);

// Appends the character in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// The length in bytes of the UTF-8 character starting at text[at]: 1 for a byte that
// does not start a valid sequence.
std::size_t Utf8CharLength(std::string_view text, std::size_t at);

} // namespace kadromir
