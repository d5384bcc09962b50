#include "random_pick.h"

#include <chrono>

namespace kadromir {

std::uint32_t UtcTimeOfDayMs() {
    using namespace std::chrono;
    const auto now = time_point_cast<milliseconds>(system_clock::now());
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::uint32_t>(sinceMidnight.count());
}

std::uint32_t RandomPick(std::uint32_t n, std::uint32_t seed) {
    const std::uint32_t state = seed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * n) >> 32);
}

} // namespace kadromir
