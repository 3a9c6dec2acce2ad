#include "config/SettingsFile.h"

#include "config/HexBlob.h"
#include "config/MemFileSystem.h"
#include "config/UtilsBox.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wexly::test {
namespace {

const std::string kExe = "/opt/wexly/wexly.exe";
const std::string kIni = "/opt/wexly/wexly.ini";

TSettingsEnv MakeEnv(TMemFileSystem& fs)
{
    TSettingsEnv env;
    env.ExePath = kExe;
    env.Files = &fs;
    env.Design.MainWindow = { 1, 2, 3, 4 };
    env.Design.WindowList = { 5, 6, 7, 8 };
    env.Design.Preview = { 9, 10, 11, 12 };
    env.Design.DicMaint = { 13, 14, 15, 16 };
    env.Design.DicChoose = { 17, 18, 19, 20 };
    env.Design.ToolList = { 21, 22, 23, 24 };
    return env;
}

TSettings LoadFrom(const std::string& text)
{
    TMemFileSystem fs;
    fs.files[kIni] = text;
    TSettings s;
    EXPECT_TRUE(LoadSettings(s, MakeEnv(fs)).Ok);
    return s;
}

std::string TempFilesIn(const TMemFileSystem& fs)
{
    std::string names;
    for (const auto& [name, data] : fs.files)
        if (name.find(".tmp") != std::string::npos)
            names += name + " ";
    return names;
}

// Reads through a real INI object but fails on one key, as a failing read would.
class TFailingIni final : public TCustomIniFile
{
public:
    TFailingIni(TMemIniFile& inner, std::string failKey)
        : m_inner(inner)
        , m_failKey(std::move(failKey))
    {
    }
    std::string ReadString(std::string_view section, std::string_view key,
        std::string_view defaultValue) const override
    {
        if (key == m_failKey)
            throw std::runtime_error("read failed");
        return m_inner.ReadString(section, key, defaultValue);
    }
    void WriteString(
        std::string_view section, std::string_view key, std::string_view value) override
    {
        if (key == m_failKey)
            throw std::runtime_error("write failed");
        m_inner.WriteString(section, key, value);
    }

private:
    TMemIniFile& m_inner;
    std::string m_failKey;
};

const char* const kDefaultFile = "[Wexly]\r\n"
                                 "Dimensions=01000000020000000300000004000000\r\n"
                                 "State=0\r\n"
                                 "EditFontName=Terminal\r\n"
                                 "EditFont=0000000009000000ff000000\r\n"
                                 "TitleFontName=Terminal\r\n"
                                 "TitleFont=0000000009000000ff000000\r\n"
                                 "BarFontName=Terminal\r\n"
                                 "BarFont=0000000009000000ff000000\r\n"
                                 "FBarFontName=Terminal\r\n"
                                 "FBarFont=0000000009000000ff000000\r\n"
                                 "Colours=c0c0c00000008000"
                                 "00000000c0c0c000"
                                 "00000000c0c0c000"
                                 "00000000c0c0c000"
                                 "00000000c0c0c000"
                                 "120000800f000080"
                                 "c0c0c000c0c0c000\r\n"
                                 "fdLastDir=\r\n"
                                 "fdOFilter=1\r\n"
                                 "fdSFilter=1\r\n"
                                 "fdFilterList=All Files (*.*)|*.*\r\n"
                                 "ReopenDim=00000000000000000000000000000000\r\n"
                                 "genWordWrap=0\r\n"
                                 "genHexMask=0\r\n"
                                 "genTabSize=8\r\n"
                                 "genRightMargin=80\r\n"
                                 "genAutoIndent=1\r\n"
                                 "genRealTabs=0\r\n"
                                 "genBackupText=1\r\n"
                                 "genBackupBin=1\r\n"
                                 "genBinCheck=1\r\n"
                                 "genUnicode=1\r\n"
                                 "genBookmarks=1\r\n"
                                 "genStartBlank=0\r\n"
                                 "genReopen=20\r\n"
                                 "genPageHeader=1\r\n"
                                 "genSilentReload=0\r\n"
                                 "genWinCarets=0\r\n"
                                 "genHideCloseDelete=0\r\n"
                                 "genFindDialog=1\r\n"
                                 "findLargeWidth=0\r\n"
                                 "findLargeHeight=0\r\n"
                                 "btnFBtns=1\r\n"
                                 "btnFlat=0\r\n"
                                 "btnAlt=0\r\n"
                                 "btnTool=1\r\n"
                                 "btnToolBtns=0,1,2,5,6,10,-1,12,14,15,16,-1,18,21,-1,23,"
                                 "25,28,29,-1,30,31,-1,32,-1\r\n"
                                 "winRect=05000000060000000700000008000000\r\n"
                                 "prevRect=090000000a0000000b0000000c000000\r\n"
                                 "prevMagLevel=1\r\n"
                                 "MacPath=\r\n"
                                 "DDRect1=0d0000000e0000000f00000010000000\r\n"
                                 "DDRect2=11000000120000001300000014000000\r\n"
                                 "DicDir=/opt/wexly/\r\n"
                                 "LastDic=\r\n"
                                 "DicOn=0\r\n"
                                 "toolRect=15000000160000001700000018000000\r\n"
                                 "\r\n[FDHistory]\r\n#=0\r\n"
                                 "\r\n[FDFaves]\r\n#=0\r\n"
                                 "\r\n[FileHistory]\r\n#=0\r\n"
                                 "\r\n[frFind]\r\n#=0\r\n"
                                 "\r\n[frReplace]\r\n#=0\r\n"
                                 "\r\n[frMask]\r\n#=0\r\n"
                                 "\r\n[Piles]\r\n#=0\r\n"
                                 "\r\n[PFiles]\r\n#=0\r\n"
                                 "\r\n[Macros]\r\n#=0\r\n"
                                 "\r\n[External]\r\n#=0\r\n";

} // namespace

TEST(SettingsFile, IniFileIsNamedAfterTheExecutable)
{
    EXPECT_EQ(
        IniFileName("C:\\Program Files\\Wexly\\wexly.exe"), "C:\\Program Files\\Wexly\\wexly.ini");
    EXPECT_EQ(IniFileName("/opt/a.b/wexly.bin.exe"), "/opt/a.b/wexly.bin.ini");
    // Without an extension the name is not cut back into a directory name.
    EXPECT_EQ(IniFileName("/opt/a.b/wexly"), "/opt/a.b/wexly.ini");
    EXPECT_EQ(IniFileName("wexly"), "wexly.ini");
    EXPECT_EQ(ExeDirectory("/opt/wexly/wexly.exe"), "/opt/wexly/");
    EXPECT_EQ(ExeDirectory("wexly.exe"), "");
}

TEST(SettingsFile, NoFileGivesTheDefaultsAndWritesEveryKey)
{
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    TSettings s;
    ASSERT_TRUE(LoadSettings(s, env).Ok);
    EXPECT_EQ(s.MainRect, env.Design.MainWindow);
    EXPECT_EQ(s.EditFont.Name, "Terminal");
    EXPECT_EQ(s.FileBarFont.Size, 9);
    EXPECT_EQ(s.BarFont.Charset, 255);
    EXPECT_EQ(s.Colours, DefaultColours());
    EXPECT_EQ(s.FilterList, "All Files (*.*)|*.*");
    EXPECT_EQ(s.TabSize, 8);
    EXPECT_EQ(s.ReopenCount, 20);
    EXPECT_TRUE(s.AutoIndent && s.BackupText && s.BackupBinary && s.BinaryCheck);
    EXPECT_FALSE(s.WordWrap || s.RealTabs || s.StartBlank || s.DicOn);
    EXPECT_EQ(LayoutToCommaText(s.ToolBarLayout), DefaultToolBarLayout());
    EXPECT_EQ(s.ToolBarLayout.size(), 25u);
    EXPECT_EQ(s.PreviewZoom, 1);
    EXPECT_EQ(s.DicDir, "/opt/wexly/");
    EXPECT_EQ(s.ToolListRect, env.Design.ToolList);

    ASSERT_TRUE(SaveSettings(s, env).Ok);
    EXPECT_EQ(fs.files[kIni], kDefaultFile);
    EXPECT_EQ(TempFilesIn(fs), "");
}

TEST(SettingsFile, FullSettingsSurviveARoundTrip)
{
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    TSettings s;
    LoadSettings(s, env);
    s.MainRect = { -8, -8, 1928, 1048 };
    s.MainState = 2;
    s.EditFont
        = { "Courier New", FontStyle::Bold | FontStyle::Underline, 11, 0, { 1, 2, 3, 4, 5, 6 } };
    s.TitleFont.Name = "Arial";
    s.Colours[clNormalBack] = 0x80000005;
    s.Colours[12] = 0x123456;
    s.LastDir = "C:\\Docs\\";
    s.OpenFilterIndex = 3;
    s.FilterList = "Text (*.txt)|*.txt|All Files (*.*)|*.*";
    s.DirHistory = { "C:\\a", "D:\\b & c" };
    s.DirFavourites = { "E:\\fav" };
    s.ReopenRect = { 10, 20, 300, 400 };
    s.FileHistory = { "00C:\\x.txt|12 3", "10C:\\y.bin|1 1" };
    s.WordWrap = s.HexMask = s.RealTabs = s.StartBlank = s.SilentReload = true;
    s.AutoIndent = s.PageHeader = false;
    s.TabSize = 4;
    s.RightMargin = 72;
    s.ReopenCount = 35;
    s.FindHistory = { EscapeText("a\tb\\c"), "=equals=" };
    s.ReplaceHistory = { "x" };
    s.MaskHistory = { "*.cpp;*.h" };
    s.FindLargeWidth = 640;
    s.FindLargeHeight = 480;
    s.FlatButtons = s.AlternateIcons = true;
    s.ShowToolBar = false;
    s.ToolBarLayout = { "5", "-1", "32" };
    s.PreviewZoom = 4;
    s.Piles.Add("!#Letters");
    s.PileFiles.Add("#0C:\\letters\\one.txt");
    s.Macros.Add("01Hello<ENTER>");
    s.MacroPath = "C:\\macros\\";
    s.Tools.push_back({ "Compile", { "make %f", "C:\\src", ToolFlag::RecordOutput, "" } });
    s.Tools.push_back({ "Lint", { "lint %c", "", 3, "C:\\out.txt" } });
    s.DicDir = "C:\\dics\\";
    s.LastDic = "english.ydc";
    s.DicOn = true;
    s.DicMaintRect = { 1, 1, 2, 2 };

    ASSERT_TRUE(SaveSettings(s, env).Ok);
    TSettings back;
    ASSERT_TRUE(LoadSettings(back, env).Ok);
    EXPECT_EQ(back, s);
    // Saving what was loaded changes nothing.
    std::string first = fs.files[kIni];
    ASSERT_TRUE(SaveSettings(back, env).Ok);
    EXPECT_EQ(fs.files[kIni], first);
}

TEST(SettingsFile, TextsWithEdgeBlanksOrQuotesSurviveARestart)
{
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    TSettings s;
    LoadSettings(s, env);
    s.Macros.Add("01Dear Sir, ");
    s.FindHistory = { "\"quoted\"", " leading", "'x'" };
    s.Tools.push_back({ "Tool ", { " run.exe", "C:\\dir ", 0, "\"out\"" } });
    s.LastDir = "C:\\with trailing blank \\ ";
    ASSERT_TRUE(SaveSettings(s, env).Ok);
    TSettings back;
    ASSERT_TRUE(LoadSettings(back, env).Ok);
    EXPECT_EQ(back.Macros, s.Macros);
    EXPECT_EQ(back.FindHistory, s.FindHistory);
    EXPECT_EQ(back.Tools, s.Tools);
    EXPECT_EQ(back.LastDir, s.LastDir);
}

TEST(SettingsFile, UnknownSectionsAndKeysAndTheFileOrderAreKept)
{
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    fs.files[kIni] = "[Mine]\r\nfoo=bar\r\n\r\n"
                     "[frFind]\r\n#=1\r\n0=needle\r\nextra=1\r\n\r\n"
                     "[WEXLY]\r\nfuture=keep me\r\ngenTabSize=3\r\n";
    TSettings s;
    LoadSettings(s, env);
    EXPECT_EQ(s.TabSize, 3);
    ASSERT_TRUE(SaveSettings(s, env).Ok);
    TMemIniFile ini(fs.files[kIni]);
    std::vector<std::string> sections = ini.SectionNames();
    ASSERT_GE(sections.size(), 3u);
    EXPECT_EQ(sections[0], "Mine");
    EXPECT_EQ(sections[1], "frFind");
    EXPECT_EQ(sections[2], "WEXLY");
    EXPECT_EQ(sections[3], "FDHistory"); // new ones follow in their own order
    EXPECT_EQ(sections.back(), "External");
    EXPECT_EQ(ini.ReadString("Mine", "foo", ""), "bar");
    EXPECT_EQ(ini.ReadString("frFind", "extra", ""), "1");
    EXPECT_EQ(ini.ReadString("Wexly", "future", ""), "keep me");
    EXPECT_EQ(ini.ReadString("Wexly", "genTabSize", ""), "3");
    EXPECT_EQ(fs.files[kIni].find("[Wexly]"), std::string::npos); // not a second section
}

TEST(SettingsFile, UnicodeConversionIsOnInFilesWrittenBeforeItsKey)
{
    EXPECT_TRUE(LoadFrom("[Wexly]\r\ngenBinCheck=1\r\n").ConvertUnicode);
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    fs.files[kIni] = "[Wexly]\r\ngenUnicode=0\r\n";
    TSettings s;
    LoadSettings(s, env);
    EXPECT_FALSE(s.ConvertUnicode);
    ASSERT_TRUE(SaveSettings(s, env).Ok);
    EXPECT_EQ(TMemIniFile(fs.files[kIni]).ReadString("Wexly", "genUnicode", ""), "0");
}

TEST(SettingsFile, MalformedValuesFallBackWithoutStoppingTheLoad)
{
    TSettings s = LoadFrom("[Wexly]\n"
                           "Dimensions=1g2\n"
                           "State=9\n"
                           "EditFont=\n"
                           "TitleFont=zz\n"
                           "Colours=ff0000001\n"
                           "fdOFilter=two\n"
                           "fdFilterList=\n"
                           "genWordWrap=7\n"
                           "genTabSize=8.5\n"
                           "genRightMargin=99999999999\n"
                           "genReopen=500\n"
                           "btnToolBtns=\n"
                           "prevMagLevel=\n"
                           "EditFontName=\n");
    EXPECT_EQ(s.MainRect, (TRect { 0x0201, 0, 0, 0 }));
    EXPECT_EQ(s.MainState, 0);
    EXPECT_EQ(s.EditFont.Name, "Terminal");
    EXPECT_EQ(s.EditFont.Size, 9);
    EXPECT_EQ(s.EditFont.Charset, 255);
    EXPECT_EQ(s.TitleFont.Size, 0); // decoded as written: zeros
    EXPECT_EQ(s.Colours[0], 0xFFu);
    EXPECT_EQ(s.Colours[1], 1u); // the odd ninth digit
    EXPECT_EQ(s.Colours[13], 0u);
    EXPECT_EQ(s.OpenFilterIndex, 1);
    EXPECT_EQ(s.FilterList, "All Files (*.*)|*.*");
    EXPECT_TRUE(s.WordWrap);
    EXPECT_EQ(s.TabSize, 8);
    EXPECT_EQ(s.RightMargin, 80);
    EXPECT_EQ(s.ReopenCount, 500); // used as read
    EXPECT_EQ(LayoutToCommaText(s.ToolBarLayout), DefaultToolBarLayout());
    EXPECT_EQ(s.PreviewZoom, 1);
}

} // namespace wexly::test

namespace wexly::test {

TEST(SettingsFile, ListSectionsReadTheirCountAndLeaveLeftoversOnWrite)
{
    TMemIniFile ini("[frFind]\r\n#=2\r\n0=a\r\n1=b\r\n2=c\r\n3=d\r\n4=e\r\n"
                    "[frMask]\r\n#=3\r\n1=only\r\n"
                    "[FDFaves]\r\n#=-4\r\n0=x\r\n");
    TStringList find, mask, faves;
    ReadStringList(ini, "frFind", find);
    ReadStringList(ini, "frMask", mask);
    ReadStringList(ini, "FDFaves", faves);
    ReadStringList(ini, "NoSuchSection", faves);
    EXPECT_EQ(find, (TStringList { "a", "b" }));
    EXPECT_EQ(mask, (TStringList { "", "only", "" })); // missing keys are empty lines
    EXPECT_TRUE(faves.empty());

    WriteStringList(ini, "frFind", TStringList { "z" });
    EXPECT_EQ(ini.ReadString("frFind", "#", ""), "1");
    EXPECT_EQ(ini.ReadString("frFind", "0", ""), "z");
    EXPECT_EQ(ini.ReadString("frFind", "4", ""), "e"); // left over, and ignored on reading
    TStringList again;
    ReadStringList(ini, "frFind", again);
    EXPECT_EQ(again, (TStringList { "z" }));
}

TEST(SettingsFile, DamagedListCountIsBounded)
{
    TMemIniFile ini("[Piles]\r\n#=2147483647\r\n0=!#A\r\n");
    TStringList lines;
    ReadStringList(ini, "Piles", lines);
    EXPECT_EQ(lines.size(), static_cast<size_t>(kMaxListLines));
    EXPECT_EQ(lines[0], "!#A");
}

TEST(SettingsFile, SortedListsIgnoreLinesEqualWithoutRegardToCase)
{
    TMemIniFile ini("[Macros]\r\n#=4\r\n0=02second\r\n1=01first\r\n2=01FIRST\r\n3=12last\r\n");
    TSortedStringList macros;
    ReadStringList(ini, "Macros", macros);
    EXPECT_EQ(macros.Lines(), (TStringList { "01first", "02second", "12last" }));
}

TEST(SettingsFile, ALongListLineIsSavedWholeAndReadBackCut)
{
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    TSettings s;
    LoadSettings(s, env);
    std::string line(3000, 'q');
    s.FindHistory = { line };
    ASSERT_TRUE(SaveSettings(s, env).Ok);
    EXPECT_NE(fs.files[kIni].find("0=" + line + "\r\n"), std::string::npos);
    TSettings back;
    LoadSettings(back, env);
    ASSERT_EQ(back.FindHistory.size(), 1u);
    EXPECT_EQ(back.FindHistory[0], line.substr(0, 2047));
}

TEST(SettingsFile, ToolListUsesNumberedKeysWithSuffixes)
{
    TMemIniFile ini;
    WriteToolList(ini, "External",
        { { "Grep", { "grep -n x %f", "C:\\w", ToolFlag::ReloadOnCompletion, "f.txt" } } });
    EXPECT_EQ(ini.Text(),
        "[External]\r\n#=1\r\n0=Grep\r\n0cl=grep -n x %f\r\n0dir=C:\\w\r\n"
        "0flg=2\r\n0fname=f.txt\r\n");

    TMemIniFile partial("[External]\r\n#=2\r\n0=A\r\n0flg=65541\r\n1cl=run\r\n");
    std::vector<TExternalTool> tools;
    ReadToolList(partial, "External", tools);
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0].Name, "A");
    EXPECT_EQ(tools[0].Item.Flags, 5); // held in 16 bits
    EXPECT_EQ(tools[0].Item.CommandLine, "");
    EXPECT_EQ(tools[1].Name, "");
    EXPECT_EQ(tools[1].Item.CommandLine, "run");
    EXPECT_EQ(tools[1].Item.Flags, 0);
}

TEST(SettingsFile, EmptyBlobKeysKeepDesignBoundsAndFontStyle)
{
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);
    fs.files[kIni] = "[Wexly]\r\nDimensions=\r\nwinRect=0a000000\r\nEditFont=\r\n";
    TSettings s;
    s.EditFont.Style = FontStyle::Italic; // as found before loading
    s.EditFont.Padding = { 7, 7, 7, 7, 7, 7 };
    LoadSettings(s, env);
    EXPECT_EQ(s.MainRect, env.Design.MainWindow);
    EXPECT_EQ(s.WindowListRect, (TRect { 10, 0, 0, 0 }));
    EXPECT_EQ(s.EditFont.Style, FontStyle::Italic);
    EXPECT_EQ(s.EditFont.Padding[5], 7);
    EXPECT_EQ(s.EditFont.Size, 9);
}

TEST(SettingsFile, AFailingGroupTakesItsFallbacksAndLoadingGoesOn)
{
    TMemIniFile file("[Wexly]\r\nDimensions=05000000\r\nState=2\r\nEditFontName=Courier\r\n"
                     "genWordWrap=1\r\ngenTabSize=3\r\ngenStartBlank=1\r\nfindLargeWidth=9\r\n"
                     "findLargeHeight=9\r\nDicDir=\r\nDDRect1=01\r\ntoolRect=02\r\n"
                     "[FileHistory]\r\n#=1\r\n0=00C:\\a|1 1\r\n");
    TMemFileSystem fs;
    TSettingsEnv env = MakeEnv(fs);

    TSettings s;
    ReadSettings(s, TFailingIni(file, "State"), env);
    EXPECT_EQ(s.MainRect, env.Design.MainWindow);
    EXPECT_EQ(s.MainState, 0);
    EXPECT_EQ(s.EditFont.Name, "Courier"); // the next group still loads

    s = {};
    ReadSettings(s, TFailingIni(file, "BarFontName"), env);
    EXPECT_EQ(s.EditFont.Name, "Terminal");
    EXPECT_EQ(s.TitleFont, s.EditFont);
    EXPECT_EQ(s.FileBarFont, s.EditFont);

    s = {};
    ReadSettings(s, TFailingIni(file, "genRealTabs"), env);
    EXPECT_TRUE(s.WordWrap); // read before the failure, kept
    EXPECT_EQ(s.TabSize, 8); // fallback over the 3 that was read
    EXPECT_FALSE(s.StartBlank); // skipped, no fallback
    EXPECT_EQ(s.FileHistory.size(), 1u);
    EXPECT_TRUE(s.ShowBookmarks && s.PageHeader);
    EXPECT_EQ(s.FindLargeHeight, 9); // the find group still loads

    s = {};
    ReadSettings(s, TFailingIni(file, "findLargeHeight"), env);
    EXPECT_EQ(s.FindLargeWidth, 0);

    s = {};
    ReadSettings(s, TFailingIni(file, "DDRect2"), env);
    EXPECT_EQ(s.DicMaintRect, env.Design.DicMaint);
    EXPECT_EQ(s.DicChooseRect, env.Design.DicChoose);
    EXPECT_EQ(s.DicDir, "/opt/wexly/");
    EXPECT_EQ(s.ToolListRect, (TRect { 2, 0, 0, 0 }));

    s = {};
    ReadSettings(s, TFailingIni(file, "btnAlt"), env);
    EXPECT_TRUE(s.ShowFileButtons && s.ShowToolBar);
    EXPECT_EQ(LayoutToCommaText(s.ToolBarLayout), DefaultToolBarLayout());
}

TEST(SettingsFile, AFailingWriteSkipsTheRestOfItsGroupOnly)
{
    TMemFileSystem fs;
    TSettings s;
    LoadSettings(s, MakeEnv(fs));
    TMemIniFile file;
    TFailingIni failing(file, "genTabSize");
    WriteSettings(s, failing);
    EXPECT_TRUE(file.ValueExists("Wexly", "genHexMask"));
    EXPECT_FALSE(file.ValueExists("Wexly", "genRightMargin"));
    EXPECT_FALSE(file.ValueExists("Wexly", "genHideCloseDelete"));
    EXPECT_TRUE(file.ValueExists("frFind", "#"));
    EXPECT_TRUE(file.ValueExists("Wexly", "toolRect"));
}

} // namespace wexly::test
