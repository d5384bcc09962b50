#include "file_writer.h"

#include "path_rules.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fcntl.h>
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
    ::fcntl(fd.Fd, F_SETFL, ::fcntl(fd.Fd, F_GETFL) & ~O_NONBLOCK);
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

int ReplaceByRename(const std::string& target, std::string_view content, const struct stat* old,
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
        (void)!::fchown(fd.Fd, old->st_uid, old->st_gid);
        ::fchmod(fd.Fd, old->st_mode & 07777);
    }
    errno = 0;
    int error = write(fd.Fd, content) && ::fsync(fd.Fd) == 0 ? 0 : Failure();
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
    struct stat existing {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return EISDIR;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return WriteIntoExisting(*target, bytes);
    }
    // An empty file holds nothing to lose, and the one that asked for it may read it
    // back through a descriptor it keeps open (a thumbnail service does so with the
    // temporary file it names): that file must get the bytes, not a new one in its place.
    if (exists && existing.st_size == 0) {
        const int error = WriteIntoExisting(*target, bytes);
        if (error != 0 && ::truncate(target->c_str(), 0) != 0) {
            // Not even that: the error already reported says the write failed.
        }
        return error;
    }
    bool noRoom = false;
    return ReplaceByRename(*target, bytes, exists ? &existing : nullptr, WriteAllBytes, noRoom);
}

} // namespace kadromir
