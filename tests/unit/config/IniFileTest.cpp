#include "config/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wexly::test {

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase)
{
    TMemIniFile ini("[Wexly]\r\nTabSize=4\r\n[other]\r\nTabSize=9\r\n");
    EXPECT_EQ(ini.ReadString("WEXLY", "tabsize", "x"), "4");
    EXPECT_EQ(ini.ReadString("Other", "TABSIZE", "x"), "9");
    EXPECT_EQ(ini.ReadString("Wexly", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Missing", "TabSize", "dflt"), "dflt");
    EXPECT_TRUE(ini.CheckInvariants());
}

TEST(IniFile, FirstOfDuplicateSectionsAndKeysWins)
{
    TMemIniFile ini("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
    // Keys of a later section with the same name are not seen, as with the profile functions.
    EXPECT_EQ(ini.ReadString("A", "j", "none"), "none");
    ini.WriteString("a", "K", "5");
    EXPECT_EQ(ini.Text(), "[A]\r\nk=5\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n");
    EXPECT_TRUE(ini.CheckInvariants());
}

TEST(IniFile, TrimsBlanksAndOnePairOfEnclosingQuotes)
{
    TMemIniFile ini("  [ S ]  \n"
                    "  a  =  spaced value \t\n"
                    "b=\"quoted  \"\n"
                    "c='single'\n"
                    "d=\"\"twice\"\"\n"
                    "e=\"unbalanced\n"
                    "f=\"mixed'\n"
                    "g=\"\n"
                    "h=\n");
    EXPECT_EQ(ini.ReadString("S", "a", "?"), "spaced value");
    EXPECT_EQ(ini.ReadString("S", "b", "?"), "quoted  ");
    EXPECT_EQ(ini.ReadString("S", "c", "?"), "single");
    EXPECT_EQ(ini.ReadString("S", "d", "?"), "\"twice\"");
    EXPECT_EQ(ini.ReadString("S", "e", "?"), "\"unbalanced");
    EXPECT_EQ(ini.ReadString("S", "f", "?"), "\"mixed'");
    EXPECT_EQ(ini.ReadString("S", "g", "?"), "\"");
    // Present but empty is empty, not the default.
    EXPECT_EQ(ini.ReadString("S", "h", "?"), "");
}

TEST(IniFile, ValuesThatReadingWouldChangeAreWrittenInQuotes)
{
    const std::vector<std::string> changed { " leading", "trailing ", "\t", " ", "\"quoted\"",
        "'single'", "\"\"twice\"\"", "''" };
    const std::vector<std::string> plain { "plain", "a \"b\" c", "\"open", "close'", "\"",
        "'mixed\"", "" };
    TMemIniFile ini("[S]\r\nold =  x\r\n");
    for (size_t i = 0; i < changed.size(); ++i)
        ini.WriteString("S", "c" + std::to_string(i), changed[i]);
    for (size_t i = 0; i < plain.size(); ++i)
        ini.WriteString("S", "p" + std::to_string(i), plain[i]);
    ini.WriteString("S", "old", "end ");
    TMemIniFile reread(ini.Text());
    for (size_t i = 0; i < changed.size(); ++i) {
        const std::string key = "c" + std::to_string(i);
        EXPECT_EQ(reread.ReadString("S", key, "?"), changed[i]) << key;
        EXPECT_NE(ini.Text().find(key + "=\"" + changed[i] + "\"\r\n"), std::string::npos) << key;
    }
    for (size_t i = 0; i < plain.size(); ++i) {
        const std::string key = "p" + std::to_string(i);
        EXPECT_EQ(reread.ReadString("S", key, "?"), plain[i]) << key;
        EXPECT_NE(ini.Text().find(key + "=" + plain[i] + "\r\n"), std::string::npos) << key;
    }
    // A key already in the file keeps its own spacing before the quoted value.
    EXPECT_NE(ini.Text().find("old =  \"end \"\r\n"), std::string::npos);
    EXPECT_EQ(reread.ReadString("S", "old", "?"), "end ");
    EXPECT_TRUE(ini.CheckInvariants());
}

TEST(IniFile, ReadsAtMost2047CharactersOfAValue)
{
    std::string longValue(3000, 'x');
    longValue[2046] = 'A';
    longValue[2047] = 'B';
    TMemIniFile ini;
    ini.WriteString("S", "k", longValue);
    EXPECT_NE(ini.Text().find(longValue), std::string::npos); // written whole
    std::string read = ini.ReadString("S", "k", "");
    ASSERT_EQ(read.size(), 2047u);
    EXPECT_EQ(read.back(), 'A');
}

TEST(IniFile, KeepsUnchangedLinesOrderAndUnknownContent)
{
    const std::string text = "; leading comment\r\n"
                             "\r\n"
                             "[Wexly]\r\n"
                             "Unknown = kept as it is\r\n"
                             "; a comment inside\r\n"
                             "genTabSize = 4\r\n"
                             "no equals sign here\r\n"
                             "\r\n"
                             "[Zeta]\r\n"
                             "z=1\r\n"
                             "\r\n"
                             "[Alpha]\r\n"
                             "a=2\r\n";
    TMemIniFile ini(text);
    EXPECT_EQ(ini.Text(), text);
    ini.WriteString("wexly", "GENTABSIZE", "8");
    ini.WriteString("Wexly", "genNew", "yes");
    ini.WriteString("Alpha", "b", "3");
    ini.WriteString("Beta", "c", "4");
    EXPECT_EQ(ini.Text(),
        "; leading comment\r\n"
        "\r\n"
        "[Wexly]\r\n"
        "Unknown = kept as it is\r\n"
        "; a comment inside\r\n"
        "genTabSize = 8\r\n"
        "no equals sign here\r\n"
        "genNew=yes\r\n"
        "\r\n"
        "[Zeta]\r\n"
        "z=1\r\n"
        "\r\n"
        "[Alpha]\r\n"
        "a=2\r\n"
        "b=3\r\n"
        "\r\n"
        "[Beta]\r\n"
        "c=4\r\n");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string> { "Wexly", "Zeta", "Alpha", "Beta" }));
    EXPECT_TRUE(ini.CheckInvariants());
}

TEST(IniFile, AcceptsEveryLineEndAndAByteOrderMark)
{
    TMemIniFile ini("\xEF\xBB\xBF[S]\ra=1\nb=2\r\nc=3");
    EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
    EXPECT_EQ(ini.ReadString("S", "c", ""), "3");
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[S]\r\na=1\r\nb=2\r\nc=3\r\n");
}

struct TIntegerRow
{
    const char* text;
    bool ok;
    int32_t value;
};

class IniInteger : public ::testing::TestWithParam<TIntegerRow>
{
};

TEST_P(IniInteger, ParsesOrRejects)
{
    const TIntegerRow& row = GetParam();
    int32_t value = 12345;
    EXPECT_EQ(ParseIniInteger(row.text, &value), row.ok) << row.text;
    if (row.ok) {
        EXPECT_EQ(value, row.value) << row.text;
    }
    TMemIniFile ini(std::string("[S]\nk=") + row.text + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "k", -7), row.ok ? row.value : -7) << row.text;
}

INSTANTIATE_TEST_SUITE_P(Rows, IniInteger,
    ::testing::Values(TIntegerRow { "-42", true, -42 }, TIntegerRow { "+7", true, 7 },
        TIntegerRow { "2147483647", true, 2147483647 },
        TIntegerRow { "-2147483648", true, INT32_MIN }, TIntegerRow { "2147483648", false, 0 },
        TIntegerRow { "99999999999999999999", false, 0 }, TIntegerRow { "$1F", true, 31 },
        TIntegerRow { "0x10", true, 16 }, TIntegerRow { "$FFFFFFFF", true, -1 },
        TIntegerRow { "", false, 0 }, TIntegerRow { "-", false, 0 },
        TIntegerRow { "12abc", false, 0 }, TIntegerRow { "1.5", false, 0 },
        TIntegerRow { "1 2", false, 0 }, TIntegerRow { "0x", false, 0 }));

TEST(IniFile, BooleansReadAnyNonZeroAsTrueAndWriteZeroOrOne)
{
    TMemIniFile ini("[S]\nseven=7\nneg=-1\nzero=0\nbad=yes\n");
    EXPECT_TRUE(ini.ReadBool("S", "seven", false));
    EXPECT_TRUE(ini.ReadBool("S", "neg", false));
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "bad", true));
    EXPECT_FALSE(ini.ReadBool("S", "bad", false));
    ini.WriteBool("S", "seven", ini.ReadBool("S", "seven", false));
    EXPECT_EQ(ini.ReadString("S", "seven", ""), "1");
}

} // namespace wexly::test
