#include "editor/TextFit.h"

#include "editor/OvcParaList.h"
#include "editor/TextFile.h"
#include "MemoryFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace wexly::test {
namespace {

constexpr int64_t kGiB = int64_t { 1 } << 30;

TTextSample Sample(const std::string& text, int64_t maxBytes = kTextSampleBytes)
{
    TMemoryFile file(text);
    return SampleText(file, maxBytes);
}

// Lines of 20 to 120 characters of words, CR LF.
std::string Prose(size_t bytes, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string out;
    while (out.size() < bytes) {
        const size_t target = 20 + rng() % 101;
        std::string line;
        while (line.size() < target)
            line += std::string(1 + rng() % 9, static_cast<char>('a' + rng() % 26)) + ' ';
        out += line + "\r\n";
    }
    return out;
}

} // namespace

TEST(TextFit, SampleCountsEveryKindOfLineEndOnceWithinItsBytes)
{
    const TTextSample s = Sample("ab\r\ncd\ref\n\r\n");
    EXPECT_EQ(s.bytes, 12);
    EXPECT_EQ(s.lines, 4);
    EXPECT_EQ(s.lineEndBytes, 6);
    // Only the first bytes are looked at.
    const TTextSample part = Sample(std::string(10, 'x') + "\r\n" + std::string(100, 'y'), 16);
    EXPECT_EQ(part.bytes, 16);
    EXPECT_EQ(part.lines, 1);
    EXPECT_EQ(Sample("").bytes, 0);
}

TEST(TextFit, EstimateScalesTheSampleToTheWholeFile)
{
    // 70 characters and CR LF a line, 1 GiB: about 15 million paragraphs.
    const std::string line = std::string(70, 'w') + "\r\n";
    std::string sample;
    while (sample.size() < 72 * 900)
        sample += line;
    const TTextEstimate e = EstimateText(kGiB, Sample(sample));
    EXPECT_NEAR(static_cast<double>(e.paragraphs), kGiB / 72.0, 2.0);
    // Each CR LF counts as the two bytes it is.
    EXPECT_NEAR(static_cast<double>(e.byteCount), static_cast<double>(kGiB), 4.0);
    EXPECT_GT(e.memory, kGiB + e.paragraphs * 40);

    // A line end of one byte counts two in the buffer.
    const TTextEstimate lf = EstimateText(kGiB, Sample(std::string(9, 'x') + "\n"));
    EXPECT_GT(lf.byteCount, kGiB + kGiB / 20);

    // No line end at all: the text is cut into paragraphs of the largest size.
    const TTextEstimate one = EstimateText(100000, Sample(std::string(4096, 'z')));
    EXPECT_EQ(one.paragraphs, 100000 / kMaxParaLen + 1);
    EXPECT_EQ(EstimateText(0, TTextSample {}).memory, 0);
    // Far beyond any address space, without overflowing.
    EXPECT_GT(EstimateText(int64_t { 1 } << 50, Sample("a\r\n")).memory, int64_t { 1 } << 50);
}

TEST(TextFit, EstimateIsNotBelowWhatLoadingTakes)
{
    // Short lines cost the most per byte; the estimate must still cover the pool. The sample
    // is the start only, as when a file is opened.
    for (const std::string& text : { Prose(2 << 20, 1), std::string(3 << 20, 'q'),
             [] {
                 std::string s;
                 for (int i = 0; i < 300000; ++i)
                     s += i % 3 ? "ab\n" : "\r\n";
                 return s;
             }() }) {
        TOvcParaList list;
        TMemoryFile file(text);
        ReadTextFile(file, list, false);
        const TTextEstimate e
            = EstimateText(static_cast<int64_t>(text.size()), Sample(text));
        EXPECT_GE(e.memory, static_cast<int64_t>(list.PoolBytes())) << text.size();
        EXPECT_LE(e.memory, 2 * static_cast<int64_t>(list.PoolBytes()) + (1 << 20)) << text.size();
        EXPECT_NEAR(static_cast<double>(e.byteCount), list.ByteCount(), list.ByteCount() * 0.02);
    }
}

TEST(TextFit, TooLargeAtTheBufferLimitsOrBeyondTheAddressSpaceLeft)
{
    TTextEstimate e;
    e.paragraphs = 1000;
    e.byteCount = 1000000;
    e.memory = 2000000;
    EXPECT_FALSE(TextTooLarge(e, kNoLimit, kNoLimit, -1));
    EXPECT_FALSE(TextTooLarge(e, 1000000, 1001, -1));
    EXPECT_TRUE(TextTooLarge(e, 999999, kNoLimit, -1));
    EXPECT_TRUE(TextTooLarge(e, kNoLimit, 1000, -1));
    // The address space must leave the reserve free beside the text.
    EXPECT_FALSE(TextTooLarge(e, kNoLimit, kNoLimit, 2000000 + kTextMemoryReserve));
    EXPECT_TRUE(TextTooLarge(e, kNoLimit, kNoLimit, 1999999 + kTextMemoryReserve));
    EXPECT_TRUE(TextTooLarge(e, kNoLimit, kNoLimit, 2000000 + kTextMemoryReserve, 1));
    EXPECT_TRUE(TextTooLarge(e, kNoLimit, kNoLimit, 0));

    // A 2 GiB file is beyond the buffer's byte count whatever the memory.
    const TTextEstimate twoGiB = EstimateText(2 * kGiB, Sample(std::string(70, 'x') + "\r\n"));
    EXPECT_TRUE(TextTooLarge(twoGiB, kNoLimit, kNoLimit, -1));
    const TTextEstimate oneGiB = EstimateText(kGiB, Sample(std::string(70, 'x') + "\r\n"));
    EXPECT_FALSE(TextTooLarge(oneGiB, kNoLimit, kNoLimit, int64_t { 3 } * kGiB));
    EXPECT_TRUE(TextTooLarge(oneGiB, kNoLimit, kNoLimit, kGiB + kGiB / 4));
}

TEST(TextFit, MessagesSayWhatHappensInPlainWords)
{
    EXPECT_EQ(TooLargeForTextMessage(3 * kGiB),
        "This file (3072 MB) is too large to edit as text.\r"
        "Open it in the hex viewer instead? It shows files of any size.");
    EXPECT_EQ(TooLargeForTextMessage(10), TooLargeForTextMessage(1 << 20));
    EXPECT_NE(TooLargeToReloadMessage(true), TooLargeToReloadMessage(false));
}

} // namespace wexly::test
