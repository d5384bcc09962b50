#pragma once

#include <string>
#include <string_view>

namespace kadromir {

// Path texts are byte strings; nothing here assumes they are valid UTF-8.
// The delimiter is '/'; on Windows '\\' as well.

// The text up to and including the last delimiter; empty when there is none.
std::string DirectoryPart(std::string_view path);
// The text after the last delimiter; the whole text when there is none.
std::string FileNamePart(std::string_view path);
// Whether `c` separates a path's parts.
bool IsDelimiter(char c);
// Whether the path names its place from the root (on Windows: with its drive, or a
// network share), not from the working directory.
bool IsAbsolutePath(std::string_view path);
// `name` inside `directory`, with the system's delimiter between them when the
// directory does not end in one.
std::string JoinPath(std::string_view directory, std::string_view name);
// Whether Windows takes the file name for one of its devices (CON, PRN, AUX, NUL,
// COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$), in any letter case, with any extension and
// blanks or dots after the device's name: such a name opens the device, never a file.
bool IsWindowsDeviceName(std::string_view name);
// The text from the last '.' of the whole text to its end, the '.' included; empty
// when there is no '.'. A dotted directory name counts: "/a.b/pic" gives ".b/pic".
std::string ExtensionPart(std::string_view path);
// The file name with its extension (from the file name's last '.') removed.
std::string NameWithoutExtension(std::string_view path);
// Letters a-z become A-Z; every other byte stays.
std::string AsciiUpper(std::string_view text);

} // namespace kadromir
