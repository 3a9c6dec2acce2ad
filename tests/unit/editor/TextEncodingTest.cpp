#include "editor/TextEncoding.h"

#include "editor/LineReader.h"
#include "editor/MemoryFile.h"
#include "platform/Windows1252.h"

#include <gtest/gtest.h>

#include <random>

namespace wexly::test {
namespace {

using namespace std::string_literals;

// The 1252 table as a code page with lead bytes would be: decoding then converts whole
// chunks through UTF-16 instead of character by character.
class TAsMultiByte final : public ICodePage
{
public:
    bool FromWide(const char16_t* text, size_t count, std::string& out) override
    {
        return m_table.FromWide(text, count, out);
    }
    void ToWide(const char* text, size_t count, std::u16string& out) override
    {
        m_table.ToWide(text, count, out);
    }
    bool SingleByte() const override { return false; }
    uint32_t Id() const override { return 1252; }

private:
    TWindows1252CodePage m_table;
};

TDecodedText Decode(const std::string& bytes, bool multiByte = false)
{
    TWindows1252CodePage single;
    TAsMultiByte multi;
    TMemoryFile file(bytes);
    return DecodeTextFile(file, multiByte ? static_cast<ICodePage&>(multi) : single);
}

struct TDecodeRow
{
    const char* name;
    std::string bytes;
    TTextEncoding encoding;
    TTextEncoding found;
    TDecodeNote note;
    std::string text; // the converted text; "-" when the file is read as it is
};

class DecodeTextFileRows : public testing::TestWithParam<TDecodeRow>
{
};

TEST_P(DecodeTextFileRows, DetectsAndConverts)
{
    const TDecodeRow& row = GetParam();
    for (bool multiByte : { false, true }) {
        const TDecodedText d = Decode(row.bytes, multiByte);
        EXPECT_EQ(d.encoding, row.encoding) << multiByte;
        EXPECT_EQ(d.found, row.found) << multiByte;
        EXPECT_EQ(d.note, row.note) << multiByte;
        if (row.text == "-") {
            EXPECT_FALSE(d.haveText) << multiByte;
        } else {
            EXPECT_TRUE(d.haveText) << multiByte;
            EXPECT_EQ(d.text, row.text) << multiByte;
        }
    }
}

using E = TTextEncoding;
using N = TDecodeNote;

const TDecodeRow kDecodeRows[] = {
    { "Empty", "", E::Ansi, E::Ansi, N::None, "-" },
    { "PlainAsciiIsReadAsItIs", "a\r\nb", E::Ansi, E::Ansi, N::None, "-" },
    { "Utf8WithoutMark", "caf\xC3\xA9\r\n", E::Utf8, E::Utf8, N::None, "caf\xE9\r\n" },
    { "Utf8WithMark",
        "\xEF\xBB\xBF"
        "caf\xC3\xA9",
        E::Utf8Bom, E::Utf8Bom, N::None, "caf\xE9" },
    { "Utf8MarkAlone", "\xEF\xBB\xBF", E::Utf8Bom, E::Utf8Bom, N::None, "" },
    { "Utf8MarkOverAscii", "\xEF\xBB\xBFplain", E::Utf8Bom, E::Utf8Bom, N::None, "plain" },
    { "Utf16LittleEndian",
        "\xFF\xFE"
        "c\0a\0f\0\xE9\0\r\0\n\0"s,
        E::Utf16Le, E::Utf16Le, N::None, "caf\xE9\r\n" },
    { "Utf16BigEndian",
        "\xFE\xFF"
        "\0c\0a\0f\0\xE9"s,
        E::Utf16Be, E::Utf16Be, N::None, "caf\xE9" },
    { "Utf16MarkAlone", "\xFF\xFE", E::Utf16Le, E::Utf16Le, N::None, "" },
    { "ThreeAndFourByteCharactersOfTheCodePage", "\xE2\x82\xAC \xE2\x80\x99", E::Utf8, E::Utf8,
        N::None, "\x80 \x92" },
    // The undefined bytes of 1252 come back as themselves.
    { "ControlCharacterOfAnUndefinedByte", "\xC2\x81\xC3\xA9", E::Utf8, E::Utf8, N::None,
        "\x81\xE9" },
    { "AnsiAccentIsNotUtf8", "caf\xE9", E::Ansi, E::Ansi, N::None, "-" },
    { "BrokenAfterValidSequence", "\xC3\xA9 caf\xE9", E::Ansi, E::Ansi, N::None, "-" },
    { "OverlongSlash", "a\xC0\xAF", E::Ansi, E::Ansi, N::None, "-" },
    { "OverlongThreeBytes", "\xE0\x80\xAF", E::Ansi, E::Ansi, N::None, "-" },
    { "EncodedSurrogate", "\xED\xA0\x80", E::Ansi, E::Ansi, N::None, "-" },
    { "AboveTheLastCharacter", "\xF4\x90\x80\x80", E::Ansi, E::Ansi, N::None, "-" },
    { "CutAtTheEnd", "abc\xC3", E::Ansi, E::Ansi, N::None, "-" },
    { "StrayContinuationByte",
        "\x80"
        "abc",
        E::Ansi, E::Ansi, N::None, "-" },
    { "NotInTheCodePage", "alpha \xCE\xB1", E::Ansi, E::Utf8, N::Unmappable, "-" },
    { "OutsideThePlaneNotInTheCodePage", "\xF0\x9F\x98\x80", E::Ansi, E::Utf8, N::Unmappable, "-" },
    { "C1ControlWithoutAByte", "\xC2\x80", E::Ansi, E::Utf8, N::Unmappable, "-" },
    // A NUL would cut the line it is in: such a file stays as it was before.
    { "NulInUtf8", "\xC3\xA9\0x"s, E::Ansi, E::Ansi, N::None, "-" },
    { "NulInAscii", "ab\0c"s, E::Ansi, E::Ansi, N::None, "-" },
    { "MissingCharacterBeforeABrokenOne", "\xF0\x9F\x98\x80 \xC0 x", E::Ansi, E::Ansi, N::None, "-" },
    { "NulAfterMark",
        "\xEF\xBB\xBF"
        "a\0"s,
        E::Ansi, E::Utf8Bom, N::Nul, "-" },
    { "BrokenAfterMark",
        "\xEF\xBB\xBF"
        "caf\xE9",
        E::Ansi, E::Utf8Bom, N::Invalid, "-" },
    { "CutAfterMark",
        "\xEF\xBB\xBF"
        "caf\xC3",
        E::Ansi, E::Utf8Bom, N::Invalid, "-" },
    { "Utf16NotInTheCodePage", "\xFF\xFE\xB1\x03"s, E::Ansi, E::Utf16Le, N::Unmappable, "-" },
    { "Utf16PairNotInTheCodePage", "\xFF\xFE\x3D\xD8\x00\xDE"s, E::Ansi, E::Utf16Le, N::Unmappable,
        "-" },
    { "Utf16OddLength",
        "\xFF\xFE"
        "a\0b"s,
        E::Ansi, E::Utf16Le, N::Invalid, "-" },
    { "Utf16LoneHighSurrogate",
        "\xFF\xFE\x3D\xD8"
        "a\0"s,
        E::Ansi, E::Utf16Le, N::Invalid, "-" },
    { "Utf16LoneLowSurrogateAtTheEnd",
        "\xFF\xFE"
        "a\0\x00\xDE"s,
        E::Ansi, E::Utf16Le, N::Invalid, "-" },
    { "Utf16HighSurrogateAtTheEnd",
        "\xFF\xFE"
        "a\0\x3D\xD8"s,
        E::Ansi, E::Utf16Le, N::Invalid, "-" },
    { "Utf16Nul", "\xFE\xFF\0a\0\0"s, E::Ansi, E::Utf16Be, N::Nul, "-" },
};

INSTANTIATE_TEST_SUITE_P(TextEncoding, DecodeTextFileRows, testing::ValuesIn(kDecodeRows),
    [](const testing::TestParamInfo<TDecodeRow>& row) { return std::string(row.param.name); });

TEST(TextEncoding, SequencesCutByTheReadChunksAreJoined)
{
    // The decoder reads 256 KiB at a time; put a sequence across each boundary.
    constexpr size_t kChunk = 256 * 1024;
    for (size_t shift = 0; shift < 4; ++shift) {
        std::string bytes(kChunk - 1 - shift, 'a');
        bytes += "\xF0\x9F\x98"; // would be unmappable: cut, it must not be taken as broken
        bytes.resize(kChunk - 1 - shift);
        bytes += "\xE2\x82\xAC\xC3\xA9" + std::string(kChunk, 'b') + "\xC3\xA9";
        const TDecodedText d = Decode(bytes);
        ASSERT_EQ(d.encoding, E::Utf8) << shift;
        EXPECT_EQ(d.text,
            std::string(kChunk - 1 - shift, 'a') + "\x80\xE9" + std::string(kChunk, 'b') + "\xE9");
    }
    // A surrogate pair across a boundary of UTF-16 text: still only unmappable, not broken.
    std::string utf16 = "\xFF\xFE";
    while (utf16.size() < kChunk - 2)
        utf16 += "x\0"s;
    utf16 += "\x3D\xD8\x00\xDE"s;
    EXPECT_EQ(Decode(utf16).note, N::Unmappable);
    // The first multi-byte sequence far behind plain ASCII.
    const std::string late = std::string(3 * kChunk + 5, 'q') + "\xC3\xA9";
    const TDecodedText d = Decode(late);
    EXPECT_EQ(d.encoding, E::Utf8);
    EXPECT_EQ(d.text, std::string(3 * kChunk + 5, 'q') + "\xE9");
}

// Decoding relies on the code page refusing every character that would not come back the
// same: saving converts back.
TEST(TextEncoding, TheTableTakesOnlyCharactersThatComeBackTheSame)
{
    TWindows1252CodePage cp;
    int taken = 0;
    for (uint32_t c = 1; c < 0x10000; ++c) {
        const char16_t wide = static_cast<char16_t>(c);
        std::string bytes;
        if (!cp.FromWide(&wide, 1, bytes))
            continue;
        ++taken;
        std::u16string back;
        cp.ToWide(bytes.data(), bytes.size(), back);
        ASSERT_EQ(back, std::u16string(1, wide)) << c;
    }
    EXPECT_EQ(taken, 255);
}

TEST(TextEncoding, AReadErrorIsRaised)
{
    TWindows1252CodePage cp;
    TMemoryFile file("caf\xC3\xA9", 2);
    EXPECT_THROW(DecodeTextFile(file, cp), EInOutError);
}

TEST(TextEncoding, EncodesTheCodePageTextInEachEncoding)
{
    TWindows1252CodePage cp;
    std::string out;
    std::u16string scratch;
    auto encode = [&](E e, std::string_view text) {
        out.clear();
        EncodeText(e, text, cp, out, scratch);
        return out;
    };
    EXPECT_EQ(encode(E::Ansi, "caf\xE9"), "caf\xE9");
    EXPECT_EQ(encode(E::Utf8, "caf\xE9 \x80\r\n"), "caf\xC3\xA9 \xE2\x82\xAC\r\n");
    EXPECT_EQ(encode(E::Utf8Bom, "plain\0text"s), "plain\0text"s);
    EXPECT_EQ(encode(E::Utf16Le, "a\xE9"), "a\0\xE9\0"s);
    EXPECT_EQ(encode(E::Utf16Be, "a\x80"), "\0a\x20\xAC"s);
    EXPECT_EQ(EncodingName(E::Utf8Bom), "UTF-8 BOM");
    EXPECT_EQ(ByteOrderMark(E::Utf16Be), "\xFE\xFF");
    EXPECT_EQ(ByteOrderMark(E::Utf8), "");
}

// Whatever a file holds, text that converts encodes back to exactly the file's bytes.
TEST(TextEncoding, ConvertedTextEncodesBackToTheSameBytes)
{
    // Mostly characters of the code page; now and then one it lacks or a broken sequence.
    static const char* const pieces[]
        = { "a", "text ", "\r\n", "\xC3\xA9", "\xE2\x82\xAC", "\xC2\x81", "\xC5\x93", "\t",
              "\xCE\xB1", "\xF0\x9F\x98\x80", "\xE9", "\xC3", "\x80", "\xED\xA0\x80" };
    constexpr size_t kGood = 8;
    std::mt19937 random(7);
    TWindows1252CodePage cp;
    int converted = 0;
    for (int round = 0; round < 1000; ++round) {
        std::string bytes;
        const int mark = static_cast<int>(random() % 4);
        const size_t count = random() % 12;
        std::u16string wide;
        for (size_t i = 0; i < count; ++i)
            bytes += pieces[random() % 16 ? random() % kGood : random() % std::size(pieces)];
        if (mark >= 2) {
            // The same kind of text as UTF-16, now and then with a unit cut off.
            TDecodedText utf8 = Decode(bytes);
            if (!utf8.haveText)
                continue;
            std::u16string units;
            cp.ToWide(utf8.text.data(), utf8.text.size(), units);
            const bool be = mark == 3;
            std::string u16 = be ? "\xFE\xFF" : "\xFF\xFE";
            for (char16_t c : units) {
                u16 += static_cast<char>(be ? c >> 8 : c & 0xFF);
                u16 += static_cast<char>(be ? c & 0xFF : c >> 8);
            }
            if (random() % 8 == 0 && u16.size() > 2)
                u16.pop_back();
            bytes = u16;
        } else if (mark == 1) {
            bytes = "\xEF\xBB\xBF" + bytes;
        }
        const TDecodedText d = Decode(bytes, round % 2 == 1);
        if (!d.haveText || d.encoding == E::Ansi)
            continue;
        ++converted;
        std::string back(ByteOrderMark(d.encoding));
        std::u16string scratch;
        EncodeText(d.encoding, d.text, cp, back, scratch);
        ASSERT_EQ(back, bytes) << "round " << round;
    }
    EXPECT_GT(converted, 300);
}

TEST(TextEncoding, PlainAsciiPrefixStopsAtHighBytesAndNuls)
{
    std::string s(40, 'x');
    for (size_t at : { 0u, 7u, 8u, 15u, 16u, 31u, 39u }) {
        std::string high = s, nul = s;
        high[at] = '\x80';
        nul[at] = '\0';
        const auto* h = reinterpret_cast<const unsigned char*>(high.data());
        const auto* z = reinterpret_cast<const unsigned char*>(nul.data());
        EXPECT_EQ(PlainAsciiPrefix(h, high.size()), at);
        EXPECT_EQ(PlainAsciiPrefix(z, nul.size()), at);
    }
    EXPECT_EQ(PlainAsciiPrefix(reinterpret_cast<const unsigned char*>(s.data()), 40), 40u);
}

} // namespace
} // namespace wexly::test
