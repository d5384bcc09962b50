// Writing files whole, on POSIX.
#include "base/file_writer.h"

#include "base/path_rules.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

// The errno of a failed step; a step that failed without one counts as an I/O error.
int Failure() {
    return errno != 0 ? errno : EIO;
}

// Creates a fresh temporary file in `directory` (ending in '/', or empty for the
// working directory), 0666 less the umask; -1 and errno when none can be made.
int CreateTemporary(const std::string& directory, std::string& name) {
    const auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^
        (::getpid() * 0x9E3779B97F4A7C15ULL));
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".kadromir-%012llx",
                      (seed + attempt * 0x2545F4914F6CDD1DULL) & 0xFFFFFFFFFFFFULL);
        name = directory + suffix;
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

int WriteIntoExisting(const std::string& path, std::string_view bytes) {
    // Without O_NONBLOCK, opening a pipe that nobody reads would wait for good.
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Fd < 0) {
        return errno;
    }
    const int native = static_cast<int>(fd.Fd);
    ::fcntl(native, F_SETFL, ::fcntl(native, F_GETFL) & ~O_NONBLOCK);
    errno = 0;
    if (!WriteAllBytes(fd.Fd, bytes)) {
        return Failure();
    }
    return fd.Close() ? 0 : errno;
}

} // namespace

std::optional<std::string> FollowLinks(std::string path) {
    constexpr int MaxHops = 40; // as the kernel allows
    for (int hop = 0; hop < MaxHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : DirectoryPart(path) + target;
    }
    return std::nullopt;
}

int ReplaceByRename(const std::string& target, std::string_view content, const FileStatus* old,
                    const ChunkWriter& write, bool& noRoom) {
    std::string temporary;
    Descriptor fd(CreateTemporary(DirectoryPart(target), temporary));
    noRoom = fd.Fd < 0;
    if (noRoom) {
        return errno;
    }
    if (old != nullptr) {
        // Keep the owner where this process may (the superuser editing a user's
        // file), then the mode, which a change of owner would clear in part.
        (void)!::fchown(static_cast<int>(fd.Fd), old->Owner, old->Group);
        ::fchmod(static_cast<int>(fd.Fd), old->Mode & 07777);
    }
    errno = 0;
    int error = write(fd.Fd, content) && ::fsync(static_cast<int>(fd.Fd)) == 0 ? 0 : Failure();
    if (!fd.Close() && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}

int WriteFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return ENOENT;
    }
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) {
        return ELOOP;
    }
    const std::optional<FileStatus> existing = StatusOf(*target);
    const bool exists = existing.has_value();
    if (exists && existing->Kind == FileKind::Directory) {
        return EISDIR;
    }
    if (exists && existing->Kind != FileKind::Regular) {
        return WriteIntoExisting(*target, bytes);
    }
    // An empty file holds nothing to lose, and the one that asked for it may read it
    // back through a descriptor it keeps open (a thumbnail service does so with the
    // temporary file it names): that file must get the bytes, not a new one in its place.
    if (exists && existing->Size == 0) {
        const int error = WriteIntoExisting(*target, bytes);
        if (error != 0 && ::truncate(target->c_str(), 0) != 0) {
            // Not even that: the error already reported says the write failed.
        }
        return error;
    }
    bool noRoom = false;
    return ReplaceByRename(*target, bytes, exists ? &*existing : nullptr, WriteAllBytes, noRoom);
}

bool RewriteInPlace(const std::string& path, std::string_view content, std::string_view original,
                    const ChunkWriter& write) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    const int native = static_cast<int>(fd.Fd);
    struct stat info {};
    if (fd.Fd < 0 || ::fstat(native, &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    // Reserve the room first: a full disk then fails before any byte has changed.
    if (!content.empty() && ::posix_fallocate(native, 0, static_cast<off_t>(content.size())) != 0) {
        return false;
    }
    const auto size = static_cast<off_t>(content.size());
    if (write(fd.Fd, content) && ::ftruncate(native, size) == 0 && ::fsync(native) == 0) {
        return fd.Close();
    }
    // A write that failed all the same: put the old bytes back.
    if (::lseek(native, 0, SEEK_SET) == 0 && WriteAllBytes(fd.Fd, original)) {
        (void)!::ftruncate(native, static_cast<off_t>(original.size()));
        ::fsync(native);
    }
    return false;
}

} // namespace kadromir
