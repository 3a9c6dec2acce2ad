#include "documents/DocumentCommands.h"

#include "editor/EditorTestSupport.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

std::string J(std::string_view text, TJustifyKind kind, TJustifyParams p = {})
{
    return JustifyLineText(text, kind, p);
}

std::string Para(const TOvcCustomEditor& e, int32_t n)
{
    return std::string(e.GetPara(n));
}

class TFakeFormat final : public IDateTimeFormat
{
public:
    std::string ShortDate(double d) override { return "D" + std::to_string(int64_t(d)); }
    std::string LongTime(double) override { return "T"; }
    double FileTimeToLocal(TFileTime t) override { return double(t); }
};

} // namespace

TEST(DocumentCommands, JustifyOneLineByKind)
{
    EXPECT_EQ(J("abc", TJustifyKind::Centre), std::string(38, ' ') + "abc");
    EXPECT_EQ(J("   abcd", TJustifyKind::Centre), std::string(38, ' ') + "abcd");
    const std::string ninety = "  " + std::string(90, 'x');
    EXPECT_EQ(J(ninety, TJustifyKind::Centre), std::string(90, 'x'));
    EXPECT_EQ(J("", TJustifyKind::Right), "");
    EXPECT_EQ(J("  abc", TJustifyKind::Right, { 10, 8, false }), "       abc");
    EXPECT_EQ(J(std::string(12, 'y'), TJustifyKind::Right, { 10, 8, false }), std::string(12, 'y'));
    EXPECT_EQ(J("  \tabc", TJustifyKind::Left), "\tabc"); // blanks only, not tabs
    EXPECT_EQ(J("   ", TJustifyKind::Left), "");
    EXPECT_EQ(J("abc", TJustifyKind::Indent, { 80, 4, false }), "    abc");
    EXPECT_EQ(J("abc", TJustifyKind::Indent, { 80, 4, true }), "\tabc");
    EXPECT_EQ(J("   abc", TJustifyKind::Unindent), "abc");
    EXPECT_EQ(J(std::string(10, ' ') + "abc", TJustifyKind::Unindent), "  abc");
    EXPECT_EQ(J("\t\t abc", TJustifyKind::Unindent), "\t abc");
    EXPECT_EQ(J("abc", TJustifyKind::Unindent), "abc");
}

TEST(DocumentCommands, SelectionEndingInColumnOneLeavesThatLineOut)
{
    TTFEditor e;
    SetText(e, "l1\nl2\n  l3 text\n l4\n\n l6\n l7");
    e.SetSelection(3, 5, true, 6, 1);
    JustifyLines(e, TJustifyKind::Left, {});
    EXPECT_EQ(Para(e, 3), "l3 text");
    EXPECT_EQ(Para(e, 4), "l4");
    EXPECT_EQ(Para(e, 5), ""); // empty lines are left as they are
    EXPECT_EQ(Para(e, 6), " l6");
    int32_t l1 = 0, c1 = 0, l2 = 0, c2 = 0;
    e.GetSelection(l1, c1, l2, c2);
    EXPECT_EQ(l1, 3);
    EXPECT_EQ(c1, 1);
    EXPECT_EQ(l2, 5);
    EXPECT_EQ(c2, 1); // line 5 is empty: its end is column 1
    e.CheckInvariants();
}

TEST(DocumentCommands, WithoutSelectionOnlyTheCaretLineAndUndoRestoresIt)
{
    TTFEditor e;
    SetText(e, "a\nb|c\nd");
    JustifyLines(e, TJustifyKind::Right, { 5, 8, false });
    EXPECT_EQ(Para(e, 1), "a");
    EXPECT_EQ(Para(e, 2), "   bc");
    EXPECT_EQ(Para(e, 3), "d");
    EXPECT_EQ(e.CaretLine(), 2);
    EXPECT_FALSE(e.HasSelection());
    EXPECT_TRUE(e.GetModified());
    while (e.CanUndo())
        e.Undo();
    EXPECT_EQ(Para(e, 2), "bc");
}

TEST(DocumentCommands, ReadOnlyTextIsNotJustified)
{
    TTFEditor e;
    SetText(e, "   x|");
    e.SetReadOnly(true);
    JustifyLines(e, TJustifyKind::Left, {});
    EXPECT_EQ(Para(e, 1), "   x");
    EXPECT_FALSE(e.GetModified());
}

TEST(DocumentCommands, LineThatWouldOutgrowTheParagraphLimitIsLeftWhole)
{
    TTFEditor e;
    const std::string full(32760, 'x');
    SetText(e, "ab\n" + full + "\ncd");
    e.SelectAll();
    JustifyLines(e, TJustifyKind::Indent, { 80, 8, false });
    EXPECT_EQ(Para(e, 1), "        ab");
    EXPECT_EQ(Para(e, 2), full);
    EXPECT_EQ(Para(e, 3), "        cd");
    JustifyLines(e, TJustifyKind::Right, { 40000, 8, false });
    EXPECT_EQ(Para(e, 2), full);
    e.CheckInvariants();
}

TEST(DocumentCommands, StatisticsOfAnUntitledDocument)
{
    TDocEnv env;
    TEditFile* doc = env.commands->New();
    ASSERT_NE(doc, nullptr);
    TFakeFormat format;
    const TMessage m = StatisticsMessage(*doc, format);
    EXPECT_EQ(m.text,
        "Loaded at: New File\rFile Time: Unsaved\rByte Count: 0\rWord Count: 0\rLine Count: 1");
    EXPECT_EQ(m.caption, "untitled1.txt");
    EXPECT_EQ(m.icon, TMsgIcon::Information);
    EXPECT_EQ(m.buttons, TMsgButtons::Ok);
}

TEST(DocumentCommands, StatisticsOfLoadedTextBinaryAndTheSecondPane)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "one two\r\nthree, four\r\n");
    env.fs.SetFile("C:\\w\\b.bin", std::string("\0\1\2\3\4", 5));
    TFakeFormat format;
    TEditFile& text = env.Open("C:\\w\\a.txt");
    const std::string time = std::to_string(int64_t(text.FileTime()));
    const std::string bytes = std::to_string(text.TextEditor()->GetTextLen());
    const std::string expected = "Loaded at: D45000 T\rFile Time: D" + time
        + " T\rByte Count: " + bytes
        + "\rWord Count: 4\rLine Count: " + std::to_string(text.TextEditor()->GetLineCount());
    EXPECT_EQ(StatisticsMessage(text, format).text, expected);
    EXPECT_NE(expected.find("Line Count: 3"), std::string::npos) << expected;

    text.TextEditor()->ProcessCommand(ccTypedChar, 'x');
    EXPECT_EQ(StatisticsMessage(text, format).text.substr(expected.size()), "\rModified");

    env.set->ToggleSplit(false);
    TEditFile* bottom = env.set->BottomView();
    ASSERT_NE(bottom, nullptr);
    ASSERT_EQ(bottom->Source(), &text);
    const TMessage second = StatisticsMessage(*bottom, format);
    EXPECT_EQ(second.caption, "a.txt");
    EXPECT_EQ(second.text.substr(0, 32), expected.substr(0, 32));

    TEditFile& bin = env.Open("C:\\w\\b.bin", true);
    EXPECT_EQ(StatisticsMessage(bin, format).text, "Loaded at: D45000 T\rFile Size: 5");
}

TEST(DocumentCommands, CommandsActOnTheFocusedDocumentOnlyWhenEnabled)
{
    TDocEnv env;
    TDocumentCommands commands(*env.set, env.settings, env.asker);
    EXPECT_FALSE(commands.Enabled(TDocumentCommand::Undo));
    EXPECT_FALSE(commands.Run(TDocumentCommand::Statistics));
    EXPECT_TRUE(env.asker.asked.empty());

    env.fs.SetFile("C:\\w\\a.txt", "abc\r\n");
    TEditFile& doc = env.Open("C:\\w\\a.txt");
    env.settings.RightMargin = 11;
    EXPECT_TRUE(commands.Run(TDocumentCommand::JustifyCentre));
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "    abc");
    EXPECT_TRUE(commands.Run(TDocumentCommand::JustifyUnindent));
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "abc");
    EXPECT_TRUE(commands.Run(TDocumentCommand::Undo));
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "    abc");
    EXPECT_TRUE(commands.Run(TDocumentCommand::Statistics));
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].caption, "a.txt");
}

TEST(DocumentCommands, PortableFormatWritesDayMonthYearAndTime)
{
    IDateTimeFormat& f = PortableDateTimeFormat();
    EXPECT_EQ(f.ShortDate(45000.75), "15/03/2023");
    EXPECT_EQ(f.LongTime(45000.75), "18:00:00");
    EXPECT_EQ(f.ShortDate(-0.25), "29/12/1899");
    EXPECT_EQ(f.LongTime(-0.25), "18:00:00");
    // 2023-03-15 00:00 UTC as a file time lands within a day of that date in any zone.
    const TFileTime t = (uint64_t(45000 - 25569) * 86400 + 11644473600ull) * 10000000ull;
    EXPECT_NEAR(f.FileTimeToLocal(t), 45000.0, 1.0);
}

} // namespace wexly::test
