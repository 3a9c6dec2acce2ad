// End-to-end tests of the main window: start-up, the second instance, exit, help, status panels,
// menus and drops.
#include "E2eSupport.h"

#include "win32/MenuIds.h"
#include "win32/print/PreviewIds.h"
#include "win32/res/dialogs/FileDlgIds.h"
#include "win32/res/dialogs/PrefIds.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

E2E_CASE(WindowAppearsWithClassCaptionMenuAndStatusBar)
{
    auto [p, main, dir] = ctx.Launch(L"appear");
    CHECK(p.process != nullptr);
    CHECK(main != nullptr);
    CHECK_EQ(ClassNameOf(main), MainClass);
    CHECK_EQ(WindowText(main), MainCaption);
    CHECK(GetMenu(main) != nullptr);
    CHECK_EQ(StatusBarText(main, 0), std::wstring(L"F1=Help"));
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0000"));
    CHECK_EQ(StatusBarText(main, 4), std::wstring(L"0000"));
}

// A program the user starts takes the foreground by itself, with the keyboard in its document.
E2E_CASE(StartedProgramComesToTheFrontWithTheKeyboardInItsDocument)
{
    auto [p, main, dir] = ctx.Launch(L"front", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != main && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK(GetForegroundWindow() == main);
    GUITHREADINFO gui {};
    gui.cbSize = sizeof(gui);
    CHECK(GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui));
    CHECK_EQ(ClassNameOf(gui.hwndFocus), std::wstring(L"TCellGridWindow"));
}

E2E_CASE(MenuBarHasEveryMenuWithItsItems)
{
    HMENU menu = LoadProgramMenu(ctx.wexly, IDR_MAINMENU);
    CHECK(menu != nullptr);
    std::vector<std::wstring> bar = MenuCaptions(menu);
    std::vector<std::wstring> file = SubmenuCaptions(menu, 0);
    std::vector<std::wstring> tools = SubmenuCaptions(menu, 3);
    int exitEnabled = MenuCommandEnabled(menu, IDM_FILE_EXIT);
    int saveEnabled = MenuCommandEnabled(menu, IDM_FILE_SAVE);
    int justifyEnabled = MenuCommandEnabled(menu, IDM_JUSTIFY_LEFT);
    DestroyMenu(menu);
    CHECK_EQ(bar,
        (std::vector<std::wstring> { L"&File", L"&Edit", L"&Search", L"&Tools", L"&Piles",
            L"&Options", L"&Window", L"&Help", L"&Window List..." }));
    CHECK(!file.empty());
    CHECK_EQ(file.front(), std::wstring(L"&New\tCtrl+N"));
    CHECK_EQ(file.back(), std::wstring(L"E&xit"));
    CHECK(tools.size() >= 3);
    CHECK_EQ(tools[0], std::wstring(L"&Justify"));
    CHECK_EQ(tools.back(), std::wstring(L"List...\tF9"));
    CHECK_EQ(exitEnabled, 1);
    // Commands whose features are not there yet are shown disabled.
    CHECK_EQ(saveEnabled, 0);
    CHECK_EQ(justifyEnabled, 0);
}

E2E_CASE(ExitThroughTheFileMenuWithTheKeyboard)
{
    auto [p, main, dir] = ctx.Launch(L"menukeys");
    CHECK(main != nullptr);
    CHECK(SendKey(main, 'F', { VK_MENU }));
    Sleep(300);
    CHECK(SendKey(main, 'X'));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
}

// The help folder beside wexly.exe, moved aside while a test needs the pages missing and put
// back when the test ends, however it ends.
class THelpFolderHidden
{
public:
    explicit THelpFolderHidden(const std::wstring& wexly)
    {
        std::wstring dir = wexly.substr(0, wexly.find_last_of(L"\\/") + 1);
        m_path = dir + L"help";
        m_aside = dir + L"help.hidden-by-e2e";
        m_moved = MoveFileW(m_path.c_str(), m_aside.c_str()) != 0;
    }
    ~THelpFolderHidden()
    {
        if (m_moved)
            MoveFileW(m_aside.c_str(), m_path.c_str());
    }
    THelpFolderHidden(const THelpFolderHidden&) = delete;
    THelpFolderHidden& operator=(const THelpFolderHidden&) = delete;
    bool PagesMissing() const
    {
        return GetFileAttributesW((m_path + L"\\1.html").c_str()) == INVALID_FILE_ATTRIBUTES;
    }

private:
    std::wstring m_path;
    std::wstring m_aside;
    bool m_moved = false;
};

bool HelpPagePresent(const std::wstring& wexly)
{
    std::wstring page = wexly.substr(0, wexly.find_last_of(L"\\/") + 1) + L"help\\1.html";
    return GetFileAttributesW(page.c_str()) != INVALID_FILE_ATTRIBUTES;
}

E2E_CASE(HelpContentsThroughTheHelpMenu)
{
    // The build copies the pages beside the program: the contents page is handed to the shell
    // and no error is shown.
    CHECK(HelpPagePresent(ctx.wexly));
    std::wstring dir = MakeTempDir(L"helpmenu");
    const std::wstring opened = dir + L"opened.html";
    THtmlOpenRecorder recorder(opened);
    CHECK(recorder.Ok());
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SendKey(main, 'H', { VK_MENU }));
    Sleep(300);
    CHECK(SendKey(main, 'H'));
    HWND box = WaitForMessageBox(L"Error!", p.pid, 2000);
    CHECK(box == nullptr);
    std::string page;
    DWORD start = GetTickCount();
    while (!ReadTextFile(opened, &page) && GetTickCount() - start < 5000)
        Sleep(100);
    std::string original;
    CHECK(ReadTextFile(
        ctx.wexly.substr(0, ctx.wexly.find_last_of(L"\\/") + 1) + L"help\\1.html", &original));
    CHECK(!page.empty());
    CHECK(page == original);
}

E2E_CASE(SecondStartHandsOverAndExitsWithZero)
{
    TProcess first = ctx.Start(L"", MakeTempDir(L"first"));
    HWND main = WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    std::wstring other = MakeTempDir(L"other");
    CHECK(WriteTextFile(other + L"a.txt", "hello\r\n"));

    TProcess second = ctx.Start(L"a.txt", other);
    CHECK(second.process != nullptr);
    DWORD code = 12345;
    DWORD started = GetTickCount();
    CHECK(WaitForExit(second, 5000, &code));
    CHECK(GetTickCount() - started <= 5000);
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK_EQ(FindTopWindows(MainClass, MainCaption).size(), static_cast<size_t>(1));
    CHECK(WaitForSingleObject(first.process, 0) == WAIT_TIMEOUT);
    std::string content;
    CHECK(ReadTextFile(other + L"a.txt", &content));
    CHECK_EQ(content, std::string("hello\r\n"));
}

E2E_CASE(SecondStartWithoutArgumentsAlsoHandsOver)
{
    TProcess first = ctx.Start(L"", MakeTempDir(L"first2"));
    CHECK(WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs) != nullptr);
    TProcess second = ctx.Start(L"", MakeTempDir(L"other2"));
    DWORD code = 12345;
    CHECK(WaitForExit(second, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK_EQ(FindTopWindows(MainClass, MainCaption).size(), static_cast<size_t>(1));
}

E2E_CASE(ExitCommandEndsTheProcessWithZero)
{
    auto [p, main, dir] = ctx.Launch(L"exit");
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(FindTopWindows(MainClass, MainCaption, p.pid).empty());
}

E2E_CASE(ClosingTheWindowEndsTheProcessWithZero)
{
    auto [p, main, dir] = ctx.Launch(L"close");
    CHECK(main != nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
}

E2E_CASE(F1WithoutHelpFileShowsTheErrorBox)
{
    THelpFolderHidden hidden(ctx.wexly);
    CHECK(hidden.PagesMissing());
    auto [p, main, dir] = ctx.Launch(L"help");
    CHECK(main != nullptr);
    CHECK(SendKey(main, VK_F1));
    HWND box = WaitForMessageBox(L"Error!", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"Empty Help file!"));
    CHECK(ClickButton(box, L"OK"));
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK(!IsWindow(box));
}

E2E_CASE(InsertKeyWithoutDocumentsFlipsInsOvr)
{
    auto [p, main, dir] = ctx.Launch(L"insert");
    CHECK(main != nullptr);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    CHECK(SendKey(main, VK_INSERT));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ovr"));
    CHECK(SendKey(main, VK_INSERT));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
}

E2E_CASE(InsOvrPanelFollowsTheModeAtOnce)
{
    // Macro 2 only toggles the mode.
    auto [p, main, dir]
        = ctx.Launch(L"insovr", { { L"a.txt", "alpha\r\n" }, { L"b.bin", "bytes" } },
            L"/B b.bin /N a.txt", "[Macros]\r\n#=1\r\n0=02<INSERT>\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 2, L"Ins", 3000));
    // The caret does not move, yet the panel changes with the key.
    CHECK(SendKey(main, VK_INSERT));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
    CHECK(SendKey(main, VK_INSERT));
    CHECK(WaitForStatusText(main, 2, L"Ins", 3000));
    CHECK(SendKey(main, VK_F2, { VK_SHIFT }));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
    // The hex view always overwrites; back in the text the panel shows the text's mode.
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"b.bin"));
    CHECK(SendKey(main, VK_INSERT));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ovr"));
    CHECK(SendKey(main, VK_F2, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
    CHECK(SendKey(main, VK_INSERT));
    CHECK(WaitForStatusText(main, 2, L"Ins", 3000));
    // With the documents gone the panel shows the mode the key toggles from then on.
    CHECK(SendKey(main, VK_INSERT));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
    PostCommand(main, IDM_FILE_CLOSEALL);
    CHECK(WaitForStatusText(main, 3, L"0000", 3000));
    CHECK(WaitForStatusText(main, 2, L"Ins", 3000));
    CHECK(SendKey(main, VK_INSERT));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
}

E2E_CASE(CapsLockShowsInItsPanel)
{
    auto [p, main, dir] = ctx.Launch(L"caps");
    CHECK(main != nullptr);
    // Caps Lock pressed in the first moments after the window appears is sometimes not shown
    // until the next refresh of the panel: the start settles first.
    Sleep(300);
    std::wstring before = StatusBarText(main, 1);
    CHECK(before == L"" || before == L"Caps");
    const std::wstring flipped = before == L"Caps" ? L"" : L"Caps";
    CHECK(SendKey(main, VK_CAPITAL));
    // Waited for, not slept: on a busy machine the key can take longer than a fixed pause.
    const bool shown = WaitForStatusText(main, 1, flipped, 3000);
    CHECK(SendKey(main, VK_CAPITAL)); // leave the lock as it was, whatever was seen
    CHECK(shown);
    CHECK(WaitForStatusText(main, 1, before, 3000));
}

E2E_CASE(CapsLockPressedInADialogShowsOnceItCloses)
{
    auto [p, main, dir] = ctx.Launch(L"capsdialog", { { L"a.txt", "a\r\nb\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    const std::wstring before = StatusBarText(main, 1);
    const std::wstring toggled = before == L"Caps" ? L"" : L"Caps";
    CHECK(SendKey(main, VK_F4));
    HWND dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(SendKey(dialog, VK_CAPITAL));
    CHECK(SendKey(dialog, VK_ESCAPE));
    CHECK(WaitGone(dialog));
    const bool shownAfterDialog = WaitForStatusText(main, 1, toggled, 3000);
    CHECK(SendKey(main, VK_CAPITAL)); // leave the lock as it was
    CHECK(shownAfterDialog);
    CHECK(WaitForStatusText(main, 1, before, 3000));
}

E2E_CASE(MenuHintsShowInTheMessagePanel)
{
    auto [p, main, dir] = ctx.Launch(L"hints", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 5000));
    // Alt+F opens the File menu on "&New".
    CHECK(SendKey(main, 'F', { VK_MENU }));
    CHECK(WaitForStatusText(main, 0, L"Start a new, unnamed document", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Open files as text", 3000));
    // Closing the menu clears the hint.
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(WaitForStatusText(main, 0, L"F1=Help", 3000));
    // A Window menu entry hints its document's full path: up from the first item wraps to
    // "&Window List..." and then reaches the entry above it.
    CHECK(SendKey(main, 'W', { VK_MENU }));
    CHECK(SendKey(main, VK_UP));
    CHECK(WaitForStatusText(main, 0, L"List the open documents", 3000));
    CHECK(SendKey(main, VK_UP));
    CHECK(WaitForStatusText(main, 0, dir + L"a.txt", 3000));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(WaitForStatusText(main, 0, L"F1=Help", 3000));
    // Submenus have hints of their own.
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(WaitForStatusText(
        main, 0, L"Set justification for text (Wont work when wordwrap is on)", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Lists of words to auto-replace", 3000));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
}

E2E_CASE(SecondStartOpensItsFileInTheRunningInstance)
{
    TProcess first = ctx.Start(L"", MakeTempDir(L"running"));
    HWND main = WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    std::wstring other = MakeTempDir(L"handed");
    CHECK(WriteTextFile(other + L"c.txt", "gamma\r\n"));
    TProcess second = ctx.Start(L"/R c.txt", other);
    DWORD code = 12345;
    CHECK(WaitForExit(second, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(WaitForTitle(main, other + L"c.txt"));
    // Opened read-only: the title bar's state box says so.
    CHECK(FindChildWithText(main, L"Static", L"R") != nullptr);
}

E2E_CASE(SettingsAreWrittenAtExitAndReadAtTheNextStart)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    for (const char* expected : { "genWordWrap=1", "genWordWrap=0" }) {
        TProcess p = ctx.Start(L"", MakeTempDir(L"settings"));
        HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        // Toggled from what the last run saved.
        PostCommand(main, IDM_OPTIONS_WORDWRAP);
        PostCommand(main, IDM_FILE_EXIT);
        DWORD code = 12345;
        CHECK(WaitForExit(p, 5000, &code));
        std::string content;
        CHECK(ReadTextFile(ini, &content));
        CHECK(content.find(expected) != std::string::npos);
    }
}

E2E_CASE(StartOptionsPlaceTheCaretAndChooseTheView)
{
    auto [p, main, dir] = ctx.Launch(L"options",
        { { L"lines.txt", "1\r\n2\r\n3\r\n4\r\nfifth line\r\n6\r\n" }, { L"bytes.bin", "abc" } },
        L"/B bytes.bin /N /J5,3 lines.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    CHECK(WaitForTitle(main, dir + L"lines.txt"));
    CHECK(WaitForStatusText(main, 3, L"0005", 3000));
    CHECK_EQ(StatusBarText(main, 4), std::wstring(L"0003"));
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    // The binary document shows in the hex view, which overwrites.
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"bytes.bin"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
}

E2E_CASE(PNumberReopensTheFilesClosedLast)
{
    std::wstring dir = MakeTempDir(L"history");
    CHECK(WriteTextFile(dir + L"old1.txt", "one\r\n"));
    CHECK(WriteTextFile(dir + L"old2.txt", "two\r\n"));
    CHECK(WriteTextFile(dir + L"old3.txt", "three\r\n"));
    CHECK(WriteTextFile(dir + L"lines.txt", "1\r\n2\r\n3\r\n4\r\n"));
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    const std::string d = Narrow(dir);
    CHECK(WriteTextFile(ini,
        "[FileHistory]\r\n#=3\r\n0=00" + d + "old1.txt|1|1\r\n1=00" + d + "old2.txt|1|1\r\n2=00" + d
            + "old3.txt|1|1\r\n"));
    // /P2 reopens two of them; /3 puts the caret on line 3 of the file after it.
    TProcess p = ctx.Start(L"/P2 /3 lines.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"3 File(s) opened... 3 Total", 5000));
    CHECK(WaitForTitle(main, dir + L"lines.txt"));
    CHECK(WaitForStatusText(main, 3, L"0003", 3000));
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"old1.txt"));
    DeleteFileW(ini.c_str());
}

E2E_CASE(DroppedFilesOpenAndAltOffersTheDropMenu)
{
    auto [p, main, dir] = ctx.Launch(L"drop",
        { { L"a.txt", "alpha\r\n" }, { L"b c.txt", "beta\r\n" }, { L"d.bin", "delta\r\n" } }, L"");
    CHECK(main != nullptr);
    CHECK(DropFilesOn(main, { dir + L"a.txt", dir + L"b c.txt" }, { 40, 80 }));
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    CHECK(WaitForTitle(main, dir + L"b c.txt"));
    CHECK_EQ(StatusBarText(main, 2), std::wstring(L"Ins"));
    // With Alt held the drop menu chooses: the second item opens as binary.
    SetForegroundWindow(main);
    KeyEvent(VK_MENU, false);
    Sleep(300); // until the key state says Alt is down
    CHECK(DropFilesOn(main, { dir + L"d.bin" }, { 40, 80 }));
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !menu; ++i) {
        Sleep(50);
        menu = FindWindowW(L"#32768", nullptr);
        if (menu && !IsWindowVisible(menu))
            menu = nullptr;
    }
    KeyEvent(VK_MENU, true);
    CHECK(menu != nullptr);
    KeyEvent(VK_DOWN, false);
    KeyEvent(VK_DOWN, true);
    Sleep(100);
    KeyEvent(VK_DOWN, false);
    KeyEvent(VK_DOWN, true);
    Sleep(100);
    KeyEvent(VK_RETURN, false);
    KeyEvent(VK_RETURN, true);
    CHECK(WaitForTitle(main, dir + L"d.bin"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000)); // binary views overwrite
}

E2E_CASE(ShiftF10PlaysMacroTenAndTheAppsKeyKeepsTheContextMenu)
{
    auto [p, main, dir] = ctx.Launch(L"macro10", { { L"a.txt", "alpha\r\n" } }, L"a.txt",
        "[Macros]\r\n#=1\r\n0=10ten<ENTER>\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(SendKey(main, VK_F10, { VK_SHIFT }));
    CHECK(!WaitUntilMenuShown(p.pid, 500));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "ten\r\nalpha\r\n", 3000));
    CHECK(SendKey(main, VK_APPS));
    CHECK(WaitUntilMenuShown(p.pid));
    KeyEvent(VK_ESCAPE, false);
    KeyEvent(VK_ESCAPE, true);
}

// A message shown after an earlier one has had its full time still gets its own ten seconds.
E2E_CASE(ExecutionCompleteShowsAfterAnExpiredMessage)
{
    auto [p, main, dir] = ctx.Launch(L"toolstatus", { { L"a.txt", "alpha\r\nbeta\r\n" } }, L"a.txt",
        "[External]\r\n#=1\r\n0=&Echo\r\n0cl=cmd /c exit\r\n0flg=0\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 3000));
    // The status timer runs out (posted here rather than waited for).
    PostMessageW(main, WM_TIMER, 1, 0);
    Sleep(200);
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(SendKey(main, 'E'));
    CHECK(WaitForStatusText(main, 0, L"Execution Complete", 5000));
    // The caret moving does not take it away before its time.
    CHECK(SendKey(main, VK_DOWN));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 0), std::wstring(L"Execution Complete"));
    PostMessageW(main, WM_TIMER, 1, 0);
    CHECK(SendKey(main, VK_UP));
    CHECK(WaitForStatusText(main, 0, L"F1=Help", 3000));
}

} // namespace
} // namespace wexly::e2e
