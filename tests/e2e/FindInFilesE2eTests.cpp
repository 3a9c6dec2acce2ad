// End-to-end tests of find in files: the Find dialog's files range, its result tree, halt and
// browse.
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

// The Find dialog of a program started without documents: only the files range is offered.
HWND OpenFindInFiles(TContext& ctx, TProcess& p, HWND& main, const std::wstring& dir)
{
    p = ctx.Start(L"", dir);
    main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    if (!main || !SendKey(main, VK_F2))
        return nullptr;
    return WaitForMessageBox(L"Find", p.pid, 5000);
}

HWND DialogButton(HWND dialog, const std::wstring& caption)
{
    return FindChildWithText(dialog, L"Button", caption);
}

bool WaitForDialogStatic(HWND dialog, const std::wstring& text)
{
    DWORD start = GetTickCount();
    while (!FindChildWithText(dialog, L"Static", text) && GetTickCount() - start < 10000)
        Sleep(50);
    return FindChildWithText(dialog, L"Static", text) != nullptr;
}

std::vector<std::wstring> TreeTexts(HWND tree)
{
    std::vector<std::wstring> texts;
    for (const TTreeNode& node : TreeNodes(tree))
        texts.push_back(std::wstring(static_cast<size_t>(node.level) * 2, L' ') + node.text);
    return texts;
}

E2E_CASE(FindInFilesListsMatchesAndOpensTheChosenLine)
{
    std::wstring dir = MakeTempDir(L"fif");
    CHECK(CreateDirectoryW((dir + L"sub").c_str(), nullptr)
        || GetLastError() == ERROR_ALREADY_EXISTS);
    CHECK(WriteTextFile(dir + L"a.txt", "one\r\ntwo needle\r\nthree\r\nNeedle\tfour\r\n"));
    CHECK(WriteTextFile(dir + L"b.log", "needle, but not in the mask\r\n"));
    CHECK(WriteTextFile(dir + L"d.txt", "no match here\r\nneedles do not count\r\n"));
    CHECK(WriteTextFile(dir + L"sub\\c.txt", "x\r\ny\r\nz needle\r\n"));
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    // With nothing open the files range is forced and the other two are off.
    HWND files = DialogButton(find, L"&Specify files to search");
    CHECK(files != nullptr);
    CHECK_EQ(SendMessageW(files, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    CHECK(!IsWindowEnabled(DialogButton(find, L"&This file")));
    CHECK(!IsWindowEnabled(DialogButton(find, L"A&ll open files")));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    CHECK(tree != nullptr && IsWindowVisible(tree));
    HWND next = DialogButton(find, L"&Find Next");
    CHECK(!IsWindowEnabled(next));
    CHECK(SetComboText(find, 0, L"needle"));
    // The find text alone is not enough in this range: the mask is needed too.
    PostMessageW(find, WM_COMMAND, MAKEWPARAM(IDC_FIND_TEXT, CBN_EDITCHANGE), 0);
    Sleep(200);
    CHECK(!IsWindowEnabled(next));
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    SendMessageW(DialogButton(find, L"Search S&ubdirectories"), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(DialogButton(find, L"Match &whole word only"), BM_SETCHECK, BST_CHECKED, 0);
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitForDialogStatic(find, L"Finished Search"));
    // Files before subdirectories; each file with its matching lines, TABs as two spaces.
    const std::vector<std::wstring> want = { dir + L"a.txt", L"  2:two needle", L"  4:Needle  four",
        dir + L"sub\\c.txt", L"  3:z needle" };
    CHECK_EQ(TreeTexts(tree), want);
    HWND open = DialogButton(find, L"&Open");
    CHECK(!IsWindowEnabled(open));
    CHECK(IsWindowEnabled(DialogButton(find, L"Cancel")));
    CHECK(!IsWindowEnabled(DialogButton(find, L"&Halt Search")));
    // The fourth line of a.txt.
    const std::vector<TTreeNode> nodes = TreeNodes(tree);
    CHECK(nodes.size() == want.size());
    if (nodes.size() != want.size())
        return;
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(nodes[2].item));
    CHECK(TreeNodes(tree)[2].selected);
    CHECK(IsWindowEnabled(open));
    CHECK(ClickButton(find, L"Open"));
    CHECK(WaitGone(find));
    CHECK(WaitForStatusText(main, 3, L"0004", 5000));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Repeat Last Find after a directory search opens the dialog again: compact, in "This file"
    // as a document is open now; the files range brings back the tree with its results, in a
    // form of its own size.
    CHECK(SendKey(main, VK_F3));
    find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK(!IsWindowVisible(tree));
    CHECK((GetWindowLongW(find, GWL_STYLE) & WS_THICKFRAME) == 0);
    SendMessageW(DialogButton(find, L"&Specify files to search"), BM_CLICK, 0, 0);
    CHECK(IsWindowVisible(tree));
    CHECK((GetWindowLongW(find, GWL_STYLE) & WS_THICKFRAME) != 0);
    CHECK_EQ(TreeTexts(tree), want);
    RECT outer {};
    GetWindowRect(find, &outer);
    SetWindowPos(find, nullptr, 0, 0, outer.right - outer.left + 120, outer.bottom - outer.top + 90,
        SWP_NOMOVE | SWP_NOZORDER);
    RECT large {};
    GetClientRect(find, &large);
    // The browse button keeps 2 pixels from the right edge, the mask box 2 before it.
    RECT browse {};
    GetWindowRect(DialogButton(find, L"..."), &browse);
    MapWindowPoints(nullptr, find, reinterpret_cast<POINT*>(&browse), 2);
    CHECK_EQ(browse.right, large.right - 2);
    SendMessageW(DialogButton(find, L"&This file"), BM_CLICK, 0, 0);
    RECT compact {};
    RECT compactOuter {};
    GetClientRect(find, &compact);
    GetWindowRect(find, &compactOuter);
    CHECK(compact.bottom < large.bottom && !IsWindowVisible(tree));
    SendMessageW(DialogButton(find, L"&Specify files to search"), BM_CLICK, 0, 0);
    RECT again {};
    GetClientRect(find, &again);
    CHECK_EQ(again.right, large.right);
    CHECK_EQ(again.bottom, large.bottom);
    // No smaller than the compact form's width and its height plus room for the panel.
    SetWindowPos(find, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT least {};
    GetWindowRect(find, &outer);
    GetClientRect(find, &least);
    CHECK_EQ(outer.right - outer.left, compactOuter.right - compactOuter.left);
    CHECK_EQ(least.bottom, compact.bottom + 150);
    // Esc closes it without opening anything.
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0004"));
    // The searched directory became the file dialogs' last and most recent directory.
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string ini;
    CHECK(ReadTextFile(ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini", &ini));
    CHECK(ini.find("fdLastDir=" + Narrow(dir) + "\r\n") != std::string::npos);
    const size_t recent = ini.find("[FDHistory]");
    CHECK(recent != std::string::npos && ini.find(Narrow(dir), recent) != std::string::npos);
}

E2E_CASE(FindInFilesEscHaltsARunningSearchAndThenCloses)
{
    std::wstring dir = MakeTempDir(L"fifhalt");
    for (int i = 0; i < 40; ++i)
        CHECK(WriteTextFile(dir + L"f" + std::to_wstring(i) + L".txt", "a match\r\n"));
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, L"match"));
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    // Queued behind Find Next, Esc arrives while the first file is searched.
    CHECK(ClickButton(find, L"Find Next"));
    PostMessageW(find, WM_KEYDOWN, VK_ESCAPE, 0);
    CHECK(WaitForDialogStatic(find, L"Finished Search"));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    const std::vector<TTreeNode> nodes = TreeNodes(tree);
    CHECK_EQ(nodes.size(), static_cast<size_t>(2)); // one file with its line
    CHECK(IsWindowVisible(find));
    CHECK(IsWindowEnabled(DialogButton(find, L"Cancel")));
    CHECK(!IsWindowEnabled(DialogButton(find, L"&Halt Search")));
    // Without a search running Esc is Cancel.
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
}

E2E_CASE(FindInFilesReportsAMissingDirectory)
{
    std::wstring dir = MakeTempDir(L"fifmissing");
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, L"anything"));
    CHECK(SetComboText(find, 1, dir + L"not here\\*.*"));
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitForDialogStatic(find, L"Directory does not exist"));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    CHECK_EQ(TreeTexts(tree), std::vector<std::wstring> { L"No files found" });
    // Choosing the "No files found" node leaves Open off.
    const std::vector<TTreeNode> nodes = TreeNodes(tree);
    if (!nodes.empty())
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(nodes[0].item));
    Sleep(200);
    CHECK(!IsWindowEnabled(DialogButton(find, L"&Open")));
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
    // Still running, with nothing open.
    CHECK(IsWindow(main));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0000"));
}

E2E_CASE(FindInFilesBrowseReplacesThePattern)
{
    std::wstring dir = MakeTempDir(L"fifbrowse");
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    HWND findCombo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    HWND maskCombo = FindWindowExW(find, findCombo, L"ComboBox", nullptr);
    HWND mask = FindWindowExW(maskCombo, nullptr, L"Edit", nullptr);
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    // Cancelled, the box keeps its mask.
    CHECK(ClickButton(find, L"..."));
    HWND browser = WaitForMessageBox(L"Select a Folder", p.pid, 5000);
    CHECK(browser != nullptr);
    CHECK(ClickButton(browser, L"Cancel"));
    CHECK(WaitGone(browser));
    CHECK_EQ(WindowText(mask), dir + L"*.txt");
    // Chosen, the folder comes with "*.*" in place of the pattern.
    CHECK(ClickButton(find, L"..."));
    browser = WaitForMessageBox(L"Select a Folder", p.pid, 5000);
    CHECK(browser != nullptr);
    CHECK(ClickButton(browser, L"OK"));
    CHECK(WaitGone(browser));
    const std::wstring chosen = WindowText(mask);
    CHECK(chosen.size() > 5 && chosen.substr(chosen.size() - 4) == L"\\*.*");
    CHECK(chosen.find(L"*.txt") == std::wstring::npos);
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
}

// The very first use of the browser in a run starts on the mask's folder.
E2E_CASE(FindInFilesFirstBrowseStartsInTheMaskFolder)
{
    std::wstring dir = MakeTempDir(L"fiffirst");
    const std::wstring sub = dir + L"somedir";
    CHECK(CreateDirectoryW(sub.c_str(), nullptr) != 0);
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    HWND findCombo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    HWND maskCombo = FindWindowExW(find, findCombo, L"ComboBox", nullptr);
    HWND mask = FindWindowExW(maskCombo, nullptr, L"Edit", nullptr);
    CHECK(SetComboText(find, 0, L"word"));
    CHECK(SetComboText(find, 1, sub + L"\\*.txt"));
    CHECK(ClickButton(find, L"..."));
    HWND browser = WaitForMessageBox(L"Select a Folder", p.pid, 5000);
    CHECK(browser != nullptr);
    CHECK(GetWindow(browser, GW_OWNER) == find);
    CHECK(ClickButton(browser, L"OK"));
    CHECK(WaitGone(browser));
    CHECK_EQ(WindowText(mask), sub + L"\\*.*");
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
}

// A click on a node's text, with the modifier keys given as MK_ flags.
bool ClickTreeNode(HWND tree, HTREEITEM item, WPARAM keys)
{
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT r {};
    if (!TreeItemRect(tree, item, &r))
        return false;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    SendMessageW(tree, WM_LBUTTONUP, keys, at);
    return true;
}

std::vector<bool> TreeSelection(HWND tree)
{
    std::vector<bool> selected;
    for (const TTreeNode& node : TreeNodes(tree))
        selected.push_back(node.selected);
    return selected;
}

E2E_CASE(FindInFilesTreeTakesCtrlAndShiftClicks)
{
    std::wstring dir = MakeTempDir(L"fifselect");
    CHECK(WriteTextFile(dir + L"a.txt", "x\r\nkey one\r\ny\r\nkey two\r\n"));
    CHECK(WriteTextFile(dir + L"b.txt", "key three\r\n"));
    TProcess p;
    HWND main = nullptr;
    HWND find = OpenFindInFiles(ctx, p, main, dir);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, L"key"));
    CHECK(SetComboText(find, 1, dir + L"*.txt"));
    HWND expand = DialogButton(find, L"Expand All");
    if (SendMessageW(expand, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageW(expand, BM_CLICK, 0, 0);
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitForDialogStatic(find, L"Finished Search"));
    HWND tree = FindWindowExW(find, nullptr, L"SysTreeView32", nullptr);
    std::vector<TTreeNode> nodes = TreeNodes(tree);
    CHECK_EQ(nodes.size(), static_cast<size_t>(5));
    if (nodes.size() != 5)
        return;
    // The file order is the directory's: find a.txt's two lines wherever it is.
    const size_t a = nodes[0].text == dir + L"a.txt" ? 0 : 2;
    CHECK(nodes[a + 1].text == L"2:key one" && nodes[a + 2].text == L"4:key two");
    // Shift takes the shown range from the anchor, Ctrl toggles one node.
    CHECK(ClickTreeNode(tree, nodes[0].item, 0));
    CHECK(ClickTreeNode(tree, nodes[4].item, MK_SHIFT));
    CHECK_EQ(TreeSelection(tree), (std::vector<bool> { true, true, true, true, true }));
    CHECK(ClickTreeNode(tree, nodes[3].item, MK_CONTROL));
    CHECK_EQ(TreeSelection(tree), (std::vector<bool> { true, true, true, false, true }));
    // Shift with the arrow keys extends from the anchor too.
    CHECK(ClickTreeNode(tree, nodes[0].item, 0));
    CHECK(SendKey(find, VK_DOWN, { VK_SHIFT }));
    CHECK(SendKey(find, VK_DOWN, { VK_SHIFT }));
    Sleep(200);
    CHECK_EQ(TreeSelection(tree), (std::vector<bool> { true, true, true, false, false }));
    // Line 4 and then line 2 of a.txt: the file opens once, at the first chosen line.
    CHECK(ClickTreeNode(tree, nodes[a + 2].item, 0));
    CHECK(ClickTreeNode(tree, nodes[a + 1].item, MK_CONTROL));
    std::vector<bool> want(5, false);
    want[a + 1] = want[a + 2] = true;
    CHECK_EQ(TreeSelection(tree), want);
    CHECK(IsWindowEnabled(DialogButton(find, L"&Open")));
    CHECK(ClickButton(find, L"Open"));
    CHECK(WaitGone(find));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 3, L"0004", 5000));
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 3000));
}

} // namespace
} // namespace wexly::e2e
