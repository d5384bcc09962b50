// Reading files bounded and without blocking, on POSIX.
#include "base/file_system.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {

bool Descriptor::Close() {
    const bool ok = Fd < 0 || ::close(static_cast<int>(Fd)) == 0;
    Fd = NoFile;
    return ok;
}

class FileReader {
  public:
    static std::optional<FileBytes> Read(int fd, std::size_t reported, std::size_t limit) {
        // The reported size sizes the buffer and lets the loop stop without one more
        // read to meet the end.
        std::size_t capacity = std::min(limit, std::max<std::size_t>(reported, 1));
        FileBytes result;
        result.Data = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        std::size_t& used = result.Size;
        while (used < limit && !(reported > 0 && used == reported)) {
            if (used == capacity) {
                const std::size_t grown = std::min(limit, capacity * 2);
                auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(grown);
                std::copy_n(result.Data.get(), used, larger.get());
                result.Data = std::move(larger);
                capacity = grown;
            }
            const ssize_t got = ::read(fd, result.Data.get() + used, capacity - used);
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
};

std::optional<FileBytes> ReadFileBytes(const std::string& path, std::size_t limit,
                                       Oversize oversize, ReadFailure* failure) {
    ReadFailure ignored = ReadFailure::None;
    ReadFailure& why = failure ? *failure : ignored;
    why = ReadFailure::None;
    // Without O_NONBLOCK the open of a pipe waits for a writer, forever.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    const int fd = static_cast<int>(file.Fd);
    if (file.Fd < 0) {
        why = (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) ? ReadFailure::Missing
              : errno == EISDIR || errno == ENXIO                     ? ReadFailure::NotRegular
                                                                      : ReadFailure::Unreadable;
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = ReadFailure::Unreadable;
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        why = ReadFailure::NotRegular;
        return std::nullopt;
    }
    const auto reported = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
    if (oversize == Oversize::Refuse && reported > limit) {
        why = ReadFailure::TooLarge;
        return std::nullopt;
    }
    auto bytes = FileReader::Read(fd, reported, limit);
    if (!bytes) {
        why = ReadFailure::Unreadable;
    }
    return bytes;
}

bool WriteAllBytes(FileHandle fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(static_cast<int>(fd), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace kadromir
