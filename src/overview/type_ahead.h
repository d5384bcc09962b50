#pragma once

// Type-ahead: the first letters of a name, typed without a pause, select it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kadromir {

class TypeAhead {
  public:
    // A pause this long starts a new name.
    static constexpr std::int64_t PauseMs = 1000;

    // Takes `typed` (UTF-8) at `nowMs` and gives the tile to select among `count`, whose
    // names `nameOf` gives as shown: the first, from `current` on and round, whose name
    // starts with what was typed since the last pause, letter case aside. The same
    // letter typed again moves on to the next name starting with it. Nothing when no
    // name fits.
    std::optional<int> Type(std::string_view typed, std::int64_t nowMs, int current, int count,
                            const std::function<std::string(int)>& nameOf);
    // Whether a name is being typed at `nowMs`: the next character continues it.
    bool Typing(std::int64_t nowMs) const {
        return Started && !Prefix.empty() && nowMs - LastMs <= PauseMs;
    }
    void Reset();
    const std::string& Typed() const { return Prefix; }

  private:
    std::string Prefix;
    std::int64_t LastMs = 0;
    bool Started = false;
};

} // namespace kadromir
