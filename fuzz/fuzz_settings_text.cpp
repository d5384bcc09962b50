// The settings text: any bytes parse; a key written into them reads back exactly,
// and the rest of the text stays readable. The input is split at its first zero
// byte into the file's text and the value to write.
#include "settings/ini_text.h"
#include "settings/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    const std::string_view text = input.substr(0, split);
    std::string value(split == std::string_view::npos ? std::string_view()
                                                      : input.substr(split + 1));
    // Line breaks are never written (the store refuses such texts).
    std::erase(value, '\r');
    std::erase(value, '\n');

    kadromir::IniText ini = kadromir::IniText::Parse(text);
    (void)ini.Get(kadromir::SettingsSection, "Недавний файл");
    ini.Set(kadromir::SettingsSection, "Недавний файл", value);
    const std::string written = ini.Serialise();
    const auto back =
        kadromir::IniText::Parse(written).Get(kadromir::SettingsSection, "Недавний файл");
    if (!back || *back != value) {
        std::abort();
    }
    // Written once more, the text does not change.
    if (kadromir::IniText::Parse(written).Serialise() != written) {
        std::abort();
    }
    return 0;
}
