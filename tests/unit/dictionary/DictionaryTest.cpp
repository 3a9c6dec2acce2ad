#include "dictionary/DictionarySystem.h"
#include "dictionary/LineFile.h"

#include "editor/EditorTestSupport.h"
#include "editor/TFEditor.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

const std::string kDic = "C:\\dic\\words.ydc";

std::string DicFile(int options, const std::string& entries)
{
    return "[Wexly2 Dictionary File V1]\r\n" + std::to_string(options) + "\r\n" + entries;
}

struct TDicEnv
{
    TDocFileSystem fs;
    TDocAsker asker;
    TSettings settings;
    TDictionarySystem dic { settings, fs, asker };
    TTFEditor editor;

    // Chooses a dictionary file with the given contents.
    void Use(const std::string& contents)
    {
        fs.SetFile(kDic, contents);
        ASSERT_TRUE(dic.Choose(kDic));
    }
    // A key typed as the window delivers it: the hook first, then the editor.
    void Key(char ch)
    {
        dic.ReplaceWordBeforeCaret(editor, ch);
        if (ch == '\r')
            editor.ProcessCommand(ccNewLine, 0);
        else
            editor.ProcessCommand(ccTypedChar, ch);
        editor.CheckInvariants();
    }
    void Keys(std::string_view chars)
    {
        for (char c : chars)
            Key(c);
    }
};

} // namespace

TEST(Dictionary, LinesSplitAtAnyLineEnd)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string> { "a", "b", "c", "d" }));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string> { "a", "" }));
    EXPECT_EQ(SplitLines("\n\r"), (std::vector<std::string> { "", "" }));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Dictionary, EntriesSplitAtFirstDoubleDot)
{
    auto e = ParseDicEntry("etc..et cetera...");
    EXPECT_EQ(e.word, "etc");
    EXPECT_EQ(e.replacement, "et cetera...");
    EXPECT_EQ(ParseDicEntry("no dots").word, "");
    EXPECT_EQ(ParseDicOptions("1"), 1);
    EXPECT_EQ(ParseDicOptions("x1"), 0);
    EXPECT_EQ(ParseDicOptions(""), 0);
    EXPECT_EQ(ParseDicOptions("99999999999999"), 0);
}

TEST(Dictionary, HeaderIsComparedWithCase)
{
    EXPECT_TRUE(ParseDicFile({ "[Wexly2 Dictionary File V1]", "0" }).has_value());
    EXPECT_FALSE(ParseDicFile({ "[wexly2 dictionary file v1]", "0", "a..b" }).has_value());
    EXPECT_FALSE(ParseDicFile({ "[Wexly2 Dictionary File V1]" }).has_value());
}

TEST(Dictionary, CaseAdaptationCountsCapitals)
{
    EXPECT_EQ(AdaptCase("teh", "The Word"), "the word");
    EXPECT_EQ(AdaptCase("Teh", "the word"), "The word");
    EXPECT_EQ(AdaptCase("teH", "the word"), "The word");
    EXPECT_EQ(AdaptCase("TEh", "the word"), "THE WORD");
    EXPECT_EQ(AdaptCase("TEH", ""), "");
}

TEST(Dictionary, LookupTakesFirstEntryIgnoringCase)
{
    TDictionary d;
    TDicFileContents c { 0, { { "", "empty" }, { "Abc", "first" }, { "abc", "second" } } };
    d.Assign("x.ydc", c);
    EXPECT_EQ(d.Lookup("ABC"), "first");
    EXPECT_FALSE(d.Lookup("").has_value()); // the entry without a word never matches
    EXPECT_FALSE(d.Lookup("ab").has_value());
    EXPECT_TRUE(d.CheckInvariants());
}

TEST(DictionarySystem, MatchCaseAdaptsReplacementToTypedWord)
{
    TDicEnv env;
    env.Use(DicFile(1, "teh..the\r\n"));
    env.Keys("teh Teh TEH ");
    EXPECT_EQ(Text(env.editor), "the The THE ");
}

TEST(DictionarySystem, WithoutMatchCaseReplacementIsInsertedAsStored)
{
    TDicEnv env;
    env.Use(DicFile(0, "wx..WeXly\r\n"));
    env.Keys("wx WX,");
    EXPECT_EQ(Text(env.editor), "WeXly WeXly,");
    EXPECT_EQ(Marked(env.editor), "WeXly WeXly,|");
}

TEST(DictionarySystem, OnlyTriggerCharactersReplace)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    env.Keys("a\t");
    EXPECT_EQ(Text(env.editor).substr(0, 2), "a\t");
    SetText(env.editor, "|");
    env.Keys("a'");
    EXPECT_EQ(Text(env.editor), "a'");
    SetText(env.editor, "|");
    env.Keys("a\r");
    EXPECT_EQ(Text(env.editor), "alpha\n");
    for (char c : std::string_view("\n\r ,./?;:\"<>[]{}-=\\+|()%@&^$!~*"))
        EXPECT_TRUE(IsDicTrigger(c)) << c;
    EXPECT_FALSE(IsDicTrigger('\''));
    EXPECT_FALSE(IsDicTrigger('#'));
}

TEST(DictionarySystem, WordAtLineStartIsCheckedButTriggerAtColumnOneIsNot)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    SetText(env.editor, "x\n|");
    env.Keys("a ");
    EXPECT_EQ(Text(env.editor), "x\nalpha ");
    SetText(env.editor, "a\n|a");
    // The word before a caret at column 1 ends the line above.
    EXPECT_FALSE(env.dic.ReplaceWordBeforeCaret(env.editor, ' '));
}

TEST(DictionarySystem, InactiveOrWithoutDictionaryNothingIsReplaced)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    env.dic.ToggleActive();
    env.Keys("a ");
    env.dic.ToggleActive();
    env.settings.LastDic.clear();
    env.Keys("a ");
    EXPECT_EQ(Text(env.editor), "a a ");
    env.settings.LastDic = kDic;
    SetText(env.editor, "a|");
    env.editor.SetReadOnly(true);
    EXPECT_FALSE(env.dic.ReplaceWordBeforeCaret(env.editor, ' '));
    EXPECT_EQ(Text(env.editor), "a");
}

TEST(DictionarySystem, TriggerInsideWordReplacesOnlyTheFinishedPart)
{
    TDicEnv env;
    env.Use(DicFile(0, "ab..X\r\nabcd..Y\r\ncd..Z\r\n"));
    SetText(env.editor, "ab|cd");
    env.Key(' ');
    EXPECT_EQ(Marked(env.editor), "X |cd");
    SetText(env.editor, "zz |cd");
    env.Key(' ');
    EXPECT_EQ(Marked(env.editor), "zz  |cd");
}

TEST(DictionarySystem, ReplacementIsOneUndoStep)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    env.Keys("a");
    env.dic.ReplaceWordBeforeCaret(env.editor, ' ');
    EXPECT_EQ(Text(env.editor), "alpha");
    env.editor.Undo();
    EXPECT_EQ(Text(env.editor), "a");
}

TEST(DictionarySystem, WrappedWordIsReplacedWhole)
{
    TDicEnv env;
    env.Use(DicFile(0, "abcdefgh..Q\r\n"));
    env.editor.SetWrapColumn(6);
    env.editor.SetWordWrap(true);
    env.Keys("abcdefgh");
    ASSERT_EQ(env.editor.CaretLine(), 2);
    ASSERT_GT(env.editor.CaretCol(), 1);
    env.Key(' ');
    EXPECT_EQ(Text(env.editor), "Q ");
}

TEST(DictionarySystem, BadFileKeepsPreviousWordsAndChooserTurnsSystemOff)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    env.fs.SetFile("C:\\dic\\bad.ydc", "[WEXLY2 Dictionary File V1]\r\n0\r\nb..beta\r\n");
    EXPECT_FALSE(env.dic.Choose("C:\\dic\\bad.ydc"));
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "Unable to load file!  May be corrupt");
    EXPECT_EQ(env.asker.asked[0].caption, "Error");
    EXPECT_EQ(env.asker.asked[0].icon, TMsgIcon::Warning);
    EXPECT_EQ(env.settings.LastDic, "");
    EXPECT_FALSE(env.settings.DicOn);
    EXPECT_EQ(env.dic.Dictionary().Lookup("a"), "alpha");
    EXPECT_EQ(env.dic.Menu().current.caption, "Current: None");
}

TEST(DictionarySystem, MissingFileAtStartUpIsReportedAndKeepsSetting)
{
    TDicEnv env;
    env.settings.LastDic = "C:\\dic\\gone.ydc";
    env.settings.DicOn = true;
    env.dic.StartUp();
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].caption, "Error");
    EXPECT_EQ(env.settings.LastDic, "C:\\dic\\gone.ydc");
    TDicMenu menu = env.dic.Menu();
    EXPECT_EQ(menu.current.caption, "Current: C:\\dic\\gone.ydc");
    EXPECT_TRUE(menu.active.checked);
    EXPECT_EQ(menu.active.shortcut, "Ctrl+D");
}

TEST(DictionarySystem, ChosenFileThatCannotBeOpenedKeepsTheDictionaryInUse)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    env.settings.DicOn = false; // switched off by the user before
    EXPECT_FALSE(env.dic.Choose("C:\\dic\\gone.ydc"));
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text,
        "The file\rC:\\dic\\gone.ydc\rcould not be opened: The system cannot find the file "
        "specified.");
    EXPECT_EQ(env.asker.asked[0].caption, "Error");
    EXPECT_EQ(env.settings.LastDic, kDic);
    EXPECT_FALSE(env.settings.DicOn);
    EXPECT_EQ(env.dic.Menu().current.caption, "Current: " + kDic);
    EXPECT_EQ(env.dic.Dictionary().Lookup("a"), "alpha");
}

TEST(DictionarySystem, LockedFileIsReportedAndWordsStay)
{
    TDicEnv env;
    env.Use(DicFile(0, "a..alpha\r\n"));
    env.fs.SetFile(kDic, DicFile(0, "a..other\r\n"));
    env.fs.Lock(kDic);
    env.dic.MaintenanceClosed();
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].caption, "Error");
    EXPECT_EQ(env.dic.Dictionary().Lookup("a"), "alpha");
    EXPECT_EQ(env.settings.LastDic, kDic);
}

TEST(DictionarySystem, EdKeyPressActsOnTextDocumentsOnly)
{
    TDocEnv docs;
    TDictionarySystem dic(docs.settings, docs.fs, docs.asker);
    docs.fs.SetFile(kDic, DicFile(0, "a..alpha\r\n"));
    docs.fs.SetFile("C:\\w\\t.txt", "");
    ASSERT_TRUE(dic.Choose(kDic));
    TEditFile& doc = docs.Open("C:\\w\\t.txt");
    doc.TextEditor()->ProcessCommand(ccTypedChar, 'a');
    dic.EdKeyPress(&doc, ' ');
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "alpha");
    dic.EdKeyPress(nullptr, ' ');
}

} // namespace wexly::test
