#include "bounded_bytes.h"

#include "system.h"

#include <algorithm>
#include <cstring>

namespace kadromir {
namespace {

// The first step; each later one doubles the store, up to the limit.
constexpr std::size_t FirstStep = std::size_t{64} << 10;

} // namespace

BoundedBytes::~BoundedBytes() {
    ReleasePages(Data, Capacity);
}

bool BoundedBytes::Reserve(std::size_t wanted) {
    if (wanted <= Capacity) {
        return true;
    }
    const std::size_t grown = std::min(Limit, std::max({wanted, Capacity * 2, FirstStep}));
    void* moved = GrowPages(Data, Capacity, grown);
    if (moved == nullptr) {
        return false;
    }
    Data = static_cast<std::uint8_t*>(moved);
    Capacity = grown;
    return true;
}

bool BoundedBytes::Append(std::span<const std::uint8_t> bytes) {
    OfferedCount += bytes.size();
    const std::size_t taken = std::min(bytes.size(), Limit - Kept);
    if (taken == 0) {
        return true;
    }
    if (!Reserve(Kept + taken)) {
        return false;
    }
    std::memcpy(Data + Kept, bytes.data(), taken);
    Kept += taken;
    return true;
}

bool BoundedBytes::ReadFrom(const Reader& read) {
    while (!PastLimit()) {
        std::uint8_t* into = nullptr;
        std::size_t room = 0;
        std::uint8_t probe = 0;
        if (Kept < Limit) {
            if (!Reserve(std::min(Limit, Kept + 1))) {
                return false;
            }
            into = Data + Kept;
            room = Capacity - Kept;
        } else {
            // Full: one byte more tells whether the source goes on.
            into = &probe;
            room = 1;
        }
        const long long got = read(into, room);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        const std::size_t count = std::min(static_cast<std::size_t>(got), room);
        OfferedCount += count;
        if (into != &probe) {
            Kept += count;
        }
    }
    return true;
}

} // namespace kadromir
