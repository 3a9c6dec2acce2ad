// End-to-end tests of the recovery of unsaved work: typing kept while the program runs, the
// question at the next start after the process was killed, and an orderly exit that leaves
// nothing behind.
#include "E2eSupport.h"

#include "MenuIds.h"

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
    CHECK(SendKey(main2, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"a.txt", "zqalpha\r\n", 5000));
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

} // namespace
} // namespace wexly::e2e
