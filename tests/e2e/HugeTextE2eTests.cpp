// End-to-end tests of text files too large to edit as text, and the figures of a huge one.
#include "E2eSupport.h"

#include "win32/MenuIds.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

// For as long as it lives, programs started by the test inherit the variable.
class TEnvironmentForTest
{
public:
    TEnvironmentForTest(const wchar_t* name, const std::wstring& value)
        : m_name(name)
    {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~TEnvironmentForTest() { SetEnvironmentVariableW(m_name, nullptr); }
    TEnvironmentForTest(const TEnvironmentForTest&) = delete;
    TEnvironmentForTest& operator=(const TEnvironmentForTest&) = delete;

private:
    const wchar_t* m_name;
};

const std::wstring kOffer = L"This file (1 MB) is too large to edit as text.\r"
                            L"Open it in the hex viewer instead? It shows files of any size.";

std::string LinesOf(size_t bytes)
{
    std::string text;
    for (int i = 0; text.size() < bytes; ++i)
        text += "line " + std::to_string(i) + " of a text too large for the memory left\r\n";
    return text;
}

// The program is told it has only a little address space left, so that a file of a few
// hundred kilobytes takes the path a file of gigabytes takes.
E2E_CASE(ATextFileTooLargeForTheMemoryLeftIsOfferedToTheHexViewer)
{
    // The reserve kept beside a text is 64 MiB; 100 KB are left for the text.
    TEnvironmentForTest env(L"WEXLY_TEST_FREE_ADDRESS_SPACE", L"67208864");
    const std::wstring dir = MakeTempDir(L"toolarge");
    CHECK(WriteTextFile(dir + L"big.txt", LinesOf(400000)));
    // From the command line, before the window shows: No opens nothing.
    TProcess p = ctx.Start(L"big.txt", dir);
    HWND box = WaitForMessageBox(dir + L"big.txt", p.pid, StartTimeoutMs);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), kOffer);
    CHECK(FindChildWithText(box, L"Button", L"&Yes") != nullptr);
    CHECK(ClickButton(box, L"No"));
    CHECK(WaitGone(box));
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"0 File(s) opened... 0 Total", 5000));
    // Dropped on the window: Yes shows it in the hex view.
    CHECK(DropFilesOn(main, { dir + L"big.txt" }, { 40, 80 }));
    box = WaitForMessageBox(dir + L"big.txt", p.pid, 10000);
    CHECK(box != nullptr);
    CHECK_EQ(MessageBoxText(box), kOffer);
    CHECK(ClickButton(box, L"Yes"));
    CHECK(WaitGone(box));
    CHECK(WaitForTitle(main, dir + L"big.txt"));
    CHECK(WaitForStatusText(main, 2, L"Ovr", 3000)); // the hex view overwrites
}

void RoundTrip(HWND main)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
}

// Reads the file in 1 MiB blocks, handing each to use; false when it cannot be read.
template <typename Use> bool ReadBlocks(const std::wstring& path, Use&& use)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> block(1 << 20);
    DWORD got = 0;
    while (ReadFile(h, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got > 0)
        use(block.data(), static_cast<size_t>(got));
    CloseHandle(h);
    return true;
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void PrintMemory(HANDLE process, long long fileSize, const char* when)
{
    PROCESS_MEMORY_COUNTERS pmc {};
    pmc.cb = sizeof(pmc);
    if (!GetProcessMemoryInfo(process, &pmc, sizeof(pmc))) {
        std::printf("         perf: memory %s: unavailable\n", when);
        return;
    }
    const double mb = 1024.0 * 1024.0;
    std::printf("         perf: memory %s: peak working set %.0f MB (%.2fx the file), peak "
                "committed %.0f MB (%.2fx)\n",
        when, static_cast<double>(pmc.PeakWorkingSetSize) / mb,
        static_cast<double>(pmc.PeakWorkingSetSize) / static_cast<double>(fileSize),
        static_cast<double>(pmc.PeakPagefileUsage) / mb,
        static_cast<double>(pmc.PeakPagefileUsage) / static_cast<double>(fileSize));
}

// Figures for the report on a huge text file, not pass/fail limits. Runs only when
// Watches the message panel until the load has ended; whether "Reading <name>... n%" was seen
// while the window could be seen.
bool SawReadingShown(HWND main, const std::wstring& name, std::wstring& last)
{
    bool seen = false;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 60000) {
        last = StatusBarText(main, 0);
        if (last.rfind(L"Reading " + name + L"... ", 0) == 0 && IsWindowVisible(main))
            seen = true;
        if (last == L"1 File(s) opened... 1 Total")
            break;
        Sleep(20);
    }
    return seen;
}

// A file that takes over a second to read, opened into the running window and named at the
// start: the message panel says how far the reading has come (at the start the window shows
// early for it), and the window answers its messages meanwhile.
E2E_CASE(ALongLoadShowsHowFarItHasCome)
{
    const std::wstring dir = MakeTempDir(L"longfile");
    CHECK(WriteLinesFile(dir + L"long.txt", 256u << 20));
    std::wstring last;
    {
        TProcess first = ctx.Start(L"", MakeTempDir(L"longload"));
        HWND main = WaitForWindow(MainClass, MainCaption, first.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        ctx.Start(L"long.txt", dir);
        CHECK(SawReadingShown(main, L"long.txt", last));
        CHECK_EQ(Narrow(last), std::string("1 File(s) opened... 1 Total"));
        CHECK(!IsHungAppWindow(main));
        EndProcess(first);
        ctx.processes.clear();
    }
    TProcess started = ctx.Start(L"long.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, started.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(SawReadingShown(main, L"long.txt", last));
    CHECK_EQ(Narrow(last), std::string("1 File(s) opened... 1 Total"));
    EndProcess(started);
    ctx.processes.clear();
    DeleteFileW((dir + L"long.txt").c_str());
}

// WEXLY_HUGE_TEXT names the file (scripts/huge-text.sh makes one and sets it); the file is
// changed by the save. Each figure is printed beside a reference this run measured: a plain
// read of the file with its lines counted, a plain search of it, and a plain copy.
E2E_CASE(HugeTextFigures)
{
    wchar_t given[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"WEXLY_HUGE_TEXT", given, MAX_PATH)) {
        std::printf("         perf: huge text skipped (WEXLY_HUGE_TEXT is not set)\n");
        return;
    }
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(given, MAX_PATH, full, nullptr);
    const std::wstring path = full;
    const std::wstring dir = path.substr(0, path.find_last_of(L'\\') + 1);
    const std::wstring name = path.substr(dir.size());
    WIN32_FILE_ATTRIBUTE_DATA data {};
    CHECK(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    const long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;

    // Reference: the file read and split into lines.
    long long lines = 0;
    LARGE_INTEGER t = Now();
    CHECK(ReadBlocks(path, [&](const char* bytes, size_t n) {
        const char* end = bytes + n;
        for (const char* at = bytes;
             (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at))))
             != nullptr;
             ++at)
            ++lines;
    }));
    const double readMs = MsSince(t);
    std::printf("         perf: file %.0f MB, %lld lines; reference read + line count: %.0f ms\n",
        static_cast<double>(size) / (1024.0 * 1024.0), lines, readMs);

    t = Now();
    TProcess p = ctx.Start(L"\"" + name + L"\"", dir);
    // Either the text shows or the offer comes (before the main window, when judged at once).
    HWND main = nullptr;
    HWND offer = nullptr;
    bool opened = false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 300000;) {
        if (!main)
            main = WaitForWindow(MainClass, MainCaption, p.pid, 1);
        if (main && StatusBarText(main, 0) == L"1 File(s) opened... 1 Total") {
            opened = true;
            break;
        }
        if ((offer = WaitForMessageBox(path, p.pid, 1)) != nullptr)
            break;
        if (WaitForExit(p, 0, nullptr))
            break;
        Sleep(20);
    }
    if (offer) {
        const double ms = MsSince(t);
        std::printf("         perf: too large: \"%s\" after %.0f ms (%.2fx the read)\n",
            Narrow(MessageBoxText(offer)).c_str(), ms, ms / readMs);
        PrintMemory(p.process, size, "until the offer");
        t = Now();
        CHECK(ClickButton(offer, L"Yes"));
        if (!main)
            main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        CHECK(WaitForStatusText(main, 2, L"Ovr", 60000));
        RoundTrip(main);
        std::printf("         perf: hex view shown %.0f ms after Yes\n", MsSince(t));
        return;
    }
    CHECK(opened);
    CHECK(main != nullptr);
    RoundTrip(main);
    const double paintMs = MsSince(t);
    std::printf("         perf: start to first paint: %.0f ms (%.2fx the read)\n", paintMs,
        paintMs / readMs);
    PrintMemory(p.process, size, "after loading");

    t = Now();
    CHECK(SendKey(main, VK_END, { VK_CONTROL }));
    for (DWORD start = GetTickCount();
         StatusBarText(main, 3) == L"0001" && GetTickCount() - start < 60000;)
        Sleep(1);
    RoundTrip(main);
    const double endMs = MsSince(t);
    std::printf("         perf: Ctrl+End to line %s: %.0f ms (%.3fx the read)\n",
        Narrow(StatusBarText(main, 3)).c_str(), endMs, endMs / readMs);
    t = Now();
    CHECK(SendKey(main, VK_HOME, { VK_CONTROL }));
    CHECK(WaitForStatusText(main, 3, L"0001", 60000));
    RoundTrip(main);
    std::printf("         perf: Ctrl+Home back: %.0f ms\n", MsSince(t));

    // A word that is nowhere in the file, searched from its start.
    const std::string missing = "zqxjwvkm";
    bool found = false;
    std::string carry;
    t = Now();
    CHECK(ReadBlocks(path, [&](const char* bytes, size_t n) {
        carry.append(bytes, n);
        found = found || carry.find(missing) != std::string::npos;
        carry.erase(0, carry.size() - (missing.size() - 1));
    }));
    const double scanMs = MsSince(t);
    CHECK(!found);
    CHECK(SendKey(main, VK_F2));
    HWND find = WaitForMessageBox(L"Find", p.pid, 5000);
    CHECK(find != nullptr);
    CHECK(SetComboText(find, 0, std::wstring(missing.begin(), missing.end())));
    t = Now();
    CHECK(ClickButton(find, L"Find Next"));
    HWND none = WaitForMessageBox(L"Search", p.pid, 300000);
    const double searchMs = MsSince(t);
    CHECK(none != nullptr);
    std::printf("         perf: search for a missing word: %.0f ms; reference read + find: %.0f "
                "ms (%.2fx)\n",
        searchMs, scanMs, searchMs / scanMs);
    CHECK(ClickButton(none, L"OK"));
    CHECK(WaitGone(none));
    PrintMemory(p.process, size, "after the search");

    // Reference: the file copied block by block.
    const std::wstring copy = path + L".copy";
    HANDLE out = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CHECK(out != INVALID_HANDLE_VALUE);
    t = Now();
    CHECK(ReadBlocks(path, [&](const char* bytes, size_t n) {
        DWORD written = 0;
        WriteFile(out, bytes, static_cast<DWORD>(n), &written, nullptr);
    }));
    FlushFileBuffers(out);
    CloseHandle(out);
    const double copyMs = MsSince(t);
    DeleteFileW(copy.c_str());
    CHECK(TypeText(main, "x")); // modified, so that saving writes
    Sleep(3000);
    PrintMemory(p.process, size, "after typing");
    const FILETIME before = WriteTime(path);
    t = Now();
    PostCommand(main, IDM_FILE_SAVE);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 300000; Sleep(5)) {
        const FILETIME now = WriteTime(path);
        if (CompareFileTime(&now, &before) != 0)
            break;
    }
    RoundTrip(main);
    const double saveMs = MsSince(t);
    std::printf("         perf: save: %.0f ms; reference copy: %.0f ms (%.2fx)\n", saveMs, copyMs,
        saveMs / copyMs);
    PrintMemory(p.process, size, "at the end");
    EndProcess(p);
    ctx.processes.clear();
}

} // namespace
} // namespace wexly::e2e
