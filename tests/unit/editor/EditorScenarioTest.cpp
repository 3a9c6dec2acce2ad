// Editing scenarios as data: the text with the caret at '|', the settings, the commands, and
// the text and caret expected afterwards.
#include "EditorTestSupport.h"

#include "editor/TFEditor.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

struct TSettings
{
    TTabType tabType = TTabType::ttFixed;
    int32_t tabSize = 8;
    bool autoIndent = true;
    bool insert = true;
    bool readOnly = false;
    bool scrollPastEnd = true;
};

struct TScenario
{
    const char* name;
    const char* before;
    TSettings settings;
    // ccTypedChar entries take their character from the string, in order.
    std::vector<TCommandCode> commands;
    const char* typed;
    const char* after;
};

void PrintTo(const TScenario& s, std::ostream* os)
{
    *os << s.name;
}

constexpr TSettings kRealTabs { TTabType::ttReal, 8, true, true, false, true };
constexpr TSettings kTab4 { TTabType::ttFixed, 4, true, true, false, true };
constexpr TSettings kOverwrite { TTabType::ttFixed, 8, true, false, false, true };
constexpr TSettings kReadOnly { TTabType::ttFixed, 8, true, true, true, true };
constexpr TSettings kNoPastEnd { TTabType::ttFixed, 8, true, true, false, false };
constexpr TSettings kSmart { TTabType::ttSmart, 8, true, true, false, true };

const TScenario kScenarios[] = {
    { "FixedTabFromColumn2Inserts3Spaces", "a|", kTab4, { ccTab }, "", "a   |" },
    { "FixedTabFromColumn5Inserts4Spaces", "abcd|", kTab4, { ccTab }, "", "abcd    |" },
    { "RealTabTypesATab", "ab|c", kRealTabs, { ccTab }, "", "ab\t|c" },
    { "SmartTabAlignsWithWordAbove", "foo   bar\n|", kSmart, { ccTab }, "", "foo   bar\n      |" },
    { "SmartTabWithoutWordAboveFallsBackToFixed", "ab\nabc|", kSmart, { ccTab }, "",
        "ab\nabc     |" },
    { "OverwriteFixedTabReplacesCharacters", "|abcdefghij", kOverwrite, { ccTab }, "",
        "        |ij" },
    { "AutoIndentWithRealTabsUsesTabs", "\t  x|", kRealTabs, { ccNewLine }, "", "\t  x\n\t  |" },
    { "AutoIndentWithoutRealTabsUsesSpaces", "\t  x|", {}, { ccNewLine }, "",
        "\t  x\n          |" },
    { "EnterInLeadingBlanksIndentsOnlyToCaret", "  |  x", {}, { ccNewLine }, "", "\n  |  x" },
    { "EnterTrimsBlanksBeforeTheBreak", "ab  |cd", {}, { ccNewLine }, "", "ab\n|cd" },
    { "EnterAtParagraphStartInsertsEmptyParagraphBefore", "|ab", {}, { ccNewLine }, "", "\n|ab" },
    { "EnterReplacesSelection", "a|bc", {}, { ccExtendRight, ccNewLine }, "", "a\n|c" },
    { "OverwriteReplacesCharacter", "a|bc", kOverwrite, { ccTypedChar }, "X", "aX|c" },
    { "OverwritePastEndAppends", "ab|", kOverwrite, { ccTypedChar, ccTypedChar }, "cd", "abcd|" },
    { "OverwriteEnterMovesWithoutSplitting", "a|b\ncd", kOverwrite, { ccNewLine }, "", "ab\n|cd" },
    { "OverwriteEnterOnLastParagraphGoesToItsEnd", "a|b", kOverwrite, { ccNewLine }, "", "ab|" },
    { "TypingPastEndPadsWithSpaces", "ab|", {}, { ccRight, ccRight, ccTypedChar }, "x", "ab  x|" },
    { "TypingReplacesSelection", "a|bcd", {}, { ccExtendRight, ccExtendRight, ccTypedChar }, "X",
        "aX|d" },
    { "BackspaceJoinsAtParagraphStart", "ab\n|cd", {}, { ccBack }, "", "ab|cd" },
    { "BackspaceAtTextStartDoesNothing", "|ab", {}, { ccBack }, "", "|ab" },
    { "BackspacePastEndOnlyMoves", "ab|\ncd", {}, { ccRight, ccRight, ccBack }, "", "ab |\ncd" },
    { "DeleteAtEndJoinsNext", "ab|\ncd", {}, { ccDel }, "", "ab|cd" },
    { "DeletePastEndPadsThenJoins", "ab|\ncd", {}, { ccRight, ccRight, ccDel }, "", "ab  |cd" },
    { "DeleteOnLastParagraphEndDoesNothing", "ab|", {}, { ccDel }, "", "ab|" },
    { "DeleteRemovesMultiParagraphSelection", "a|b\ncd\nef", {},
        { ccExtendDown, ccExtendDown, ccDel }, "", "a|f" },
    { "DelWordTakesWordAndBlanks", "x |foo  bar", {}, { ccDelWord }, "", "x |bar" },
    { "DelBolDeletesToLineStart", "abc|def", {}, { ccDelBol }, "", "|def" },
    { "DelEolDeletesToLineEnd", "abc|def\ng", {}, { ccDelEol }, "", "abc|\ng" },
    { "DelLineRemovesLineKeepingColumn", "ab\nc|d\nef", {}, { ccDelLine }, "", "ab\ne|f" },
    { "DelLineOnLastLineClearsItsText", "ab\nc|d", {}, { ccDelLine }, "", "ab\n |" },
    { "WordRightSkipsWordThenDelimiters", "|foo, bar", {}, { ccWordRight }, "", "foo, |bar" },
    { "WordRightAtParagraphEndGoesToNextLine", "ab|\ncd", {}, { ccWordRight }, "", "ab\n|cd" },
    { "WordLeftSkipsDelimitersThenWord", "foo, bar|", {}, { ccWordLeft, ccWordLeft }, "",
        "|foo, bar" },
    { "WordLeftAtParagraphStartGoesToPreviousEnd", "ab\n|cd", {}, { ccWordLeft }, "", "ab|\ncd" },
    { "ApostropheIsNoDelimiterOfTheTextEditor", "|don't stop", {}, { ccWordRight }, "",
        "don't |stop" },
    { "LeftAtParagraphStartWrapsToPreviousEnd", "ab\n|cd", {}, { ccLeft }, "", "ab|\ncd" },
    { "RightAtEndWithoutPastEndGoesToNextLine", "ab|\ncd", kNoPastEnd, { ccRight }, "", "ab\n|cd" },
    { "RightAtEndOfLastLineStays", "ab|", kNoPastEnd, { ccRight }, "", "ab|" },
    { "DownClampsColumnWithoutPastEnd", "abcd|\nab", kNoPastEnd, { ccDown }, "", "abcd\nab|" },
    { "DownKeepsDisplayColumnOverTabs", "\tx|\nabcdefghijk", {}, { ccDown }, "",
        "\tx\nabcdefghi|jk" },
    { "ReadOnlyIgnoresTyping", "a|b", kReadOnly, { ccTypedChar, ccDel, ccTab }, "x", "a|b" },
    { "ReadOnlyBackspaceOnlyMovesLeft", "ab|", kReadOnly, { ccBack }, "", "a|b" },
    { "ReadOnlyEnterMovesToNextLine", "a|b\ncd", kReadOnly, { ccNewLine }, "", "ab\n|cd" },
    { "UndoRemovesTypedWordAtOnce", "x|", {}, { ccTypedChar, ccTypedChar, ccUndo }, "ab", "x|" },
    { "UndoRestoresFiveBackspaces", "abcdef|", {},
        { ccBack, ccBack, ccBack, ccBack, ccBack, ccUndo }, "", "a|bcdef" },
    { "UndoOfAutoIndentedEnterJoinsAgain", "  ab|cd", {}, { ccNewLine, ccUndo }, "", "  ab|cd" },
    { "UndoOfSelectionReplacementIsOneStep", "a|bcd", {},
        { ccExtendRight, ccExtendRight, ccTypedChar, ccUndo }, "X", "a|bcd" },
    { "RedoReplaysUndone", "x|", {}, { ccTypedChar, ccUndo, ccRedo }, "y", "xy|" },
    { "CtrlCharAndUnhandledCommandsChangeNothing", "a|b", {}, { ccCtrlChar, ccInc }, "", "a|b" },
};

class EditorScenario : public ::testing::TestWithParam<TScenario>
{
};

TEST_P(EditorScenario, ProducesExpectedTextAndCaret)
{
    const TScenario& s = GetParam();
    TTFEditor e;
    e.SetVisibleSize(20, 80);
    e.SetTabType(s.settings.tabType);
    e.SetTabSize(s.settings.tabSize);
    e.SetAutoIndent(s.settings.autoIndent);
    e.SetScrollPastEnd(s.settings.scrollPastEnd);
    SetText(e, s.before);
    e.SetInsertMode(s.settings.insert);
    e.SetReadOnly(s.settings.readOnly);
    const char* typed = s.typed;
    for (TCommandCode c : s.commands) {
        e.ProcessCommand(c, c == ccTypedChar ? *typed++ : '\0');
        e.CheckInvariants();
        e.Buffer().CheckInvariants();
    }
    EXPECT_EQ(Marked(e), s.after);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorScenario, ::testing::ValuesIn(kScenarios),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace wexly::test
