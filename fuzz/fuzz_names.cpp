// Name lower-casing and mask matching over any bytes: a name always matches "*" and
// its own lower-cased form, and lower-casing twice changes nothing more.
#include "base/text_case.h"
#include "navigation/file_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    const std::string_view name = input.substr(0, split);
    const std::string lower = kadromir::LowerCaseUtf8(name);
    if (kadromir::LowerCaseUtf8(lower) != lower) {
        std::abort();
    }
    if (!kadromir::MatchesMask(name, "*")) {
        std::abort();
    }
    if (lower.find_first_of("*?") == std::string::npos && !kadromir::MatchesMask(name, lower)) {
        std::abort();
    }
    // A mask of the fuzzer's own, after the zero byte.
    if (split != std::string_view::npos) {
        for (const auto& mask : kadromir::SplitMasks(input.substr(split + 1))) {
            (void)kadromir::MatchesMask(name, mask);
        }
    }
    return 0;
}
