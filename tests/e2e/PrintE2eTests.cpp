// End-to-end tests of printing and the print preview, with a test printer in the prefix.
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

// A PostScript printer that prints to a file, registered in the prefix for the preview test when
// there is none: the usual Wine set-up has no printer.
const wchar_t* const TestPrinterKey
    = L"System\\CurrentControlSet\\Control\\Print\\Printers\\WexlyTest";
const wchar_t* const DeviceKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

void SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& v)
{
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, v.c_str(),
        static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
}

void SetRegNumber(HKEY root, const std::wstring& key, const wchar_t* name, DWORD v)
{
    RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &v, sizeof(v));
}

bool AddTestPrinter(const std::wstring& dir)
{
    const std::wstring ppd = dir + L"wexlytest.ppd";
    const char* text = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                       "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                       "*PCFileName: \"WEXLYT.PPD\"\n*Manufacturer: \"Wexly\"\n"
                       "*Product: \"(Wexly Test)\"\n*PSVersion: \"(3010.000) 0\"\n"
                       "*ModelName: \"Wexly Test\"\n*ShortNickName: \"Wexly Test\"\n"
                       "*NickName: \"Wexly Test\"\n*ColorDevice: False\n"
                       "*DefaultColorSpace: Gray\n*LanguageLevel: \"3\"\n*FreeVM: \"4000000\"\n"
                       "*DefaultResolution: 300dpi\n*OpenUI *PageSize: PickOne\n"
                       "*OrderDependency: 100 AnySetup *PageSize\n*DefaultPageSize: Letter\n"
                       "*PageSize Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
                       "*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n"
                       "*OrderDependency: 100 AnySetup *PageRegion\n*DefaultPageRegion: Letter\n"
                       "*PageRegion Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
                       "*CloseUI: *PageRegion\n*DefaultImageableArea: Letter\n"
                       "*ImageableArea Letter/Letter: \"18 36 594 756\"\n"
                       "*DefaultPaperDimension: Letter\n"
                       "*PaperDimension Letter/Letter: \"612 792\"\n*DefaultFont: Courier\n"
                       "*Font Courier: Standard \"(002.004S)\" Standard ROM\n"
                       "*Font Courier-Bold: Standard \"(002.004S)\" Standard ROM\n";
    if (!WriteTextFile(ppd, text))
        return false;
    const std::wstring driver = L"System\\CurrentControlSet\\Control\\Print\\Environments\\"
                                L"Windows NT x86\\Drivers\\Version-3\\Wine PostScript Driver";
    SetRegString(HKEY_LOCAL_MACHINE, driver, L"Driver", L"wineps.drv");
    SetRegString(HKEY_LOCAL_MACHINE, driver, L"Configuration File", L"wineps.drv");
    SetRegString(HKEY_LOCAL_MACHINE, driver, L"Data File", ppd);
    SetRegNumber(HKEY_LOCAL_MACHINE, driver, L"Version", 3);
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Name", L"WexlyTest");
    // A port that is a file name: what is printed lands there.
    const std::wstring out = dir + L"printed.ps";
    SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
        out.c_str(), L"");
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Port", out);
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Printer Driver", L"Wine PostScript Driver");
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Datatype", L"RAW");
    SetRegString(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Print Processor", L"winprint");
    SetRegNumber(HKEY_LOCAL_MACHINE, TestPrinterKey, L"Attributes", 4);
    SetRegString(HKEY_CURRENT_USER, DeviceKey, L"Device", L"WexlyTest,winspool," + out);
    return true;
}

void RemoveTestPrinter()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, TestPrinterKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, DeviceKey, L"Device");
}

// Printers are listed under this key; the usual Wine set-up has none.
bool AnyPrinter()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Print\\Printers", 0,
            KEY_READ, &key)
        != ERROR_SUCCESS)
        return false;
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count > 0;
}

// The page the preview shows, from its page box.
std::wstring PreviewPage(HWND preview)
{
    return WindowText(GetDlgItem(preview, IDC_PREVIEW_PAGE));
}

bool WaitForPreviewPage(HWND preview, const std::wstring& page)
{
    for (int i = 0; i < 60; ++i) {
        if (PreviewPage(preview) == page)
            return true;
        Sleep(50);
    }
    return false;
}

// Prints the document on the test printer and checks the pages in the file its port writes.
void PrintToTestPrinter(TContext& ctx, HWND main, DWORD pid, const std::wstring& dir, int pages)
{
    PostCommand(main, IDM_FILE_PRINT);
    HWND dialog = WaitForMessageBox(L"Print", pid, 8000);
    CHECK(dialog != nullptr);
    Sleep(300);
    HWND ok = FindWindowExW(dialog, nullptr, L"Button", L"OK");
    CHECK(ok != nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    CHECK(WaitForStatusText(main, 0, L"Printing Complete", 8000));
    std::string printed;
    for (int i = 0; i < 50 && printed.find("%%EOF") == std::string::npos; ++i) {
        Sleep(100);
        ReadTextFile(dir + L"printed.ps", &printed);
    }
    CHECK_EQ(printed.substr(0, 4), std::string("%!PS"));
    size_t pagesPrinted = 0;
    for (size_t at = printed.find("%%Page:"); at != std::string::npos;
         at = printed.find("%%Page:", at + 1))
        ++pagesPrinted;
    CHECK_EQ(pagesPrinted, static_cast<size_t>(pages));
}

// Without a printer (the usual Wine set-up) printing, printer setup and the preview say so; then,
// with one, the preview shows the pages of the document and pages through them.
E2E_CASE(PreviewPagesThroughTheDocument)
{
    std::wstring dir = MakeTempDir(L"preview");
    const std::wstring ini = ctx.wexly.substr(0, ctx.wexly.find_last_of(L'.')) + L".ini";
    DeleteFileW(ini.c_str());
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    CHECK(WriteTextFile(dir + L"p.txt", text));
    TProcess p = ctx.Start(L"p.txt", dir);
    HWND main = WaitForWindow(MainClass, MainCaption, p.pid, StartTimeoutMs);
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, 3, L"0001", 5000));
    // The printer added below goes again however the test ends: the other tests expect none.
    struct TPrinterGuard
    {
        bool added = false;
        ~TPrinterGuard()
        {
            if (added)
                RemoveTestPrinter();
        }
    } printer;
    if (!AnyPrinter()) {
        for (UINT command : { IDM_FILE_PREVIEW, IDM_FILE_PRINT, IDM_FILE_PRINTSETUP }) {
            PostCommand(main, command);
            HWND error = WaitForMessageBox(L"Error", p.pid, 5000);
            CHECK(error != nullptr);
            CHECK_EQ(MessageBoxText(error),
                std::wstring(L"No printer is installed.\rPrinting and the print preview need a "
                             L"printer."));
            CHECK(ClickButton(error, L"OK"));
            CHECK(WaitGone(error));
        }
        // Nothing else came up, and the document is as it was.
        CHECK(WaitForWindow(L"TPreviewForm", L"Print Preview", p.pid, 300) == nullptr);
        CHECK(IsWindowEnabled(main));
        CHECK_EQ(StatusBarText(main, 3), std::wstring(L"0001"));
        printer.added = true;
        CHECK(AddTestPrinter(dir));
    }
    PostCommand(main, IDM_FILE_PREVIEW);
    HWND dialog = WaitForMessageBox(L"Print", p.pid, 8000);
    CHECK(dialog != nullptr);
    Sleep(300);
    HWND ok = FindWindowExW(dialog, nullptr, L"Button", L"OK");
    CHECK(ok != nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    HWND preview = WaitForWindow(L"TPreviewForm", L"Print Preview", p.pid, 8000);
    CHECK(preview != nullptr);
    CHECK(WaitForPreviewPage(preview, L"1"));
    const std::wstring of = WindowText(GetDlgItem(preview, IDC_PREVIEW_OF));
    CHECK_EQ(of.substr(0, 3), std::wstring(L"of "));
    const int pages = _wtoi(of.c_str() + 3);
    CHECK(pages >= 2); // 300 lines
    CHECK(!IsWindowEnabled(GetDlgItem(preview, IDC_PREVIEW_PREV)));
    CHECK(ClickDialogItem(preview, IDC_PREVIEW_NEXT));
    CHECK(WaitForPreviewPage(preview, L"2"));
    CHECK(ClickDialogItem(preview, IDC_PREVIEW_PREV));
    CHECK(WaitForPreviewPage(preview, L"1"));
    if (const char* pause = std::getenv("E2E_PREVIEW_PAUSE_MS"))
        Sleep(static_cast<DWORD>(std::atoi(pause)));
    for (int i = 0; i < pages; ++i)
        CHECK(ClickDialogItem(preview, IDC_PREVIEW_NEXT));
    CHECK(WaitForPreviewPage(preview, std::to_wstring(pages)));
    Sleep(200);
    CHECK(!IsWindowEnabled(GetDlgItem(preview, IDC_PREVIEW_NEXT)));
    for (int i = 0; i < 3; ++i)
        CHECK(ClickDialogItem(preview, IDC_PREVIEW_ZOOMOUT));
    if (const char* pause = std::getenv("E2E_PREVIEW_PAUSE_MS"))
        Sleep(static_cast<DWORD>(std::atoi(pause))); // time to look at it
    for (int i = 0; i < 7; ++i)
        CHECK(ClickDialogItem(preview, IDC_PREVIEW_ZOOMOUT));
    // The main window waits while the preview is open, and comes back when it closes.
    CHECK(!IsWindowEnabled(main));
    CHECK(ClickDialogItem(preview, IDC_PREVIEW_CLOSE));
    CHECK(WaitGone(preview));
    Sleep(200);
    CHECK(IsWindowEnabled(main));
    if (printer.added) // a real printer: no paper wasted
        PrintToTestPrinter(ctx, main, p.pid, dir, pages);
    // The magnification survives the run: it stopped at the lowest level.
    PostCommand(main, IDM_FILE_EXIT);
    DWORD code = 12345;
    CHECK(WaitForExit(p, 5000, &code));
    std::string settings;
    CHECK(ReadTextFile(ini, &settings));
    CHECK(settings.find("prevMagLevel=-5\r\n") != std::string::npos);
}

} // namespace
} // namespace wexly::e2e
