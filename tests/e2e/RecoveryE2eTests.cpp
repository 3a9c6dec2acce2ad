// End-to-end tests of the recovery of unsaved work: typing kept while the program runs, the
// question at the next start after the process was killed, and an orderly exit that leaves
// nothing behind.
#include "E2eSupport.h"

#include "win32/MenuIds.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

const std::wstring RecoveryCaption = L"Recover Unsaved Work";

// The record files in the instance folders under root.
std::vector<std::wstring> RecordFiles(const std::wstring& root)
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW dir {};
    HANDLE dirs = FindFirstFileW((root + L"\\*").c_str(), &dir);
    if (dirs == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::wstring name = dir.cFileName;
        if (name == L"." || name == L".." || !(dir.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        WIN32_FIND_DATAW file {};
        HANDLE found = FindFirstFileW((root + L"\\" + name + L"\\doc-*.wxr").c_str(), &file);
        if (found == INVALID_HANDLE_VALUE)
            continue;
        do
            files.push_back(root + L"\\" + name + L"\\" + file.cFileName);
        while (FindNextFileW(found, &file));
        FindClose(found);
    } while (FindNextFileW(dirs, &dir));
    FindClose(dirs);
    return files;
}

// Waits until the journal has written count records (it writes a few seconds after typing
// pauses).
bool WaitForRecords(const std::wstring& root, size_t count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (RecordFiles(root).size() == count)
            return true;
        Sleep(200);
    }
    return false;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

E2E_CASE(RecoveryBringsBackWorkTypedBeforeTheProcessWasKilled)
{
    auto [p, main, dir] = ctx.Launch(L"recover", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "zq"));
    PostCommand(main, IDM_FILE_NEW);
    CHECK(WaitForTitle(main, L"untitled1.txt"));
    CHECK(TypeText(main, "draft"));
    CHECK(WaitForRecords(ctx.RecoveryRoot(), 2, 15000));

    TerminateProcess(p.process, 1);
    CHECK(WaitForSingleObject(p.process, 20000) == WAIT_OBJECT_0);
    std::string onDisk;
    CHECK(ReadTextFile(dir + L"a.txt", &onDisk));
    CHECK_EQ(onDisk, std::string("alpha\r\n"));

    TProcess again = ctx.Start(L"", dir);
    HWND box = WaitForMessageBox(RecoveryCaption, again.pid, StartTimeoutMs);
    CHECK(box != nullptr);
    const std::wstring question = MessageBoxText(box);
    CHECK(Contains(question, dir + L"a.txt"));
    CHECK(Contains(question, L"untitled1.txt"));
    CHECK(SendKey(box, 'Y'));
    HWND main2 = WaitForWindow(MainClass, MainCaption, again.pid, StartTimeoutMs);
    CHECK(main2 != nullptr);
    // Both documents are back, modified, and the file on disk is as it was.
    CHECK(WaitForTitle(main2, L"untitled1.txt"));
    CHECK(FindChildWithText(main2, L"Static", L"M") != nullptr);
    CHECK(ReadTextFile(dir + L"a.txt", &onDisk));
    CHECK_EQ(onDisk, std::string("alpha\r\n"));
    CHECK(SendKey(main2, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main2, dir + L"a.txt"));
    CHECK(FindChildWithText(main2, L"Static", L"M") != nullptr);
    CHECK(WaitForStatusText(main2, 4, L"0003", 3000)); // the caret where it was
    // The command, not Ctrl+S: on a loaded first start the key can reach the window before it
    // is in front, and this case is about what is saved, not about the key.
    PostCommand(main2, IDM_FILE_SAVE);
    CHECK(WaitForFileContent(dir + L"a.txt", "zqalpha\r\n", 10000));
    // Ctrl+F2 is the second document: the untitled one, saved under a name of its own.
    CHECK(SendKey(main2, VK_F2, { VK_CONTROL }));
    CHECK(WaitForTitle(main2, L"untitled1.txt"));
    PostCommand(main2, IDM_FILE_SAVEAS);
    HWND dialog = WaitForMessageBox(L"Save As", again.pid, 5000);
    CHECK(dialog != nullptr);
    HWND name = GetDlgItem(dialog, 0x47c);
    if (!name)
        name = GetDlgItem(dialog, 0x480);
    CHECK(name != nullptr);
    SetWindowTextW(name, (dir + L"draft.txt").c_str());
    CHECK(ClickButton(dialog, L"Save"));
    CHECK(WaitForFileContent(dir + L"draft.txt", "draft\r\n", 5000));
    // Both saved: the orderly exit leaves nothing to recover.
    PostCommand(main2, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(again, 10000, &code));
    CHECK(RecordFiles(ctx.RecoveryRoot()).empty());
    CHECK(GetFileAttributesW(ctx.RecoveryRoot().c_str()) == INVALID_FILE_ATTRIBUTES);
}

E2E_CASE(RecoveryLeavesNothingAfterAnOrderlyExit)
{
    auto [p, main, dir] = ctx.Launch(L"orderly", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "x"));
    CHECK(WaitForRecords(ctx.RecoveryRoot(), 1, 15000));
    PostCommand(main, IDM_FILE_EXIT);
    HWND box = WaitForMessageBox(L"Save File", p.pid, 5000);
    CHECK(box != nullptr);
    CHECK(ClickButton(box, L"No"));
    DWORD code = 12345;
    CHECK(WaitForExit(p, 10000, &code));
    CHECK_EQ(code, static_cast<DWORD>(0));
    CHECK(GetFileAttributesW(ctx.RecoveryRoot().c_str()) == INVALID_FILE_ATTRIBUTES);

    TProcess again = ctx.Start(L"a.txt", dir);
    HWND main2 = WaitForWindow(MainClass, MainCaption, again.pid, StartTimeoutMs);
    CHECK(main2 != nullptr);
    CHECK(WaitForMessageBox(RecoveryCaption, again.pid, 500) == nullptr);
    std::string onDisk;
    CHECK(ReadTextFile(dir + L"a.txt", &onDisk));
    CHECK_EQ(onDisk, std::string("alpha\r\n"));
}

// The longest the window took to answer during ms milliseconds of asking it again and again:
// a stall of its thread shows as one long answer.
double WorstAnswer(
    HWND main, double ms, const std::wstring& recordsUnder = L"", double* firstRecordAt = nullptr)
{
    const LARGE_INTEGER start = Now();
    double worst = 0;
    while (MsSince(start) < ms) {
        const LARGE_INTEGER t = Now();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        worst = std::max(worst, MsSince(t));
        if (firstRecordAt && *firstRecordAt < 0 && !RecordFiles(recordsUnder).empty())
            *firstRecordAt = MsSince(start);
        Sleep(1);
    }
    return worst;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Start to the main window shown.
double StartUpMs(TContext& ctx, const std::wstring& program, const std::wstring& dir)
{
    const LARGE_INTEGER start = Now();
    TProcess p = StartProgram(program, L"", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    const double ms = main ? MsSince(start) : -1;
    EndProcess(p);
    RemoveDirectoryTree(ctx.RecoveryRoot());
    return ms;
}

// Figures for the report, not pass/fail limits: the window's longest stall while a 64 MiB
// document's record is made, how soon the record is on disk, and the start-up time with and
// without recovery data (beside the program of the main branch, when one is built).
E2E_CASE(RecoveryFigures)
{
    const std::wstring dir = MakeTempDir(L"recoveryperf");
    CHECK(WriteLinesFile(dir + L"big.txt", 64u << 20));
    TProcess p = ctx.Start(L"big.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, 60000);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 60000));
    const double idle = WorstAnswer(main, 2000);
    CHECK(SendKey(main, 'A'));
    double recordAt = -1;
    const double journaling = WorstAnswer(main, 12000, ctx.RecoveryRoot(), &recordAt);
    std::printf("         recovery: 64 MiB document, longest wait for the window: idle %.1f ms, "
                "while its record is made %.1f ms; record on disk %.0f ms after the key\n",
        idle, journaling, recordAt);
    CHECK(recordAt > 0);
    TerminateProcess(p.process, 1);
    WaitForSingleObject(p.process, 20000);

    // The next start with that record: to the question, then to the document shown.
    const LARGE_INTEGER start = Now();
    TProcess again = ctx.Start(L"", dir);
    HWND box = WaitForMessageBox(L"Recover Unsaved Work", again.pid, 60000);
    CHECK(box != nullptr);
    const double toQuestion = MsSince(start);
    const LARGE_INTEGER yes = Now();
    CHECK(SendKey(box, 'Y'));
    HWND main2 = WaitForWindow(MainClass, MainCaption, again.pid, 60000);
    CHECK(main2 != nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main2, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    std::printf("         recovery: start to the question %.0f ms (64 MiB record read and "
                "checked), Yes to the document shown %.0f ms\n",
        toQuestion, MsSince(yes));
    EndProcess(again);
    ctx.processes.clear();
    RemoveDirectoryTree(ctx.RecoveryRoot());
    DeleteFileW((dir + L"big.txt").c_str());

    // The main branch's program, copied so that its settings file stays out of its folder;
    // the two start in turn, so that a busy moment weighs on both alike.
    const std::wstring baseline = dir + L"baseline\\wexly.exe";
    CreateDirectoryW((dir + L"baseline").c_str(), nullptr);
    const bool compare
        = CopyFileW(L"Z:\\work\\main\\build\\win32\\wexly.exe", baseline.c_str(), FALSE) != 0;
    std::vector<double> ours, before;
    for (int i = 0; i < 7; ++i) {
        ours.push_back(StartUpMs(ctx, ctx.wexly, dir));
        if (compare)
            before.push_back(StartUpMs(ctx, baseline, dir));
    }
    std::printf("         recovery: start to the window without recovery data: median %.0f ms "
                "(the main branch's program: %.0f ms) of 7\n",
        Median(ours), compare ? Median(before) : 0.0);
}

} // namespace
} // namespace wexly::e2e
