// Drives wexly.exe from inside the same Wine session, as a user would: starts it, finds its
// windows by class and caption, sends menu commands and keys, reads window, menu and status-bar
// texts, answers message boxes, and checks files.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace wexly::e2e {

struct TProcess
{
    HANDLE process = nullptr;
    DWORD pid = 0;
};

// Starts program with the command-line tail args in workDir.
TProcess StartProgram(
    const std::wstring& program, const std::wstring& args, const std::wstring& workDir);
// Waits for the process to end; false on timeout. exitCode receives its code.
bool WaitForExit(const TProcess& p, DWORD timeoutMs, DWORD* exitCode);
// Ends a process still running (test clean-up) and closes its handle.
void EndProcess(TProcess& p);

// Visible top-level windows with this class and caption; pid 0 accepts any process.
std::vector<HWND> FindTopWindows(
    const std::wstring& className, const std::wstring& caption, DWORD pid = 0);
HWND WaitForWindow(
    const std::wstring& className, const std::wstring& caption, DWORD pid, DWORD timeoutMs);

// Drags with the left mouse button from one screen point to another, as a hand would.
bool DragMouse(POINT from, POINT to);

// Waits until process pid shows a popup menu; false on timeout.
bool WaitUntilMenuShown(DWORD pid, DWORD timeoutMs = 3000);

std::wstring WindowText(HWND hwnd);
std::wstring ClassNameOf(HWND hwnd);

// Wine keeps menus inside their process, so the menu is read from the program's resources (and
// driven live through the keyboard). The caller destroys the menu.
HMENU LoadProgramMenu(const std::wstring& program, UINT id);
// Captions of a menu's items ("-" for separators), and of the items of submenu `index`.
std::vector<std::wstring> MenuCaptions(HMENU menu);
std::vector<std::wstring> SubmenuCaptions(HMENU menu, int index);
// Enabled state of a command in the menu (searched recursively); -1 if absent.
int MenuCommandEnabled(HMENU menu, UINT id);

// The text of panel `part` of the first status bar child of hwnd.
std::wstring StatusBarText(HWND hwnd, int part);
// Posts WM_DROPFILES as the shell does, with the file list built in the target process's
// memory (a drop handle from this process would mean nothing there). Fixed memory is what
// the drop functions accept as a handle.
bool DropFilesOn(HWND target, const std::vector<std::wstring>& files, POINT at);

// A node of another process's TreeView, in display order (parents before their children).
struct TTreeNode
{
    HTREEITEM item = nullptr;
    int level = 0; // 0 for a root node
    std::wstring text;
    bool selected = false; // TVIS_SELECTED
    bool expanded = false; // TVIS_EXPANDED
};
// Every node of the tree, collapsed ones included.
std::vector<TTreeNode> TreeNodes(HWND tree);
// The client rectangle of a node's text; false when the node is not shown.
bool TreeItemRect(HWND tree, HTREEITEM item, RECT* rect);

// Waits until panel `part` of the status bar shows text; false on timeout.
bool WaitForStatusText(HWND hwnd, int part, const std::wstring& text, DWORD timeoutMs);
// A descendant window of parent with this class (empty: any) and text; null when none.
HWND FindChildWithText(HWND parent, const std::wstring& className, const std::wstring& text);
// Waits until the file holds exactly content; false on timeout.
bool WaitForFileContent(const std::wstring& path, const std::string& content, DWORD timeoutMs);
// Types the characters (letters, digits, space) one key at a time.
bool TypeText(HWND hwnd, const std::string& text);

// Posts a menu command as the menu would.
void PostCommand(HWND hwnd, UINT id);
// Brings hwnd to the front and types virtual keys with SendInput; modifiers are VK codes held
// during the key.
bool SendKey(HWND hwnd, WORD vk, const std::vector<WORD>& modifiers = {});

// A message box (dialog class) owned by process pid with this caption, waiting up to timeoutMs.
HWND WaitForMessageBox(const std::wstring& caption, DWORD pid, DWORD timeoutMs);
// The static text of a message box.
std::wstring MessageBoxText(HWND box);
// Clicks the button whose caption (without "&") is `button`.
bool ClickButton(HWND box, const std::wstring& button);

// Dialog controls by ID, whatever page of the dialog shows them: the text (set as typing
// would, with the change notification) and a check box's state.
std::wstring DialogItemText(HWND dialog, int id);
bool SetDialogItemText(HWND dialog, int id, const std::wstring& text);
int DialogItemChecked(HWND dialog, int id); // -1 when there is no such control
bool SetDialogItemChecked(HWND dialog, int id, bool on);
// Selects line `index` of a list box and tells the dialog, as a click would.
bool SelectDialogListLine(HWND dialog, int id, int index);
// Clicks a control by ID, the flat glyph buttons too.
bool ClickDialogItem(HWND dialog, int id);
// Gives a dialog control the keyboard focus (the dialog moves it there itself) and waits
// until it has it.
bool FocusDialogItem(HWND dialog, int id);
// The index of the selected line of a list box, -1 when none.
int DialogListSelection(HWND dialog, int id);

// Creates a fresh directory under the temp folder and returns it with a trailing backslash.
std::wstring MakeTempDir(const std::wstring& name);
bool WriteTextFile(const std::wstring& path, const std::string& content);
// Writes block again and again until the file holds size bytes (the last copy cut short).
bool WriteRepeated(const std::wstring& path, const std::string& block, size_t size);
// Writes 60-character lines (CR LF) up to the first whole line at or past size bytes.
bool WriteLinesFile(const std::wstring& path, size_t size);
// Removes a directory with everything in it; true when it is gone.
bool RemoveDirectoryTree(const std::wstring& path);
bool ReadTextFile(const std::wstring& path, std::string* content);

std::string Narrow(const std::wstring& text);

// The performance counter now, and the milliseconds since such a reading.
LARGE_INTEGER Now();
double MsSince(const LARGE_INTEGER& start);

} // namespace wexly::e2e
