#include "search/SearchCommands.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace wexly::test {

namespace {

// Plays the user's part in a dialog: a script works on the model the way the window would.
class TScriptedDialogs final : public ISearchDialogs
{
public:
    std::function<int(TFindForm&)> find;
    std::function<int(TReplaceForm&)> replace;
    int findShown = 0;
    int replaceShown = 0;
    int ShowFind(TFindForm& form) override
    {
        ++findShown;
        form.FormShow({ 400, 300, 120, 410, 330 });
        form.Shown();
        return find ? find(form) : 2;
    }
    int ShowReplace(TReplaceForm& form) override
    {
        ++replaceShown;
        form.FormShow();
        return replace ? replace(form) : 2;
    }
};

struct TSearchEnv
{
    TDocEnv env;
    TScriptedDialogs dialogs;
    TSearchCommands commands { *env.set, env.settings, env.asker, dialogs, nullptr, nullptr };

    TEditFile& Open(const std::string& name, const std::string& text)
    {
        env.fs.SetFile("C:\\w\\" + name, text);
        TEditFile& doc = env.Open("C:\\w\\" + name);
        doc.TextEditor()->SetVisibleSize(10, 80);
        return doc;
    }
    std::string Text(TEditFile& doc) const
    {
        std::string all;
        const TTFEditor& ed = *doc.TextEditor();
        for (int32_t p = 1; p <= ed.ParaCount(); ++p)
            all += std::string(ed.GetPara(p)) + (p < ed.ParaCount() ? "|" : "");
        return all;
    }
    std::string Selected(TEditFile& doc) const { return doc.TextEditor()->GetSelTextBuf(); }
    int NotFoundMessages()
    {
        int n = 0;
        for (const auto& m : env.asker.asked)
            n += m.text == kNoMoreMatchesText && m.caption == kSearchCaption
                && m.icon == TMsgIcon::Warning && m.buttons == TMsgButtons::Ok;
        return n;
    }
};

// The Find dialog's user types text and presses Find Next.
std::function<int(TFindForm&)> TypeAndFind(const std::string& typed, TFindRange range)
{
    return [=](TFindForm& f) {
        f.FindBoxChanged(typed);
        f.RangeClick(range, 400, 120);
        f.FindNextClick();
        return f.ModalResult() == 0 ? 2 : f.ModalResult();
    };
}

} // namespace

TEST(SearchCommands, AllOpenFilesWithOneDocumentWrapsToItselfAndReportsOnce)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "alpha\r\n");
    s.env.settings.FindDialogCloses = true;
    s.dialogs.find = TypeAndFind("zzz", TFindRange::OpenFiles);
    s.commands.Find();
    EXPECT_EQ(s.NotFoundMessages(), 1);
    EXPECT_EQ(s.env.asker.asked.size(), 1u);
    EXPECT_EQ(s.env.set->CurFile(), &a);
    EXPECT_EQ(s.commands.Driver().LastSearch().kind, TSearchKind::FindInOpenFiles);
}

TEST(SearchCommands, AllOpenFilesMovesToTheNextMatchingDocumentAndBackwardsToThePrevious)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "one\r\n");
    TEditFile& b = s.Open("b.txt", "two\r\n");
    TEditFile& c = s.Open("c.txt", "two three\r\n");
    s.env.set->SelectFile(a);
    s.env.settings.FindDialogCloses = true;
    s.dialogs.find = TypeAndFind("two", TFindRange::OpenFiles);
    s.commands.Find();
    EXPECT_EQ(s.env.set->CurFile(), &b);
    EXPECT_EQ(s.Selected(b), "two");
    EXPECT_EQ(s.NotFoundMessages(), 0);

    // From a, upwards: the previous document in list order (wrapping) is c, searched from its
    // end because every further document is searched whole.
    s.env.set->SelectFile(a);
    s.dialogs.find = [](TFindForm& f) {
        f.directionUp = true;
        f.RangeClick(TFindRange::OpenFiles, 400, 120);
        f.FindNextClick();
        return 1;
    };
    s.commands.Find();
    EXPECT_EQ(s.env.set->CurFile(), &c);
    EXPECT_EQ(s.Selected(c), "two");
    EXPECT_TRUE(s.commands.Driver().LastSearch().options.Has(soBackward));
}

TEST(SearchCommands, AFruitlessAllDocumentsSearchEndsWhereItStarted)
{
    TSearchEnv s;
    s.Open("a.txt", "one\r\n");
    TEditFile& b = s.Open("b.txt", "two\r\n");
    s.Open("c.txt", "three\r\n");
    s.env.set->SelectFile(b);
    s.env.settings.FindDialogCloses = true;
    s.dialogs.find = TypeAndFind("four", TFindRange::OpenFiles);
    s.commands.Find();
    EXPECT_EQ(s.env.set->CurFile(), &b);
    EXPECT_EQ(s.NotFoundMessages(), 1);
}

TEST(SearchCommands, ReplaceAllOverOpenFilesVisitsEveryDocumentSilently)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "cat cat\r\n");
    TEditFile& b = s.Open("b.txt", "dog\r\n");
    TEditFile& c = s.Open("c.txt", "a cat\r\n");
    TEditFile& bin = s.Open("d.bin", "cat\r\n");
    (void)bin;
    s.env.set->SelectFile(b);
    s.env.settings.FindDialogCloses = true;
    s.dialogs.replace = [](TReplaceForm& f) {
        f.FindBoxChanged("cat");
        f.ReplaceBoxChanged("cow");
        f.allOpenFiles = true;
        EXPECT_TRUE(f.ButtonClick(TReplaceButton::ReplaceAll));
        return f.ModalResult();
    };
    s.commands.Replace();
    EXPECT_EQ(s.Text(a), "cow cow|");
    EXPECT_EQ(s.Text(b), "dog|");
    EXPECT_EQ(s.Text(c), "a cow|");
    EXPECT_TRUE(s.env.asker.asked.empty());
    EXPECT_EQ(s.env.set->CurFile(), &b);
    EXPECT_TRUE(a.Button().glyph == giModified);
    const TLastSearch& last = s.commands.Driver().LastSearch();
    EXPECT_EQ(last.kind, TSearchKind::ReplaceAllInOpenFiles);
    EXPECT_EQ(last.replacement, "cow");
    EXPECT_TRUE(last.options.Has(soReplaceAll) && last.options.Has(soGlobal));
    EXPECT_FALSE(last.options.Has(soFind) || last.options.Has(soReplace));
}

TEST(SearchCommands, ABinaryDocumentIsSearchedByItsViewer)
{
    TSearchEnv s;
    s.Open("a.txt", "nothing\r\n");
    s.env.fs.SetFile("C:\\w\\b.bin", std::string("\x01\x02key\x00\x90", 7));
    TEditFile& bin = s.env.Open("C:\\w\\b.bin", true);
    ASSERT_TRUE(bin.Binary());
    s.env.set->SelectFile(s.env.set->At(0));
    EXPECT_TRUE(s.commands.Driver().RunSearch(TSearchKind::FindInOpenFiles, "KEY", soFind, ""));
    EXPECT_EQ(s.env.set->CurFile(), &bin);
    EXPECT_EQ(s.NotFoundMessages(), 0);
}

TEST(SearchCommands, ReplaceOnAReadOnlyDocumentIsReportedAsNotFound)
{
    TSearchEnv s;
    s.env.fs.SetFile("C:\\w\\r.txt", "cat\r\n");
    s.env.fs.SetReadOnly("C:\\w\\r.txt", true);
    TEditFile& r = s.env.Open("C:\\w\\r.txt");
    ASSERT_TRUE(r.ReadOnly());
    s.env.settings.FindDialogCloses = true;
    s.dialogs.replace = [](TReplaceForm& f) {
        f.FindBoxChanged("cat");
        f.ReplaceBoxChanged("cow");
        return f.ButtonClick(TReplaceButton::Replace) ? 1 : 2;
    };
    s.commands.Replace();
    EXPECT_EQ(s.Text(r), "cat|");
    EXPECT_EQ(s.NotFoundMessages(), 1);
}

TEST(SearchCommands, GlobalFindWithTheDialogOpenSearchesFromTheTopOnceThenFromTheCaret)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "x1\r\nx2\r\nx3\r\n");
    a.SetCaret(3, 1);
    s.env.settings.FindDialogCloses = false;
    s.dialogs.find = [&](TFindForm& f) {
        f.FindBoxChanged("x");
        f.modeGlobal = true;
        EXPECT_EQ(f.FindNextClick(), TFindNextAction::StayOpen);
        EXPECT_FALSE(f.modeGlobal);
        EXPECT_EQ(a.CaretLine(), 1);
        f.FindNextClick();
        EXPECT_EQ(a.CaretLine(), 2);
        return 2;
    };
    s.commands.Find();
    EXPECT_EQ(s.NotFoundMessages(), 0);
    // F3 after the global search continues from the caret.
    s.commands.RepeatLastFind();
    EXPECT_EQ(a.CaretLine(), 3);
    EXPECT_FALSE(s.commands.Driver().LastSearch().options.Has(soGlobal));
}

TEST(SearchCommands, RepeatLastFindRepeatsAReplaceAsAReplace)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "ab ab ab\r\n");
    s.env.settings.FindDialogCloses = true;
    s.dialogs.replace = [](TReplaceForm& f) {
        f.FindBoxChanged("ab");
        f.ReplaceBoxChanged("X");
        f.modeGlobal = true;
        return f.ButtonClick(TReplaceButton::Replace) ? 1 : 2;
    };
    // The first press only selects the first occurrence; each further one replaces the
    // selected one and selects the next.
    s.commands.Replace();
    EXPECT_EQ(s.Selected(a), "ab");
    for (int i = 0; i < 3; ++i)
        s.commands.RepeatLastFind();
    EXPECT_EQ(s.Text(a), "X X X|");
    EXPECT_EQ(s.NotFoundMessages(), 0);
    s.commands.RepeatLastFind();
    EXPECT_EQ(s.NotFoundMessages(), 1);
}

TEST(SearchCommands, EscapedTextsSearchForTabsAndBackslashesWhileHistoriesKeepWhatWasTyped)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "a\\tb a\tb\r\n");
    s.env.settings.FindDialogCloses = true;
    s.dialogs.find = TypeAndFind("a\\tb", TFindRange::ThisFile);
    s.commands.Find();
    EXPECT_EQ(s.Selected(a), "a\tb");
    EXPECT_EQ(s.commands.Driver().LastSearch().text, "a\tb");

    a.SetCaret(1, 1);
    s.dialogs.find = TypeAndFind("a\\\\tb", TFindRange::ThisFile);
    s.commands.Find();
    EXPECT_EQ(s.Selected(a), "a\\tb");
    EXPECT_EQ(s.env.settings.FindHistory, (TStringList { "a\\\\tb", "a\\tb" }));

    // The next showing offers the last text escaped again.
    s.dialogs.find = [](TFindForm& f) {
        EXPECT_EQ(f.findBox, "a\\\\tb");
        return 2;
    };
    s.commands.Find();
}

TEST(SearchCommands, RepeatAfterADirectorySearchOpensTheFindDialogAgain)
{
    TSearchEnv s;
    s.Open("a.txt", "x\r\n");
    TLastSearch& last = s.commands.Driver().LastSearch();
    last.kind = TSearchKind::FindInFiles;
    last.text = "x";
    last.mask = "C:\\w\\*.txt";
    last.options = TSearchOptions(soFind) | soGlobal;
    s.dialogs.find = [](TFindForm& f) {
        EXPECT_EQ(f.maskBox, "C:\\w\\*.txt");
        EXPECT_EQ(f.rangeChecked, TFindRange::ThisFile);
        EXPECT_FALSE(f.modeGlobal);
        return 2;
    };
    s.commands.RepeatLastFind();
    EXPECT_EQ(s.dialogs.findShown, 1);
    EXPECT_TRUE(s.env.asker.asked.empty());
}

TEST(SearchCommands, CommandsWithoutDocumentsDoNothingOrOfferOnlyTheFilesRange)
{
    TSearchEnv s;
    s.commands.Replace();
    s.commands.RepeatLastFind();
    EXPECT_EQ(s.dialogs.replaceShown, 0);
    s.dialogs.find = [](TFindForm& f) {
        EXPECT_EQ(f.rangeChecked, TFindRange::Files);
        EXPECT_FALSE(f.thisFileEnabled || f.openFilesEnabled);
        EXPECT_FALSE(f.directionEnabled || f.modeEnabled);
        EXPECT_TRUE(f.lowerPanelEnabled);
        f.FindBoxChanged("x");
        EXPECT_FALSE(f.findNextEnabled);
        f.MaskBoxChanged("C:\\w\\*.*");
        EXPECT_TRUE(f.findNextEnabled);
        return 2;
    };
    s.commands.Find();
    EXPECT_EQ(s.dialogs.findShown, 1);
    // A search started with nothing open finds nothing and does not crash.
    EXPECT_FALSE(s.commands.Driver().RunSearch(TSearchKind::FindInOpenFiles, "x", soFind, ""));
}

TEST(SearchCommands, AClosedStartDocumentDoesNotKeepTheWalkGoing)
{
    TSearchEnv s;
    s.Open("a.txt", "one\r\n");
    TEditFile& b = s.Open("b.txt", "two\r\n");
    TSearchDriver& driver = s.commands.Driver();
    driver.SetStartDocument(&b);
    s.env.set->SelectFile(b);
    s.env.commands->Close();
    ASSERT_EQ(s.env.set->Count(), 1);
    EXPECT_FALSE(driver.RunSearch(TSearchKind::FindInOpenFiles, "zzz", soFind, ""));
    EXPECT_EQ(s.NotFoundMessages(), 1);
}

TEST(SearchCommands, WithTheBottomPaneActiveTheWalkGoesOnInTheBottomPane)
{
    TSearchEnv s;
    TEditFile& a = s.Open("a.txt", "cat\r\n");
    TEditFile& b = s.Open("b.txt", "dog\r\n");
    TEditFile& c = s.Open("c.txt", "cat\r\n");
    s.env.set->SelectFile(a);
    s.env.set->ToggleSplit(false);
    s.env.windows.focused = s.env.set->BottomView();
    s.env.set->SelectFile(b);
    ASSERT_EQ(s.env.set->FocusFile(), s.env.set->BottomView());
    s.commands.Driver().SetStartDocument(&b);
    s.commands.Driver().LastSearch().replacement = "cow";
    EXPECT_TRUE(
        s.commands.Driver().RunSearch(TSearchKind::ReplaceInOpenFiles, "cat", soReplace, "cow"));
    EXPECT_EQ(s.env.set->BottomFile(), &c);
    EXPECT_EQ(s.env.set->TopFile(), &a);
    EXPECT_EQ(s.env.set->BottomView()->Source(), &c);
    EXPECT_EQ(s.Selected(*s.env.set->BottomView()), "cat");
    s.commands.RepeatLastFind();
    EXPECT_EQ(s.Text(c), "cow|");
    EXPECT_EQ(s.Text(a), "cat|");
    s.env.set->CheckInvariants();
}

} // namespace wexly::test
