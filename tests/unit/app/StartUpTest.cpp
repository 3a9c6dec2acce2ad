#include "app/StartUp.h"

#include "app/HandOver.h"
#include "app/StatusBarLayout.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace wexly::test {

namespace {

class TRecordingShell final : public IShellWindow
{
public:
    std::vector<std::string> calls;
    TWindowPlacement placement { { 1, 2, 3, 4 }, 2 };
    TMessage saveFailure;
    int saves = 0;
    int closes = 0;

    TMessage LoadSettings() override { return Note("load", {}); }
    void ApplyPlacement(const TWindowPlacement&) override { Note("placement"); }
    void ApplyFontsAndColours() override { Note("fonts"); }
    void SetOptionChecks(bool, bool) override { Note("checks"); }
    void OfferRecovery() override
    {
        Note("recovery");
        if (recover)
            recover();
    }
    void EndOrderly() override { Note("orderly end"); }
    std::function<void()> recover;
    void LoadDictionary() override { Note("dictionary"); }
    void SetDictionaryMenu(const std::string& caption, bool) override { Note(caption); }
    void BuildBarsAndMenus() override { Note("bars"); }
    void InstallHooks() override { Note("hooks"); }
    void AcceptDrops(bool on) override { Note(on ? "drops on" : "drops off"); }
    void CreateFileDialogs() override { Note("dialogs"); }
    void Realign() override { Note("realign"); }
    void BringToFront() override { Note("front"); }
    void ShowStatus(const std::string& text) override { Note("status " + text); }
    TWindowPlacement CurrentPlacement() override { return placement; }
    void CloseMainWindow() override { ++closes; }
    TMessage SaveSettings() override
    {
        ++saves;
        return saveFailure;
    }

private:
    TMessage Note(const std::string& call, TMessage result = {})
    {
        calls.push_back(call);
        return result;
    }
};

struct TShellEnv : TDocEnv
{
    TRecordingShell window;
    TApplicationShell shell { *set, *commands, settings, asker, window };
};

} // namespace

TEST(StartUp, FirstShowRunsInOrderAndOpensTheCommandLine)
{
    TShellEnv env;
    env.fs.SetFile("D:\\w\\a.txt", "");
    env.settings.LastDic = "english.ydc";
    env.shell.SetStart("D:\\w", "/R a.txt");
    EXPECT_EQ(env.shell.StartDir(), "D:\\w\\");
    env.shell.FirstShow();
    EXPECT_EQ(env.window.calls,
        (std::vector<std::string> { "load", "placement", "fonts", "checks", "recovery", "dictionary",
            "Current: english.ydc", "bars", "hooks", "drops on", "dialogs", "realign" }));
    ASSERT_EQ(env.set->Count(), 1);
    EXPECT_TRUE(env.set->At(0).ReadOnly());
    EXPECT_EQ(env.host.statusMessages.back(), "1 File(s) opened... 1 Total");
}

TEST(StartUp, EmptyCommandLineGivesAnUntitledDocumentOnlyWithStartBlank)
{
    TShellEnv blank;
    blank.settings.StartBlank = true;
    blank.shell.FirstShow();
    EXPECT_EQ(blank.Names(), (std::vector<std::string> { "untitled1.txt" }));
    EXPECT_EQ(blank.window.calls[6], "Current: None"); // after the recovery offer

    TShellEnv none;
    none.settings.StartBlank = false;
    none.shell.FirstShow();
    EXPECT_TRUE(none.set->Empty());
}

TEST(StartUp, HandOverOpensTheSendersFilesUnlessClosing)
{
    TShellEnv env;
    env.fs.SetFile("E:\\other\\a.txt", "");
    env.shell.FirstShow();
    EXPECT_EQ(env.shell.HandOver(HandOverKey, "E:\\other\\|a.txt"), 1);
    ASSERT_EQ(env.set->Count(), 1);
    EXPECT_EQ(env.set->At(0).FileName(), "E:\\other\\a.txt");
    EXPECT_EQ(env.window.calls.back(), "front");

    env.window.calls.clear();
    EXPECT_EQ(env.shell.HandOver(HandOverKey, "F:\\x\\|"), 1); // takes the directory only
    EXPECT_EQ(env.shell.StartDir(), "F:\\x\\");
    EXPECT_TRUE(env.window.calls.empty());
    EXPECT_EQ(env.shell.HandOver(HandOverKey, "no bar"), 1);
    EXPECT_EQ(env.shell.HandOver(1, "E:\\other\\|a.txt"), 0);
}

TEST(StartUp, HandOverDuringStartUpWaitsForTheOwnCommandLine)
{
    TShellEnv env;
    env.fs.SetFile("D:\\w\\a.txt", "");
    env.fs.SetFile("E:\\other\\b.txt", "");
    env.shell.SetStart("D:\\w", "a.txt");
    EXPECT_EQ(env.shell.HandOver(HandOverKey, "E:\\other\\|b.txt"), 1);
    EXPECT_TRUE(env.set->Empty());
    EXPECT_EQ(env.shell.CmdLine(), "a.txt");
    env.shell.FirstShow();
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "a.txt", "b.txt" }));
    EXPECT_EQ(env.shell.StartDir(), "E:\\other\\");
    EXPECT_EQ(env.window.calls.back(), "front");
}

TEST(StartUp, ExitAsksForEveryModifiedFileAndSavesTheSettingsOnce)
{
    TShellEnv env;
    env.shell.FirstShow();
    env.commands->New()->TextEditor()->ProcessCommand(ccTypedChar, 'x');
    env.asker.answers = { TMsgResult::Cancel };
    env.shell.Exit();
    EXPECT_FALSE(env.shell.Closing());
    EXPECT_EQ(env.window.closes, 0);
    EXPECT_EQ(env.window.saves, 0);
    EXPECT_EQ(env.set->Count(), 1);

    env.asker.answers = { TMsgResult::No };
    env.shell.Exit();
    EXPECT_TRUE(env.shell.Closing());
    EXPECT_EQ(env.window.closes, 1);
    EXPECT_TRUE(env.shell.CloseQuery()); // the window's own close request follows
    EXPECT_TRUE(env.shell.CloseQuery());
    EXPECT_EQ(env.window.saves, 1);
    EXPECT_EQ(env.settings.MainState, 2);
    EXPECT_EQ(env.settings.MainRect, (TRect { 1, 2, 3, 4 }));
}

TEST(StartUp, RecoveredWorkOpensBeforeTheCommandLineAndOnlyAClosedWindowEndsOrderly)
{
    TShellEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "");
    env.window.recover = [&] { env.commands->New(); };
    env.shell.SetStart("C:\\w", "a.txt");
    env.shell.FirstShow();
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "untitled1.txt", "a.txt" }));
    EXPECT_EQ(env.set->CurFile()->ShortName(), "a.txt");
    env.set->At(0).TextEditor()->ProcessCommand(ccTypedChar, 'x');
    env.asker.answers = { TMsgResult::Cancel };
    EXPECT_FALSE(env.shell.CloseQuery());
    EXPECT_EQ(std::count(env.window.calls.begin(), env.window.calls.end(), "orderly end"), 0);
    env.asker.answers = { TMsgResult::No };
    EXPECT_TRUE(env.shell.CloseQuery());
    EXPECT_EQ(std::count(env.window.calls.begin(), env.window.calls.end(), "orderly end"), 1);
}

TEST(StartUp, CloseRequestRefusedWhenTheUserCancels)
{
    TShellEnv env;
    env.shell.FirstShow();
    env.commands->New()->TextEditor()->ProcessCommand(ccTypedChar, 'x');
    env.asker.answers = { TMsgResult::Cancel };
    EXPECT_FALSE(env.shell.CloseQuery());
    EXPECT_FALSE(env.shell.Closing());
    EXPECT_EQ(env.window.saves, 0);
}

TEST(StartUp, ActivationReloadsChangedFilesAndListsThem)
{
    TShellEnv env;
    env.settings.SilentReload = true;
    env.fs.SetFile("C:\\w\\a.txt", "a\r\n");
    env.fs.SetFile("C:\\w\\b.txt", "b\r\n");
    env.shell.FirstShow();
    env.Open("C:\\w\\a.txt");
    env.Open("C:\\w\\b.txt");
    env.set->ToggleSplit(false);
    env.fs.SetFile("C:\\w\\a.txt", "A\r\n");
    env.fs.SetFile("C:\\w\\b.txt", "B\r\n");
    EXPECT_EQ(env.shell.AppActivate(), "Reloaded: a.txt b.txt ");
    EXPECT_EQ(env.set->BottomView()->TextEditor()->GetPara(1), "B");
    EXPECT_EQ(env.shell.AppActivate(), "");
    EXPECT_FALSE(env.shell.Activating());
}

TEST(StartUp, DroppedFilesOpenAtOnceOrAfterTheDropMenuWithAlt)
{
    TShellEnv env;
    env.shell.SetStart("C:\\w\\", "");
    env.shell.FirstShow();
    for (const char* n : { "C:\\w\\1.dat", "C:\\w\\2.dat", "C:\\w\\3 x.dat" })
        env.fs.SetFile(n, "d");
    env.shell.DropFiles({ "C:\\w\\1.dat", "C:\\w\\2.dat", "C:\\w\\3 x.dat" }, true);
    EXPECT_EQ(env.shell.DropList(), "\"C:\\w\\1.dat\" \"C:\\w\\2.dat\" \"C:\\w\\3 x.dat\"");
    EXPECT_TRUE(env.set->Empty());
    env.shell.DropOpen(true);
    ASSERT_EQ(env.set->Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(env.set->At(i).Binary());
    EXPECT_EQ(env.shell.DropList(), "");
}

TEST(StartUp, StatusEventsPadTheNumbersAndTrackThePane)
{
    TShellEnv env;
    env.shell.FirstShow();
    env.fs.SetFile("C:\\w\\a.txt", "a\r\n");
    env.fs.SetFile("C:\\w\\b.bin", "bb");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    TEditFile& b = env.Open("C:\\w\\b.bin", true);
    TStatusUpdate u;
    EXPECT_FALSE(env.shell.EditStatus(false, false, 7, 1, false, u)); // without focus
    ASSERT_TRUE(env.shell.EditStatus(false, true, 7, 1, false, u));
    EXPECT_EQ(u.line, "0007");
    EXPECT_EQ(u.insOvr, "Ovr"); // binary views always overwrite
    EXPECT_EQ(u.encoding, "");
    EXPECT_FALSE(u.relayoutStatusBar);
    EXPECT_FALSE(env.shell.Menus().enabled[miSave]);
    ASSERT_TRUE(env.shell.EditStatus(false, true, 9999, 1, false, u));
    EXPECT_FALSE(u.relayoutStatusBar);
    ASSERT_TRUE(env.shell.EditStatus(false, true, 12345, 1, false, u));
    EXPECT_EQ(u.line, "12345");
    EXPECT_TRUE(u.relayoutStatusBar);

    env.set->SelectFile(a);
    env.set->ToggleSplit(false);
    env.set->SelectFile(b); // the second pane shows b
    ASSERT_TRUE(env.shell.EditStatus(true, true, 1, 1, true, u));
    EXPECT_EQ(env.set->CurFile(), &b);
    EXPECT_EQ(u.top.path, "C:\\w\\a.txt");
    EXPECT_EQ(u.bottom.path, "C:\\w\\b.bin");
    env.set->SelectFile(a);
    ASSERT_TRUE(env.shell.EditStatus(false, true, 1, 1, true, u));
    EXPECT_EQ(u.encoding, "ANSI");
    EXPECT_TRUE(env.shell.Menus().enabled[miSyncPanes]);
    EXPECT_FALSE(env.shell.StatusTimerFired());
    ASSERT_TRUE(env.shell.EditStatus(true, true, 1, 1, true, u));
    EXPECT_TRUE(u.restoreHint);
}

TEST(StartUp, HintShowsItsLongPartAndAnExpiredMessageGivesWayOnce)
{
    EXPECT_EQ(LongHint("Open|"), "");
    EXPECT_EQ(LongHint("Open|Open a file as text"), "Open a file as text");
    EXPECT_EQ(LongHint("Add to this pile"), "Add to this pile");
    EXPECT_EQ(HintPanelText(""), "F1=Help");

    TShellEnv env;
    env.shell.FirstShow();
    EXPECT_TRUE(env.shell.SetHint("Open this file"));
    EXPECT_FALSE(env.shell.SetHint("Open this file")); // unchanged: the panel keeps a message
    EXPECT_EQ(HintPanelText(env.shell.Hint()), "Open this file");

    env.fs.SetFile("C:\\w\\a.txt", "a");
    env.Open("C:\\w\\a.txt");
    // A close before the message has had its time leaves the message.
    EXPECT_FALSE(env.shell.TakeExpiredStatus());
    EXPECT_FALSE(env.shell.StatusTimerFired()); // documents open: the hint waits
    EXPECT_TRUE(env.shell.TakeExpiredStatus());
    EXPECT_FALSE(env.shell.TakeExpiredStatus());
}

TEST(StartUp, MessageShownAfterAnExpiredOneKeepsItsTime)
{
    TShellEnv env;
    env.shell.FirstShow();
    env.fs.SetFile("C:\\w\\a.txt", "a");
    env.Open("C:\\w\\a.txt");
    EXPECT_FALSE(env.shell.StatusTimerFired()); // the message has had its time
    env.shell.StatusMessageStarted(); // and a new one is shown before the caret moves
    TStatusUpdate u;
    ASSERT_TRUE(env.shell.EditStatus(false, true, 1, 1, false, u));
    EXPECT_FALSE(u.restoreHint);
    EXPECT_FALSE(env.shell.TakeExpiredStatus());
    EXPECT_FALSE(env.shell.StatusTimerFired());
    ASSERT_TRUE(env.shell.EditStatus(false, true, 1, 1, false, u));
    EXPECT_TRUE(u.restoreHint);
}

TEST(StartUp, UserCommandsSwitchDocumentsAndScroll)
{
    TShellEnv env;
    env.shell.FirstShow();
    env.shell.UserCommand(257); // no document: nothing
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "line\r\n";
    env.fs.SetFile("C:\\w\\a.txt", text);
    env.fs.SetFile("C:\\w\\b.txt", "");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    TEditFile& b = env.Open("C:\\w\\b.txt");
    env.shell.UserCommand(257);
    EXPECT_EQ(env.set->CurFile(), &a);
    env.shell.UserCommand(256);
    EXPECT_EQ(env.set->CurFile(), &b);
    env.shell.UserCommand(256);
    a.TextEditor()->SetVisibleSize(5, 80);
    env.shell.UserCommand(262);
    EXPECT_EQ(a.TopLine(), 2);
    EXPECT_EQ(a.CaretLine(), 2);
}

TEST(StartUp, WordWrapReachesEveryTextViewAndTheSetting)
{
    TShellEnv env;
    env.shell.FirstShow();
    env.fs.SetFile("C:\\w\\a.txt", "");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    const bool before = env.settings.WordWrap;
    env.shell.ToggleWordWrap();
    EXPECT_NE(env.settings.WordWrap, before);
    EXPECT_EQ(a.TextEditor()->WordWrap(), env.settings.WordWrap);
    EXPECT_EQ(env.set->BottomView()->TextEditor()->WordWrap(), env.settings.WordWrap);
}

} // namespace wexly::test
