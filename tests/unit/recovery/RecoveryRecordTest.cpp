#include "recovery/RecoveryRecord.h"

#include "recovery/Crc32.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

using namespace std::string_literals;

TRecordInfo NamedInfo()
{
    TRecordInfo info;
    info.name = "C:\\w\\notes ä.txt";
    info.named = true;
    info.encoding = TTextEncoding::Utf8Bom;
    info.caretPara = 3;
    info.caretPos = 17;
    info.loaded = { true, 133500000000000000ull, 4096 };
    return info;
}

std::string RecordBytes(const TRecordInfo& info, const std::string& text)
{
    return RecordHeader(info, text) + text;
}

} // namespace

TEST(Crc32, MatchesTheStandardCheckValueAndContinuesAcrossPieces)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
    const std::string text = "The quick brown fox jumps over the lazy dog, twice or more.";
    for (size_t cut = 0; cut <= text.size(); ++cut)
        EXPECT_EQ(
            Crc32(std::string_view(text).substr(cut), Crc32(std::string_view(text).substr(0, cut))),
            Crc32(text))
            << cut;
}

TEST(RecoveryRecord, RoundTripsEveryField)
{
    TRecordInfo untitled;
    untitled.name = "untitled3.txt";
    const std::pair<TRecordInfo, std::string> cases[] = {
        { NamedInfo(), "first\r\nsecond\r\n\x01 third"s },
        { untitled, ""s },
        { untitled, "\r\n\r\n"s },
        { NamedInfo(), "nul\0byte"s },
    };
    for (const auto& [info, text] : cases) {
        const TRecordParse parse = ParseRecord(RecordBytes(info, text));
        ASSERT_TRUE(parse.ok) << parse.problem;
        EXPECT_EQ(parse.record.info, info);
        EXPECT_EQ(parse.record.text, text);
    }
}

// Whatever point a crash or a full disk cuts the file at, and whichever byte is damaged, the
// record is refused rather than recovered wrong.
TEST(RecoveryRecord, EveryCutAndEveryDamagedByteIsRefused)
{
    const std::string bytes = RecordBytes(NamedInfo(), "abc\r\ndef");
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        const TRecordParse parse = ParseRecord(bytes.substr(0, cut));
        EXPECT_FALSE(parse.ok) << cut;
        EXPECT_FALSE(parse.problem.empty());
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        EXPECT_FALSE(ParseRecord(damaged).ok) << at << ": " << damaged;
    }
    EXPECT_EQ(ParseRecord(bytes + "x").problem, "it has bytes after its end");
    EXPECT_EQ(ParseRecord(bytes.substr(0, bytes.size() - 1)).problem, "it is cut short");
}

TEST(RecoveryRecord, ProblemsSayWhyAndKeepTheNameWhenItCanBeRead)
{
    std::string bytes = RecordBytes(NamedInfo(), "text");
    bytes.back() = 'T';
    const TRecordParse parse = ParseRecord(bytes);
    EXPECT_EQ(parse.problem, "its checksum does not match");
    EXPECT_EQ(parse.record.info.name, "C:\\w\\notes ä.txt");
    EXPECT_TRUE(parse.record.text.empty());

    EXPECT_EQ(ParseRecord("").problem, "it is not a recovery record");
    EXPECT_EQ(ParseRecord("hello\r\n").problem, "it is not a recovery record");
    std::string newer = RecordBytes(NamedInfo(), "");
    newer.replace(newer.find(" 1\r\n"), 4, " 2\r\n");
    EXPECT_EQ(ParseRecord(newer).problem, "it was written by a newer version of the program");
}

TEST(RecoveryRecord, OnlyTextDocumentsNeedARecord)
{
    EXPECT_TRUE(NeedsJournal(false));
    EXPECT_FALSE(NeedsJournal(true));
}

} // namespace wexly::test
