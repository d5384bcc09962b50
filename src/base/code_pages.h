#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kadromir {

// The two Cyrillic code pages that pictures and settings bring from DOS and Windows
// disks. Our own texts are UTF-8; these convert at the edges only.

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Windows-1251 bytes as UTF-8. The one byte the code page leaves unassigned (0x98)
// becomes U+0098, as Windows has it, so that every byte comes back.
std::string Cp1251ToUtf8(std::string_view bytes);
// UTF-8 as Windows-1251; nothing when a character has no place in that code page
// (or the text is not UTF-8).
std::optional<std::string> Utf8ToCp1251(std::string_view text);
// DOS code page 866 bytes as UTF-8.
std::string Cp866ToUtf8(std::string_view bytes);

// A name as a person should read it: UTF-8 as it is; any other bytes decoded from the
// code page they most plausibly are. Windows-1251 unless the bytes hold more Russian
// letters read as 866 than read as 1251 (866's upper-case letters are 1251's
// punctuation and rare letters, and 866's box-drawing characters never appear in a name).
std::string ReadableName(std::string_view name);

} // namespace kadromir
