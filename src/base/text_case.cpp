#include "text_case.h"

namespace kadromir {
namespace {

char32_t LowerCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') {
        return c + 0x20;
    }
    if (c < 0xC0) {
        return c;
    }
    if (c <= 0xDE) {
        return c == 0xD7 ? c : c + 0x20; // À..Þ, not ×
    }
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A: pairs capital/small, with the odd stretch 0x139-0x148 and
        // 0x179-0x17E, and a few singles.
        if (c == 0x130) {
            return 0x69;
        }
        if (c == 0x178) {
            return 0xFF;
        }
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x138 || c == 0x149 || c == 0x17F) {
            return c;
        }
        return oddCapitals ? (c % 2 == 1 ? c + 1 : c) : (c % 2 == 0 ? c + 1 : c);
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
        return c + 0x20; // Greek capitals
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50; // Ѐ..Џ
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 0x20; // А..Я
    }
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) {
        return c % 2 == 0 ? c + 1 : c;
    }
    if (c >= 0x4C1 && c <= 0x4CE) {
        return c % 2 == 1 ? c + 1 : c;
    }
    if (c == 0x4C0) {
        return 0x4CF;
    }
    return c;
}

} // namespace

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

std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length <= 1 || at + length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

std::string LowerCaseUtf8(std::string_view text) {
    std::string lower;
    lower.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            lower += static_cast<char>(lead >= 'A' && lead <= 'Z' ? lead + 0x20 : lead);
            ++i;
            continue;
        }
        const std::size_t length = Utf8CharLength(text, i);
        // Only two-byte characters have mappings here; the rest are copied.
        if (length == 2) {
            const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) |
                               (static_cast<unsigned char>(text[i + 1]) & 0x3F);
            AppendUtf8(lower, LowerCase(c));
        } else {
            lower.append(text.substr(i, length));
        }
        i += length;
    }
    return lower;
}

} // namespace kadromir
