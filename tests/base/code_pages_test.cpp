#include "base/code_pages.h"

#include <gtest/gtest.h>

namespace kadromir {
namespace {

TEST(CodePages, NamesReadAsTheirMostPlausibleCodePage) {
    const struct {
        const char* What;
        std::string Name;
        std::string Readable;
    } cases[] = {
        {"UTF-8 stays as it is", "Кот и пёс.spr", "Кот и пёс.spr"},
        {"ASCII", "CAT.SPR", "CAT.SPR"},
        {"Windows-1251, lower case", "\xea\xee\xf2.spr", "кот.spr"},
        {"Windows-1251, upper case", "\xca\xce\xd2.SPR", "КОТ.SPR"},
        {"Windows-1251 with ё", "\xb8\xeb\xea\xe0.rmb", "ёлка.rmb"},
        {"866, upper case as DOS wrote 8.3 names", "\x8a\x8e\x92.SPR", "КОТ.SPR"},
        {"866, lower case", "\xaa\xae\xe2.spr", "кот.spr"},
        {"866 with Ё", "\xf0\x8b\x8a\x80.SCR", "ЁЛКА.SCR"},
        // Ё and ё are letters too: here each tips the count, which ties without it.
        {"866 where Ё decides", "\xf0\x86.SPR", "ЁЖ.SPR"},
        {"866 where ё decides", "\xf1\xa6.spr", "ёж.spr"},
        // Neither reads as Russian: Windows-1251 is the guess.
        {"bytes that are neither", "\xb0\xb1.spr", "°±.spr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ReadableName(c.Name), c.Readable);
        EXPECT_TRUE(IsValidUtf8(ReadableName(c.Name)));
    }
}

TEST(CodePages, Utf8CheckRejectsMalformedSequences) {
    for (const std::string bad : {"\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80",
                                  "\xd0", "\x80", "a\xffz"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    for (const std::string good : {"", "plain", "Кадромир", "\xf0\x9f\x98\x80", "\xef\xbf\xbd"}) {
        EXPECT_TRUE(IsValidUtf8(good)) << good;
    }
}

TEST(CodePages, Windows1251RoundTripsEveryCharacterItHolds) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string text = Cp1251ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(Utf8ToCp1251(text), all);
    EXPECT_EQ(Cp1251ToUtf8("[\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8]"), "[Настройки]");
    // What Windows-1251 has no place for.
    EXPECT_EQ(Utf8ToCp1251("图.spr"), std::nullopt);
    EXPECT_EQ(Utf8ToCp1251("\xff"), std::nullopt);
    EXPECT_EQ(Utf8ToCp1251("\xef\xbf\xbd"), std::nullopt);
}

} // namespace
} // namespace kadromir
