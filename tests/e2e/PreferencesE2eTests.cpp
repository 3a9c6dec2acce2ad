// End-to-end tests of the Preferences dialog and what its pages change: piles, tools, macros.
#include "E2eSupport.h"

#include "win32/MenuIds.h"
#include "win32/print/PreviewIds.h"
#include "win32/res/dialogs/EditToolIds.h"
#include "win32/res/dialogs/FileDlgIds.h"
#include "win32/res/dialogs/PrefIds.h"
#include "win32/res/dialogs/ToolListIds.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

E2E_CASE(PilesMacrosAndToolsComeFromTheSettings)
{
    std::wstring dir = MakeTempDir(L"piles");
    CHECK(WriteTextFile(dir + L"a.txt", "alpha\r\n"));
    CHECK(WriteTextFile(dir + L"member.txt", "member\r\n"));
    const std::string member = Narrow(dir) + "member.txt";
    TSettingsFileForTest ini(ctx.wexly,
        "[Piles]\r\n#=1\r\n0=!AWork\r\n"
        "[PFiles]\r\n#=1\r\n0=A0"
            + member
            + "\r\n"
              "[Macros]\r\n#=1\r\n0=03xy<ENTER>\r\n"
              "[External]\r\n#=1\r\n0=&Echo\r\n0cl=cmd /c echo tool-output\r\n0dir=\r\n0flg=4\r\n"
              "0fname=\r\n");
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    // Shift+F3 plays macro 3 into the document.
    CHECK(SendKey(main, VK_F3, { VK_SHIFT }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "xy\r\nalpha\r\n", 3000));
    // Piles > Work > the member file opens it; the sub-pile's menu hints itself.
    CHECK(SendKey(main, 'P', { VK_MENU }));
    CHECK(WaitForStatusText(main, 0, L"Add to this pile", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Sub-pile", 3000));
    CHECK(SendKey(main, VK_RIGHT));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Open this file", 3000));
    CHECK(SendKey(main, VK_RETURN));
    CHECK(WaitForTitle(main, dir + L"member.txt"));
    // Tools > Echo runs the program and shows what it printed in the Console document.
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(SendKey(main, 'E'));
    CHECK(WaitForTitle(main, L"Console", 10000));
}

// Opens Settings and waits for the Preferences dialog.
HWND OpenPreferences(HWND main, DWORD pid)
{
    PostCommand(main, IDM_OPTIONS_SETTINGS);
    return WaitForMessageBox(L"Preferences", pid, 5000);
}

struct TToolButtonSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindShownToolButton(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<TToolButtonSearch*>(lp);
    if (GetDlgCtrlID(hwnd) != search->id || ClassNameOf(hwnd) != L"TZulSpeed"
        || !IsWindowVisible(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The main window's tool bar button for `code`, when it is shown; null otherwise.
HWND ShownToolButton(HWND main, int code)
{
    TToolButtonSearch search { 5000 + code, nullptr };
    EnumChildWindows(main, FindShownToolButton, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

E2E_CASE(PreferencesOkChangesTheSettingsAndCancelLeavesThem)
{
    std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    auto [p, main, dir] = ctx.Launch(L"prefs");
    CHECK(main != nullptr);
    // The tool bar's Settings button works.
    HWND settingsButton = nullptr;
    for (DWORD start = GetTickCount(); !settingsButton && GetTickCount() - start < 5000; Sleep(50))
        settingsButton = ShownToolButton(main, 29);
    CHECK(settingsButton != nullptr);
    CHECK(IsWindowEnabled(settingsButton));
    PostMessageW(settingsButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageW(settingsButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(settingsButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND dialog = WaitForMessageBox(L"Preferences", p.pid, 5000);
    CHECK(dialog != nullptr);
    CHECK_EQ(DialogItemText(dialog, IDC_GEN_TABSIZE), std::wstring(L"8"));
    CHECK_EQ(DialogItemChecked(dialog, IDC_BAR_TOOLBAR), 1);
    CHECK(SetDialogItemText(dialog, IDC_GEN_TABSIZE, L"4"));
    CHECK(SetDialogItemChecked(dialog, IDC_BAR_TOOLBAR, false));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    Sleep(300);
    CHECK(ShownToolButton(main, 29) == nullptr);
    // The next showing starts from the settings as stored; Cancel drops what was changed.
    dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK_EQ(DialogItemText(dialog, IDC_GEN_TABSIZE), std::wstring(L"4"));
    CHECK_EQ(DialogItemChecked(dialog, IDC_BAR_TOOLBAR), 0);
    CHECK(SetDialogItemText(dialog, IDC_GEN_TABSIZE, L"6"));
    CHECK(SetDialogItemChecked(dialog, IDC_BAR_FILEBUTTONS, false));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string first;
    CHECK(ReadTextFile(ini, &first));
    CHECK(first.find("genTabSize=4\r\n") != std::string::npos);
    CHECK(first.find("btnTool=0\r\n") != std::string::npos);
    CHECK(first.find("btnFBtns=1\r\n") != std::string::npos);

    // A run that only cancels writes back what it read.
    p = ctx.Start(L"", dir);
    main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SetDialogItemText(dialog, IDC_GEN_TABSIZE, L"7"));
    CHECK(SetDialogItemChecked(dialog, IDC_BAR_TOOLBAR, true));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_EXIT);
    CHECK(WaitForExit(p, 5000, &code));
    std::string second;
    CHECK(ReadTextFile(ini, &second));
    CHECK(second == first);
}

// A help page that the test puts in place when the build has none, and takes away again.
class THelpPageStandIn
{
public:
    THelpPageStandIn(const std::wstring& wexly, int topic)
        : m_path(wexly.substr(0, wexly.find_last_of(L"\\/") + 1) + L"help\\"
            + std::to_wstring(topic) + L".html")
    {
        if (GetFileAttributesW(m_path.c_str()) == INVALID_FILE_ATTRIBUTES)
            m_made = WriteTextFile(m_path, "<p>topic " + std::to_string(topic) + "</p>\r\n");
    }
    ~THelpPageStandIn()
    {
        if (m_made)
            DeleteFileW(m_path.c_str());
    }
    THelpPageStandIn(const THelpPageStandIn&) = delete;
    THelpPageStandIn& operator=(const THelpPageStandIn&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    bool m_made = false;
};

E2E_CASE(PreferencesHelpShowsThePageOfTheSelectedPage)
{
    std::wstring dir = MakeTempDir(L"prefhelp");
    const std::wstring opened = dir + L"opened.html";
    THtmlOpenRecorder recorder(opened);
    CHECK(recorder.Ok());
    // "Button Bars" is the second page: topic 21.
    THelpPageStandIn page(ctx.wexly, 21);
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, 1));
    CHECK(ClickDialogItem(dialog, IDC_PREF_HELP));
    std::string shown;
    DWORD start = GetTickCount();
    while (!ReadTextFile(opened, &shown) && GetTickCount() - start < 5000)
        Sleep(100);
    std::string expected;
    CHECK(ReadTextFile(page.Path(), &expected));
    CHECK(!shown.empty());
    CHECK(shown == expected);
    CHECK(WaitForMessageBox(L"Error!", p.pid, 300) == nullptr);
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
}

// The Preferences pages in the order of the page list.
constexpr int PilesPage = 4;

constexpr int ToolsPage = 5;

constexpr int MacrosPage = 6;

E2E_CASE(ToolAddedOnTheToolsPageRunsFromTheToolsMenu)
{
    auto [p, main, dir]
        = ctx.Launch(L"addtool", { { L"a.txt", "alpha\r\n" } }, L"a.txt", "[External]\r\n#=0\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, ToolsPage));
    CHECK(ClickDialogItem(dialog, IDC_TOOL_ADD));
    HWND edit = WaitForMessageBox(L"Edit External Tool", p.pid, 5000);
    CHECK(edit != nullptr);
    CHECK_EQ(DialogItemText(edit, IDC_ET_NAME), std::wstring(L"New Item"));
    // The reload choices wait for "Reload on completion".
    CHECK(!IsWindowEnabled(GetDlgItem(edit, IDC_ET_CURRENT)));
    CHECK(!IsWindowEnabled(GetDlgItem(edit, IDC_ET_FILENAME)));
    CHECK(SetDialogItemText(edit, IDC_ET_NAME, L"&Greet"));
    const std::wstring command = L"cmd /c echo greet> " + dir + L"out.txt";
    CHECK(SetDialogItemText(edit, IDC_ET_COMMAND, command));
    CHECK(SetDialogItemChecked(edit, IDC_ET_RECORD, true));
    CHECK(ClickButton(edit, L"OK"));
    CHECK(WaitGone(edit));
    Sleep(200);
    CHECK_EQ(DialogListSelection(dialog, IDC_TOOL_LIST), 0);
    CHECK_EQ(DialogItemText(dialog, IDC_TOOL_COMMAND), command);
    // Edit shows the tool as stored; Cancel changes nothing.
    CHECK(ClickDialogItem(dialog, IDC_TOOL_EDIT));
    edit = WaitForMessageBox(L"Edit External Tool", p.pid, 5000);
    CHECK(edit != nullptr);
    CHECK_EQ(DialogItemText(edit, IDC_ET_NAME), std::wstring(L"&Greet"));
    CHECK_EQ(DialogItemChecked(edit, IDC_ET_RECORD), 1);
    CHECK_EQ(DialogItemChecked(edit, IDC_ET_CURRENT), 1);
    CHECK(ClickButton(edit, L"Cancel"));
    CHECK(WaitGone(edit));
    // Delete asks first; "No" keeps the tool.
    CHECK(ClickDialogItem(dialog, IDC_TOOL_DELETE));
    HWND ask = WaitForMessageBox(L"Alert!", p.pid, 5000);
    CHECK(ask != nullptr);
    CHECK_EQ(MessageBoxText(ask), std::wstring(L"Are you sure you want to\ndelete this entry?"));
    CHECK(ClickButton(ask, L"No"));
    CHECK(WaitGone(ask));
    Sleep(200);
    CHECK_EQ(DialogListSelection(dialog, IDC_TOOL_LIST), 0);
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    // The new tool is the first entry of the Tools menu.
    CHECK(SendKey(main, 'T', { VK_MENU }));
    CHECK(SendKey(main, 'G'));
    CHECK(WaitForTitle(main, L"Console", 10000));
    CHECK(WaitForFileContent(dir + L"out.txt", "greet\r\n", 5000));
}

E2E_CASE(ToolsListRunsTheChosenToolEvenBeyondTheTenth)
{
    std::wstring dir = MakeTempDir(L"toollist");
    const std::string d = Narrow(dir);
    std::string external = "[External]\r\n#=11\r\n";
    for (int i = 0; i < 11; ++i) {
        const std::string n = std::to_string(i);
        external += n + "=Tool" + n + "\r\n" + n + "cl=cmd /c echo tool" + n + "> " + d + "out" + n
            + ".txt\r\n" + n + "flg=4\r\n";
    }
    TSettingsFileForTest ini(ctx.wexly, external);
    CHECK(ini.Ok());
    TProcess p = ctx.Start(L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SendKey(main, VK_F9));
    HWND list = WaitForMessageBox(L"Tools", p.pid, 5000);
    CHECK(list != nullptr);
    CHECK_EQ(DialogListSelection(list, IDC_TL_LIST), -1);
    CHECK(SelectDialogListLine(list, IDC_TL_LIST, 10));
    CHECK(ClickDialogItem(list, IDOK));
    CHECK(WaitGone(list));
    CHECK(WaitForFileContent(dir + L"out10.txt", "tool10\r\n", 10000));
    CHECK(GetFileAttributesW((dir + L"out0.txt").c_str()) == INVALID_FILE_ATTRIBUTES);
    CHECK(WaitForStatusText(main, 0, L"Execution Complete", 5000));
    // The next showing selects the tool chosen last; Esc closes it without running anything.
    CHECK(SendKey(main, VK_F9));
    list = WaitForMessageBox(L"Tools", p.pid, 5000);
    CHECK(list != nullptr);
    CHECK_EQ(DialogListSelection(list, IDC_TL_LIST), 10);
    CHECK(SendKey(list, VK_ESCAPE));
    CHECK(WaitGone(list));
}

E2E_CASE(MacroRecordedOnTheMacrosPagePlaysWithShiftF)
{
    auto [p, main, dir]
        = ctx.Launch(L"recmacro", { { L"a.txt", "alpha\r\n" } }, L"a.txt", "[Macros]\r\n#=0\r\n");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, MacrosPage));
    CHECK_EQ(DialogListSelection(dialog, IDC_MAC_LIST), 0);
    CHECK(SelectDialogListLine(dialog, IDC_MAC_LIST, 1)); // Shift+F2
    CHECK(FocusDialogItem(dialog, IDC_MAC_DISPLAY));
    CHECK(SendKey(dialog, 'H'));
    CHECK(SendKey(dialog, 'I'));
    CHECK(SendKey(dialog, VK_OEM_COMMA, { VK_SHIFT }));
    CHECK(SendKey(dialog, VK_RETURN));
    CHECK(SendKey(dialog, VK_HOME, { VK_CONTROL }));
    Sleep(300);
    CHECK_EQ(DialogItemText(dialog, IDC_MAC_DISPLAY), std::wstring(L"hi<L><ENTER><BOF>"));
    CHECK(ClickDialogItem(dialog, IDC_MAC_BACK));
    Sleep(300);
    CHECK_EQ(DialogItemText(dialog, IDC_MAC_DISPLAY), std::wstring(L"hi<L><ENTER>"));
    // F1 in the box selects Shift+F1 instead of recording.
    CHECK(SendKey(dialog, VK_F1));
    Sleep(300);
    CHECK_EQ(DialogListSelection(dialog, IDC_MAC_LIST), 0);
    CHECK_EQ(DialogItemText(dialog, IDC_MAC_DISPLAY), std::wstring(L""));
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    CHECK(SendKey(main, VK_F2, { VK_SHIFT }));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "hi<\r\nalpha\r\n", 3000));
}

E2E_CASE(SubPileAddedOnThePilesPageShowsInThePilesMenu)
{
    auto [p, main, dir] = ctx.Launch(L"addpile", {}, L"", "[Piles]\r\n#=0\r\n");
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, PilesPage));
    HWND tree = GetDlgItem(dialog, IDC_PILE_TREE);
    CHECK(tree != nullptr);
    CHECK_EQ(static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)), 1);
    CHECK(FocusDialogItem(dialog, IDC_PILE_TREE));
    CHECK(SendKey(dialog, VK_HOME)); // selects "Main Pile"
    CHECK_EQ(DialogItemChecked(dialog, IDC_PILE_BINARY), 0);
    CHECK(!IsWindowEnabled(GetDlgItem(dialog, IDC_PILE_BINARY)));
    // The tree's popup menu, as the menu key would open it: "New &Sub-Pile".
    PostMessageW(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), -1);
    CHECK(WaitUntilMenuShown(p.pid));
    CHECK(SendKey(dialog, 'S'));
    // The new pile's label is edited at once; OK first only ends that edit.
    HWND labelEdit = nullptr;
    for (DWORD start = GetTickCount(); !labelEdit && GetTickCount() - start < 3000; Sleep(50))
        labelEdit = reinterpret_cast<HWND>(SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0));
    CHECK(labelEdit != nullptr);
    SendMessageW(labelEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Letters"));
    CHECK(ClickDialogItem(dialog, IDOK));
    Sleep(500);
    CHECK(IsWindowVisible(dialog));
    CHECK_EQ(static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)), 2);
    CHECK(ClickDialogItem(dialog, IDOK));
    CHECK(WaitGone(dialog));
    // Piles > Letters > "Add to this pile".
    CHECK(SendKey(main, 'P', { VK_MENU }));
    CHECK(WaitForStatusText(main, 0, L"Add to this pile", 3000));
    CHECK(SendKey(main, VK_DOWN));
    CHECK(WaitForStatusText(main, 0, L"Sub-pile", 3000));
    CHECK(SendKey(main, VK_RIGHT));
    CHECK(WaitForStatusText(main, 0, L"Add to this pile", 3000));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    CHECK(SendKey(main, VK_ESCAPE));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string written;
    CHECK(ReadTextFile(ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini", &written));
    CHECK(written.find("=!\"Letters\r\n") != std::string::npos);
}

// The screen point of row `row` of a tree whose rows are all visible, at indent level `level`.
POINT TreeRowPoint(HWND tree, int row, int level)
{
    RECT r {};
    GetWindowRect(tree, &r);
    const int height = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    const int indent = static_cast<int>(SendMessageW(tree, TVM_GETINDENT, 0, 0));
    // Past the lines, the button and the picture, onto the label.
    return { r.left + 2 + indent * (level + 1) + 16 + 12, r.top + 2 + height * row + height / 2 };
}

E2E_CASE(PileDraggedOntoAnotherPileIsStoredUnderIt)
{
    auto [p, main, dir] = ctx.Launch(L"dragpile", {}, L"",
        "[Piles]\r\n#=2\r\n0=!\"Apples\r\n1=!#Bananas\r\n"
        "[PFiles]\r\n#=1\r\n0=#0C:\\b.txt\r\n");
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, PilesPage));
    HWND tree = GetDlgItem(dialog, IDC_PILE_TREE);
    // Main Pile, then Apples and Bananas (collapsed): three rows shown.
    CHECK(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0) >= 3);
    CHECK_EQ(static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)), 4);
    CHECK(SendKey(dialog, VK_SHIFT)); // the dialog to the front
    CHECK(DragMouse(TreeRowPoint(tree, 2, 1), TreeRowPoint(tree, 1, 1)));
    Sleep(500);
    CHECK(ClickButton(dialog, L"OK"));
    CHECK(WaitGone(dialog));
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string written;
    CHECK(ReadTextFile(ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini", &written));
    // Bananas now lies under Apples and takes the next identifier; its file goes with it.
    CHECK(written.find("=!\"Apples\r\n") != std::string::npos);
    CHECK(written.find("=\"#Bananas\r\n") != std::string::npos);
    CHECK(written.find("=#0C:\\b.txt\r\n") != std::string::npos);
}

// A box shown from a page of the dialog belongs to the dialog: closing it leaves the main
// window disabled behind the dialog.
E2E_CASE(MacroSetErrorBelongsToThePreferencesDialog)
{
    auto [p, main, dir] = ctx.Launch(L"macowner", { { L"bad.mrc", "[Not a macro set]\r\n" } });
    CHECK(main != nullptr);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, MacrosPage));
    CHECK(ClickDialogItem(dialog, IDC_MAC_LOAD));
    HWND open = WaitForPanelDialog(L"Open", p.pid);
    CHECK(open != nullptr);
    CHECK(GetWindow(open, GW_OWNER) == dialog);
    SetWindowTextW(FileNameBox(open), (dir + L"bad.mrc").c_str());
    CHECK(ClickButton(open, L"Open"));
    HWND error = WaitForMessageBox(L"Error", p.pid, 5000);
    CHECK(error != nullptr);
    CHECK_EQ(MessageBoxText(error), std::wstring(L"File is not a Wexly2 Macro file!"));
    CHECK(GetWindow(error, GW_OWNER) == dialog);
    CHECK(ClickButton(error, L"OK"));
    CHECK(WaitGone(error));
    Sleep(300);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IsWindowEnabled(main));
    CHECK(GetForegroundWindow() == dialog);
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
    CHECK(IsWindowEnabled(main));
}

// The tool editor's folder browser is the program's one browser, on the box's folder.
E2E_CASE(ToolWorkingDirectoryBrowserStartsInTheBoxFolder)
{
    auto [p, main, dir] = ctx.Launch(L"toolbrowse", {}, L"", "[External]\r\n#=0\r\n");
    CHECK(main != nullptr);
    std::wstring sub = dir + L"work";
    CHECK(CreateDirectoryW(sub.c_str(), nullptr) != 0);
    HWND dialog = OpenPreferences(main, p.pid);
    CHECK(dialog != nullptr);
    CHECK(SelectDialogListLine(dialog, IDC_PREF_PAGES, ToolsPage));
    CHECK(ClickDialogItem(dialog, IDC_TOOL_ADD));
    HWND edit = WaitForMessageBox(L"Edit External Tool", p.pid, 5000);
    CHECK(edit != nullptr);
    CHECK(SetDialogItemText(edit, IDC_ET_DIR, sub + L"\\"));
    CHECK(ClickDialogItem(edit, IDC_ET_DIR_BROWSE));
    HWND browser = WaitForMessageBox(L"Select a Folder", p.pid, 5000);
    CHECK(browser != nullptr);
    CHECK(GetWindow(browser, GW_OWNER) == edit);
    CHECK(ClickButton(browser, L"OK"));
    CHECK(WaitGone(browser));
    Sleep(200);
    CHECK_EQ(DialogItemText(edit, IDC_ET_DIR), sub);
    CHECK(ClickButton(edit, L"Cancel"));
    CHECK(WaitGone(edit));
    CHECK(ClickButton(dialog, L"Cancel"));
    CHECK(WaitGone(dialog));
}

} // namespace
} // namespace wexly::e2e
