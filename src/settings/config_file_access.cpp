#include "config_file_access.h"

#include "base/file_system.h"
#include "base/file_writer.h"
#include "base/path_rules.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

// A file's mode says this process may write it. A file with no write bit at all is
// read-only for everyone, the superuser included.
bool MayWrite(const std::string& path, const struct stat& info) {
    return (info.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool RewriteInPlace(const std::string& target, std::string_view content, std::string_view original,
                    const ChunkWriter& write) {
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (fd.Fd < 0 || ::fstat(fd.Fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    // Reserve the room first: a full disk then fails before any byte has changed.
    if (!content.empty() && ::posix_fallocate(fd.Fd, 0, static_cast<off_t>(content.size())) != 0) {
        return false;
    }
    const auto size = static_cast<off_t>(content.size());
    if (write(fd.Fd, content) && ::ftruncate(fd.Fd, size) == 0 && ::fsync(fd.Fd) == 0) {
        return fd.Close();
    }
    // A write that failed all the same: put the old bytes back.
    if (::lseek(fd.Fd, 0, SEEK_SET) == 0 && WriteAllBytes(fd.Fd, original)) {
        (void)!::ftruncate(fd.Fd, static_cast<off_t>(original.size()));
        ::fsync(fd.Fd);
    }
    return false;
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
    struct stat info {};
    if (::stat(target->c_str(), &info) != 0) {
        bool noRoom = false;
        return errno == ENOENT && ReplaceByRename(*target, content, nullptr, write, noRoom) == 0;
    }
    if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > MaxConfigFileSize ||
        ::faccessat(AT_FDCWD, target->c_str(), R_OK, AT_EACCESS) != 0 || !MayWrite(*target, info)) {
        return false;
    }
    // A rename would part a file with several names from its other names.
    if (info.st_nlink > 1) {
        return RewriteInPlace(*target, content, original, write);
    }
    bool noRoom = false;
    if (ReplaceByRename(*target, content, &info, write, noRoom) == 0) {
        return true;
    }
    return noRoom && RewriteInPlace(*target, content, original, write);
}

} // namespace kadromir
