#pragma once

// Paths inside the program are UTF-8; Windows takes and gives UTF-16.

#include <string>
#include <string_view>

namespace kadromir {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// A path for the system's file calls: as Wide gives it, and a long one (near the old
// limit of 260 characters, or beyond) in its full "\\?\" form, which has no limit.
std::wstring SystemPath(std::string_view utf8);
// The errno value that stands for the calling thread's last Windows error.
int ErrnoOfLastError();

} // namespace kadromir
