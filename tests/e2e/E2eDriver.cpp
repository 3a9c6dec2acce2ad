#include "E2eDriver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace wexly::e2e {

namespace {
bool WaitUntil(DWORD timeoutMs, const auto& done)
{
    DWORD start = GetTickCount();
    while (true) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

std::wstring StripAmpersands(const std::wstring& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

std::wstring MenuItemCaption(HMENU menu, int index)
{
    wchar_t buffer[256] = {};
    MENUITEMINFOW info {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = buffer;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info))
        return L"";
    if (info.fType & MFT_SEPARATOR)
        return L"-";
    return buffer;
}

int FindCommand(HMENU menu, UINT id)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            int found = FindCommand(sub, id);
            if (found >= 0)
                return found;
        } else if (GetMenuItemID(menu, i) == id) {
            UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            return (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1;
        }
    }
    return -1;
}
}

TProcess StartProgram(
    const std::wstring& program, const std::wstring& args, const std::wstring& workDir)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!args.empty())
        commandLine += L" " + args;
    STARTUPINFOW startup {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info {};
    TProcess p;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
            workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        p.process = info.hProcess;
        p.pid = info.dwProcessId;
    }
    return p;
}

bool WaitForExit(const TProcess& p, DWORD timeoutMs, DWORD* exitCode)
{
    if (!p.process || WaitForSingleObject(p.process, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(p.process, exitCode);
    return true;
}

void EndProcess(TProcess& p)
{
    if (!p.process)
        return;
    if (WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(p.process, 99);
        // Under load Wine can take a while; a process left running would take the next
        // case's hand-over.
        WaitForSingleObject(p.process, 20000);
    }
    CloseHandle(p.process);
    p = {};
}

std::vector<HWND> FindTopWindows(
    const std::wstring& className, const std::wstring& caption, DWORD pid)
{
    std::vector<HWND> found;
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExW(nullptr, hwnd, className.c_str(), caption.c_str())) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if ((pid == 0 || owner == pid) && IsWindowVisible(hwnd))
            found.push_back(hwnd);
    }
    return found;
}

HWND WaitForWindow(
    const std::wstring& className, const std::wstring& caption, DWORD pid, DWORD timeoutMs)
{
    HWND result = nullptr;
    WaitUntil(timeoutMs, [&] {
        auto windows = FindTopWindows(className, caption, pid);
        result = windows.empty() ? nullptr : windows.front();
        return result != nullptr;
    });
    return result;
}

namespace {
bool SendMouse(POINT at, DWORD buttons)
{
    INPUT in {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons;
    const bool sent = SendInput(1, &in, sizeof(in)) == 1;
    Sleep(60);
    return sent;
}
} // namespace

bool DragMouse(POINT from, POINT to)
{
    bool ok = SendMouse(from, 0) && SendMouse(from, MOUSEEVENTF_LEFTDOWN);
    // Past the drag threshold first, then on to the target in steps.
    ok = ok && SendMouse({ from.x + 8, from.y + 8 }, 0);
    for (int step = 1; ok && step <= 4; ++step)
        ok = SendMouse(
            { from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4 }, 0);
    return SendMouse(to, MOUSEEVENTF_LEFTUP) && ok;
}

bool WaitUntilMenuShown(DWORD pid, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] {
        for (HWND hwnd = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); hwnd;
             hwnd = FindWindowExW(nullptr, hwnd, L"#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == pid && IsWindowVisible(hwnd))
                return true;
        }
        return false;
    });
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(
        hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &copied);
    return std::wstring(buffer, std::min<size_t>(copied, 1023));
}

std::wstring ClassNameOf(HWND hwnd)
{
    wchar_t buffer[256] = {};
    GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

HMENU LoadProgramMenu(const std::wstring& program, UINT id)
{
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return nullptr;
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(id));
    FreeLibrary(module);
    return menu;
}

std::vector<std::wstring> MenuCaptions(HMENU menu)
{
    std::vector<std::wstring> captions;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i)
        captions.push_back(MenuItemCaption(menu, i));
    return captions;
}

std::vector<std::wstring> SubmenuCaptions(HMENU menu, int index)
{
    return MenuCaptions(GetSubMenu(menu, index));
}

int MenuCommandEnabled(HMENU menu, UINT id)
{
    return menu ? FindCommand(menu, id) : -1;
}

std::wstring StatusBarText(HWND hwnd, int part)
{
    HWND bar = FindWindowExW(hwnd, nullptr, STATUSCLASSNAMEW, nullptr);
    if (!bar)
        return L"<no status bar>";
    // The text must be read into the other process's memory and copied back.
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return L"<no access>";
    constexpr SIZE_T size = 1024 * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    std::wstring text;
    if (remote) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(bar, SB_GETTEXTW, static_cast<WPARAM>(part),
            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &result);
        wchar_t buffer[1024] = {};
        SIZE_T read = 0;
        ReadProcessMemory(process, remote, buffer, size - sizeof(wchar_t), &read);
        text = buffer;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

namespace {
// Reads one node through a TVITEMW and a text buffer placed in the tree's process.
bool ReadTreeNode(HANDLE process, HWND tree, void* remote, TTreeNode& node)
{
    constexpr size_t textChars = 1024;
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TVITEMW));
    TVITEMW item {};
    item.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
    item.hItem = node.item;
    item.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
    item.pszText = remoteText;
    item.cchTextMax = static_cast<int>(textChars);
    SIZE_T done = 0;
    if (!WriteProcessMemory(process, remote, &item, sizeof(item), &done))
        return false;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote),
            SMTO_ABORTIFHUNG, 2000, &result)
        || !result)
        return false;
    wchar_t text[textChars + 1] = {};
    ReadProcessMemory(process, remote, &item, sizeof(item), &done);
    ReadProcessMemory(process, remoteText, text, textChars * sizeof(wchar_t), &done);
    node.text = text;
    node.selected = (item.state & TVIS_SELECTED) != 0;
    node.expanded = (item.state & TVIS_EXPANDED) != 0;
    return true;
}

HTREEITEM NextTreeItem(HWND tree, UINT relation, HTREEITEM item)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item),
        SMTO_ABORTIFHUNG, 2000, &result);
    return reinterpret_cast<HTREEITEM>(result);
}

void ReadTreeLevel(HANDLE process, HWND tree, void* remote, HTREEITEM first, int level,
    std::vector<TTreeNode>& nodes)
{
    for (HTREEITEM item = first; item; item = NextTreeItem(tree, TVGN_NEXT, item)) {
        TTreeNode node;
        node.item = item;
        node.level = level;
        if (!ReadTreeNode(process, tree, remote, node))
            return;
        nodes.push_back(node);
        ReadTreeLevel(
            process, tree, remote, NextTreeItem(tree, TVGN_CHILD, item), level + 1, nodes);
    }
}
} // namespace

std::vector<TTreeNode> TreeNodes(HWND tree)
{
    std::vector<TTreeNode> nodes;
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    HANDLE process
        = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return nodes;
    constexpr SIZE_T size = sizeof(TVITEMW) + 1025 * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        ReadTreeLevel(process, tree, remote, NextTreeItem(tree, TVGN_ROOT, nullptr), 0, nodes);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return nodes;
}

bool TreeItemRect(HWND tree, HTREEITEM item, RECT* rect)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    HANDLE process
        = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    bool shown = false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        // The message takes the node's handle in the rectangle it fills.
        RECT in {};
        std::memcpy(&in, &item, sizeof(item));
        SIZE_T done = 0;
        DWORD_PTR result = 0;
        if (WriteProcessMemory(process, remote, &in, sizeof(in), &done)
            && SendMessageTimeoutW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote),
                SMTO_ABORTIFHUNG, 2000, &result)
            && result)
            shown = ReadProcessMemory(process, remote, rect, sizeof(RECT), &done) != 0;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return shown;
}

bool DropFilesOn(HWND target, const std::vector<std::wstring>& files, POINT at)
{
    std::vector<char> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fNC = FALSE;
    header->fWide = TRUE;
    for (const std::wstring& file : files) {
        const auto* bytes = reinterpret_cast<const char*>(file.c_str());
        block.insert(block.end(), bytes, bytes + (file.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), '\0');
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    // Left to the receiver, which frees it with the drop.
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    SIZE_T written = 0;
    const bool ok = remote
        && WriteProcessMemory(process, remote, block.data(), block.size(), &written)
        && written == block.size();
    CloseHandle(process);
    return ok && PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool WaitForStatusText(HWND hwnd, int part, const std::wstring& text, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] { return StatusBarText(hwnd, part) == text; });
}

namespace {
struct TChildSearch
{
    const std::wstring& className;
    const std::wstring& text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM lp)
{
    auto* s = reinterpret_cast<TChildSearch*>(lp);
    if ((s->className.empty() || ClassNameOf(child) == s->className)
        && WindowText(child) == s->text) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}
}

HWND FindChildWithText(HWND parent, const std::wstring& className, const std::wstring& text)
{
    TChildSearch search { className, text };
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitForFileContent(const std::wstring& path, const std::string& content, DWORD timeoutMs)
{
    return WaitUntil(timeoutMs, [&] {
        std::string actual;
        return ReadTextFile(path, &actual) && actual == content;
    });
}

bool TypeText(HWND hwnd, const std::string& text)
{
    for (char ch : text) {
        const SHORT scan = VkKeyScanW(static_cast<wchar_t>(ch));
        std::vector<WORD> modifiers;
        if (scan & 0x100)
            modifiers.push_back(VK_SHIFT);
        if (!SendKey(hwnd, static_cast<WORD>(scan & 0xFF), modifiers))
            return false;
        Sleep(30);
    }
    return true;
}

void PostCommand(HWND hwnd, UINT id)
{
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool SendKey(HWND hwnd, WORD vk, const std::vector<WORD>& modifiers)
{
    SetForegroundWindow(hwnd);
    WaitUntil(2000, [&] { return GetForegroundWindow() == hwnd; });
    std::vector<INPUT> inputs;
    auto add = [&](WORD key, bool up) {
        INPUT in {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers)
        add(m, false);
    add(vk, false);
    add(vk, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        add(*it, true);
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

HWND WaitForMessageBox(const std::wstring& caption, DWORD pid, DWORD timeoutMs)
{
    HWND result = nullptr;
    WaitUntil(timeoutMs, [&] {
        for (HWND box : FindTopWindows(L"#32770", caption, pid)) {
            result = box;
            return true;
        }
        return false;
    });
    return result;
}

std::wstring MessageBoxText(HWND box)
{
    // The message box keeps its text in a static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text)
        return WindowText(text);
    HWND child = nullptr;
    while ((child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr) {
        std::wstring t = WindowText(child);
        if (!t.empty())
            return t;
    }
    return L"";
}

bool ClickButton(HWND box, const std::wstring& button)
{
    HWND child = nullptr;
    while ((child = FindWindowExW(box, child, L"Button", nullptr)) != nullptr) {
        if (StripAmpersands(WindowText(child)) == button) {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                reinterpret_cast<LPARAM>(child));
            return true;
        }
    }
    return false;
}

std::wstring DialogItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : L"";
}

bool SetDialogItemText(HWND dialog, int id, const std::wstring& text)
{
    HWND item = GetDlgItem(dialog, id);
    return item && SendMessageW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int DialogItemChecked(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? (SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0) : -1;
}

bool SetDialogItemChecked(HWND dialog, int id, bool on)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item)
        return false;
    SendMessageW(item, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

bool SelectDialogListLine(HWND dialog, int id, int index)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item || SendMessageW(item, LB_SETCURSEL, static_cast<WPARAM>(index), 0) == LB_ERR)
        return false;
    return PostMessageW(
               dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(item))
        != 0;
}

bool ClickDialogItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item
        && PostMessageW(
               dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item))
        != 0;
}

bool FocusDialogItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item || !PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE))
        return false;
    // The focus belongs to the program's thread: read it through its GUI thread information.
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    return WaitUntil(2000, [&] {
        GUITHREADINFO info {};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus == item;
    });
}

int DialogListSelection(HWND dialog, int id)
{
    const LRESULT index = SendMessageW(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

std::wstring MakeTempDir(const std::wstring& name)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir
        = std::wstring(temp) + L"wexly-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    dir += name + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

bool RemoveDirectoryTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data {};
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool WriteTextFile(const std::wstring& path, const std::string& content)
{
    HANDLE file = CreateFileW(
        path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr)
        && written == content.size();
    CloseHandle(file);
    return ok;
}

bool WriteRepeated(const std::wstring& path, const std::string& block, size_t size)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = !block.empty() || size == 0;
    for (size_t left = size; left > 0 && ok;) {
        const DWORD chunk = static_cast<DWORD>(std::min(left, block.size()));
        DWORD written = 0;
        ok = WriteFile(h, block.data(), chunk, &written, nullptr) && written == chunk;
        left -= chunk;
    }
    CloseHandle(h);
    return ok;
}

bool WriteLinesFile(const std::wstring& path, size_t size)
{
    std::string line(58, 'x');
    line += "\r\n";
    std::string block;
    while (block.size() < 1024 * 1024)
        block += line;
    return WriteRepeated(path, block, (size + line.size() - 1) / line.size() * line.size());
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER t {};
    QueryPerformanceCounter(&t);
    return t;
}

double MsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now {}, freq {};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0
        / static_cast<double>(freq.QuadPart);
}

bool ReadTextFile(const std::wstring& path, std::string* content)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    content->clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content->append(buffer, read);
    CloseHandle(file);
    return true;
}

std::string Narrow(const std::wstring& text)
{
    int needed = WideCharToMultiByte(
        CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), needed,
        nullptr, nullptr);
    return out;
}

} // namespace wexly::e2e
