#pragma once

#include <cstdint>
#include <functional>

namespace kadromir {

// The current time of day on the UTC clock in milliseconds:
// ((hour * 60 + minute) * 60 + second) * 1000 + milliseconds.
using TimeOfDayClock = std::function<std::uint32_t()>;
std::uint32_t UtcTimeOfDayMs();

// A random index below n: the generator's 32-bit state is seeded with `seed`, stepped
// once (state * 134775813 + 1, modulo 2^32), and the result is the high 32 bits of
// the 64-bit product state * n. Gives 0 for n = 0 or 1.
std::uint32_t RandomPick(std::uint32_t n, std::uint32_t seed);

} // namespace kadromir
