#include "file_writer.h"

#include "file_system.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

// Closes the descriptor; the write counts only if the close succeeds too.
int CloseAfter(int fd, bool written) {
    const int writeError = written ? 0 : (errno != 0 ? errno : EIO);
    if (::close(fd) != 0 && writeError == 0) {
        return errno;
    }
    return writeError;
}

int WriteIntoExisting(const std::string& path, std::string_view bytes) {
    // Without O_NONBLOCK, opening a pipe that nobody reads would wait for good.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    errno = 0;
    return CloseAfter(fd, WriteAllBytes(fd, bytes));
}

// Creates a new file beside `target` with a name nobody uses; -1 and errno when none
// can be made.
int CreateTemporary(const std::string& target, std::string& made) {
    const auto slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    // A name stays within the 255 bytes an entry may have.
    const std::string name = target.substr(directory.size()).substr(0, 200);
    std::random_device seed;
    std::minstd_rand random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        made = directory + "." + name + "." + std::to_string(random() % 1000000000u) + ".part";
        // 0666 as for any new file: the user's umask decides.
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

int WriteFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return ENOENT;
    }
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return S_ISDIR(existing.st_mode) ? EISDIR : WriteIntoExisting(path, bytes);
    }
    std::string target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // A link is followed, so its file gets the update and the link stays a link.
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) {
            return errno;
        }
        target = resolved;
        std::free(resolved);
    }
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        return errno;
    }
    errno = 0;
    bool written = WriteAllBytes(fd, bytes);
    if (written && exists) {
        // The replacement takes the place of a file that was there: its mode, and
        // contents on disk before the rename, so a crash leaves one or the other.
        written = ::fchmod(fd, existing.st_mode & 07777) == 0 && ::fsync(fd) == 0;
    }
    int error = CloseAfter(fd, written);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return error;
}

} // namespace kadromir
