#pragma once

#include <string>
#include <string_view>

namespace kadromir {

// Path texts are byte strings; nothing here assumes they are valid UTF-8.
// The delimiter is '/', this platform's only path separator.

// The text up to and including the last delimiter; empty when there is none.
std::string DirectoryPart(std::string_view path);
// The text after the last delimiter; the whole text when there is none.
std::string FileNamePart(std::string_view path);
// The text from the last '.' of the whole text to its end, the '.' included; empty
// when there is no '.'. A dotted directory name counts: "/a.b/pic" gives ".b/pic".
std::string ExtensionPart(std::string_view path);
// The file name with its extension (from the file name's last '.') removed.
std::string NameWithoutExtension(std::string_view path);
// Letters a-z become A-Z; every other byte stays.
std::string AsciiUpper(std::string_view text);

} // namespace kadromir
