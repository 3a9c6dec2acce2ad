// End-to-end tests of figures for the report (not pass/fail limits).
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

double MsSince(LARGE_INTEGER start)
{
    LARGE_INTEGER now {}, freq {};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0
        / static_cast<double>(freq.QuadPart);
}

// Writes size bytes of 60-character lines.
bool WriteLines(const std::wstring& path, size_t size)
{
    std::string line(58, 'x');
    line += "\r\n";
    std::string block;
    while (block.size() < 1024 * 1024)
        block += line;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    size_t left = size;
    bool ok = true;
    while (left > 0 && ok) {
        DWORD chunk = static_cast<DWORD>(std::min(left, block.size()));
        DWORD written = 0;
        ok = WriteFile(h, block.data(), chunk, &written, nullptr) && written == chunk;
        left -= chunk;
    }
    CloseHandle(h);
    return ok;
}

// Figures for the report, not pass/fail limits: start to the loaded document on the screen,
// switching among 50 documents, and typing into a large document with the window split.
E2E_CASE(PerformanceFigures)
{
    std::wstring dir = MakeTempDir(L"perf");
    CHECK(WriteTextFile(dir + L"small.txt", "hello\r\n"));
    CHECK(WriteLines(dir + L"one.txt", 1024 * 1024));
    CHECK(WriteLines(dir + L"big.txt", 64 * 1024 * 1024));
    for (const wchar_t* name : { L"small.txt", L"one.txt", L"big.txt" }) {
        LARGE_INTEGER start {};
        QueryPerformanceCounter(&start);
        TProcess p = ctx.Start(name, dir);
        HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 60000));
        // The paint is queued behind what is already posted: one round trip lets it run.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        std::printf("         perf: start to %ls shown: %.0f ms\n", name, MsSince(start));
        if (std::wstring(name) == L"big.txt") {
            CHECK(SendKey(main, VK_F6, { VK_MENU }));
            Sleep(500);
            double worst = 0, total = 0;
            for (int i = 0; i < 10; ++i) {
                const std::wstring before = StatusBarText(main, 4);
                LARGE_INTEGER t {};
                QueryPerformanceCounter(&t);
                CHECK(SendKey(main, 'A'));
                DWORD waited = GetTickCount();
                while (StatusBarText(main, 4) == before && GetTickCount() - waited < 5000)
                    Sleep(1);
                SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
                const double ms = MsSince(t);
                worst = std::max(worst, ms);
                total += ms;
            }
            std::printf(
                "         perf: key to status in split 64 MiB: mean %.1f ms, worst %.1f ms\n",
                total / 10, worst);
        }
        EndProcess(p);
        ctx.processes.clear();
    }
    std::wstring many = MakeTempDir(L"many");
    for (int i = 0; i < 50; ++i)
        CHECK(WriteTextFile(many + L"f" + std::to_wstring(100 + i) + L".txt", "text\r\n"));
    TProcess p = ctx.Start(L"*.txt", many);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"50 File(s) opened... 50 Total", 20000));
    double worst = 0, total = 0;
    HWND title = GetDlgItem(main, 3002); // the top pane's title
    CHECK(title != nullptr);
    for (int i = 0; i < 20; ++i) {
        const std::wstring before = WindowText(title);
        LARGE_INTEGER t {};
        QueryPerformanceCounter(&t);
        CHECK(SendKey(main, VK_TAB, { VK_CONTROL }));
        DWORD waited = GetTickCount();
        while (WindowText(title) == before && GetTickCount() - waited < 5000)
            Sleep(1);
        CHECK(WindowText(title) != before);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        const double ms = MsSince(t);
        worst = std::max(worst, ms);
        total += ms;
    }
    std::printf("         perf: Ctrl+Tab among 50 documents: mean %.1f ms, worst %.1f ms\n",
        total / 20, worst);
    DeleteFileW((dir + L"big.txt").c_str());
}

} // namespace
} // namespace wexly::e2e
