// End-to-end tests of find, replace, go to line and next different word in the current document.
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

E2E_CASE(FindNextSelectsTheMatchAndF3RepeatsIt)
{
    auto [p, main, dir] = ctx.Launch(
        L"find", { { L"a.txt", "one\r\ntwo hello\r\nthree\r\nfour hello\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    CHECK(SendKey(main, VK_F2));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    // Nothing typed yet: Find Next is off.
    HWND next = FindChildWithText(find, L"Button", L"&Find Next");
    CHECK(next != nullptr);
    CHECK(!IsWindowEnabled(next));
    CHECK(SetComboText(find, 0, L"hello"));
    CHECK(ClickButton(find, L"Find Next"));
    CHECK(WaitGone(find));
    // The caret sits at the end of the selected match.
    CHECK(WaitForStatusText(main, 3, L"0002", 3000));
    CHECK(WaitForStatusText(main, 4, L"0010", 3000));
    CHECK(SendKey(main, VK_F3));
    CHECK(WaitForStatusText(main, 3, L"0004", 3000));
    CHECK(WaitForStatusText(main, 4, L"0011", 3000));
    // No further match: the message, and the caret stays.
    CHECK(SendKey(main, VK_F3));
    HWND box = WaitForMessageBox(L"Search", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"No more matches found"));
    CHECK(ClickButton(box, L"OK"));
    CHECK(WaitGone(box));
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0004"));
    // The dialog is reused and offers the last text again.
    CHECK(SendKey(main, VK_F2));
    find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    HWND combo = FindWindowExW(find, nullptr, L"ComboBox", nullptr);
    CHECK_EQ(WindowText(combo), std::wstring(L"hello"));
    CHECK(ClickButton(find, L"Cancel"));
    CHECK(WaitGone(find));
    // The keyboard is back in the document.
    CHECK(SendKey(main, VK_END));
    CHECK(TypeText(main, "z"));
    CHECK(WaitForStatusText(main, 4, L"0012", 3000));
}

E2E_CASE(ReplaceAllChangesTheTextThatIsThenSaved)
{
    auto [p, main, dir]
        = ctx.Launch(L"replace", { { L"a.txt", "cat dog\r\nCat cat\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    PostCommand(main, IDM_SEARCH_REPLACE);
    HWND dialog = WaitForMessageBox(L"Replace", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(SetComboText(dialog, 0, L"cat"));
    // A backslash-t in the replacement stands for a TAB.
    CHECK(SetComboText(dialog, 1, L"ox\\t"));
    CHECK(ClickButton(dialog, L"Replace All"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_SAVE);
    const std::string want = "ox\t dog\r\nox\t ox\t\r\n";
    if (!WaitForFileContent(dir + L"a.txt", want, 5000)) {
        std::string got;
        ReadTextFile(dir + L"a.txt", &got);
        CHECK_EQ(got, want);
    }
}

// The text of the n-th combo box of a dialog.
std::wstring ComboText(HWND dialog, int index)
{
    HWND combo = nullptr;
    for (int i = 0; i <= index; ++i)
        combo = FindWindowExW(dialog, combo, L"ComboBox", nullptr);
    return combo ? WindowText(combo) : L"";
}

// The combo box's text once it reads `expected`, or what it reads after a while.
std::wstring SettledComboText(HWND dialog, int index, const std::wstring& expected)
{
    DWORD start = GetTickCount();
    while (ComboText(dialog, index) != expected && GetTickCount() - start < 2000)
        Sleep(50);
    return ComboText(dialog, index);
}

E2E_CASE(SearchBoxesEnteredFromTheKeyboardSelectTheirText)
{
    auto [p, main, dir] = ctx.Launch(L"replacesel", { { L"a.txt", "cat\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    PostCommand(main, IDM_SEARCH_REPLACE);
    HWND dialog = WaitForMessageBox(L"Replace", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(TypeText(dialog, "cat"));
    CHECK(SendKey(dialog, VK_TAB));
    CHECK(TypeText(dialog, "dog"));
    CHECK(ClickButton(dialog, L"Replace All"));
    CHECK(WaitGone(dialog));
    // Shown again with the last texts: whichever box the keyboard enters is typed over.
    PostCommand(main, IDM_SEARCH_REPLACE);
    dialog = WaitForMessageBox(L"Replace", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(SendKey(dialog, VK_TAB));
    CHECK(TypeText(dialog, "x"));
    CHECK_EQ(SettledComboText(dialog, 1, L"x"), std::wstring(L"x"));
    CHECK(SendKey(dialog, VK_TAB, { VK_SHIFT }));
    CHECK(TypeText(dialog, "y"));
    CHECK_EQ(SettledComboText(dialog, 0, L"y"), std::wstring(L"y"));
    // A label's letter enters its box the same way.
    CHECK(SendKey(dialog, 'P', { VK_MENU }));
    CHECK(TypeText(dialog, "z"));
    CHECK_EQ(SettledComboText(dialog, 1, L"z"), std::wstring(L"z"));
    CHECK(SendKey(dialog, VK_ESCAPE));
    CHECK(WaitGone(dialog));
    // The Find dialog's box too, when the keyboard comes back to it.
    CHECK(SendKey(main, VK_F2));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK(SendKey(find, VK_TAB));
    CHECK(SendKey(find, VK_TAB, { VK_SHIFT }));
    CHECK(TypeText(find, "w"));
    CHECK_EQ(SettledComboText(find, 0, L"w"), std::wstring(L"w"));
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
}

E2E_CASE(SearchDialogsThatStayOpenShowEachSearchAtOnce)
{
    auto [p, main, dir] = ctx.Launch(L"stayopen", { { L"a.txt", "cat\r\ncat\r\n" } }, L"a.txt",
        "[Wexly]\r\ngenFindDialog=0\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    CHECK(SendKey(main, VK_F2));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    // Enter searches and the box keeps the keyboard, its text selected as the history's top.
    CHECK(TypeText(find, "cat"));
    CHECK(SendKey(find, VK_RETURN));
    Sleep(300);
    CHECK(IsWindowVisible(find));
    CHECK(TypeText(find, "dog"));
    CHECK_EQ(SettledComboText(find, 0, L"dog"), std::wstring(L"dog"));
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
    // A replacement made with the dialog open marks the document modified at once.
    PostCommand(main, IDM_SEARCH_REPLACE);
    HWND dialog = WaitForMessageBox(L"Replace", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK(SetComboText(dialog, 0, L"cat"));
    CHECK(SetComboText(dialog, 1, L"cow"));
    CHECK(ClickButton(dialog, L"Replace All"));
    HWND state = nullptr;
    for (DWORD start = GetTickCount(); !state && GetTickCount() - start < 3000; Sleep(50))
        state = FindChildWithText(main, L"Static", L"M");
    CHECK(state != nullptr);
    CHECK(IsWindowVisible(dialog));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
}

// With the dialog staying open, the search's own message belongs to the dialog: closing it
// leaves the dialog in front and the document behind it.
E2E_CASE(NoMoreMatchesOverAnOpenFindDialogKeepsTheDialogInFront)
{
    auto [p, main, dir] = ctx.Launch(
        L"nomore", { { L"a.txt", "cat\r\n" } }, L"a.txt", "[Wexly]\r\ngenFindDialog=0\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    CHECK(SendKey(main, VK_F2));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK(TypeText(find, "cat"));
    CHECK(SendKey(find, VK_RETURN));
    Sleep(300);
    CHECK(SendKey(find, VK_RETURN));
    HWND box = WaitForMessageBox(L"Search", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK(GetWindow(box, GW_OWNER) == find);
    CHECK(ClickButton(box, L"OK"));
    CHECK(WaitGone(box));
    Sleep(300);
    CHECK(GetForegroundWindow() == find);
    CHECK(!IsWindowEnabled(main));
    CHECK(SendKey(find, VK_ESCAPE));
    CHECK(WaitGone(find));
}

E2E_CASE(GotoLineMovesTheCaret)
{
    auto [p, main, dir]
        = ctx.Launch(L"goto", { { L"a.txt", "a\r\nb\r\nc\r\nd\r\ne\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    CHECK(SendKey(main, VK_F4));
    HWND dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    CHECK(edit != nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4"));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    CHECK(WaitForStatusText(main, 3, L"0004", 3000));
    // Beyond the end: the last line.
    CHECK(SendKey(main, VK_F4));
    dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK_EQ(WindowText(edit), std::wstring(L"4"));
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"99"));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    CHECK(WaitForStatusText(main, 3, L"0006", 3000));
    // Cancel moves nothing.
    CHECK(SendKey(main, VK_F4));
    dialog = WaitForMessageBox(L"Goto Line", p.pid, 5000);
    CHECK(dialog != nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2"));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    Sleep(300);
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0006"));
}

E2E_CASE(NextDifferentWordStopsAtTheFirstDifferingPair)
{
    auto [p, main, dir] = ctx.Launch(
        L"nextdiff", { { L"a.txt", "alpha beta gamma\r\nalpha beta delta\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Both panes show the text; the second one starts a line further down.
    CHECK(SendKey(main, VK_F6, { VK_MENU }));
    Sleep(500);
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 3, L"0002", 3000));
    CHECK(SendKey(main, VK_F5));
    // "beta" matches "beta"; "gamma" and "delta" differ, and the focused pane selects its word.
    DWORD start = GetTickCount();
    while (StatusBarText(main, 4) == L"0001" && GetTickCount() - start < 3000)
        Sleep(50);
    CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0002"));
    const std::wstring column = StatusBarText(main, 4);
    CHECK(column == L"0012" || column == L"0017");
}

} // namespace
} // namespace wexly::e2e
