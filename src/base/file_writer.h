#pragma once

#include "file_system.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kadromir {

// How a file's new content reaches the disk; tests replace it to make a write fail
// part-way. Writes all the bytes at the descriptor's offset; false on failure.
using ChunkWriter = std::function<bool(FileHandle fd, std::string_view bytes)>;

// The path a chain of symbolic links ends at (the path itself when it is no link, or
// names nothing yet). Nothing for a loop or a chain too long to follow.
std::optional<std::string> FollowLinks(std::string path);

// Writes `content` to a new temporary file in the target's directory, then renames it
// over the target: the target is never seen half-written. A file that was there
// (`old`, else null) keeps its owner where this process may set it, and its mode; a
// new file gets 0666 less the umask. Returns 0, or the errno of the failure, after
// which the target is as it was; `noRoom` then tells whether the directory took no
// new file at all.
int ReplaceByRename(const std::string& target, std::string_view content, const FileStatus* old,
                    const ChunkWriter& write, bool& noRoom);

// Rewrites a regular file in place, for a file whose directory takes no new file or
// that has other names a rename would part it from: its new size is reserved first, so
// that a full disk fails before any byte changes, and a write that fails all the same
// puts `original` back. False on failure.
bool RewriteInPlace(const std::string& path, std::string_view content, std::string_view original,
                    const ChunkWriter& write);

// Writes `bytes` as the whole content of `path`, never leaving a file half-written or
// removing one it did not make: a regular file, or a new one, is replaced by rename
// (ReplaceByRename), a symbolic link followed to the file it names. An empty regular
// file is written into as it is, so that whoever holds it open sees the bytes (it is
// empty again if the write fails). Anything else
// that is there (standard output or a pipe named as a path, a device) is written into
// as it is. Returns 0, or the errno of the failure; any file that was there is then as
// it was, unless it was no regular file.
int WriteFileReplacing(const std::string& path, std::string_view bytes);

} // namespace kadromir
