// What the end-to-end test files share: the case context and registry, the program's
// window class and caption, the checks' Show() overloads, and helpers used by several areas.
#pragma once

#include "E2eCheck.h"
#include "E2eDriver.h"

#include "win32/res/dialogs/FileDlgIds.h"

#include <windows.h>

#include <string>
#include <vector>

namespace wexly::e2e {

// A file a case starts with: its name in the case's folder and its bytes.
struct TFile
{
    std::wstring name;
    std::string content;
};

// The program as a case started it.
struct TLaunched
{
    TProcess process;
    HWND main = nullptr;
    std::wstring dir; // the case's folder, with a trailing backslash
};

inline const std::wstring MainClass = L"TWexlyMainForm";

inline const std::wstring MainCaption = L"Wexly2";

constexpr DWORD StartTimeoutMs = 20000;

// One case's state: the program under test, the failures so far and the processes to end.
struct TContext
{
    std::wstring wexly;
    std::vector<std::string> failures;
    std::vector<TProcess> processes; // ended after each test
    std::vector<std::string> notes; // printed after the case's line (figures, what it saw)
    std::string skipped; // why the case could not run here; it then counts as skipped

    // Skips the case for reason (a check's return ends it).
    void Skip(const std::string& reason) { skipped = reason; }

    TProcess Start(const std::wstring& args, const std::wstring& dir)
    {
        TProcess p = StartProgram(wexly, args, dir);
        processes.push_back(p);
        return p;
    }
    void Fail(int line, const std::string& what)
    {
        failures.push_back("line " + std::to_string(line) + ": " + what);
    }
    // The settings file the program reads beside itself.
    std::wstring SettingsPath() const
    {
        return wexly.substr(0, wexly.find_last_of(L'.')) + L".ini";
    }
    // Where the program keeps unsaved work for recovery, beside its settings file.
    std::wstring RecoveryRoot() const
    {
        return wexly.substr(0, wexly.find_last_of(L'.')) + L".recovery";
    }

    // Starts the program in a fresh folder named after tag that holds the given files (name,
    // bytes), with args as its command line and, when settings is not empty, that settings
    // file; waits for the main window. main is null when something failed on the way.
    TLaunched Launch(const std::wstring& tag, const std::vector<TFile>& files = {},
        const std::wstring& args = L"", const std::string& settings = "");
};

inline std::string Show(const std::wstring& s)
{
    return Narrow(s);
}

inline std::string Show(const std::string& s)
{
    return s;
}

inline std::string Show(const std::vector<std::wstring>& v)
{
    std::string out;
    for (const auto& s : v)
        out += (out.empty() ? "" : ", ") + Narrow(s);
    return out;
}

inline std::string Show(const std::vector<bool>& v)
{
    std::string out;
    for (bool b : v)
        out += b ? '1' : '0';
    return out;
}

template <typename T> inline std::string Show(const T& v)
{
    return std::to_string(v);
}

// For the length of a test, pages ending in .html "open" by being copied to a known file, so
// the test sees which page the shell was asked to show without starting a browser.
class THtmlOpenRecorder
{
public:
    explicit THtmlOpenRecorder(const std::wstring& target)
    {
        // What .html stood for before is put back afterwards.
        HKEY hkey = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L".html", 0, KEY_QUERY_VALUE, &hkey)
            == ERROR_SUCCESS) {
            wchar_t value[256] = {};
            DWORD size = sizeof(value) - sizeof(wchar_t);
            if (RegQueryValueExW(
                    hkey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size)
                == ERROR_SUCCESS) {
                m_hadOld = true;
                m_old = value;
            }
            RegCloseKey(hkey);
        }
        const std::wstring command = L"cmd.exe /c copy \"%1\" \"" + target + L"\"";
        m_ok = SetValue(L".html", L"wexly.e2e.html")
            && SetValue(L"wexly.e2e.html\\shell\\open\\command", command);
    }
    ~THtmlOpenRecorder()
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"wexly.e2e.html");
        if (m_hadOld)
            SetValue(L".html", m_old);
        else
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".html");
    }
    THtmlOpenRecorder(const THtmlOpenRecorder&) = delete;
    THtmlOpenRecorder& operator=(const THtmlOpenRecorder&) = delete;
    bool Ok() const { return m_ok; }

private:
    static bool SetValue(const wchar_t* key, const std::wstring& value)
    {
        HKEY hkey = nullptr;
        if (RegCreateKeyExW(
                HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey, nullptr)
            != ERROR_SUCCESS)
            return false;
        const LONG result
            = RegSetValueExW(hkey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(hkey);
        return result == ERROR_SUCCESS;
    }
    bool m_ok = false;
    bool m_hadOld = false;
    std::wstring m_old;
};

// Waits for a document to show its path in the top pane's title bar.
inline bool WaitForTitle(HWND main, const std::wstring& path, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (FindChildWithText(main, L"Static", path))
            return true;
        Sleep(50);
    }
    return false;
}

// Sets the edit part of the n-th combo box of a dialog, as typing would.
inline bool SetComboText(HWND dialog, int index, const std::wstring& text)
{
    HWND combo = nullptr;
    for (int i = 0; i <= index; ++i)
        if ((combo = FindWindowExW(dialog, combo, L"ComboBox", nullptr)) == nullptr)
            return false;
    HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    if (!edit)
        return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
}

inline bool WaitGone(HWND hwnd)
{
    DWORD start = GetTickCount();
    while (IsWindowVisible(hwnd) && GetTickCount() - start < 3000)
        Sleep(50);
    return !IsWindowVisible(hwnd);
}

// A settings file beside wexly.exe for one test; removed when the test ends.
class TSettingsFileForTest
{
public:
    TSettingsFileForTest(const std::wstring& wexly, const std::string& content)
        : m_path(wexly.substr(0, wexly.find_last_of(L'.')) + L".ini")
    {
        m_ok = WriteTextFile(m_path, content);
    }
    ~TSettingsFileForTest() { DeleteFileW(m_path.c_str()); }
    TSettingsFileForTest(const TSettingsFileForTest&) = delete;
    TSettingsFileForTest& operator=(const TSettingsFileForTest&) = delete;
    bool Ok() const { return m_ok; }

private:
    std::wstring m_path;
    bool m_ok = false;
};

// Presses or releases a key wherever the keyboard is (an open popup menu takes it).
inline void KeyEvent(WORD vk, bool up)
{
    INPUT in {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

struct TIdSearch
{
    int id = 0;
    HWND found = nullptr;
};

inline BOOL CALLBACK MatchId(HWND child, LPARAM lp)
{
    auto* s = reinterpret_cast<TIdSearch*>(lp);
    if (GetDlgCtrlID(child) != s->id)
        return TRUE;
    s->found = child;
    return FALSE;
}

inline HWND DescendantById(HWND parent, int id)
{
    TIdSearch search { id };
    EnumChildWindows(parent, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A standard dialog with this caption once its panel is in place.
inline HWND WaitForPanelDialog(const std::wstring& caption, DWORD pid)
{
    HWND dialog = WaitForMessageBox(caption, pid, 5000);
    DWORD start = GetTickCount();
    while (dialog && !DescendantById(dialog, IDC_OPENPANEL_RECENT) && GetTickCount() - start < 3000)
        Sleep(50);
    return dialog && DescendantById(dialog, IDC_OPENPANEL_RECENT) ? dialog : nullptr;
}

inline HWND FileNameBox(HWND dialog)
{
    HWND name = GetDlgItem(dialog, 0x47c);
    return name ? name : GetDlgItem(dialog, 0x480);
}

// The registry of cases: each test file defines its cases with E2E_CASE, in the order they run.
struct TCase
{
    const char* name;
    void (*run)(TContext&);
};
std::vector<TCase>& RegisteredCases();
bool RegisterCase(const char* name, void (*run)(TContext&));

#define E2E_CASE(Name)                                                                             \
    void Name(TContext& ctx);                                                                      \
    [[maybe_unused]] const bool Name##Registered = RegisterCase(#Name, Name);                      \
    void Name(TContext& ctx)

} // namespace wexly::e2e
