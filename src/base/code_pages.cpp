#include "code_pages.h"

#include <array>
#include <cstdint>

namespace kadromir {
namespace {

// The characters of bytes 0x80..0xFF; the lower half is ASCII in both code pages.
constexpr std::array<char16_t, 128> Cp1251{{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
}};

constexpr std::array<char16_t, 128> Cp866{{
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
}};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Decode(std::string_view bytes, const std::array<char16_t, 128>& table) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{table[b - 0x80]});
    }
    return out;
}

// The next character of well-formed UTF-8 at `at`, moving past it; nothing (and `at`
// unmoved) for a malformed sequence.
std::optional<char32_t> NextChar(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    const int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + static_cast<std::size_t>(length) > text.size()) {
        return std::nullopt;
    }
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < Least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    at += static_cast<std::size_t>(length);
    return c;
}

bool IsRussianLetter(char32_t c) {
    return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451;
}

int RussianLetters(std::string_view bytes, const std::array<char16_t, 128>& table) {
    int count = 0;
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        count += b >= 0x80 && IsRussianLetter(table[b - 0x80]) ? 1 : 0;
    }
    return count;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        if (!NextChar(bytes, at)) {
            return false;
        }
    }
    return true;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    return Decode(bytes, Cp1251);
}

std::string Cp866ToUtf8(std::string_view bytes) {
    return Decode(bytes, Cp866);
}

std::optional<std::string> Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = NextChar(text, at);
        if (!c) {
            return std::nullopt;
        }
        if (*c < 0x80) {
            out += static_cast<char>(*c);
            continue;
        }
        std::size_t index = 0;
        while (index < Cp1251.size() && Cp1251[index] != *c) {
            ++index;
        }
        if (index == Cp1251.size()) {
            return std::nullopt;
        }
        out += static_cast<char>(0x80 + index);
    }
    return out;
}

std::string ReadableName(std::string_view name) {
    if (IsValidUtf8(name)) {
        return std::string(name);
    }
    return RussianLetters(name, Cp866) > RussianLetters(name, Cp1251) ? Cp866ToUtf8(name)
                                                                      : Cp1251ToUtf8(name);
}

} // namespace kadromir
