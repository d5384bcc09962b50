#include "file_system.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {

bool ExistsAsFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool ExistsAsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {
struct FileDescriptor {
    int Fd;
    ~FileDescriptor() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
};
} // namespace

std::optional<FileBytes> ReadFileBytes(const std::string& path, std::size_t limit) {
    const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.Fd < 0) {
        return std::nullopt;
    }
    // The reported size is a hint: it sizes the buffer and lets the loop stop without
    // one more read to meet the end. A file that changes meanwhile gives what was read.
    // A small limit needs no hint: the buffer takes the limit and the loop stops there.
    constexpr std::size_t SmallLimit = 4096;
    struct stat info {};
    const bool sized = limit > SmallLimit && ::fstat(file.Fd, &info) == 0 && S_ISREG(info.st_mode) &&
                       info.st_size >= 0;
    const std::size_t reported = sized ? static_cast<std::size_t>(info.st_size) : limit;
    std::size_t capacity = std::min(limit, sized ? std::max<std::size_t>(reported, 1) : 64 * 1024);
    FileBytes result;
    result.Data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    std::size_t& used = result.Size;
    while (used < limit && !(sized && reported > 0 && used == reported)) {
        if (used == capacity) {
            const std::size_t grown = std::min(limit, capacity * 2);
            auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(grown);
            std::copy_n(result.Data.get(), used, larger.get());
            result.Data = std::move(larger);
            capacity = grown;
        }
        const ssize_t got = ::read(file.Fd, result.Data.get() + used, capacity - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    return result;
}

} // namespace kadromir
