#include "macros/MacroText.h"

#include "editor/EditorTestSupport.h"
#include "editor/TFEditor.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

struct TPlayEnv
{
    TFakeClipboard clipboard;
    TFakeBeeper beeper;
    TTFEditor editor { TEditorPlatform { &clipboard, &beeper } };

    std::string Play(std::string_view start, std::string_view macro)
    {
        SetText(editor, start);
        PlayMacroText(editor, macro);
        editor.CheckInvariants();
        return Marked(editor);
    }
};

} // namespace

TEST(MacroText, LiteralsAndTokensPlayAsKeys)
{
    TPlayEnv env;
    EXPECT_EQ(env.Play("|", "a<L>b<G>c"), "a<b>c|");
    EXPECT_EQ(env.Play("ab|", "<HOME>x<END>y<LEFT><BACKSP>"), "xa|y");
    EXPECT_EQ(env.Play("ab|", "<ENTER>c"), "ab\nc|");
    EXPECT_EQ(env.Play("|ab", "<DELETE><RIGHT>z"), "bz|");
    EXPECT_EQ(env.Play("x\n|y", "<BOF>1<EOF>2"), "1x\ny2|");
}

TEST(MacroText, SelectionModeExtendsMovements)
{
    TPlayEnv env;
    EXPECT_EQ(env.Play("|one two three", "<BEGINSEL><NEXTWORD><NEXTWORD><ENDSEL><CUT>"), "|three");
    EXPECT_EQ(env.clipboard.m_text, "one two ");
    EXPECT_EQ(env.Play("|end", "<PASTE>"), "one two |end");

    SetText(env.editor, "abc|def");
    PlayMacroText(env.editor, "<BEGINSEL><HOME>");
    EXPECT_EQ(env.editor.GetSelTextBuf(), "abc");
    // After <ENDSEL> movements no longer select.
    PlayMacroText(env.editor, "<ENDSEL><END>");
    EXPECT_FALSE(env.editor.HasSelection());
}

TEST(MacroText, UnknownAndUnclosedTokensStillMakeProgress)
{
    TPlayEnv env;
    EXPECT_EQ(env.Play("|", "a<NOPE>b"), "ab|");
    EXPECT_EQ(env.Play("|", "a<b"), "a<b|");
    EXPECT_EQ(env.Play("|", "<"), "<|");
    EXPECT_EQ(env.Play("|", "x>y"), "x>y|");
}

TEST(MacroText, PasteConvertsLineEndsTabsAndBrackets)
{
    EXPECT_EQ(PasteToMacroText("a\r\nb"), "a<ENTER>b");
    EXPECT_EQ(PasteToMacroText("a\n\rb\r\r"), "a<ENTER>b<ENTER><ENTER>");
    EXPECT_EQ(PasteToMacroText("\tx<y>\n"), "<TAB>x<L>y<G><ENTER>");
}

TEST(MacroText, RemoveLastKeypressTakesWholeToken)
{
    EXPECT_EQ(RemoveLastKeypress("ab<ENTER>"), "ab");
    EXPECT_EQ(RemoveLastKeypress("ab"), "a");
    EXPECT_EQ(RemoveLastKeypress("ab>"), "");
    EXPECT_EQ(RemoveLastKeypress(""), "");
}

TEST(MacroText, RecordedKeysBecomeTokens)
{
    using namespace MacroKey;
    EXPECT_EQ(RecordedKeyText(Comma, true, false, '<'), "<L>");
    EXPECT_EQ(RecordedKeyText(Comma, false, false, ','), ",");
    EXPECT_EQ(RecordedKeyText(Period, true, false, '>'), "<G>");
    EXPECT_EQ(RecordedKeyText(Home, false, true, 0), "<BOF>");
    EXPECT_EQ(RecordedKeyText(Right, false, true, 0), "<NEXTWORD>");
    EXPECT_EQ(RecordedKeyText(Right, false, false, 0), "<RIGHT>");
    EXPECT_EQ(RecordedKeyText(C, false, true, 3), "<COPY>");
    EXPECT_EQ(RecordedKeyText(C, true, false, 'C'), "C");
    EXPECT_EQ(RecordedKeyText(Tab, false, false, '\t'), "<TAB>");
    EXPECT_FALSE(RecordedKeyText(Tab, false, true, 0).has_value());
    EXPECT_FALSE(RecordedKeyText(0x41, false, true, 1).has_value()); // Ctrl+A gives no character
    EXPECT_FALSE(RecordedKeyText(F1 + 2, false, false, 0).has_value());
    // A layout with "<" on another key records the token, so the text plays back as typed.
    EXPECT_EQ(RecordedKeyText(226, false, false, '<'), "<L>");
}

} // namespace wexly::test
