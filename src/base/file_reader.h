#pragma once

#include "file_system.h"

#include <functional>

namespace kadromir {

// The reading loop of ReadFileBytes, the same on every system: a buffer sized by the
// size the file reports (only a hint), grown by doubling up to the limit.
class FileReader {
  public:
    // Reads up to `length` bytes into `into`: the count, 0 at the end, below 0 on a
    // failed read.
    using Chunk = std::function<long long(std::uint8_t* into, std::size_t length)>;
    static std::optional<FileBytes> Read(std::size_t reported, std::size_t limit,
                                         const Chunk& read);
};

} // namespace kadromir
