// Reading files bounded and without blocking, on POSIX.
#include "base/file_reader.h"

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
    auto bytes = FileReader::Read(reported, limit, [fd](std::uint8_t* into, std::size_t length) {
        for (;;) {
            const ssize_t got = ::read(fd, into, length);
            if (got >= 0 || errno != EINTR) {
                return static_cast<long long>(got);
            }
        }
    });
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
