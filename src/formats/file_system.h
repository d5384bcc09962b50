#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace kadromir {

// True when the path names something that is not a directory.
bool ExistsAsFile(const std::string& path);
// True when the path names a directory.
bool ExistsAsDirectory(const std::string& path);

// Bytes read from a file, without the zero-filling a vector would do first.
class FileBytes {
public:
    FileBytes() = default;
    std::span<const std::uint8_t> Bytes() const { return {Data.get(), Size}; }
    operator std::span<const std::uint8_t>() const { return Bytes(); }
    std::size_t size() const { return Size; }

private:
    friend std::optional<FileBytes> ReadFileBytes(const std::string&, std::size_t);
    std::unique_ptr<std::uint8_t[]> Data;
    std::size_t Size = 0;
};

// Reads the file from its start until its end or until `limit` bytes, whichever
// comes first. The size the file reports is only a hint: a file that grows or
// shrinks while it is read gives the bytes actually read. Nothing when the file
// cannot be opened or a read fails (a directory, for instance).
std::optional<FileBytes>
ReadFileBytes(const std::string& path,
              std::size_t limit = std::numeric_limits<std::size_t>::max());

} // namespace kadromir
