#pragma once

#include "base/file_system.h"
#include "base/file_writer.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kadromir {

// A configuration file larger than this is no file of ours: it is neither read nor
// written, and stays whole.
inline constexpr std::size_t MaxConfigFileSize = std::size_t{1} << 20;

enum class ConfigFileState {
    Missing,  // nothing of that name: the first write creates the file
    Read,     // a regular file, read whole
    Unusable, // unreadable, too large, or not a regular file: never read or written
};

struct ConfigFileContent {
    ConfigFileState State = ConfigFileState::Missing;
    std::string Bytes;
};

// Reads the file, a symbolic link followed. Opening never blocks, so a pipe of that
// name cannot hang the viewer. A file too large to be ours gets one line on stderr.
ConfigFileContent ReadConfigFile(const std::string& path);

// Replaces the content of the configuration file, respecting what the file is:
// - a symbolic link is followed: its target is updated and the link stays;
// - a file that is not regular, too large, unreadable, or not writable by its mode is
//   never changed;
// - the new content goes to a temporary file beside the target, which then replaces
//   it by rename, keeping its mode (a new file gets 0666 less the umask);
// - where that directory cannot take a new file but the file itself is writable, the
//   file is rewritten in place, its new size reserved first, so that a full disk
//   fails before any byte changes;
// - on any failure the old bytes stay whole (`original` restores them after a failed
//   rewrite in place). Returns false on failure.
bool WriteConfigFile(const std::string& path, std::string_view content, std::string_view original,
                     const ChunkWriter& write = WriteAllBytes);

} // namespace kadromir
