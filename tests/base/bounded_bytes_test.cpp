#include "base/bounded_bytes.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace kadromir {
namespace {

std::vector<std::uint8_t> Counting(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

TEST(BoundedBytes, KeepsThePrefixAndCountsTheRest) {
    const auto source = Counting(300000);
    const struct {
        std::size_t Limit;
        std::size_t Piece;
    } cases[] = {{0, 1000},     {1, 7},          {65536, 65536},
                 {65537, 4096}, {200000, 99999}, {400000, 300000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Limit);
        BoundedBytes bytes(c.Limit);
        for (std::size_t at = 0; at < source.size(); at += c.Piece) {
            const std::size_t size = std::min(c.Piece, source.size() - at);
            ASSERT_TRUE(bytes.Append({source.data() + at, size}));
        }
        const std::size_t kept = std::min(c.Limit, source.size());
        ASSERT_EQ(bytes.Bytes().size(), kept);
        EXPECT_TRUE(std::equal(bytes.Bytes().begin(), bytes.Bytes().end(), source.begin()));
        EXPECT_EQ(bytes.Offered(), source.size());
        EXPECT_EQ(bytes.PastLimit(), source.size() > c.Limit);
    }
}

TEST(BoundedBytes, ReadsAnEndlessSourceOnlyOneBytePastTheLimit) {
    const auto source = Counting(100000);
    for (const std::size_t limit : {std::size_t{0}, std::size_t{10}, std::size_t{99999},
                                    std::size_t{100000}, std::size_t{100001}}) {
        SCOPED_TRACE(limit);
        // Hands out the source in short pieces, then zeros without end.
        std::size_t at = 0;
        std::uint64_t handedOut = 0;
        BoundedBytes bytes(limit);
        ASSERT_TRUE(bytes.ReadFrom([&](std::uint8_t* into, std::size_t length) {
            const std::size_t n = std::min<std::size_t>(length, 3000);
            for (std::size_t i = 0; i < n; ++i, ++at) {
                into[i] = at < source.size() ? source[at] : 0;
            }
            handedOut += n;
            return static_cast<long long>(n);
        }));
        EXPECT_EQ(bytes.Bytes().size(), limit);
        EXPECT_EQ(bytes.Offered(), handedOut);
        EXPECT_TRUE(bytes.PastLimit());
        EXPECT_LE(handedOut, std::uint64_t{limit} + 3000);
        // The source's own bytes, then the zeros that followed them.
        for (std::size_t i = 0; i < bytes.Bytes().size(); ++i) {
            ASSERT_EQ(bytes.Bytes()[i], i < source.size() ? source[i] : 0) << i;
        }
    }
}

TEST(BoundedBytes, ASourceThatEndsOrFailsEndsTheRead) {
    const auto source = Counting(5000);
    std::size_t at = 0;
    BoundedBytes whole(1 << 20);
    ASSERT_TRUE(whole.ReadFrom([&](std::uint8_t* into, std::size_t length) {
        const std::size_t n = std::min(length, source.size() - at);
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), n, into);
        at += n;
        return static_cast<long long>(n);
    }));
    EXPECT_EQ(whole.Bytes().size(), source.size());
    EXPECT_FALSE(whole.PastLimit());

    BoundedBytes failing(1 << 20);
    int calls = 0;
    EXPECT_FALSE(failing.ReadFrom([&](std::uint8_t*, std::size_t length) {
        return ++calls == 1 ? static_cast<long long>(std::min<std::size_t>(length, 10)) : -1LL;
    }));
}

} // namespace
} // namespace kadromir
