#include "win32/WexlyApp.h"

#include "app/HandOver.h"
#include "config/TextCompare.h"
#include "documents/CommandLine.h"
#include "win32/WexlyMainForm.h"
#include "win32/platform/WinStrings.h"

#include "win32/MenuIds.h"

#include <commctrl.h>

#include <exception>
#include <vector>

namespace wexly::win32 {

namespace {
constexpr const wchar_t* ApplicationWindowClass = L"WexlyApplication";
// Long enough for a running instance busy opening files; a hung one is given up at once.
constexpr UINT HandOverTimeoutMs = 15000;

// The user's locale decides how sorted lists and document names compare, ignoring case.
int CompareUserLocale(std::string_view a, std::string_view b)
{
    const std::wstring wa = Utf8ToWide(a);
    const std::wstring wb = Utf8ToWide(b);
    const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
        static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}
}

bool TApplicationWindow::Create()
{
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_WEXLY));
    RegisterWindowClass(ApplicationWindowClass, icon, nullptr);
    // Never shown: it only carries the title another instance reads.
    return CreateWindowHandle(
               0, ApplicationWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)
        != nullptr;
}

void TApplicationWindow::SetTitle(const std::string& title)
{
    SetWindowTextW(Handle(), Utf8ToWide(title).c_str());
}

TWexlyApp::TWexlyApp() = default;
TWexlyApp::~TWexlyApp() = default;

void TWexlyApp::RecordStartState()
{
    m_cmdLine = CommandLineTail(WideToUtf8(GetCommandLineW()));
    // Sized to the real path, so deep working directories are not cut off.
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    m_startDir = WithTrailingBackslash(WideToUtf8(std::wstring_view(buffer.data(), length)));
}

bool TWexlyApp::HandOverToRunningInstance()
{
    HWND running
        = FindWindowW(Utf8ToWide(MainWindowClass).c_str(), Utf8ToWide(MainWindowCaption).c_str());
    if (!running)
        return false;
    m_appWindow.SetTitle(MakeHandOverText(m_startDir, m_cmdLine));
    // The receiver brings itself to the front; Windows lets it only when we allow it.
    DWORD runningProcess = 0;
    GetWindowThreadProcessId(running, &runningProcess);
    AllowSetForegroundWindow(runningProcess);
    // Bounded: an instance that is hung, or ending without answering, must not keep this
    // start waiting; without an answer this process runs as an instance of its own.
    DWORD_PTR accepted = 0;
    const LRESULT answered = SendMessageTimeoutW(running, HandOverMessage, HandOverKey,
        reinterpret_cast<LPARAM>(m_appWindow.Handle()), SMTO_ABORTIFHUNG, HandOverTimeoutMs,
        &accepted);
    return answered != 0 && accepted != 0;
}

int TWexlyApp::Run(int showCommand)
{
    RecordStartState();
    SetTextCompare(CompareUserLocale);

    INITCOMMONCONTROLSEX icc { sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&icc);
    if (!m_appWindow.Create())
        return 1;

    if (HandOverToRunningInstance())
        return 0;

    m_appWindow.SetTitle(ApplicationTitle);
    m_accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINACCEL));

    m_mainForm = std::make_unique<TWexlyMainForm>(*this);
    if (!m_mainForm->Create())
        return 1;
    m_mainForm->Show(showCommand);
    return MessageLoop();
}

int TWexlyApp::MessageLoop()
{
    MSG msg {};
    while (true) {
        try {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1)
                break;
            HWND main = m_mainForm->Handle();
            if (main && (msg.hwnd == main || IsChild(main, msg.hwnd))) {
                if (m_mainForm->PreviewKey(msg))
                    continue;
                if (TranslateAcceleratorW(main, m_accelerators, &msg))
                    continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } catch (const std::exception& e) {
            // The program ends normally after showing what went wrong.
            ShowUnexpectedError(e.what());
            return 0;
        }
    }
    return 0;
}

} // namespace wexly::win32
