// Files of every encoding, generated here, loaded and saved again: unedited they come back
// byte for byte (every line end written as CR LF), edited they differ only where edited.
#include "editor/OvcParaList.h"
#include "editor/TextFile.h"
#include "platform/Windows1252.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace wexly::test {
namespace {

namespace stdfs = std::filesystem;
using E = TTextEncoding;

// The file's bytes, written without the program's encoder so that the two can disagree.
std::string Utf8Of(const std::u16string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
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
    return out;
}

std::string Bytes(const std::u16string& text, E encoding)
{
    switch (encoding) {
    case E::Ansi: {
        std::string out;
        TWindows1252CodePage cp;
        EXPECT_TRUE(cp.FromWide(text.data(), text.size(), out));
        return out;
    }
    case E::Utf8:
        return Utf8Of(text);
    case E::Utf8Bom:
        return "\xEF\xBB\xBF" + Utf8Of(text);
    case E::Utf16Le:
    case E::Utf16Be: {
        const bool be = encoding == E::Utf16Be;
        std::string out = be ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t c : text) {
            const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
            out += be ? hi : lo;
            out += be ? lo : hi;
        }
        return out;
    }
    }
    return {};
}

// Lines joined by the line ends given, cycling through them; the last line gets one too
// unless noFinalEnd.
std::u16string Join(const std::vector<std::u16string>& lines,
    const std::vector<std::u16string>& ends, bool noFinalEnd = false)
{
    std::u16string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || !noFinalEnd)
            out += ends[i % ends.size()];
    }
    return out;
}

const std::vector<std::u16string> kCrLf { u"\r\n" };
const std::vector<std::u16string> kMixed { u"\r\n", u"\n", u"\r" };

std::vector<std::u16string> Accented()
{
    return { u"Caf\u00e9 cr\u00e8me br\u00fbl\u00e9e",
        u"\u20ac 12, \u2018quoted\u2019 \u201cso\u201d", u"plain ascii line", u"",
        u"\tna\u00efve \u00c5ngstr\u00f6m", u"\u0081 and \u0178" };
}

// About 700 KB of text, so that reads and conversions cross their chunk boundaries.
std::vector<std::u16string> Large()
{
    const std::u16string alphabet = u"abcdefghij ,.\u00e9\u00e8\u00e0\u00fc\u00df\u20ac\u2019";
    std::mt19937 random(12);
    std::vector<std::u16string> lines;
    for (int i = 0; i < 12000; ++i) {
        std::u16string line(1 + random() % 80, u'x');
        for (char16_t& c : line)
            c = alphabet[random() % alphabet.size()];
        while (!line.empty() && line.back() == u' ')
            line.pop_back(); // loading trims trailing blanks
        lines.push_back(line);
    }
    return lines;
}

struct TCase
{
    const char* name;
    std::vector<std::u16string> lines;
    E written; // how the file is written
    E loaded; // the encoding it must load in
    std::vector<std::u16string> ends = kCrLf;
    bool noFinalEnd = false;
    // Stays bytes: its bytes are the 1252 view of written's, to be kept as they are.
    bool staysBytes = false;
};

std::vector<TCase> Corpus()
{
    const std::vector<std::u16string> ascii { u"one", u"two  2", u"", u"three" };
    const std::vector<std::u16string> outside { u"Greek \u03b1\u03b2", u"caf\u00e9" };
    return {
        { "Ascii", ascii, E::Ansi, E::Ansi },
        { "AsciiMixedLineEnds", ascii, E::Ansi, E::Ansi, kMixed },
        { "Utf8", Accented(), E::Utf8, E::Utf8 },
        { "Utf8Bom", Accented(), E::Utf8Bom, E::Utf8Bom },
        { "Utf16Le", Accented(), E::Utf16Le, E::Utf16Le },
        { "Utf16Be", Accented(), E::Utf16Be, E::Utf16Be },
        { "Utf8MixedLineEnds", { u"caf\u00e9", u"b", u"c\u00e8", u"d" }, E::Utf8, E::Utf8, kMixed },
        { "Utf16MixedLineEnds", { u"caf\u00e9", u"b", u"c", u"d" }, E::Utf16Be, E::Utf16Be,
            kMixed },
        { "Utf8NoFinalLineEnd", Accented(), E::Utf8, E::Utf8, kCrLf, true },
        { "AnsiIsNotUtf8", Accented(), E::Ansi, E::Ansi },
        { "OutsideTheCodePage", outside, E::Utf8, E::Ansi, kCrLf, false, true },
        { "LargeUtf8", Large(), E::Utf8, E::Utf8 },
        { "LargeUtf16", Large(), E::Utf16Le, E::Utf16Le },
        { "LargeAnsi", Large(), E::Ansi, E::Ansi },
    };
}

class TempFolder
{
public:
    TempFolder()
        : m_path(
            stdfs::path(::testing::TempDir()) / ("wexly_roundtrip_" + std::to_string(::getpid())))
    {
        stdfs::create_directories(m_path);
    }
    ~TempFolder() { stdfs::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    stdfs::path m_path;
};

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class EncodingRoundTrip : public testing::TestWithParam<TCase>
{
protected:
    // Loads the file written for the case, saves it in the encoding it loaded in, and
    // returns what was saved; edit runs between the two.
    template <typename Edit> std::string LoadAndSave(const TCase& c, Edit&& edit)
    {
        const std::string in = m_dir.File("in.txt"), out = m_dir.File("out.txt");
        Write(in, Bytes(Join(c.lines, c.ends, c.noFinalEnd), c.written));
        TOvcParaList list;
        const TLoadResult r = LoadTextFile(list, RealFileSystem(), in, true, &m_cp);
        EXPECT_EQ(r.encoding, c.loaded);
        edit(list);
        SaveTextFile(list, RealFileSystem(), out, false, r.encoding, &m_cp);
        return Read(out);
    }

    TempFolder m_dir;
    TWindows1252CodePage m_cp;
};

TEST_P(EncodingRoundTrip, AnUnchangedFileSavesAsItWas)
{
    const TCase& c = GetParam();
    const std::string saved = LoadAndSave(c, [](TOvcParaList&) {});
    EXPECT_EQ(saved, Bytes(Join(c.lines, kCrLf), c.written));
}

TEST_P(EncodingRoundTrip, AnEditedFileDiffersOnlyWhereEdited)
{
    const TCase& c = GetParam();
    // Inserted text in the code page, or the same bytes in a file kept as bytes.
    const std::string saved = LoadAndSave(
        c, [](TOvcParaList& list) { ASSERT_EQ(list.InsertTextPrim(2, 1, "\xE9X", 2), 0); });
    std::vector<std::u16string> edited = c.lines;
    if (c.staysBytes) {
        std::string expected;
        for (size_t i = 0; i < c.lines.size(); ++i)
            expected += (i == 1 ? "\xE9X" : "") + Utf8Of(c.lines[i]) + "\r\n";
        EXPECT_EQ(saved, expected);
        return;
    }
    edited[1] = u"\u00e9X" + edited[1];
    EXPECT_EQ(saved, Bytes(Join(edited, kCrLf), c.written));
}

INSTANTIATE_TEST_SUITE_P(TextFile, EncodingRoundTrip, testing::ValuesIn(Corpus()),
    [](const testing::TestParamInfo<TCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace wexly::test

namespace wexly::test {
namespace {

// The conversion is decided while the text is read: a missing character far into the file
// sends the load back to the start, to read the file as it is.
TEST(TextFile, ACharacterMissingLateInTheFileLeavesItAllAsBytes)
{
    TempFolder dir;
    const std::string path = dir.File("late.txt");
    std::string bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += "caf\xC3\xA9 " + std::to_string(i) + "\r\n";
    Write(path, bytes + "\xCE\xB1\r\n");
    TWindows1252CodePage cp;
    TOvcParaList list;
    const TLoadResult r = LoadTextFile(list, RealFileSystem(), path, true, &cp);
    EXPECT_EQ(r.encoding, TTextEncoding::Ansi);
    EXPECT_EQ(r.found, TTextEncoding::Utf8);
    EXPECT_EQ(r.note, TDecodeNote::Unmappable);
    ASSERT_EQ(list.ParaCount(), 40002);
    EXPECT_EQ(list.ParaText(1), "caf\xC3\xA9 0");
    EXPECT_EQ(list.ParaText(40001), "\xCE\xB1");
    EXPECT_EQ(TextFileBytes(list), bytes + "\xCE\xB1\r\n");
}

} // namespace
} // namespace wexly::test
