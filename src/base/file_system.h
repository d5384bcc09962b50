#pragma once

#include "system.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kadromir {

// True when the path names a regular file, a symbolic link followed to its end. A
// pipe, a device or a socket never counts: opening one could block or never end.
bool ExistsAsFile(const std::string& path);
// True when the path names a directory.
bool ExistsAsDirectory(const std::string& path);

// The entries of `directory` (its path with the trailing delimiter, or empty for the
// working directory) whose names equal `name` without regard to letter case (Latin and
// Cyrillic), in byte order. Names from DOS and Windows disks matched that way.
std::vector<std::string> NamesInAnyCase(const std::string& directory, std::string_view name);

// An open file, closed when it goes. Close() says whether the close succeeded, which a
// write counts on.
struct Descriptor {
    FileHandle Fd = NoFile;
    explicit Descriptor(FileHandle fd = NoFile) : Fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    bool Close();
};

// Bytes read from a file, without the zero-filling a vector would do first.
class FileBytes {
  public:
    FileBytes() = default;
    std::span<const std::uint8_t> Bytes() const { return {Data.get(), Size}; }
    operator std::span<const std::uint8_t>() const { return Bytes(); }
    std::size_t size() const { return Size; }

  private:
    friend class FileReader;
    std::unique_ptr<std::uint8_t[]> Data;
    std::size_t Size = 0;
};

// Why a read gave nothing.
enum class ReadFailure {
    None,
    Missing,    // nothing of that name (or a dangling link)
    NotRegular, // a directory, pipe, device or socket
    TooLarge,   // larger than the limit, where the caller refuses such files
    Unreadable, // no permission, or a read failed
};

// What to do with a regular file larger than the limit.
enum class Oversize {
    ReadPrefix, // read the first `limit` bytes
    Refuse,     // read nothing: the file is unsuitable
};

// Reads a regular file from its start, at most `limit` bytes. The file is opened
// without blocking and checked on the open descriptor, so a pipe or device named
// like a picture can neither hang nor flood the reader. The size the file reports
// is only a hint: a file that grows or shrinks while it is read gives the bytes
// actually read. Nothing when the file cannot be read; `failure` then says why.
std::optional<FileBytes> ReadFileBytes(const std::string& path, std::size_t limit,
                                       Oversize oversize = Oversize::ReadPrefix,
                                       ReadFailure* failure = nullptr);

// Writes all the bytes at the descriptor's offset, going on after an interrupted or
// short write. False when a write fails (a full disk, for instance).
bool WriteAllBytes(FileHandle fd, std::string_view bytes);

} // namespace kadromir
