#include "EditorTestSupport.h"

#include "editor/LineReader.h"
#include "editor/TFEditor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace wexly::test {
namespace {

std::string TempPath(const char* name)
{
    return ::testing::TempDir() + "tfeditor_" + name;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(TFEditor, ChangesTheEditorDefaults)
{
    TTFEditor e;
    EXPECT_TRUE(e.ScrollPastEnd());
    EXPECT_EQ(e.TabType(), TTabType::ttFixed);
    EXPECT_TRUE(e.WantTab());
    EXPECT_TRUE(e.AutoIndent());
    EXPECT_FALSE(e.HideSelection());
    EXPECT_EQ(e.WordDelimiters().size(), 32u);
    EXPECT_FALSE(e.edIsWordDelim('\''));
    EXPECT_FALSE(e.edIsWordDelim('#'));
    EXPECT_FALSE(e.edIsWordDelim('`'));
    EXPECT_TRUE(e.edIsWordDelim('*'));
    TOvcCustomEditor base;
    EXPECT_FALSE(base.ScrollPastEnd());
    EXPECT_EQ(base.TabType(), TTabType::ttReal);
    EXPECT_TRUE(base.edIsWordDelim('\''));
    EXPECT_TRUE(base.edIsWordDelim('#'));
}

TEST(TFEditor, LoadsMixedLineEndsAndSavesCrLf)
{
    std::string path = TempPath("mixed.txt");
    WriteFile(path, "a\rb\nc\r\nd");
    TTFEditor e;
    e.SetVisibleSize(10, 40);
    SetText(e, "old text|");
    e.LoadFromFile(path);
    EXPECT_TRUE(e.IsOpen());
    EXPECT_EQ(Text(e), "a\nb\nc\nd\n");
    EXPECT_EQ(e.CaretLine(), 1);
    EXPECT_EQ(e.CaretCol(), 1);
    EXPECT_FALSE(e.GetModified());
    EXPECT_FALSE(e.CanUndo());
    EXPECT_FALSE(e.LinesSplitOnLoad());
    Type(e, "x");
    e.SaveToFile(path);
    EXPECT_FALSE(e.GetModified());
    EXPECT_EQ(ReadFile(path), "xa\r\nb\r\nc\r\nd\r\n");
    std::remove(path.c_str());
}

TEST(TFEditor, MissingFileLeavesTheTextAndNameFixesTrailingDot)
{
    TTFEditor e;
    SetText(e, "keep|");
    e.LoadFromFile(TempPath("does_not_exist.txt."));
    EXPECT_EQ(Text(e), "keep");
    EXPECT_FALSE(e.IsOpen());
    EXPECT_EQ(e.FileName(), TempPath("does_not_exist.txt"));
}

TEST(TFEditor, LoadReportsSplitLongLines)
{
    std::string path = TempPath("long.txt");
    WriteFile(path, std::string(40000, 'x') + "\r\nshort\r\n");
    TTFEditor e;
    e.LoadFromFile(path);
    EXPECT_TRUE(e.LinesSplitOnLoad());
    EXPECT_GT(e.ParaCount(), 3);
    EXPECT_EQ(e.GetPara(1).size(), 32767u);
    std::remove(path.c_str());
}

TEST(TFEditor, FileNameAndIsOpen)
{
    std::string path = TempPath("named.txt");
    WriteFile(path, "hello\r\n");
    TTFEditor e;
    e.SetIsOpen(true); // no name: nothing
    EXPECT_FALSE(e.IsOpen());
    e.SetFileName(path);
    e.SetIsOpen(true);
    EXPECT_EQ(Text(e), "hello\n");
    e.SetFileName(path); // same name: still open
    EXPECT_TRUE(e.IsOpen());
    e.SetIsOpen(false);
    EXPECT_EQ(Text(e), "");
    e.SetIsOpen(true);
    e.SetFileName(TempPath("other.txt"));
    EXPECT_FALSE(e.IsOpen());
    EXPECT_EQ(Text(e), "hello\n"); // renaming does not load or clear
    e.NewFile(TempPath("new.txt"));
    EXPECT_EQ(Text(e), "");
    EXPECT_EQ(e.FileName(), TempPath("new.txt"));
    std::remove(path.c_str());
}

TEST(TFEditor, ReloadOfASharedTextResetsEveryView)
{
    std::string path = TempPath("shared.txt");
    WriteFile(path, "one\r\ntwo\r\nthree\r\n");
    TTFEditor a;
    TTFEditor b;
    a.LoadFromFile(path);
    b.Attach(a);
    EXPECT_EQ(b.FileName(), path);
    b.SetCaretPosition(3, 4);
    WriteFile(path, "1\r\n");
    a.LoadFromFile(path);
    EXPECT_EQ(Text(b), "1\n");
    EXPECT_EQ(b.CaretLine(), 1);
    b.CheckInvariants();
    std::remove(path.c_str());
}

TEST(TFEditor, FailedSaveKeepsTheModifiedFlag)
{
    TTFEditor e;
    SetText(e, "text|");
    Type(e, "!");
    EXPECT_THROW(e.SaveToFile(TempPath("no_such_dir/x.txt")), EInOutError);
    EXPECT_TRUE(e.GetModified());
    e.SaveToFile(""); // no name: nothing
    EXPECT_TRUE(e.GetModified());
}

TEST(TFEditor, BracketMatching)
{
    TFakeBeeper beeper;
    TTFEditor e(TEditorPlatform { nullptr, &beeper });
    SetText(e, "|f(a(b)c)");
    e.Bracket(); // on a letter: nothing, no beep
    EXPECT_EQ(e.CaretPos(), 1);
    e.ProcessCommand(ccRight, 0);
    e.Bracket();
    EXPECT_EQ(Marked(e), "f(a(b)c|)");
    EXPECT_EQ(beeper.m_beeps, 0);
    SetText(e, "|(ab");
    e.Bracket();
    EXPECT_EQ(beeper.m_beeps, 1);
    EXPECT_EQ(e.CaretPos(), 1);
}

TEST(TFEditor, WordHelpers)
{
    TTFEditor e;
    SetText(e, "one, two;three\n|");
    EXPECT_EQ(e.WordCount(), 3);
    SetText(e, "say don|'t now");
    EXPECT_EQ(e.GetLastWord(), "don't");
    EXPECT_EQ(e.LastWordStart(), 4);
    SetText(e, "say|, now");
    EXPECT_EQ(e.GetLastWord(), "say");
    SetText(e, "a ,| b");
    EXPECT_EQ(e.GetLastWord(), "");
    EXPECT_EQ(e.LastWordStart(), -1);
    std::string word;
    int32_t para = 1, pos = 1;
    SetText(e, "alpha beta\ngamma");
    ASSERT_TRUE(e.GetNextWord(word, para, pos));
    EXPECT_EQ(word, "beta");
    ASSERT_TRUE(e.GetNextWord(word, para, pos));
    EXPECT_EQ(word, "gamma");
    EXPECT_EQ(para, 2);
    EXPECT_FALSE(e.GetNextWord(word, para, pos));
}

} // namespace wexly::test
