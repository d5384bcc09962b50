#include "config_file_access.h"

#include "base/file_system.h"
#include "base/path_rules.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kadromir {
namespace {

struct Descriptor {
    int Fd = -1;
    Descriptor() = default;
    explicit Descriptor(int fd) : Fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : Fd(std::exchange(other.Fd, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() { Close(); }
    bool Close() {
        const bool ok = Fd < 0 || ::close(Fd) == 0;
        Fd = -1;
        return ok;
    }
};

// The path a chain of symbolic links ends at (the path itself when it is no link, or
// names nothing yet). Nothing for a loop or a chain too long to follow.
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

// A file's mode says this process may write it. A file with no write bit at all is
// read-only for everyone, the superuser included.
bool MayWrite(const std::string& path, const struct stat& info) {
    return (info.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Creates a fresh temporary file in `directory`, with `mode` less the umask.
Descriptor CreateTemporary(const std::string& directory, std::string& name, mode_t mode) {
    const auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^
        (::getpid() * 0x9E3779B97F4A7C15ULL));
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".kadromir-%012llx",
                      (seed + attempt * 0x2545F4914F6CDD1DULL) & 0xFFFFFFFFFFFFULL);
        name = directory + suffix;
        Descriptor fd(
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
        if (fd.Fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return Descriptor();
}

bool ReplaceByRename(const std::string& target, std::string_view content, const struct stat* old,
                     const ChunkWriter& write, bool& noRoom) {
    std::string temporary;
    Descriptor fd = CreateTemporary(DirectoryPart(target), temporary, 0666);
    if (fd.Fd < 0) {
        noRoom = true; // the directory takes no new file
        return false;
    }
    if (old != nullptr) {
        // Keep the owner where this process may (the superuser editing a user's
        // file), then the mode, which a change of owner would clear in part.
        (void)!::fchown(fd.Fd, old->st_uid, old->st_gid);
        ::fchmod(fd.Fd, old->st_mode & 07777);
    }
    bool ok = write(fd.Fd, content) && ::fsync(fd.Fd) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
    }
    return ok;
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
        return errno == ENOENT && ReplaceByRename(*target, content, nullptr, write, noRoom);
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
    if (ReplaceByRename(*target, content, &info, write, noRoom)) {
        return true;
    }
    return noRoom && RewriteInPlace(*target, content, original, write);
}

} // namespace kadromir
