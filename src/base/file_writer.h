#pragma once

#include <string>
#include <string_view>

namespace kadromir {

// Writes `bytes` as the whole content of `path`, never leaving a file half-written or
// removing one it did not make. A regular file, or a new one, is written to a
// temporary file beside it that is renamed over it once complete; a file that was
// there keeps its mode, and a symbolic link is followed to the file it names. Anything
// else that is there (standard output or a pipe named as a path, a device) is written
// into as it is. Returns 0, or the errno of the failure; any file that was there is
// then as it was, unless it was no regular file.
int WriteFileReplacing(const std::string& path, std::string_view bytes);

} // namespace kadromir
