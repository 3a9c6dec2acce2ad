#include "macros/MacroPageModel.h"
#include "macros/MacroPlayer.h"
#include "macros/MacroText.h"

#include "editor/OvcCommandTable.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

struct TPageEnv
{
    TDocFileSystem fs;
    TDocAsker asker;
    TDocDialogs dialogs;
    TDocClipboard clipboard;
    TSettings settings;
    TMacroPageModel page { settings, fs, asker, dialogs };

    void Record(std::string_view chars)
    {
        for (char c : chars)
            page.KeyDown(
                static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(c))), false, false, c);
    }
};

TSortedStringList List(std::initializer_list<const char*> entries)
{
    TSortedStringList l;
    for (const char* e : entries)
        l.Add(e);
    return l;
}

} // namespace

TEST(MacroPageModel, SelectingShowsTextStoredUnderTwoDigitKey)
{
    TPageEnv env;
    env.settings.Macros = List({ "01first", "10tenth", "02second" });
    env.page.Show();
    EXPECT_EQ(env.page.Text(), "first");
    env.page.SelectMacro(9);
    EXPECT_EQ(env.page.Text(), "tenth");
    EXPECT_EQ(TMacroPageModel::MacroName(9), "Shift+F10");
    env.page.KeyDown(MacroKey::F1 + 1, false, false, 0);
    EXPECT_EQ(env.page.Text(), "second");
    EXPECT_EQ(env.page.SelectedIndex(), 1);
}

TEST(MacroPageModel, EditedMacroMovesToEndAndEmptyOnesAreDroppedOnOk)
{
    TPageEnv env;
    env.settings.Macros = List({ "01aa", "02bb", "03cc" });
    env.page.Show();
    env.page.ClearMacro();
    env.Record("z");
    env.page.SelectMacro(1);
    env.page.ClearMacro();
    env.page.SelectMacro(2);
    EXPECT_EQ(env.page.Working(), (std::vector<std::string> { "03cc", "01z", "02" }));
    env.page.Confirm();
    EXPECT_EQ(env.settings.Macros.Lines(), (std::vector<std::string> { "01z", "03cc" }));
    auto menu = BuildMacrosMenu(env.settings.Macros);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[1].tag, 3);
    EXPECT_EQ(menu[1].caption, "Macro3");
    EXPECT_EQ(menu[1].shortcut, "Shift+F3");
    EXPECT_EQ(menu[1].hint, "Execute this macro");
}

TEST(MacroPageModel, ButtonsAndPasteAppendAndRemove)
{
    TPageEnv env;
    env.page.Show();
    env.page.BeginSelection();
    env.page.KeyDown(MacroKey::Right, false, true, 0);
    env.page.EndSelection();
    env.page.KeyDown(MacroKey::Comma, true, false, '<');
    EXPECT_EQ(env.page.Text(), "<BEGINSEL><NEXTWORD><ENDSEL><L>");
    env.page.DeleteLastKeypress();
    EXPECT_EQ(env.page.Text(), "<BEGINSEL><NEXTWORD><ENDSEL>");
    env.page.ClearMacro();
    env.page.Paste(env.clipboard); // empty clipboard: nothing
    env.clipboard.text = "one\r\ntwo";
    env.page.Paste(env.clipboard);
    EXPECT_EQ(env.page.Text(), "one<ENTER>two");
    EXPECT_EQ(env.page.KeyDown(MacroKey::Tab, true, true, 0), TMacroFocus::MacroList);
    EXPECT_EQ(env.page.KeyDown(MacroKey::Tab, false, true, 0), TMacroFocus::BeginSelButton);
    EXPECT_EQ(env.page.Text(), "one<ENTER>two");
    env.page.ClearAll();
    EXPECT_TRUE(env.page.Working().empty());
    EXPECT_EQ(env.page.Text(), "");
}

TEST(MacroPageModel, MacroSetFileRoundTrip)
{
    TPageEnv env;
    env.settings.Macros = List({ "01aa", "02bb" });
    env.page.Show();
    env.page.SelectMacro(2);
    env.Record("c");
    TSaveDialogResult save;
    save.confirmed = true;
    save.fileName = "C:\\m\\set";
    env.dialogs.saves.push_back(save);
    env.page.SaveMacroSet();
    EXPECT_EQ(env.fs.Contents("C:\\m\\set.mrc"), "[Wexly2 Macro Set]\r\n02bb\r\n01aa\r\n03c\r\n");
    EXPECT_EQ(env.settings.MacroPath, "C:\\m\\");

    env.fs.SetFile("C:\\n\\x.mrc", "[WEXLY2 macro set]\n05five\n01one\n");
    env.Record("unsaved");
    TOpenDialogResult open;
    open.confirmed = true;
    open.files = { "C:\\n\\x.mrc" };
    env.dialogs.opens.push_back(open);
    env.page.LoadMacroSet();
    EXPECT_EQ(env.page.Working(), (std::vector<std::string> { "05five", "01one" }));
    EXPECT_EQ(env.page.Text(), ""); // Shift+F3 has nothing in the loaded set
    env.page.SelectMacro(0);
    EXPECT_EQ(env.page.Text(), "one");
    EXPECT_EQ(env.settings.MacroPath, "C:\\n\\");
}

TEST(MacroPageModel, NonMacroFileChangesNothing)
{
    TPageEnv env;
    env.settings.Macros = List({ "01aa" });
    env.page.Show();
    env.fs.SetFile("C:\\m\\empty.mrc", "");
    env.fs.SetFile("C:\\m\\wrong.mrc", "[Wexly2 Macros]\r\n01x\r\n");
    EXPECT_FALSE(env.page.LoadMacroSetFile("C:\\m\\empty.mrc"));
    EXPECT_FALSE(env.page.LoadMacroSetFile("C:\\m\\wrong.mrc"));
    ASSERT_EQ(env.asker.asked.size(), 2u);
    EXPECT_EQ(env.asker.asked[1].text, "File is not a Wexly2 Macro file!");
    EXPECT_EQ(env.asker.asked[1].caption, "Error");
    EXPECT_EQ(env.page.Working(), (std::vector<std::string> { "01aa" }));
    EXPECT_EQ(env.page.Text(), "aa");
    EXPECT_EQ(env.settings.MacroPath, "");
}

TEST(MacroPlayer, PlaysStoredMacroIntoFocusedTextDocumentOnce)
{
    TDocEnv docs;
    docs.settings.Macros = List({ "01<L>x", "12end" });
    docs.fs.SetFile("C:\\w\\t.txt", "");
    docs.fs.SetFile("C:\\w\\b.bin", std::string("\0\1\2", 3));
    TMacroPlayer player(docs.settings.Macros);
    EXPECT_FALSE(player.MacroClick(1, nullptr));
    TEditFile& doc = docs.Open("C:\\w\\t.txt");
    // A macro started while one plays is ignored.
    int nested = 0;
    doc.TextEditor()->OnChange = [&] { nested += player.MacroClick(12, &doc) ? 1 : 0; };
    EXPECT_TRUE(player.MacroClick(1, &doc));
    EXPECT_EQ(nested, 0);
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "<x");
    doc.TextEditor()->OnChange = nullptr;
    EXPECT_TRUE(player.MacroClick(5, &doc)); // nothing stored: nothing typed
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "<x");
    EXPECT_EQ(StoredMacroText(docs.settings.Macros, 12), "end");
    EXPECT_EQ(MacroNumberForKey(MacroKey::F12, ssShift), 12);
    EXPECT_EQ(MacroNumberForKey(MacroKey::F1, ssShift | ssCtrl), 0);
    EXPECT_EQ(MacroNumberForKey(MacroKey::F1, 0), 0);

    TEditFile& bin = docs.Open("C:\\w\\b.bin", true);
    EXPECT_TRUE(player.MacroClick(12, &bin));
    EXPECT_TRUE(bin.Binary());
}

} // namespace wexly::test
