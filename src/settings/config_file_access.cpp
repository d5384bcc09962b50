#include "config_file_access.h"

#include "base/file_system.h"
#include "base/file_writer.h"
#include "base/path_rules.h"

#include <cerrno>
#include <cstdio>
#include <optional>

namespace kadromir {
namespace {

// A file's mode says this process may write it. A file with no write bit at all is
// read-only for everyone, the superuser included.
bool MayWrite(const std::string& path, const FileStatus& status) {
    return (status.Mode & 0222) != 0 && MayAccess(path, Access::Write);
}

} // namespace

ConfigFileContent ReadConfigFile(const std::string& path) {
    ReadFailure why = ReadFailure::None;
    const auto bytes = ReadFileBytes(path, MaxConfigFileSize, Oversize::Refuse, &why);
    ConfigFileContent result;
    if (bytes) {
        result.State = ConfigFileState::Read;
        result.Bytes.assign(reinterpret_cast<const char*>(bytes->Bytes().data()), bytes->size());
        return result;
    }
    if (why == ReadFailure::TooLarge) {
        std::fprintf(stderr,
                     "%s: larger than %zu bytes, so not a settings file of ours; left as it is\n",
                     path.c_str(), MaxConfigFileSize);
    }
    result.State =
        why == ReadFailure::Missing ? ConfigFileState::Missing : ConfigFileState::Unusable;
    return result;
}

bool WriteConfigFile(const std::string& path, std::string_view content, std::string_view original,
                     const ChunkWriter& write) {
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) {
        return false;
    }
    int error = 0;
    const std::optional<FileStatus> info = StatusOf(*target, true, &error);
    if (!info) {
        bool noRoom = false;
        return error == ENOENT && ReplaceByRename(*target, content, nullptr, write, noRoom) == 0;
    }
    if (info->Kind != FileKind::Regular || info->Size > MaxConfigFileSize ||
        !MayAccess(*target, Access::Read) || !MayWrite(*target, *info)) {
        return false;
    }
    // A rename would part a file with several names from its other names.
    if (info->Links > 1) {
        return RewriteInPlace(*target, content, original, write);
    }
    bool noRoom = false;
    if (ReplaceByRename(*target, content, &*info, write, noRoom) == 0) {
        return true;
    }
    return noRoom && RewriteInPlace(*target, content, original, write);
}

} // namespace kadromir
