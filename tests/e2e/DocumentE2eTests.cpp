// End-to-end tests of documents: opening from the command line, editing, saving, closing, reloading
// and panes.
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

E2E_CASE(TwoFilesFromTheCommandLineAreEditedAndSaved)
{
    auto [p, main, dir] = ctx.Launch(
        L"two", { { L"a.txt", "alpha\r\n" }, { L"b c.txt", "beta\r\n" } }, L"a.txt \"b c.txt\"");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"2 File(s) opened... 2 Total", 5000));
    // The last one opened is current and has the focus.
    CHECK(WaitForTitle(main, dir + L"b c.txt"));
    CHECK(TypeText(main, "zq"));
    CHECK(WaitForStatusText(main, 4, L"0003", 3000));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"b c.txt", "zqbeta\r\n", 3000));
    // Ctrl+F1 goes to the first document of the Window menu.
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "y"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "yalpha\r\n", 3000));
    std::string other;
    CHECK(ReadTextFile(dir + L"b c.txt", &other));
    CHECK_EQ(other, std::string("zqbeta\r\n"));
}

E2E_CASE(WindowListPicksADocument)
{
    auto [p, main, dir] = ctx.Launch(L"winlist",
        { { L"a.txt", "text\r\n" }, { L"b.txt", "text\r\n" }, { L"c.txt", "text\r\n" } },
        L"a.txt b.txt c.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"c.txt"));
    CHECK(SendKey(main, VK_F12));
    HWND list = WaitForMessageBox(L"Window List - 3 file(s)", p.pid, 5000);
    CHECK(list != nullptr);
    // Escape closes it without a change.
    CHECK(SendKey(list, VK_ESCAPE));
    for (int i = 0; i < 60 && IsWindow(list); ++i)
        Sleep(50);
    CHECK(!IsWindow(list));
    CHECK(WaitForTitle(main, dir + L"c.txt"));
    // Enter takes the row chosen with the keys.
    CHECK(SendKey(main, VK_F12));
    list = WaitForMessageBox(L"Window List - 3 file(s)", p.pid, 5000);
    CHECK(list != nullptr);
    CHECK(SendKey(list, VK_HOME));
    CHECK(SendKey(list, VK_DOWN));
    CHECK(SendKey(list, VK_RETURN));
    CHECK(WaitForTitle(main, dir + L"b.txt"));
}

E2E_CASE(ClosingAChangedFileAsksAndEachAnswerDoesItsPart)
{
    auto [p, main, dir] = ctx.Launch(
        L"ask", { { L"a.txt", "alpha\r\n" }, { L"b.txt", "beta\r\n" } }, L"a.txt b.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(TypeText(main, "q"));
    Sleep(200);

    // Cancel keeps the document open and unsaved.
    CHECK(SendKey(main, VK_F4, { VK_CONTROL }));
    HWND box = WaitForMessageBox(L"Attention!", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"Save changes to file?"));
    CHECK(ClickButton(box, L"Cancel"));
    Sleep(500);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    std::string content;
    CHECK(ReadTextFile(dir + L"b.txt", &content));
    CHECK_EQ(content, std::string("beta\r\n"));

    // Yes saves, then closes: the neighbour becomes current.
    CHECK(SendKey(main, VK_F4, { VK_CONTROL }));
    box = WaitForMessageBox(L"Attention!", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitForFileContent(dir + L"b.txt", "qbeta\r\n", 3000));
    CHECK(WaitForTitle(main, dir + L"a.txt"));

    // Exit with a changed file: No leaves the file as it was and the program ends.
    CHECK(TypeText(main, "w"));
    Sleep(200);
    PostCommand(main, IDM_FILE_EXIT);
    box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box),
        std::wstring(L"The file\n'a.txt'\nhas not been saved yet.  Save it now?"));
    CHECK(ClickButton(box, L"No"));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(ReadTextFile(dir + L"a.txt", &content));
    CHECK_EQ(content, std::string("alpha\r\n"));
}

E2E_CASE(NewDocumentSavedAsGetsTheTxtExtension)
{
    auto [p, main, dir] = ctx.Launch(L"saveas");
    CHECK(main != nullptr);
    PostCommand(main, IDM_FILE_NEW);
    Sleep(500);
    CHECK(TypeText(main, "hi"));
    Sleep(200);
    PostCommand(main, IDM_FILE_SAVEAS);
    HWND dialog = WaitForMessageBox(L"Save As", p.pid, 5000);
    CHECK(dialog != nullptr);
    // The file name box of the explorer-style dialog.
    HWND name = GetDlgItem(dialog, 0x47c);
    if (!name)
        name = GetDlgItem(dialog, 0x480);
    CHECK(name != nullptr);
    SetWindowTextW(name, (dir + L"notes").c_str());
    CHECK(ClickButton(dialog, L"Save"));
    std::string content;
    DWORD start = GetTickCount();
    while (!ReadTextFile(dir + L"notes.txt", &content) && GetTickCount() - start < 5000)
        Sleep(50);
    CHECK(content.rfind("hi", 0) == 0);
    CHECK(WaitForTitle(main, dir + L"notes.txt"));
}

E2E_CASE(AFileChangedOnDiskIsReloadedWhenTheProgramIsActivated)
{
    auto [p, main, dir] = ctx.Launch(L"reload", { { L"a.txt", "old\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Another program takes the foreground while the file changes.
    HWND other = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
        200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    CHECK(other != nullptr);
    SetForegroundWindow(other);
    Sleep(500);
    CHECK(WriteTextFile(dir + L"a.txt", "new text\r\n"));
    SetForegroundWindow(main);
    HWND box = WaitForMessageBox(L"Attention!", p.pid, 5000);
    DestroyWindow(other);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), std::wstring(L"a.txt has changed on the disk\rReload?"));
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitForStatusText(main, 0, L"Reloaded: a.txt ", 3000));
    // What is saved now is the reloaded text.
    CHECK(TypeText(main, "k"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "knew text\r\n", 3000));
}

E2E_CASE(SplitWindowTypesIntoBothPanes)
{
    auto [p, main, dir] = ctx.Launch(L"split", { { L"a.txt", "old\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Split: the second pane shows the same document and has the focus.
    CHECK(SendKey(main, VK_F6, { VK_MENU }));
    Sleep(500);
    CHECK(TypeText(main, "b"));
    CHECK(SendKey(main, VK_F6)); // Switch Panes
    Sleep(300);
    CHECK(SendKey(main, VK_END));
    CHECK(TypeText(main, "t"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "boldt\r\n", 3000));
}

// The panes' close buttons ("X", at the right end of each title bar), in main's client
// coordinates: the first pane's first (it lies above or left of the second).
std::vector<RECT> PaneCloseButtons(HWND main)
{
    std::vector<RECT> found;
    for (HWND child = FindWindowExW(main, nullptr, L"Button", L"X"); child;
         child = FindWindowExW(main, child, L"Button", L"X")) {
        if (!IsWindowVisible(child))
            continue;
        RECT r {};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
        found.push_back(r);
    }
    std::sort(found.begin(), found.end(), [](const RECT& a, const RECT& b) {
        return a.top != b.top ? a.top < b.top : a.right < b.right;
    });
    return found;
}

bool WaitForPaneCount(HWND main, size_t panes)
{
    DWORD start = GetTickCount();
    while (PaneCloseButtons(main).size() != panes && GetTickCount() - start < 3000)
        Sleep(50);
    return PaneCloseButtons(main).size() == panes;
}

E2E_CASE(EverySplitGivesTheSecondPaneHalfTheArea)
{
    auto [p, main, dir] = ctx.Launch(L"splitsizes", { { L"a.txt", "text\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    HWND status = FindWindowExW(main, nullptr, STATUSCLASSNAMEW, nullptr);
    CHECK(status != nullptr);
    RECT client {};
    GetClientRect(main, &client);
    RECT bar {};
    GetWindowRect(status, &bar);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&bar), 2);
    // Each split after an unsplit, so that every order of the two kinds comes once:
    // horizontal first, then horizontal to vertical, vertical to vertical, vertical to
    // horizontal and horizontal to horizontal.
    for (bool vertical : { false, true, true, false, false }) {
        CHECK(SendKey(main, vertical ? VK_F7 : VK_F6, { VK_MENU }));
        CHECK(WaitForPaneCount(main, 2));
        std::vector<RECT> close = PaneCloseButtons(main);
        if (vertical) {
            // The second pane is half the width; the splitter (2 pixels) lies left of it.
            const int width = static_cast<int>(client.right);
            CHECK_EQ(static_cast<int>(close[1].right), width);
            CHECK_EQ(static_cast<int>(close[0].right), width - width / 2 - 2);
        } else {
            // Title bars included: the second pane is half the height the panes share.
            const int first = static_cast<int>(close[1].top - close[0].top);
            const int second = static_cast<int>(bar.top - close[1].top);
            CHECK_EQ(second, (first + second) / 2);
        }
        CHECK(SendKey(main, VK_F6, { VK_MENU })); // unsplit
        CHECK(WaitForPaneCount(main, 1));
    }
}

E2E_CASE(ExitWithUnsavedChangesAsksForEachFile)
{
    auto [p, main, dir] = ctx.Launch(
        L"exitask", { { L"a.txt", "alpha\r\n" }, { L"b.txt", "beta\r\n" } }, L"a.txt b.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(TypeText(main, "b"));
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "a"));
    Sleep(200);

    // Cancel on the first question keeps everything open.
    PostCommand(main, IDM_FILE_EXIT);
    HWND box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box),
        std::wstring(L"The file\n'a.txt'\nhas not been saved yet.  Save it now?"));
    CHECK(ClickButton(box, L"Cancel"));
    Sleep(500);
    CHECK(WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT);

    // Yes for the first, No for the second: one saved, one left alone, and the program ends.
    PostCommand(main, IDM_FILE_EXIT);
    box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitForFileContent(dir + L"a.txt", "aalpha\r\n", 3000));
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 3000)
        Sleep(50);
    box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box),
        std::wstring(L"The file\n'b.txt'\nhas not been saved yet.  Save it now?"));
    CHECK(ClickButton(box, L"No"));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    std::string content;
    CHECK(ReadTextFile(dir + L"b.txt", &content));
    CHECK_EQ(content, std::string("beta\r\n"));
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return "<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

E2E_CASE(EditingKeysReachTheFocusedDocument)
{
    auto [p, main, dir] = ctx.Launch(L"keys", { { L"a.txt", "abc\r\ndef\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(SendKey(main, VK_END, { VK_SHIFT }));
    CHECK(SendKey(main, 'C', { VK_CONTROL }));
    Sleep(300);
    CHECK_EQ(ClipboardText(), std::string("abc"));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(SendKey(main, VK_END));
    CHECK(SendKey(main, 'V', { VK_CONTROL }));
    // Ctrl+K centres the line in the right margin's width; Ctrl+U takes it back.
    CHECK(SendKey(main, 'K', { VK_CONTROL }));
    CHECK(SendKey(main, 'U', { VK_CONTROL }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "abc\r\ndefabc\r\n", 3000));
}

E2E_CASE(EditPopupOfTheViewSavesAndCopies)
{
    auto [p, main, dir] = ctx.Launch(L"popup", { { L"a.txt", "abc\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 5000));
    CHECK(TypeText(main, "x"));
    CHECK(WaitForStatusText(main, 4, L"0002", 3000));
    HWND view = nullptr;
    for (HWND w = FindWindowExW(main, nullptr, L"TCellGridWindow", nullptr); w && !view;
         w = FindWindowExW(main, w, L"TCellGridWindow", nullptr))
        if (IsWindowVisible(w))
            view = w;
    CHECK(view != nullptr);
    RECT r {};
    GetWindowRect(view, &r);
    auto openPopup = [&] {
        PostMessageW(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view),
            MAKELPARAM(r.left + 30, r.top + 30));
        HWND menu = nullptr;
        for (int i = 0; i < 100 && !menu; ++i) {
            Sleep(50);
            menu = FindWindowW(L"#32768", nullptr);
            if (menu && !IsWindowVisible(menu))
                menu = nullptr;
        }
        Sleep(300); // the menu's loop takes the keyboard once it runs
        return menu != nullptr;
    };
    CHECK(openPopup());
    KeyEvent('S', false);
    KeyEvent('S', true);
    CHECK(WaitForFileContent(dir + L"a.txt", "xabc\r\n", 3000));
    // Select All from the keyboard, the popup's Cut, then paste twice.
    CHECK(SendKey(main, 'A', { VK_CONTROL }));
    CHECK(WaitForStatusText(main, 3, L"0002", 3000)); // the caret at the end of the selection
    CHECK(openPopup());
    KeyEvent('T', false);
    KeyEvent('T', true);
    Sleep(300);
    CHECK(SendKey(main, 'V', { VK_CONTROL }));
    CHECK(SendKey(main, 'V', { VK_CONTROL }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    // The whole text was cut without its final line break.
    CHECK(WaitForFileContent(dir + L"a.txt", "xabcxabc\r\n", 3000));
}

BOOL CALLBACK CountVisibleView(HWND hwnd, LPARAM lp)
{
    if (ClassNameOf(hwnd) == L"TCellGridWindow" && IsWindowVisible(hwnd))
        ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

int VisibleViews(HWND main)
{
    int visible = 0;
    EnumChildWindows(main, CountVisibleView, reinterpret_cast<LPARAM>(&visible));
    return visible;
}

// The count of visible views once it is the one expected, or after three seconds.
int VisibleViewsAfterAWhile(HWND main, int expected)
{
    int visible = VisibleViews(main);
    for (int i = 0; i < 60 && visible != expected; ++i) {
        Sleep(50);
        visible = VisibleViews(main);
    }
    return visible;
}

// The documents of a start are opened before the window is first shown: the views of all but
// the current one must still be hidden then, not laid over the bars.
E2E_CASE(OnlyTheCurrentViewShowsAfterAStartWithSeveralFiles)
{
    std::vector<TFile> files;
    for (int i = 0; i < 30; ++i)
        files.push_back({ L"f" + std::to_wstring(100 + i) + L".txt", "text\r\n" });
    auto [p, main, dir] = ctx.Launch(L"several", files, L"*.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"f129.txt"));
    CHECK_EQ(VisibleViews(main), 1);
}

// The documents of the pane take turns in one window: each keeps its own caret, and keys,
// saves and closing reach the one shown.
E2E_CASE(SwitchingDocumentsKeepsEachOnesPlaceAndText)
{
    std::string longText;
    for (int i = 0; i < 2000; ++i)
        longText += "a line of a\r\n";
    auto [p, main, dir]
        = ctx.Launch(L"switch", { { L"a.txt", longText }, { L"b.txt", "b\r\n" } }, L"a.txt b.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(SendKey(main, VK_END, { VK_CONTROL }));
    CHECK(WaitForStatusText(main, 3, L"2001", 3000));
    CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(WaitForStatusText(main, 3, L"0001", 3000));
    CHECK(TypeText(main, "X"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"b.txt", "Xb\r\n", 3000));
    CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(WaitForStatusText(main, 3, L"2001", 3000));
    CHECK(TypeText(main, "Y"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", longText + "Y\r\n", 3000));
    // Closing the document shown brings the other back, and typing reaches it.
    PostCommand(main, IDM_FILE_CLOSE);
    CHECK(WaitForTitle(main, dir + L"b.txt"));
    CHECK(WaitForStatusText(main, 4, L"0002", 3000));
    CHECK(TypeText(main, "Z"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"b.txt", "XZb\r\n", 3000));
    std::string a;
    CHECK(ReadTextFile(dir + L"a.txt", &a));
    CHECK(a == longText + "Y\r\n");
    // With the last one closed no view is left on the screen.
    PostCommand(main, IDM_FILE_CLOSE);
    CHECK_EQ(VisibleViewsAfterAWhile(main, 0), 0);
}

// Binary documents take turns in one hex view the same way: each keeps its caret, and the
// bytes typed land in the file shown.
E2E_CASE(BinaryDocumentsTakeTurnsInOneHexView)
{
    auto [p, main, dir]
        = ctx.Launch(L"hexswitch", { { L"x.bin", "0123456789" }, { L"y.bin", "abc" } },
            L"/B x.bin y.bin");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"y.bin"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000));
    auto toFirstDigit = [&] {
        for (int i = 0; i < 10; ++i)
            CHECK(SendKey(main, VK_RIGHT));
    };
    toFirstDigit();
    CHECK(TypeText(main, "7a"));
    CHECK(WaitForFileContent(dir + L"y.bin", "zbc", 3000));
    CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"x.bin"));
    toFirstDigit();
    CHECK(TypeText(main, "41"));
    CHECK(WaitForFileContent(dir + L"x.bin", "A123456789", 3000));
    // Back in the first, the caret is still on its second byte.
    CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"y.bin"));
    CHECK(TypeText(main, "79"));
    CHECK(WaitForFileContent(dir + L"y.bin", "zyc", 3000));
    PostCommand(main, IDM_FILE_CLOSE);
    CHECK(WaitForTitle(main, dir + L"x.bin"));
    CHECK(TypeText(main, "42"));
    CHECK(WaitForFileContent(dir + L"x.bin", "AB23456789", 3000));
    PostCommand(main, IDM_FILE_CLOSE);
    CHECK_EQ(VisibleViewsAfterAWhile(main, 0), 0);
}

// Split, the second pane goes its own way: it shows the text while the top pane's shared hex
// view shows the binary document, and keys in each pane reach the file that pane shows.
E2E_CASE(SplitPanesShowDifferentDocumentsAndKeysReachEach)
{
    auto [p, main, dir] = ctx.Launch(
        L"splitmix", { { L"a.txt", "alpha\r\n" }, { L"b.bin", "0123456789" } }, L"a.txt /B b.bin");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"b.bin"));
    CHECK(SendKey(main, VK_F6, { VK_MENU })); // split: the second pane has the focus
    Sleep(500);
    CHECK(SendKey(main, VK_TAB, { VK_CONTROL })); // the second pane moves on to a.txt
    Sleep(300);
    CHECK(TypeText(main, "z"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "zalpha\r\n", 3000));
    CHECK(SendKey(main, VK_F6)); // to the top pane, still on b.bin
    Sleep(300);
    for (int i = 0; i < 10; ++i)
        CHECK(SendKey(main, VK_RIGHT));
    CHECK(TypeText(main, "41"));
    CHECK(WaitForFileContent(dir + L"b.bin", "A123456789", 3000));
    CHECK(SendKey(main, VK_F6)); // back in the text, where the caret was left
    Sleep(300);
    CHECK(TypeText(main, "y"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "zyalpha\r\n", 3000));
}

} // namespace
} // namespace wexly::e2e
