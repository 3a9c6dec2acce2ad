// End-to-end tests of dictionaries: choosing one, replacement while typing, maintenance.
#include "E2eSupport.h"

#include "win32/MenuIds.h"
#include "win32/print/PreviewIds.h"
#include "win32/res/dialogs/DicChooseIds.h"
#include "win32/res/dialogs/DicMaintIds.h"
#include "win32/res/dialogs/FileDlgIds.h"
#include "win32/res/dialogs/PrefIds.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

E2E_CASE(ChosenDictionaryReplacesWordsAsTheyAreTyped)
{
    auto [p, main, dir] = ctx.Launch(L"dic",
        { { L"words.ydc", "[Wexly2 Dictionary File V1]\r\n1\r\nteh..the\r\n" }, { L"a.txt", "" } },
        L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_DIC_CURRENT);
    HWND dialog = WaitForMessageBox(L"Choose A Dictionary", p.pid, 5000);
    CHECK(dialog != nullptr);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    const std::wstring path = dir + L"words.ydc";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    // Loaded and switched on; the match-case option adapts the replacement to the typed word.
    CHECK(TypeText(main, "teh Teh TEH teh'"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "the The THE teh'\r\n", 3000));
    // Ctrl+D switches the system off.
    CHECK(SendKey(main, 'D', { VK_CONTROL }));
    CHECK(TypeText(main, " teh "));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "the The THE teh' teh \r\n", 3000));
}

E2E_CASE(DictionaryMaintenanceEditsSavesAndTakesEffect)
{
    std::wstring dir = MakeTempDir(L"dicmaint");
    CHECK(WriteTextFile(
        dir + L"words.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\nteh..the\r\nb..c\r\n"));
    CHECK(WriteTextFile(dir + L"a.txt", ""));
    TSettingsFileForTest ini(
        ctx.wexly, "[Wexly]\r\nLastDic=" + Narrow(dir) + "words.ydc\r\nDicOn=1\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_DIC_MAINTAIN);
    HWND dialog = WaitForMessageBox(L"Dictionary Maintenance", p.pid, 5000);
    CHECK(dialog != nullptr);
    // The two entries and the empty row for a new one; a space cannot be typed.
    CHECK(SendKey(dialog, VK_DOWN));
    CHECK(SendKey(dialog, VK_DOWN));
    CHECK(TypeText(dialog, "a bc"));
    CHECK(SendKey(dialog, VK_TAB));
    CHECK(TypeText(dialog, "xyz"));
    PostMessageW(dialog, WM_COMMAND, IDC_DICMAINT_SAVE, 0);
    CHECK(WaitForFileContent(dir + L"words.ydc",
        "[Wexly2 Dictionary File V1]\r\n0\r\nabc..xyz\r\nb..c\r\nteh..the\r\n", 3000));
    // Ctrl+Delete removes a row; closing then asks, and Cancel keeps the window.
    CHECK(SendKey(dialog, VK_UP));
    CHECK(SendKey(dialog, VK_DELETE, { VK_CONTROL }));
    CHECK(SendKey(dialog, VK_ESCAPE));
    HWND ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"Cancel"));
    CHECK(WaitGone(ask));
    CHECK(IsWindow(dialog));
    CHECK(SendKey(dialog, VK_ESCAPE));
    ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"No"));
    CHECK(WaitGone(dialog));
    // The saved words are in use at once.
    CHECK(TypeText(main, "abc teh "));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "xyz the \r\n", 3000));
}

E2E_CASE(DictionaryBrowseShowsThePanelDialogOverTheChooser)
{
    auto [p, main, dir] = ctx.Launch(L"odic",
        { { L"words.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\n" },
            { L"other.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\n" } },
        L"");
    CHECK(main != nullptr);
    PostCommand(main, IDM_DIC_CURRENT);
    HWND chooser = WaitForMessageBox(L"Choose A Dictionary", p.pid, 5000);
    CHECK(chooser != nullptr);
    HWND edit = FindWindowExW(chooser, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    const std::wstring words = dir + L"words.ydc";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(words.c_str()));
    CHECK(ClickButton(chooser, L"..."));
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    // Owned by the chooser, which it keeps disabled, and proposing the chooser's file.
    CHECK(GetWindow(open, GW_OWNER) == chooser);
    const std::wstring proposed = WindowText(FileNameBox(open));
    CHECK(proposed.size() >= 9 && proposed.substr(proposed.size() - 9) == L"words.ydc");
    SetWindowTextW(FileNameBox(open), (dir + L"other.ydc").c_str());
    CHECK(ClickButton(open, L"Open"));
    CHECK(WaitGone(open));
    DWORD start = GetTickCount();
    while (WindowText(edit) != dir + L"other.ydc" && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK_EQ(WindowText(edit), dir + L"other.ydc");
    CHECK(ClickButton(chooser, L"Cancel"));
    CHECK(WaitGone(chooser));
}

// A dictionary named by the settings and switched on there, with a.txt open.
TLaunched LaunchWithDictionary(TContext& ctx, const std::wstring& tag, const std::string& words)
{
    std::wstring dir = MakeTempDir(tag);
    TLaunched launched;
    launched.dir = dir;
    if (!WriteTextFile(dir + L"words.ydc", "[Wexly2 Dictionary File V1]\r\n0\r\n" + words)
        || !WriteTextFile(dir + L"a.txt", "")
        || !WriteTextFile(
            ctx.SettingsPath(), "[Wexly]\r\nLastDic=" + Narrow(dir) + "words.ydc\r\nDicOn=1\r\n"))
        return launched;
    launched.process = ctx.Start(L"a.txt", dir);
    launched.main = WaitForWindow(MainClass, MainCaption, launched.process.pid, StartTimeoutMs);
    return launched;
}

E2E_CASE(DictionaryReplacesOnEnterAndKeepsItsStateWhenAFileCannotBeOpened)
{
    auto [p, main, dir] = LaunchWithDictionary(ctx, L"dicenter", "adn..AnD\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "adn"));
    CHECK(SendKey(main, VK_RETURN));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "AnD\r\n", 3000));
    // A dictionary file that is not there is reported by its name; the one in use stays.
    PostCommand(main, IDM_DIC_CURRENT);
    HWND chooser = WaitForMessageBox(L"Choose A Dictionary", p.pid, 5000);
    CHECK(chooser != nullptr);
    HWND edit = FindWindowExW(chooser, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    const std::wstring missing = dir + L"missing.ydc";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
    CHECK(ClickButton(chooser, L"OK"));
    HWND error = WaitForMessageBox(L"Error", p.pid, 5000);
    CHECK(error != nullptr);
    const std::wstring text = MessageBoxText(error);
    CHECK(text.find(missing) != std::wstring::npos);
    CHECK(text.find(L"Viewer") == std::wstring::npos);
    CHECK(ClickButton(error, L"OK"));
    CHECK(WaitGone(error));
    CHECK(WaitGone(chooser));
    CHECK(TypeText(main, "adn "));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "AnD\r\nAnD \r\n", 3000));
    // The chooser still proposes the dictionary in use.
    PostCommand(main, IDM_DIC_CURRENT);
    chooser = WaitForMessageBox(L"Choose A Dictionary", p.pid, 5000);
    CHECK(chooser != nullptr);
    edit = FindWindowExW(chooser, nullptr, L"Edit", nullptr);
    CHECK_EQ(WindowText(edit), dir + L"words.ydc");
    CHECK(ClickButton(chooser, L"Cancel"));
    CHECK(WaitGone(chooser));
}

// The message boxes of the maintenance window are its own: closing one leaves the main window
// disabled behind it. One click on a tool button acts once.
E2E_CASE(DictionaryMaintenanceKeepsItsBoxesAndActsOncePerClick)
{
    auto [p, main, dir] = LaunchWithDictionary(ctx, L"dicowner", "teh..the\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_DIC_MAINTAIN);
    HWND dialog = WaitForMessageBox(L"Dictionary Maintenance", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(TypeText(dialog, "x"));
    HWND open = GetDlgItem(dialog, IDC_DICMAINT_OPEN);
    CHECK(open != nullptr);
    PostMessageW(open, BM_CLICK, 0, 0);
    HWND ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(GetWindow(ask, GW_OWNER) == dialog);
    CHECK(ClickButton(ask, L"Cancel"));
    CHECK(WaitGone(ask));
    // No second question follows the first.
    CHECK(WaitForMessageBox(L"Attention!", p.pid, 1000) == nullptr);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IsWindowEnabled(main));
    CHECK(IsWindowEnabled(dialog));
    // Esc asks too; Cancel keeps the window in front with the main window still disabled.
    CHECK(SendKey(dialog, VK_ESCAPE));
    ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(GetWindow(ask, GW_OWNER) == dialog);
    CHECK(ClickButton(ask, L"Cancel"));
    CHECK(WaitGone(ask));
    Sleep(300);
    CHECK(!IsWindowEnabled(main));
    CHECK(GetForegroundWindow() == dialog);
    CHECK(SendKey(dialog, VK_ESCAPE));
    ask = WaitForMessageBox(L"Attention!", p.pid, 3000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"No"));
    CHECK(WaitGone(dialog));
    CHECK(IsWindowEnabled(main));
}

} // namespace
} // namespace wexly::e2e
