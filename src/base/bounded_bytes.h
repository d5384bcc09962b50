#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace kadromir {

// Bytes from a source whose length is not known ahead: a stream another program feeds
// piece by piece, a pipe, a handle it passes. Only the first `limit` bytes are kept;
// the rest is counted, not stored. The store grows in steps as bytes arrive, and a
// step moves pages rather than copying them, so a source of any length never costs
// more than `limit` bytes of memory, and a short one costs little.
class BoundedBytes {
  public:
    explicit BoundedBytes(std::size_t limit) : Limit(limit) {}
    ~BoundedBytes();
    BoundedBytes(const BoundedBytes&) = delete;
    BoundedBytes& operator=(const BoundedBytes&) = delete;

    // Keeps what fits under the limit. False when the memory could not be had.
    bool Append(std::span<const std::uint8_t> bytes);
    // Reads from `read` until it reports the end (0) or a failure (below 0), or until
    // more than the limit has been offered (one byte past it is enough to know). A
    // reader takes a buffer and its length. False on a failed read or no memory.
    using Reader = std::function<long long(std::uint8_t* into, std::size_t length)>;
    bool ReadFrom(const Reader& read);

    std::span<const std::uint8_t> Bytes() const { return {Data, Kept}; }
    // Every byte offered, kept or not.
    std::uint64_t Offered() const { return OfferedCount; }
    bool PastLimit() const { return OfferedCount > Limit; }

  private:
    bool Reserve(std::size_t wanted);

    std::size_t Limit;
    std::uint8_t* Data = nullptr;
    std::size_t Capacity = 0;
    std::size_t Kept = 0;
    std::uint64_t OfferedCount = 0;
};

} // namespace kadromir
