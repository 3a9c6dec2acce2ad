// End-to-end tests of saving under faults of the real file system: a full drive, a read-only
// folder, a file held by another program, the program killed during a long save, and the
// settings file under the same faults; and what a save keeps of a file's attributes. The
// full and read-only drives come from tests/e2e/fault_drives.sh (WEXLY_E2E_FULL_DRIVE,
// WEXLY_E2E_READONLY_DRIVE); without them those cases are skipped, and say so.
#include "E2eSupport.h"

#include "win32/MenuIds.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace wexly::e2e {
namespace {

std::wstring DriveFromEnvironment(const wchar_t* name)
{
    wchar_t value[16] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 16);
    return n > 0 && n < 16 ? std::wstring(value) : std::wstring();
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

// The names in dir matching mask.
std::vector<std::wstring> NamesIn(const std::wstring& dir, const std::wstring& mask = L"*")
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data {};
    HANDLE find = FindFirstFileW((dir + mask).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// Text lines "line 000001" ... of about size bytes.
std::string Lines(size_t size)
{
    std::string text;
    char line[32];
    for (int i = 1; text.size() < size; ++i) {
        std::snprintf(line, sizeof line, "line %06d\r\n", i);
        text += line;
    }
    return text;
}

// Fills the drive of path with one file until nothing more fits; true when it ended full.
bool FillDrive(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::string block(1 << 20, 'f');
    bool full = false;
    for (DWORD size = 1 << 20; size >= 512;) {
        DWORD written = 0;
        if (WriteFile(h, block.data(), size, &written, nullptr) && written == size)
            continue;
        const DWORD code = GetLastError();
        full = full || code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL;
        size /= 2;
    }
    CloseHandle(h);
    return full;
}

// Deletes a file when the case ends, however it ends (a filler must not fill the next case's
// drive; a read-only file must not stay behind).
struct TRemoveAtEnd
{
    std::wstring path;
    ~TRemoveAtEnd()
    {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
};

// Another program's handle on a file, without sharing; closed when the case ends.
struct THeld
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    explicit THeld(const std::wstring& path)
        : handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~THeld() { Release(); }
    THeld(const THeld&) = delete;
    THeld& operator=(const THeld&) = delete;
    bool Ok() const { return handle != INVALID_HANDLE_VALUE; }
    void Release()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
};

// The text of the "Error" box the program shows, which is then closed; empty when none came.
std::wstring TakeErrorBox(TContext& ctx, DWORD pid)
{
    HWND box = WaitForMessageBox(L"Error", pid, 10000);
    if (!box)
        return L"";
    const std::wstring text = MessageBoxText(box);
    ctx.notes.push_back("box: " + Narrow(text));
    ClickButton(box, L"OK");
    WaitGone(box);
    return text;
}

// Whether the current document still counts as changed: closing it asks (and is cancelled).
bool StillModified(HWND main, DWORD pid)
{
    if (!SendKey(main, VK_F4, { VK_CONTROL }))
        return false;
    HWND box = WaitForMessageBox(L"Attention!", pid, 5000);
    if (!box)
        return false;
    const bool asks = MessageBoxText(box) == L"Save changes to file?";
    ClickButton(box, L"Cancel");
    WaitGone(box);
    return asks;
}

DWORD AttributesOf(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str());
}

const std::wstring SaveNotDone = L" was not saved: ";
const std::wstring NothingLost = L"The file was left as it was; the document keeps its changes.";

E2E_CASE(SaveOnAFullDriveKeepsTheFileAndTheChangesAndSaysWhy)
{
    const std::wstring drive = DriveFromEnvironment(L"WEXLY_E2E_FULL_DRIVE");
    if (drive.empty())
        return ctx.Skip("no small drive to fill (WEXLY_E2E_FULL_DRIVE unset: no tmpfs mount)");
    const std::wstring dir = drive + L"\\doc\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring path = dir + L"a.txt";
    const std::string original = Lines(64 * 1024);
    CHECK(WriteTextFile(path, original));
    TRemoveAtEnd removeFile { path }, removeBackup { dir + L"a.~txt" };
    TProcess p = ctx.Start(L"a.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, path));
    TRemoveAtEnd filler { drive + L"\\filler.bin" };
    CHECK(FillDrive(filler.path));

    CHECK(TypeText(main, "q"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    const std::wstring text = TakeErrorBox(ctx, p.pid);
    CHECK(Contains(text, path + SaveNotDone + L"There is not enough space on the disk."));
    CHECK(Contains(text, NothingLost));
    std::string onDisk;
    CHECK(ReadTextFile(path, &onDisk));
    CHECK(onDisk == original);
    CHECK_EQ(NamesIn(dir), std::vector<std::wstring> { L"a.txt" });
    CHECK(StillModified(main, p.pid));

    // With room again the same save goes through.
    DeleteFileW(filler.path.c_str());
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(path, "q" + original, 5000));
}

// Runs the copy of the program on a fault drive (its settings file beside it) and ends it
// orderly: the settings cannot be saved there, and the user is told.
void CheckSettingsOnDrive(
    TContext& ctx, const std::wstring& drive, bool fill, const std::wstring& reason)
{
    const std::wstring exe = drive + L"\\wexly.exe", ini = drive + L"\\wexly.ini";
    std::string before;
    CHECK(ReadTextFile(ini, &before));
    TProcess p = StartProgram(exe, L"", MakeTempDir(L"faultini"));
    ctx.processes.push_back(p);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    Sleep(500);
    TRemoveAtEnd filler { fill ? drive + L"\\filler.bin" : L"" };
    if (fill)
        CHECK(FillDrive(filler.path));
    PostCommand(main, IDM_FILE_EXIT);
    const std::wstring text = TakeErrorBox(ctx, p.pid);
    CHECK(Contains(text, L"The settings could not be saved to\r" + ini + L"\r" + reason));
    CHECK(Contains(text, L"The previous settings file was left unchanged."));
    DWORD code = 0;
    CHECK(WaitForExit(p, 10000, &code));
    std::string after;
    CHECK(ReadTextFile(ini, &after));
    CHECK_EQ(after, before);
    CHECK(NamesIn(drive + L"\\", L"~wx*.tmp").empty());
    RemoveDirectoryTree(drive + L"\\wexly.recovery");
}

E2E_CASE(SettingsOnAFullDriveStayAsTheyWereAndTheUserIsTold)
{
    const std::wstring drive = DriveFromEnvironment(L"WEXLY_E2E_FULL_DRIVE");
    if (drive.empty())
        return ctx.Skip("no small drive to fill (WEXLY_E2E_FULL_DRIVE unset: no tmpfs mount)");
    CheckSettingsOnDrive(ctx, drive, true, L"There is not enough space on the disk.");
}

E2E_CASE(SaveAsIntoAReadOnlyFolderIsRefusedClearly)
{
    const std::wstring drive = DriveFromEnvironment(L"WEXLY_E2E_READONLY_DRIVE");
    if (drive.empty())
        return ctx.Skip("no read-only drive (WEXLY_E2E_READONLY_DRIVE unset: no bind mount)");
    auto [p, main, dir] = ctx.Launch(L"rofolder", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(TypeText(main, "q"));
    Sleep(200);
    PostCommand(main, IDM_FILE_SAVEAS);
    HWND dialog = WaitForMessageBox(L"Save As", p.pid, 5000);
    CHECK(dialog != nullptr);
    HWND name = FileNameBox(dialog);
    CHECK(name != nullptr);
    const std::wstring target = drive + L"\\new.txt";
    SetWindowTextW(name, target.c_str());
    CHECK(ClickButton(dialog, L"Save"));
    const std::wstring text = TakeErrorBox(ctx, p.pid);
    CHECK(Contains(text, target + SaveNotDone));
    CHECK(Contains(text, NothingLost));
    CHECK(AttributesOf(target) == INVALID_FILE_ATTRIBUTES);
    CHECK(WaitForTitle(main, dir + L"a.txt"));
    CHECK(StillModified(main, p.pid));
    std::string onDisk;
    CHECK(ReadTextFile(drive + L"\\a.txt", &onDisk));
    CHECK_EQ(onDisk, std::string("read-only folder text\r\n"));
}

E2E_CASE(SettingsInAReadOnlyFolderStayAsTheyWereAndTheUserIsTold)
{
    const std::wstring drive = DriveFromEnvironment(L"WEXLY_E2E_READONLY_DRIVE");
    if (drive.empty())
        return ctx.Skip("no read-only drive (WEXLY_E2E_READONLY_DRIVE unset: no bind mount)");
    CheckSettingsOnDrive(ctx, drive, false, L"");
}

E2E_CASE(AFileHeldByAnotherProgramIsNotSavedUntilItIsLetGo)
{
    auto [p, main, dir] = ctx.Launch(L"held", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    const std::wstring path = dir + L"a.txt";
    CHECK(WaitForTitle(main, path));
    CHECK(TypeText(main, "q"));
    THeld held(path);
    CHECK(held.Ok());
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    const std::wstring text = TakeErrorBox(ctx, p.pid);
    CHECK(Contains(text,
        path + SaveNotDone
            + L"The process cannot access the file because it "
              L"is being used by another process."));
    CHECK(Contains(text, NothingLost));
    held.Release();
    std::string onDisk;
    CHECK(ReadTextFile(path, &onDisk));
    CHECK_EQ(onDisk, std::string("alpha\r\n"));
    // Nothing else beside it but, where the system let it be made, the backup: a second name
    // of the same file, which holds the same text.
    std::vector<std::wstring> names = NamesIn(dir);
    names.erase(std::remove(names.begin(), names.end(), L"a.~txt"), names.end());
    CHECK_EQ(names, std::vector<std::wstring> { L"a.txt" });
    CHECK(StillModified(main, p.pid));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(path, "qalpha\r\n", 5000));
}

E2E_CASE(SettingsHeldByAnotherProgramStayAsTheyWereAndTheUserIsTold)
{
    TSettingsFileForTest settings(ctx.wexly, "[Wexly]\r\ngenTabSize=3\r\n[Mine]\r\nkeep=1\r\n");
    CHECK(settings.Ok());
    std::string before;
    CHECK(ReadTextFile(ctx.SettingsPath(), &before));
    auto [p, main, dir] = ctx.Launch(L"heldini");
    CHECK(main != nullptr);
    Sleep(500);
    THeld held(ctx.SettingsPath());
    CHECK(held.Ok());
    PostCommand(main, IDM_FILE_EXIT);
    const std::wstring text = TakeErrorBox(ctx, p.pid);
    CHECK(Contains(text, L"The settings could not be saved to\r" + ctx.SettingsPath() + L"\r"));
    CHECK(Contains(text, L"being used by another process"));
    DWORD code = 0;
    CHECK(WaitForExit(p, 10000, &code));
    held.Release();
    std::string after;
    CHECK(ReadTextFile(ctx.SettingsPath(), &after));
    CHECK_EQ(after, before);
}

E2E_CASE(ASavedFileKeepsItsAttributesAndAReadOnlyOneIsRefused)
{
    auto [p, main, dir] = ctx.Launch(L"attrs", { { L"a.txt", "alpha\r\n" } }, L"a.txt");
    CHECK(main != nullptr);
    const std::wstring path = dir + L"a.txt";
    TRemoveAtEnd removeFile { path }, removeBackup { dir + L"a.~txt" };
    CHECK(WaitForTitle(main, path));
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    CHECK(SetFileAttributesW(path.c_str(), kept | FILE_ATTRIBUTE_ARCHIVE));
    CHECK(TypeText(main, "q"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(path, "qalpha\r\n", 5000));
    CHECK_EQ(AttributesOf(path) & (kept | FILE_ATTRIBUTE_ARCHIVE), kept | FILE_ATTRIBUTE_ARCHIVE);
    ctx.notes.push_back("attributes after the save: " + std::to_string(AttributesOf(path))
        + ", backup: " + std::to_string(AttributesOf(dir + L"a.~txt")));

    // Made read-only while open: the save is refused, the file and its attributes stay.
    CHECK(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    CHECK(TypeText(main, "w"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    const std::wstring text = TakeErrorBox(ctx, p.pid);
    CHECK(Contains(text, path + SaveNotDone + L"Access is denied."));
    std::string onDisk;
    CHECK(ReadTextFile(path, &onDisk));
    CHECK_EQ(onDisk, std::string("qalpha\r\n"));
    CHECK_EQ(AttributesOf(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
        static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    CHECK(NamesIn(dir, L"~wx*.tmp").empty());
    CHECK(StillModified(main, p.pid));
}

int64_t SizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Starts the program on the big file, waits until it is shown and types one letter at its
// start; main is null when that failed.
HWND StartAndType(TContext& ctx, const std::wstring& dir, char letter, TProcess* p)
{
    *p = ctx.Start(L"big.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p->pid, StartTimeoutMs);
    if (!main || !WaitForStatusText(main, 0, L"1 File(s) opened... 1 Total", 60000))
        return nullptr;
    if (!TypeText(main, std::string(1, letter)) || !WaitForStatusText(main, 4, L"0002", 5000))
        return nullptr;
    return main;
}

E2E_CASE(KillingTheProgramDuringALongSaveLeavesTheOldOrTheNewText)
{
    const std::wstring dir = MakeTempDir(L"killsave");
    const std::wstring path = dir + L"big.txt";
    const size_t size = 64 * 1024 * 1024;
    CHECK(WriteLinesFile(path, size));
    std::string current;
    CHECK(ReadTextFile(path, &current));

    // The reference: the same bytes copied by the system.
    LARGE_INTEGER t {};
    QueryPerformanceCounter(&t);
    CHECK(CopyFileW(path.c_str(), (dir + L"copy.bin").c_str(), FALSE));
    const double copyMs = MsSince(t);
    DeleteFileW((dir + L"copy.bin").c_str());

    // One whole save, timed from the key to the new file in place.
    TProcess p;
    HWND main = StartAndType(ctx, dir, 'a', &p);
    CHECK(main != nullptr);
    QueryPerformanceCounter(&t);
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    const DWORD waited = GetTickCount();
    while (
        SizeOf(path) != static_cast<int64_t>(current.size() + 1) && GetTickCount() - waited < 60000)
        Sleep(2);
    const double saveMs = MsSince(t);
    CHECK(SizeOf(path) == static_cast<int64_t>(current.size() + 1));
    char line[160];
    std::snprintf(line, sizeof line,
        "perf: save of the 64 MiB document %.0f ms; CopyFile of it %.0f ms (ratio %.2f)", saveMs,
        copyMs, saveMs / copyMs);
    ctx.notes.push_back(line);
    current.insert(current.begin(), 'a');
    std::string onDisk;
    CHECK(ReadTextFile(path, &onDisk));
    CHECK(onDisk == current);
    EndProcess(p);
    ctx.processes.clear();
    RemoveDirectoryTree(ctx.RecoveryRoot());

    // Killed at points through the save and just after it: the file is whole, the old text
    // or the new. (The key reaches the program a little after it is sent.)
    const double fractions[] = { 0.2, 0.5, 0.8, 1.0, 1.3, 1.7, 2.5 };
    char letter = 'b';
    for (double fraction : fractions) {
        main = StartAndType(ctx, dir, letter, &p);
        CHECK(main != nullptr);
        const std::string next = std::string(1, letter) + current;
        CHECK(SendKey(main, 'S', { VK_CONTROL }));
        Sleep(static_cast<DWORD>(saveMs * fraction));
        TerminateProcess(p.process, 1);
        CHECK(WaitForSingleObject(p.process, 20000) == WAIT_OBJECT_0);
        EndProcess(p);
        ctx.processes.clear();
        RemoveDirectoryTree(ctx.RecoveryRoot());
        CHECK(ReadTextFile(path, &onDisk));
        const bool isNew = onDisk == next;
        CHECK(isNew || onDisk == current);
        if (isNew)
            current = next;
        const auto temps = NamesIn(dir, L"~wx*.tmp");
        int64_t tempBytes = 0;
        for (const std::wstring& name : temps)
            tempBytes += SizeOf(dir + name);
        std::snprintf(line, sizeof line,
            "killed at %.0f%% of a save: %s text, %zu temporary file(s) of %lld bytes in all",
            fraction * 100, isNew ? "new" : "old", temps.size(), static_cast<long long>(tempBytes));
        ctx.notes.push_back(line);
        ++letter;
    }

    // Temporary files left by the kills are removed by a later save once they are stale (an
    // hour old); here they are made so.
    const auto left = NamesIn(dir, L"~wx*.tmp");
    FILETIME now {};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER old {};
    old.LowPart = now.dwLowDateTime;
    old.HighPart = now.dwHighDateTime;
    old.QuadPart -= 2ull * 60 * 60 * 10'000'000;
    const FILETIME twoHoursAgo { old.LowPart, old.HighPart };
    for (const std::wstring& name : left) {
        HANDLE h = CreateFileW(
            (dir + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        CHECK(h != INVALID_HANDLE_VALUE);
        SetFileTime(h, nullptr, nullptr, &twoHoursAgo);
        CloseHandle(h);
    }
    main = StartAndType(ctx, dir, 'z', &p);
    CHECK(main != nullptr);
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    const DWORD saving = GetTickCount();
    while (
        SizeOf(path) != static_cast<int64_t>(current.size() + 1) && GetTickCount() - saving < 60000)
        Sleep(20);
    CHECK(SizeOf(path) == static_cast<int64_t>(current.size() + 1));
    // They go right after the new file is in place.
    const DWORD cleaning = GetTickCount();
    while (!NamesIn(dir, L"~wx*.tmp").empty() && GetTickCount() - cleaning < 10000)
        Sleep(50);
    CHECK_EQ(NamesIn(dir, L"~wx*.tmp").size(), static_cast<size_t>(0));
    EndProcess(p);
    ctx.processes.clear();
    RemoveDirectoryTree(dir);
}

} // namespace
} // namespace wexly::e2e
