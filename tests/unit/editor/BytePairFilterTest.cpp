#include "editor/BytePairFilter.h"

#include "platform/Ui.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>

namespace wexly::test {
namespace {

constexpr size_t npos = TBytePairFilter::npos;

std::array<uint8_t, 256> Identity()
{
    std::array<uint8_t, 256> map;
    std::iota(map.begin(), map.end(), 0);
    return map;
}

std::array<uint8_t, 256> Upper()
{
    return Windows1252UpperTable();
}

// Text in a block of exactly its size, so that the sanitizer reports a read past its end.
std::unique_ptr<char[]> Exact(const std::string& text)
{
    auto block = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), block.get());
    return block;
}

} // namespace

TEST(BytePairFilter, ProbesTheRarestBytesOfThePattern)
{
    auto f = TBytePairFilter::Make("zanzibar", Identity());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->A().offset + f->B().offset, 0 + 3); // both z
    EXPECT_EQ(f->A().value, 'z');
    EXPECT_EQ(f->A().mask, 0);
    // Without case a letter is tested with its capital, which differs in one bit.
    auto g = TBytePairFilter::Make("ZANZIBAR", Upper());
    ASSERT_TRUE(g);
    EXPECT_EQ(g->A().mask, 0x20);
    EXPECT_EQ(g->A().value, 'z');
    // A one-byte pattern tests the same byte twice.
    auto one = TBytePairFilter::Make("q", Identity());
    ASSERT_TRUE(one);
    EXPECT_EQ(one->A().offset, 0);
    EXPECT_EQ(one->B().offset, 0);
}

TEST(BytePairFilter, LeavesOutBytesWhoseCasesDifferInMoreThanOneBit)
{
    // y with diaeresis: 0xFF and its capital 0x9F differ in two bits; e acute pairs with 0xC9.
    auto f = TBytePairFilter::Make("\x9F\xC9\x9F", Upper());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->A().offset, 1);
    EXPECT_EQ(f->B().offset, 1);
    EXPECT_EQ(f->A().value, 0xE9);
    EXPECT_FALSE(TBytePairFilter::Make("\x9F\x9F", Upper()));
    // Three text bytes that compare alike cannot be tested at once.
    auto map = Identity();
    map['1'] = map['2'] = '0';
    EXPECT_FALSE(TBytePairFilter::Make("0", map));
    EXPECT_TRUE(TBytePairFilter::Make("0x", map));
}

TEST(BytePairFilter, FindsEveryStartInEveryRangeBothWays)
{
    // Ranges on both sides of 16 starts and of whole blocks, with the probes' bytes at one
    // place (or two, so that an earlier or later hit must win), checked against a plain loop.
    auto f = *TBytePairFilter::Make("xay", Identity()); // probes x at 0 and y at 2
    for (size_t n = 3; n <= 40; ++n) {
        for (size_t hit = 0; hit + 3 <= n; ++hit) {
            for (size_t second : { npos, hit + 7, hit + 17 }) {
                std::string text(n, 'a');
                text[hit] = 'x';
                text[hit + 2] = 'y';
                if (second != npos && second + 3 <= n) {
                    text[second] = 'x';
                    text[second + 2] = 'y';
                }
                auto block = Exact(text);
                const size_t lastStart = n - 3;
                for (size_t first = 0; first <= lastStart; ++first) {
                    for (size_t last = first; last <= lastStart; ++last) {
                        size_t next = npos, prev = npos;
                        for (size_t at = first; at <= last; ++at) {
                            if (text[at] == 'x' && text[at + 2] == 'y') {
                                prev = at;
                                if (next == npos)
                                    next = at;
                            }
                        }
                        ASSERT_EQ(f.Next(block.get(), first, last), next)
                            << n << " " << hit << " " << first << ".." << last;
                        ASSERT_EQ(f.Prev(block.get(), first, last), prev)
                            << n << " " << hit << " " << first << ".." << last;
                    }
                }
            }
        }
    }
}

TEST(BytePairFilter, MatchesBothCasesOfHighBytes)
{
    auto f = *TBytePairFilter::Make("\xC9T\xC9", Upper()); // E acute, T, E acute
    std::string text(40, '.');
    text.replace(30, 3, "\xE9t\xC9");
    auto block = Exact(text);
    EXPECT_EQ(f.Next(block.get(), 0, 37), 30u);
    EXPECT_EQ(f.Prev(block.get(), 0, 37), 30u);
    EXPECT_EQ(f.Next(block.get(), 31, 37), npos);
}

} // namespace wexly::test
