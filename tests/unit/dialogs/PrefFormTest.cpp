#include "dialogs/PrefForm.h"

#include "config/UtilsBox.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

// A settings record away from every default, so that a lost or swapped field shows.
TSettings SampleSettings()
{
    TSettings s;
    s.EditFont = { "Courier", FontStyle::Bold, 10, 0, { 1, 2, 3, 4, 5, 6 } };
    s.TitleFont = { "Arial", FontStyle::Italic, 11, 1, {} };
    s.BarFont = { "Tahoma", 0, 12, 2, {} };
    s.FileBarFont = { "Verdana", FontStyle::Underline, 13, 3, {} };
    for (size_t i = 0; i < kColourCount; ++i)
        s.Colours[i] = static_cast<uint32_t>(0x010101 * (i + 1));
    s.FilterList = "Text (*.txt)|*.txt|C (*.c;*.h)|*.c;*.h";
    s.DirFavourites = { "C:\\a", "D:\\b" };
    s.TabSize = 4;
    s.RightMargin = 72;
    s.AutoIndent = true;
    s.BackupBinary = true;
    s.ShowBookmarks = true;
    s.ReopenCount = 30;
    s.SilentReload = true;
    s.ConvertUnicode = true;
    s.HideCloseDelete = true;
    s.ShowToolBar = true;
    s.FlatButtons = true;
    s.ToolBarLayout = { "0", "5", "-1", "12" };
    s.LastDir = "C:\\last";
    return s;
}

class TBrowser final : public IFolderBrowser
{
public:
    std::optional<std::string> answer;
    std::string startedAt;
    std::optional<std::string> BrowseForFolder(const std::string&, const std::string& dir) override
    {
        startedAt = dir;
        return answer;
    }
};

} // namespace

TEST(PrefForm, ShowThenOkWithoutChangesKeepsEverySetting)
{
    TSettings s = SampleSettings();
    const TSettings before = s;
    TPrefForm form;
    form.Show(s);
    form.Ok(s);
    EXPECT_EQ(s, before);
}

TEST(PrefForm, EditsReachTheSettingsOnlyThroughOk)
{
    TSettings s = SampleSettings();
    const TSettings before = s;
    TPrefForm form;
    TDocAsker asker;
    asker.answers = { TMsgResult::Yes };
    form.Show(s);
    form.general.tabSize = "2";
    form.buttonBars.SetLeftIndex(3);
    form.buttonBars.Add();
    form.colours.SetSampleText(0x123456);
    form.colours.ResetDefaults(0);
    form.fileDialog.SelectFilter(0);
    form.fileDialog.DeleteFilter(asker);
    form.SelectPage(2);
    // Cancel: the form is dropped and shown again later.
    EXPECT_EQ(s, before);
    form.Show(s);
    EXPECT_EQ(form.Page(), 0);
    EXPECT_EQ(form.general.tabSize, "4");
    EXPECT_EQ(form.fileDialog.Filters().size(), 2u);
}

TEST(PrefForm, OkRemembersThePageForTheNextShowing)
{
    TSettings s;
    TPrefForm form;
    form.Show(s);
    EXPECT_EQ(form.HelpTopic(), 20);
    form.SelectPage(3);
    EXPECT_EQ(form.HelpTopic(), 23);
    form.Ok(s);
    form.Show(s);
    EXPECT_EQ(form.Page(), 3);
    EXPECT_EQ(TPrefForm::PageLines().back(), "Macros");
    EXPECT_EQ(TPrefForm::PageLines()[TPrefForm::pgPiles], "Piles");
    EXPECT_EQ(TPrefForm::PageLines()[TPrefForm::pgTools], "Tools");
}

namespace {
struct TMacroEnv
{
    TDocFileSystem fs;
    TDocAsker asker;
    TDocDialogs dialogs;
};

TSortedStringList Lines(std::initializer_list<const char*> lines)
{
    TSortedStringList list;
    for (const char* line : lines)
        list.Add(line);
    return list;
}
} // namespace

TEST(PrefForm, PilesToolsAndMacrosRoundTripUnchanged)
{
    TSettings s = SampleSettings();
    s.Piles = Lines({ "!\"A", "\"#A1", "!$B" });
    s.PileFiles = Lines({ "!0C:\\x.txt", "#1C:\\y.bin" });
    s.Macros = Lines({ "01ab<ENTER>", "12<HOME>" });
    s.Tools = { { "Echo", { "cmd /c echo", "C:\\", 4, "" } }, { "Two", { "two", "", 3, "f" } } };
    const TSettings before = s;
    TMacroEnv env;
    TMacroPageModel macros(s, env.fs, env.asker, env.dialogs);
    TPrefForm form;
    form.AttachMacros(&macros);
    form.Show(s);
    EXPECT_EQ(form.tools.Entries().size(), 2u);
    EXPECT_EQ(form.piles.Root()->children.size(), 3u); // A, B and the file
    form.Ok(s);
    EXPECT_EQ(s, before);
    EXPECT_TRUE(form.tools.Entries().empty());
}

TEST(PrefForm, NewPagesReachTheSettingsOnlyThroughOk)
{
    TSettings s;
    s.Macros = Lines({ "02old" });
    TMacroEnv env;
    env.asker.answers = { TMsgResult::Yes };
    TMacroPageModel macros(s, env.fs, env.asker, env.dialogs);
    TPrefForm form;
    form.AttachMacros(&macros);
    form.Show(s);
    form.piles.Select(form.piles.Root());
    TPileNode* pile = form.piles.NewNode(true);
    form.piles.Rename(pile, "Work");
    macros.KeyDown('Q', false, false, 'q');
    form.tools.Delete(env.asker); // nothing selected in an empty list: nothing asked
    const TSettings before = s;
    form.Cancel();
    EXPECT_EQ(s, before);
    form.Show(s);
    EXPECT_TRUE(form.piles.Root()->children.empty());
    EXPECT_EQ(macros.Text(), "");
    form.piles.Select(form.piles.Root());
    form.piles.Rename(form.piles.NewNode(true), "Work");
    macros.KeyDown('Q', false, false, 'q');
    form.Ok(s);
    EXPECT_EQ(s.Piles.Lines(), std::vector<std::string> { "!\"Work" });
    EXPECT_EQ(s.Macros.Lines(), (std::vector<std::string> { "01q", "02old" }));
}

TEST(PrefForm, OkWhileAPileLabelIsEditedOnlyEndsTheEdit)
{
    TSettings s;
    TPrefForm form;
    form.Show(s);
    form.piles.Select(form.piles.Root());
    TPileNode* pile = form.piles.NewNode(true);
    form.piles.BeginLabelEdit(pile);
    EXPECT_TRUE(form.OkEndsLabelEdit("Letters"));
    EXPECT_TRUE(s.Piles.Lines().empty());
    EXPECT_FALSE(form.OkEndsLabelEdit("ignored"));
    form.Ok(s);
    EXPECT_EQ(s.Piles.Lines(), std::vector<std::string> { "!\"Letters" });
}

TEST(PrefForm, GeneralNumbersFallBackWhenNotNumbers)
{
    struct TRow
    {
        const char* tab;
        const char* margin;
        int32_t tabSize, rightMargin;
    };
    for (const TRow& row :
        { TRow { "abc", "x1", 8, 0 }, TRow { "", "", 8, 0 }, TRow { " 12 ", "+90", 12, 90 },
            TRow { "3.5", "99999999999", 8, 0 }, TRow { "-2", "0", -2, 0 } }) {
        TSettings s;
        TPrefForm form;
        form.Show(s);
        form.general.tabSize = row.tab;
        form.general.rightMargin = row.margin;
        form.Ok(s);
        EXPECT_EQ(s.TabSize, row.tabSize) << row.tab;
        EXPECT_EQ(s.RightMargin, row.rightMargin) << row.margin;
    }
}

TEST(PrefForm, FilesInReopenIsKeptBetweenTenAndFifty)
{
    EXPECT_EQ(TGeneralPage::ReopenCountOnExit("5"), "10");
    EXPECT_EQ(TGeneralPage::ReopenCountOnExit("99"), "50");
    EXPECT_EQ(TGeneralPage::ReopenCountOnExit("many"), "10");
    EXPECT_EQ(TGeneralPage::ReopenCountOnExit("35"), "35");
    // A file value outside the range shows clamped; a typed one that never lost the focus is
    // clamped on OK.
    TSettings s;
    s.ReopenCount = 3;
    TPrefForm form;
    form.Show(s);
    EXPECT_EQ(form.general.reopenCount, "10");
    form.general.reopenCount = "70";
    form.Ok(s);
    EXPECT_EQ(s.ReopenCount, 50);
}

TEST(PrefForm, ToolBarListsExchangeButtonsAndKeepTheGap)
{
    TSettings s = SampleSettings();
    TPrefForm form;
    form.Show(s);
    TToolBarPage& page = form.buttonBars;
    // 0, 5 and 12 are on the tool bar: 33 buttons less three, plus the gap.
    ASSERT_EQ(page.Left().size(), 31u);
    EXPECT_EQ(page.Left()[0], "00");
    EXPECT_EQ(page.Left()[1], "02");
    EXPECT_TRUE(page.CheckInvariants());

    // The gap is added without leaving the left list, after the selected right line.
    page.SetLeftIndex(0);
    page.SetRightIndex(0);
    page.Add();
    EXPECT_EQ(page.Right(), (std::vector<std::string> { "0", "-1", "5", "-1", "12" }));
    EXPECT_EQ(page.RightIndex(), 1);
    EXPECT_EQ(page.Left()[0], "00");
    EXPECT_EQ(page.LeftIndex(), 0);

    // A button moves across; with nothing selected on the right it goes to the end.
    page.SetLeftIndex(1);
    page.SetRightIndex(-1);
    page.Add();
    EXPECT_EQ(page.Right().back(), "1");
    EXPECT_EQ(page.RightIndex(), 4 + 1);
    EXPECT_EQ(page.Left()[1], "03");
    EXPECT_EQ(page.LeftIndex(), 1);

    // Removing puts the number back in sorted place and selects it there.
    page.SetRightIndex(2); // "5"
    page.Remove();
    EXPECT_EQ(page.Left()[4], "06");
    EXPECT_EQ(page.LeftIndex(), 4);
    EXPECT_EQ(page.RightIndex(), 2);
    EXPECT_TRUE(page.CheckInvariants());
    // A removed gap goes nowhere.
    const size_t leftCount = page.Left().size();
    page.SetRightIndex(1);
    page.Remove();
    EXPECT_EQ(page.Left().size(), leftCount);

    form.Ok(s);
    EXPECT_EQ(s.ToolBarLayout, (std::vector<std::string> { "0", "-1", "12", "1" }));
}

TEST(PrefForm, ToolBarSelectionsMoveToTheNewLastLine)
{
    TSettings s;
    s.ToolBarLayout = { "3", "4" };
    TPrefForm form;
    form.Show(s);
    TToolBarPage& page = form.buttonBars;
    page.SetLeftIndex(static_cast<int>(page.Left().size()) - 1); // "33"
    page.Add();
    EXPECT_EQ(page.Left().back(), "32");
    EXPECT_EQ(page.LeftIndex(), static_cast<int>(page.Left().size()) - 1);
    page.SetRightIndex(2);
    page.Remove();
    EXPECT_EQ(page.RightIndex(), 1);
    page.Remove();
    page.Remove();
    EXPECT_TRUE(page.Right().empty());
    EXPECT_EQ(page.RightIndex(), -1);
    page.Remove(); // nothing selected: nothing happens
    EXPECT_EQ(page.Left().size(), 34u);
    EXPECT_TRUE(page.CheckInvariants());
}

TEST(PrefForm, ToolBarUpAndDownStopAtTheEnds)
{
    TSettings s;
    s.ToolBarLayout = { "1", "2", "3" };
    TPrefForm form;
    form.Show(s);
    TToolBarPage& page = form.buttonBars;
    page.MoveUp();
    page.SetRightIndex(0);
    page.MoveUp();
    EXPECT_EQ(page.Right(), (std::vector<std::string> { "1", "2", "3" }));
    page.MoveDown();
    page.MoveDown();
    page.MoveDown();
    EXPECT_EQ(page.Right(), (std::vector<std::string> { "2", "3", "1" }));
    EXPECT_EQ(page.RightIndex(), 2);
}

TEST(PrefForm, ToolBarLinesThatNameNoButtonAreCarriedButNeverListedLeft)
{
    TSettings s;
    s.ToolBarLayout = { "7", "7", "99", "x" };
    TPrefForm form;
    form.Show(s);
    TToolBarPage& page = form.buttonBars;
    EXPECT_EQ(page.Left().size(), 33u);
    EXPECT_EQ(TToolBarPage::RightButton("99"), -2);
    page.SetRightIndex(0);
    page.Remove();
    page.Remove();
    page.Remove();
    EXPECT_EQ(page.Left().size(), 34u); // "08" once
    EXPECT_TRUE(page.CheckInvariants());
    EXPECT_EQ(TToolBarPage::RowLabel(-1), "Seperator");
    EXPECT_EQ(TToolBarPage::RowLabel(TToolBarPage::LeftButton("30")), "Settings");
}

TEST(PrefForm, SampleIsSavedBackWhenAnotherItemIsShownAndOnOk)
{
    TSettings s = SampleSettings();
    TPrefForm form;
    form.Show(s);
    TColourFontPage& page = form.colours;
    ASSERT_EQ(page.Shown(), 0);
    EXPECT_EQ(page.Sample().font.Name, "Courier");
    EXPECT_TRUE(page.FixedPitchOnly());
    page.SetSampleFont({ "Lucida Console", FontStyle::Italic, 14, 0, {} });
    page.SetSampleBack(0xABCDEF);
    // "Selected Text" shares the editor font.
    page.Select(1);
    EXPECT_EQ(page.Sample().font.Name, "Lucida Console");
    EXPECT_EQ(page.Sample().text, s.Colours[clSelectedText]);
    page.Select(3);
    EXPECT_FALSE(page.FixedPitchOnly());
    EXPECT_EQ(page.Sample().font.Name, "Tahoma");
    page.DefaultForeground();
    page.DefaultBackground();
    form.Ok(s);
    EXPECT_EQ(s.EditFont.Name, "Lucida Console");
    EXPECT_EQ(s.EditFont.Size, 14);
    EXPECT_EQ(s.EditFont.Padding, (std::array<uint8_t, 6> { 1, 2, 3, 4, 5, 6 }));
    EXPECT_EQ(s.Colours[clNormalBack], 0xABCDEFu);
    EXPECT_EQ(s.Colours[clStatusBarText], 0x80000012u);
    EXPECT_EQ(s.Colours[clStatusBarBack], 0x8000000Fu);
}

TEST(PrefForm, ResetGivesTerminalFontsAndAllFourteenDefaultColours)
{
    TSettings s = SampleSettings();
    TPrefForm form;
    form.Show(s);
    form.colours.Select(2);
    form.colours.SetSampleText(0x111111);
    form.colours.ResetDefaults(2);
    EXPECT_EQ(form.colours.Shown(), 2);
    EXPECT_EQ(form.colours.Sample().text, 0u);
    form.Ok(s);
    for (const TFontSet* font : { &s.EditFont, &s.TitleFont, &s.BarFont, &s.FileBarFont }) {
        EXPECT_EQ(font->Name, "Terminal");
        EXPECT_EQ(font->Size, 9);
        EXPECT_EQ(font->Style, 0);
        EXPECT_EQ(font->Charset, 255);
    }
    // The colours without an item are reset too.
    EXPECT_EQ(s.Colours, DefaultColours());
}

TEST(PrefForm, FilterListSplitsIntoPairsAndJoinsBack)
{
    using F = TFileDialogPage::TFilter;
    EXPECT_EQ(TFileDialogPage::SplitFilters("A|*.a|B|*.b"),
        (std::vector<F> { { "A", "*.a" }, { "B", "*.b" } }));
    EXPECT_EQ(TFileDialogPage::SplitFilters("A|*.a|Dangling"), (std::vector<F> { { "A", "*.a" } }));
    EXPECT_EQ(TFileDialogPage::SplitFilters("A|"), (std::vector<F> { { "A", "" } }));
    EXPECT_TRUE(TFileDialogPage::SplitFilters("").empty());
    EXPECT_EQ(TFileDialogPage::JoinFilters({ { "A", "*.a" }, { "B", "*.b" } }), "A|*.a|B|*.b");
    EXPECT_EQ(TFileDialogPage::JoinFilters({}), "All Files (*.*)|*.*");
}

TEST(PrefForm, DeletingEveryFilterStoresAllFiles)
{
    TSettings s = SampleSettings();
    TPrefForm form;
    TDocAsker asker;
    form.Show(s);
    TFileDialogPage& page = form.fileDialog;
    page.SelectFilter(1);
    page.DeleteFilter(asker); // the default answer is No
    ASSERT_EQ(asker.asked.size(), 1u);
    const TMessage& m = asker.asked[0];
    EXPECT_EQ(m.text, "Are you sure you want to delete this filter?");
    EXPECT_EQ(m.caption, "Attention");
    EXPECT_EQ(m.buttons, TMsgButtons::YesNo);
    EXPECT_EQ(m.defaultButton, 2);
    EXPECT_EQ(page.Filters().size(), 2u);
    asker.answers = { TMsgResult::Yes, TMsgResult::Yes };
    page.DeleteFilter(asker);
    EXPECT_EQ(page.FilterIndex(), 0);
    EXPECT_EQ(page.NameText(), "Text (*.txt)");
    page.DeleteFilter(asker);
    EXPECT_EQ(page.FilterIndex(), -1);
    form.Ok(s);
    EXPECT_EQ(s.FilterList, "All Files (*.*)|*.*");
}

TEST(PrefForm, FilterEditsApplyOnlyWithBothBoxesFilled)
{
    TSettings s = SampleSettings();
    TPrefForm form;
    form.Show(s);
    TFileDialogPage& page = form.fileDialog;
    page.FilterEdited("Lost", "*.x"); // nothing bound yet
    page.AddFilter();
    EXPECT_EQ(page.FilterIndex(), 2);
    EXPECT_EQ(page.MaskText(), "*.*");
    page.FilterEdited("", "*.md");
    page.FilterEdited("Markdown", "*.md");
    page.FilterEdited("Markdown", "");
    // A "|" would break the pairs apart.
    page.FilterEdited("Mark|down", "*.md");
    page.MoveFilter(-1);
    page.FilterEdited("Notes", "*.md");
    page.MoveFilter(-1);
    page.MoveFilter(-1);
    form.Ok(s);
    EXPECT_EQ(s.FilterList, "Notes|*.md|Text (*.txt)|*.txt|C (*.c;*.h)|*.c;*.h");
}

TEST(PrefForm, FavouritesFollowTheEditBoxAndTheBrowser)
{
    TSettings s = SampleSettings();
    TPrefForm form;
    TDocAsker asker;
    TBrowser browser;
    form.Show(s);
    TFileDialogPage& page = form.fileDialog;
    page.SelectFavourite(1);
    EXPECT_EQ(page.FavouriteText(), "D:\\b");
    page.FavouriteEdited("");
    page.FavouriteEdited("D:\\c");
    // The binding follows the line as it moves.
    page.MoveFavourite(-1);
    page.MoveFavourite(-1);
    EXPECT_EQ(page.FavouriteBound(), 0);
    browser.answer = "E:\\picked";
    page.BrowseFavourite(browser);
    EXPECT_EQ(browser.startedAt, "D:\\c");
    EXPECT_EQ(page.Favourites(), (std::vector<std::string> { "E:\\picked", "C:\\a" }));
    page.AddFavourite();
    EXPECT_EQ(page.FavouriteText(), "C:\\");
    EXPECT_EQ(page.FavouriteIndex(), 2);

    asker.answers = { TMsgResult::Yes };
    page.DeleteFavourite(asker);
    EXPECT_EQ(asker.asked.at(0).text, "Are you sure you want to delete this item?");
    EXPECT_EQ(asker.asked.at(0).icon, TMsgIcon::Question);
    EXPECT_EQ(page.FavouriteBound(), 0);
    form.Ok(s);
    EXPECT_EQ(s.DirFavourites, (std::vector<std::string> { "E:\\picked", "C:\\a" }));
}

TEST(PrefForm, DeletingTheLastFavouriteUnbindsTheEditBox)
{
    TSettings s;
    s.DirFavourites = { "C:\\only" };
    TPrefForm form;
    TDocAsker asker;
    asker.answers = { TMsgResult::Yes };
    form.Show(s);
    form.fileDialog.DeleteFavourite(asker); // nothing selected: not even asked
    EXPECT_TRUE(asker.asked.empty());
    form.fileDialog.SelectFavourite(0);
    form.fileDialog.DeleteFavourite(asker);
    EXPECT_EQ(form.fileDialog.FavouriteBound(), -1);
    form.fileDialog.FavouriteEdited("C:\\typed");
    form.Ok(s);
    EXPECT_TRUE(s.DirFavourites.empty());
}

} // namespace wexly::test
