#include "editor/LineReader.h"

#include "MemoryFile.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace wexly::test {
namespace {

// Whole lines, with the pieces of over-long lines joined again.
std::vector<std::string> ReadAll(const std::string& data, std::vector<size_t>* pieceSizes = nullptr)
{
    TMemoryFile file(data);
    TLineReader reader(file);
    std::vector<std::string> lines;
    std::string pending;
    bool joining = false;
    std::string_view piece;
    bool continues = false;
    while (reader.ReadLine(piece, continues)) {
        if (pieceSizes)
            pieceSizes->push_back(piece.size());
        pending.append(piece);
        joining = continues;
        if (!continues) {
            lines.push_back(pending);
            pending.clear();
        }
    }
    if (joining && !pending.empty())
        lines.push_back(pending);
    return lines;
}

// What the reader must produce: split at CR, LF or CR LF; a NUL ends the line's text.
std::vector<std::string> Reference(const std::string& data)
{
    std::vector<std::string> lines;
    std::string line;
    bool cut = false;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            cut = false;
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
        } else if (c == '\0') {
            cut = true;
        } else if (!cut) {
            line += c;
        }
    }
    if (!line.empty()) // an unterminated last line without text is no line
        lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(LineReader, SplitsAtEveryKindOfLineEnd)
{
    EXPECT_EQ(ReadAll("a\rb\nc\r\nd"), (Lines { "a", "b", "c", "d" }));
    EXPECT_EQ(ReadAll("a\n\rb"), (Lines { "a", "", "b" }));
    EXPECT_EQ(ReadAll("a\r\n"), (Lines { "a" }));
    EXPECT_EQ(ReadAll("\n\n"), (Lines { "", "" }));
    EXPECT_EQ(ReadAll(""), Lines {});
    EXPECT_EQ(ReadAll(std::string("x\0y\nz\0", 7)), (Lines { "x", "z" }));
    EXPECT_EQ(ReadAll(std::string("x\n\0y", 4)), (Lines { "x" }));
}

TEST(LineReader, CrLfSplitByAReadIsOneLineEnd)
{
    // The CR is the last byte of the first 32767-byte read, the LF the first of the next.
    std::string data = "short\n" + std::string(32760, 'a') + "\r\nnext";
    ASSERT_EQ(data[32766], '\r');
    EXPECT_EQ(ReadAll(data), (Lines { "short", std::string(32760, 'a'), "next" }));
}

TEST(LineReader, OverLongLinesComeInPiecesThatJoinBack)
{
    std::vector<size_t> sizes;
    std::string data = std::string(70000, 'a') + "\nb";
    EXPECT_EQ(ReadAll(data, &sizes), (Lines { std::string(70000, 'a'), "b" }));
    EXPECT_EQ(sizes, (std::vector<size_t> { 32765, 32765, 4470, 1 }));
    // A NUL in the first piece drops the rest of the line, later pieces included.
    std::string withNul = "ab" + std::string(1, '\0') + std::string(40000, 'c') + "\nd";
    EXPECT_EQ(ReadAll(withNul), (Lines { "ab", "d" }));
    // Lines up to 32764 characters come whole.
    sizes.clear();
    ReadAll("x\n" + std::string(32764, 'q') + "\n", &sizes);
    EXPECT_EQ(sizes, (std::vector<size_t> { 1, 32764 }));
}

TEST(LineReader, MatchesTheReferenceOnRandomFiles)
{
    std::mt19937 rng(1234);
    const char alphabet[] = { 'a', 'b', ' ', '\t', '\r', '\n', '\0', '\xE9' };
    for (int round = 0; round < 20; ++round) {
        std::string data;
        size_t target = std::uniform_int_distribution<size_t>(0, 200000)(rng);
        while (data.size() < target) {
            // Runs of text of lengths that land near the read and piece boundaries.
            size_t run = std::uniform_int_distribution<int>(0, 3)(rng) == 0
                ? std::uniform_int_distribution<size_t>(32700, 32800)(rng)
                : std::uniform_int_distribution<size_t>(0, 120)(rng);
            for (size_t i = 0; i < run; ++i)
                data += std::uniform_int_distribution<int>(0, 9)(rng) < 8
                    ? 'a'
                    : alphabet[std::uniform_int_distribution<size_t>(0, 7)(rng)];
            data += alphabet[std::uniform_int_distribution<size_t>(4, 5)(rng)];
        }
        ASSERT_EQ(ReadAll(data), Reference(data)) << "round " << round;
    }
}

TEST(LineReader, ReadErrorRaisesMessageByCode)
{
    TMemoryFile file(std::string(100000, 'a'), 40000);
    TLineReader reader(file);
    std::string_view line;
    bool continues = false;
    EXPECT_TRUE(reader.ReadLine(line, continues));
    try {
        while (reader.ReadLine(line, continues)) { }
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code(), 30u);
        EXPECT_STREQ(e.what(), "Viewer triggered I/O error 30");
    }
    EXPECT_EQ(InOutErrorMessage(2), "Viewer: file not found");
    EXPECT_EQ(InOutErrorMessage(3), "Viewer: path not found or invalid file name");
    EXPECT_EQ(InOutErrorMessage(4), "Viewer: too many open files");
    EXPECT_EQ(InOutErrorMessage(5), "Viewer: file access denied");
}

} // namespace wexly::test
