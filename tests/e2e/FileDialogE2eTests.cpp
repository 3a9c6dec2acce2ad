// End-to-end tests of the open and save dialogs' directory panel, and the reopen history.
#include "E2eSupport.h"

#include "win32/MenuIds.h"
#include "win32/print/PreviewIds.h"
#include "win32/res/dialogs/FileDlgIds.h"
#include "win32/res/dialogs/FindIds.h"
#include "win32/res/dialogs/PrefIds.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

E2E_CASE(ReopenDialogOpensTheChosenFileAgain)
{
    auto [p, main, dir] = ctx.Launch(
        L"reopendlg", { { L"a.txt", "alpha\r\n" }, { L"b.txt", "beta\r\n" } }, L"a.txt b.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    PostCommand(main, IDM_FILE_CLOSEALL);
    CHECK(WaitForStatusText(main, 3, L"0000", 3000));
    PostCommand(main, IDM_FILE_REOPEN);
    HWND dialog = WaitForMessageBox(L"Reopen Files...", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(FindWindowExW(dialog, nullptr, L"SysHeader32", nullptr) != nullptr);
    // Close All began with the current file, so a.txt closed last and is offered first.
    CHECK(SendKey(dialog, VK_RETURN));
    CHECK(WaitGone(dialog));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
}

// Tells the panel about a click or a selection in one of its controls.
bool NotifyPanel(HWND dialog, int id, WORD code)
{
    HWND control = DescendantById(dialog, id);
    return control
        && PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(control))
        != 0;
}

bool SetPanelCheck(HWND dialog, int id, bool on)
{
    HWND box = DescendantById(dialog, id);
    if (!box)
        return false;
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    return NotifyPanel(dialog, id, BN_CLICKED);
}

std::vector<std::wstring> ComboLines(HWND combo)
{
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length >= 0 && length < MAX_PATH)
            SendMessageW(
                combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

bool WaitForComboLines(HWND combo, const std::vector<std::wstring>& lines)
{
    DWORD start = GetTickCount();
    while (ComboLines(combo) != lines && GetTickCount() - start < 3000)
        Sleep(50);
    return ComboLines(combo) == lines;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Started in dir with a.txt and sub\b.txt, so that both directories are recent ones.
HWND StartWithTwoDirectories(TContext& ctx, TProcess& p, const std::wstring& dir)
{
    if (!(CreateDirectoryW((dir + L"sub").c_str(), nullptr)
            || GetLastError() == ERROR_ALREADY_EXISTS)
        || !WriteTextFile(dir + L"a.txt", "a\r\n") || !WriteTextFile(dir + L"sub\\b.txt", "b\r\n"))
        return nullptr;
    p = ctx.Start(L"a.txt sub\\b.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    return main && WaitForTitle(main, dir + L"sub\\b.txt") ? main : nullptr;
}

E2E_CASE(OpenAndSaveDialogsCarryTheDirectoryPanel)
{
    std::wstring dir = MakeTempDir(L"opanel");
    TProcess p;
    HWND main = StartWithTwoDirectories(ctx, p, dir);
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK_EQ(ComboLines(DescendantById(open, IDC_OPENPANEL_RECENT)),
        (std::vector<std::wstring> { dir + L"sub\\", dir }));
    HWND favs = DescendantById(open, IDC_OPENPANEL_FAVS);
    CHECK(favs != nullptr);
    CHECK(ComboLines(favs).empty());
    const std::vector<std::pair<int, std::wstring>> controls { { IDC_OPENPANEL_FAVADD, L"+" },
        { IDC_OPENPANEL_CLEAN, L"&Clean Dir" }, { IDC_OPENPANEL_SEARCH, L"&Search Dir" },
        { IDC_OPENPANEL_READONLY, L"Open as &read only" },
        { IDC_OPENPANEL_BINARY, L"Open as &binary" } };
    for (const auto& [id, caption] : controls) {
        HWND control = DescendantById(open, id);
        CHECK(control != nullptr);
        CHECK_EQ(WindowText(control), caption);
        CHECK(IsWindowVisible(control) && IsWindowEnabled(control));
    }
    CHECK_EQ(DialogItemChecked(GetParent(favs), IDC_OPENPANEL_BINARY), 0);
    // Typing goes to the file name, not to the panel.
    GUITHREADINFO gui {};
    gui.cbSize = sizeof(gui);
    CHECK(GetGUIThreadInfo(GetWindowThreadProcessId(open, nullptr), &gui));
    CHECK(gui.hwndFocus != nullptr && !IsChild(GetParent(favs), gui.hwndFocus));
    // The buttons keep to the right edge and the lists widen when the dialog does.
    HWND clean = DescendantById(open, IDC_OPENPANEL_CLEAN);
    RECT cleanBefore {}, favsBefore {}, bounds {};
    GetWindowRect(clean, &cleanBefore);
    GetWindowRect(favs, &favsBefore);
    GetWindowRect(open, &bounds);
    SetWindowPos(open, nullptr, 0, 0, bounds.right - bounds.left + 100, bounds.bottom - bounds.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    RECT cleanAfter {}, favsAfter {};
    GetWindowRect(clean, &cleanAfter);
    GetWindowRect(favs, &favsAfter);
    CHECK_EQ(cleanAfter.left - cleanBefore.left, 100L);
    CHECK_EQ((favsAfter.right - favsAfter.left) - (favsBefore.right - favsBefore.left), 100L);
    // "+" takes the folder the dialog shows, which is where the last file came from.
    CHECK(NotifyPanel(open, IDC_OPENPANEL_FAVADD, BN_CLICKED));
    CHECK(WaitForComboLines(favs, { dir + L"sub\\" }));
    CHECK(ClickButton(open, L"Cancel"));
    CHECK(WaitGone(open));

    PostCommand(main, IDM_FILE_SAVEAS);
    HWND save = WaitForPanelDialog(L"Save As", p.pid);
    CHECK(save != nullptr);
    CHECK_EQ(ComboLines(DescendantById(save, IDC_OPENPANEL_FAVS)),
        (std::vector<std::wstring> { dir + L"sub\\" }));
    CHECK(!IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_READONLY)));
    CHECK(!IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_BINARY)));
    CHECK(!IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_SEARCH)));
    CHECK(IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_CLEAN)));
    CHECK(IsWindowEnabled(DescendantById(save, IDC_OPENPANEL_FAVADD)));
    CHECK(ClickButton(save, L"Cancel"));
    CHECK(WaitGone(save));
}

E2E_CASE(ChoosingARecentDirectoryMovesTheOpenDialogThere)
{
    std::wstring dir = MakeTempDir(L"orecent");
    TProcess p;
    HWND main = StartWithTwoDirectories(ctx, p, dir);
    CHECK(main != nullptr);
    CHECK(WriteTextFile(dir + L"c.txt", "c\r\n"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    HWND name = FileNameBox(open);
    CHECK(name != nullptr);
    SetWindowTextW(name, L"c.txt");
    // The dialog starts in sub\, where there is no c.txt; the second recent line is dir.
    HWND recent = DescendantById(open, IDC_OPENPANEL_RECENT);
    SendMessageW(recent, CB_SETCURSEL, 1, 0);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_RECENT, CBN_SELCHANGE));
    Sleep(500);
    CHECK_EQ(WindowText(name), std::wstring(L"c.txt")); // the typed name survives the jump
    CHECK(IsWindowVisible(open));
    CHECK(ClickButton(open, L"Open"));
    CHECK(WaitGone(open));
    CHECK(WaitForTitle(main, dir + L"c.txt"));
}

E2E_CASE(OpenAsBinaryOpensTheFileInTheViewer)
{
    auto [p, main, dir] = ctx.Launch(L"obinary", { { L"plain.txt", "just text\r\n" } }, L"");
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(SetPanelCheck(open, IDC_OPENPANEL_BINARY, true));
    Sleep(200);
    SetWindowTextW(FileNameBox(open), (dir + L"plain.txt").c_str());
    CHECK(ClickButton(open, L"Open"));
    CHECK(WaitGone(open));
    CHECK(WaitForTitle(main, dir + L"plain.txt"));
    // The hex viewer only overwrites.
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
}

E2E_CASE(CleanDirDeletesTheBackupsAfterConfirming)
{
    auto [p, main, dir] = ctx.Launch(L"oclean",
        { { L"a.txt", "a\r\n" }, { L"a.~txt", "old a\r\n" }, { L"b.~", "old b\r\n" },
            { L"keep~.txt", "k\r\n" } },
        L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_CLEAN, BN_CLICKED));
    HWND ask = WaitForMessageBox(L"Delete Backups", p.pid, 5000);
    CHECK(ask != nullptr);
    CHECK_EQ(MessageBoxText(ask), std::wstring(L"Are you sure?"));
    CHECK(ClickButton(ask, L"Cancel"));
    CHECK(WaitGone(ask));
    Sleep(300);
    CHECK(FileExists(dir + L"a.~txt") && FileExists(dir + L"b.~"));

    CHECK(NotifyPanel(open, IDC_OPENPANEL_CLEAN, BN_CLICKED));
    ask = WaitForMessageBox(L"Delete Backups", p.pid, 5000);
    CHECK(ask != nullptr);
    CHECK(ClickButton(ask, L"OK"));
    DWORD start = GetTickCount();
    while (
        (FileExists(dir + L"a.~txt") || FileExists(dir + L"b.~")) && GetTickCount() - start < 5000)
        Sleep(50);
    CHECK(!FileExists(dir + L"a.~txt"));
    CHECK(!FileExists(dir + L"b.~"));
    CHECK(FileExists(dir + L"a.txt") && FileExists(dir + L"keep~.txt"));
    CHECK(IsWindowVisible(open));
    CHECK(ClickButton(open, L"Cancel"));
    CHECK(WaitGone(open));
}

E2E_CASE(SearchDirOpensFindInFilesOnTheDialogsDirectory)
{
    auto [p, main, dir] = ctx.Launch(L"osearch", { { L"a.txt", "a\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_SEARCH, BN_CLICKED));
    CHECK(WaitGone(open));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK_EQ(DialogItemChecked(find, IDC_FIND_SPECIFYFILES), 1);
    HWND findCombo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    HWND maskCombo = FindWindowExW(find, findCombo, L"ComboBox", nullptr);
    CHECK_EQ(WindowText(maskCombo), dir + L"*.*");
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
}

E2E_CASE(ACancelledOpenKeepsItsFavouriteAndTheFilterIndex)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    auto [p, main, dir] = ctx.Launch(L"ofaves", { { L"a.txt", "a\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_OPENTEXT);
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(NotifyPanel(open, IDC_OPENPANEL_FAVADD, BN_CLICKED));
    CHECK(WaitForComboLines(DescendantById(open, IDC_OPENPANEL_FAVS), { dir }));
    CHECK(ClickButton(open, L"Cancel"));
    CHECK(WaitGone(open));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string content;
    CHECK(ReadTextFile(ini, &content));
    CHECK(content.find("fdOFilter=1") != std::string::npos);
    CHECK(content.find(Narrow(dir)) != std::string::npos);
}

E2E_CASE(SaveDialogJumpToAFavouriteThatIsGoneSavesNothing)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    std::wstring dir = MakeTempDir(L"ogone");
    CHECK(WriteTextFile(ini, "[FDFaves]\r\n#=1\r\n0=" + Narrow(dir) + "gone\r\n"));
    CHECK(WriteTextFile(dir + L"a.txt", "a\r\n"));
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    PostCommand(main, IDM_FILE_SAVEAS);
    HWND save = WaitForPanelDialog(L"Save As", p.pid);
    CHECK(save != nullptr);
    HWND favs = DescendantById(save, IDC_OPENPANEL_FAVS);
    CHECK_EQ(ComboLines(favs), (std::vector<std::wstring> { dir + L"gone" }));
    SendMessageW(favs, CB_SETCURSEL, 0, 0);
    CHECK(NotifyPanel(save, IDC_OPENPANEL_FAVS, CBN_SELCHANGE));
    Sleep(1000);
    // The dialog may complain about the path; nothing is saved under the directory's name.
    for (HWND box : FindTopWindows(L"#32770", L"Save As", p.pid))
        if (box != save)
            ClickButton(box, L"OK");
    Sleep(300);
    CHECK(!FileExists(dir + L"gone.txt"));
    CHECK(!FileExists(dir + L"gone"));
    CHECK(IsWindowVisible(save));
    CHECK(ClickButton(save, L"Cancel"));
    CHECK(WaitGone(save));
    DeleteFileW(ini.c_str());
}

} // namespace
} // namespace wexly::e2e
