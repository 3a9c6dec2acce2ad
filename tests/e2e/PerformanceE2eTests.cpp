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

// Writes size bytes of prose: paragraphs of 40 to 400 characters, so that word wrap has work.
bool WriteProse(const std::wstring& path, size_t size)
{
    static const char* const words[] = { "the", "quick", "editor", "keeps", "every", "byte", "of",
        "text", "while", "users", "type", "and", "wrap", "long", "paragraphs", "around" };
    std::string block;
    uint32_t seed = 12345;
    while (block.size() < 1024 * 1024) {
        seed = seed * 1103515245 + 12345;
        const size_t length = 40 + (seed >> 8) % 360;
        std::string para;
        while (para.size() < length) {
            seed = seed * 1103515245 + 12345;
            para += words[(seed >> 16) % 16];
            para += ' ';
        }
        para.back() = '.';
        block += para + "\r\n";
    }
    return WriteRepeated(path, block, size);
}

// Waits until the program has painted what the last input changed. A round trip first runs
// everything already queued; then the windows still waiting for a paint get it at once, the
// call returning when the last paint handler has finished.
void WaitPainted(HWND main)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Sorted samples' median, 99th percentile and worst, as one report line.
std::string Percentiles(std::vector<double> samples)
{
    if (samples.empty())
        return "no samples";
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    const size_t p99 = (n * 99 + 99) / 100 - 1;
    char line[160];
    std::snprintf(line, sizeof line, "p50 %.1f ms, p99 %.1f ms, worst %.1f ms (%zu samples)",
        samples[n / 2], samples[std::min(p99, n - 1)], samples.back(), n);
    return line;
}

// Times one input until its effect is painted: changed() tells when the program has handled it.
template <class Input, class Changed> double TimeToPaint(HWND main, Input input, Changed changed)
{
    LARGE_INTEGER t {};
    QueryPerformanceCounter(&t);
    input();
    const DWORD waited = GetTickCount();
    while (!changed() && GetTickCount() - waited < 5000)
        Sleep(0);
    WaitPainted(main);
    return MsSince(t);
}

// Figures for the report, not pass/fail limits: start to the loaded document on the screen.
E2E_CASE(PerformanceFigures)
{
    std::wstring dir = MakeTempDir(L"perf");
    CHECK(WriteTextFile(dir + L"small.txt", "hello\r\n"));
    CHECK(WriteLinesFile(dir + L"one.txt", 1024 * 1024));
    CHECK(WriteLinesFile(dir + L"big.txt", 64 * 1024 * 1024));
    for (const wchar_t* name : { L"small.txt", L"one.txt", L"big.txt" }) {
        LARGE_INTEGER start {};
        QueryPerformanceCounter(&start);
        TProcess p = ctx.Start(name, dir);
        HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 60000));
        WaitPainted(main);
        std::printf("         perf: start to %ls shown: %.0f ms\n", name, MsSince(start));
        EndProcess(p);
        ctx.processes.clear();
    }
    DeleteFileW((dir + L"big.txt").c_str());
}

// Figures for the report: typing into 64 MiB of wrapped prose shown in two panes, each key
// timed until its paint has ended.
E2E_CASE(TypingResponseFigures)
{
    std::wstring dir = MakeTempDir(L"respond");
    CHECK(WriteProse(dir + L"prose.txt", 64 * 1024 * 1024));
    // A round trip to the message pump beside each sample: what the driver itself costs.
    std::vector<double> roundTrips, keys, moves;
    {
        TProcess p = ctx.Start(L"prose.txt", dir);
        HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
        CHECK(main != nullptr);
        CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 60000));
        PostCommand(main, IDM_OPTIONS_WORDWRAP);
        CHECK(SendKey(main, VK_F6, { VK_MENU }));
        WaitPainted(main);
        // Into the middle of the text, where both panes show the same wrapped paragraphs.
        for (int i = 0; i < 8; ++i)
            CHECK(SendKey(main, VK_NEXT));
        // A sent message overtakes queued input: the page moves may still be running after the
        // round trip, and would land in the first sample.
        Sleep(500);
        WaitPainted(main);
        for (int i = 0; i < 200; ++i) {
            const std::wstring before = StatusBarText(main, 4);
            keys.push_back(TimeToPaint(
                main, [&] { SendKey(main, 'A' + i % 26); },
                [&] { return StatusBarText(main, 4) != before; }));
            roundTrips.push_back(TimeToPaint(
                main, [] {}, [] { return true; }));
        }
        for (int i = 0; i < 50; ++i) {
            // The line panel counts paragraphs: within a wrapped one only the column moves.
            auto where = [&] { return StatusBarText(main, 3) + L":" + StatusBarText(main, 4); };
            const std::wstring before = where();
            moves.push_back(TimeToPaint(
                main, [&] { SendKey(main, VK_DOWN); }, [&] { return where() != before; }));
        }
        CHECK(SendKey(main, 'Z', { VK_CONTROL })); // leave nothing typed behind
        EndProcess(p);
        ctx.processes.clear();
    }
    std::printf(
        "         perf: key to paint, 64 MiB wrapped, split: %s\n", Percentiles(keys).c_str());
    std::printf(
        "         perf: Down to paint, 64 MiB wrapped, split: %s\n", Percentiles(moves).c_str());
    std::printf(
        "         perf: empty round trip beside them: %s\n", Percentiles(roundTrips).c_str());
    DeleteFileW((dir + L"prose.txt").c_str());
}

// Figures for the report: Ctrl+Tab among 50 documents, each timed until its paint has ended.
E2E_CASE(SwitchingResponseFigures)
{
    std::wstring many = MakeTempDir(L"many");
    // Lengths from one line to a few thousand, so that neighbours' scroll bars differ.
    for (int i = 0; i < 50; ++i)
        CHECK(WriteRepeated(many + L"f" + std::to_wstring(100 + i) + L".txt",
            "a line of text\r\n", static_cast<size_t>(16 + (i * 7919 % 50) * 1000)));
    TProcess p = ctx.Start(L"*.txt", many);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"50 File(s) opened... 50 Total", 20000));
    HWND title = GetDlgItem(main, 3002); // the top pane's title
    CHECK(title != nullptr);
    WaitPainted(main);
    // The first switch after start-up also carries the window's first taking of the focus (the
    // Edit menu comes alive, so the menu bar is drawn again): it is reported on its own.
    std::vector<double> switches, roundTrips;
    double first = 0;
    for (int i = 0; i <= 200; ++i) {
        const std::wstring before = WindowText(title);
        const double ms = TimeToPaint(
            main, [&] { SendKey(main, VK_TAB, { VK_CONTROL }); },
            [&] { return WindowText(title) != before; });
        if (i == 0)
            first = ms;
        else
            switches.push_back(ms);
        CHECK(WindowText(title) != before);
        roundTrips.push_back(TimeToPaint(
            main, [] {}, [] { return true; }));
    }
    std::printf("         perf: first Ctrl+Tab after start-up: %.1f ms\n", first);
    std::printf(
        "         perf: Ctrl+Tab to paint among 50 documents: %s\n", Percentiles(switches).c_str());
    std::printf(
        "         perf: empty round trip beside them: %s\n", Percentiles(roundTrips).c_str());
}

} // namespace
} // namespace wexly::e2e
