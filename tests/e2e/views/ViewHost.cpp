// A test program that shows one text editor window or one hex viewer window on a file, so the
// end-to-end driver can type, click and measure before the main window hosts documents.
//   ViewHost.exe text|hex <file> [/state=<path>] [/wrap] [/backup] [/ro] [/twokey]
//       [/font=<points>] [/face=<font name>]
// The caption reports the last status event ("Ln L Col C"). Private messages to the host:
//   WM_APP+1  write the state (caret, selection, text, timings) to the state file
//   WM_APP+2  time wParam page-down commands with painting; the result goes to the state file
//   WM_APP+3  word wrap on (wParam 1) or off (wParam 0)
//   WM_APP+4  time wParam page-up commands, the same way
//   WM_APP+5  enable (wParam 1) or disable (wParam 0) the view
//   WM_APP+6  the editor window shows a second model of wParam lines "second N" (made at the
//             first call), or the first model again (wParam 0)
#include "editor/AFViewer.h"
#include "editor/DefaultCommandTables.h"
#include "editor/TFEditor.h"
#include "platform/Files.h"
#include "win32/Win32Window.h"
#include "win32/platform/Win32Ui.h"
#include "win32/platform/WinStrings.h"
#include "win32/views/EditorWindow.h"
#include "win32/views/ViewerWindow.h"

#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace wexly::win32 {
namespace {

constexpr UINT WM_HOST_DUMP = WM_APP + 1;
constexpr UINT WM_HOST_PAGEDOWN = WM_APP + 2;
constexpr UINT WM_HOST_WRAP = WM_APP + 3;
constexpr UINT WM_HOST_PAGEUP = WM_APP + 4;
constexpr UINT WM_HOST_ENABLE = WM_APP + 5;
constexpr UINT WM_HOST_SWAP = WM_APP + 6;

struct TOptions
{
    bool hex = false;
    std::string file;
    std::string state;
    bool wrap = false;
    bool backup = false;
    bool readOnly = false;
    bool twoKey = false; // binds the sequence Ctrl+Q R to ccFirstPage
    int fontPoints = 10;
    std::wstring face = L"Courier New";
};

double NowMs()
{
    LARGE_INTEGER freq {}, now {};
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

class THostForm final : public TWin32Window
{
public:
    explicit THostForm(TOptions options)
        : m_options(std::move(options))
        , m_processor(CreateProgramCommandProcessor())
    {
        if (m_options.twoKey)
            m_processor.AddCommand(
                "Default", vk::Letter('Q'), ssCtrl, vk::Letter('R'), ssCtrlOrNone, ccFirstPage);
    }

    bool Create()
    {
        RegisterWindowClass(L"WexlyViewHost", LoadIconW(nullptr, IDI_APPLICATION),
            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return CreateWindowHandle(0, L"WexlyViewHost", L"View host",
                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 760, 520, nullptr, nullptr)
            != nullptr;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg) {
        case WM_CREATE:
            return Build() ? 0 : -1;
        case WM_SIZE:
            if (m_view)
                MoveWindow(m_view, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (m_view)
                SetFocus(m_view);
            return 0;
        case WM_HOST_DUMP:
            WriteState("");
            return 1;
        case WM_HOST_PAGEDOWN:
        case WM_HOST_PAGEUP:
            TimePages(msg == WM_HOST_PAGEDOWN ? ccNextPage : ccPrevPage, static_cast<int>(wp));
            return 1;
        case WM_HOST_WRAP:
            if (m_editor) {
                double start = NowMs();
                m_editor->SetWrapToWindow(false);
                m_editor->SetWordWrap(wp != 0);
                m_editor->SetWrapToWindow(true);
                m_editorWindow->Refresh();
                m_wrapMs = NowMs() - start;
            }
            return 1;
        case WM_HOST_ENABLE:
            EnableWindow(m_view, wp != 0);
            return 1;
        case WM_HOST_SWAP:
            Swap(static_cast<int>(wp));
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return TWin32Window::HandleMessage(msg, wp, lp);
        }
    }

private:
    bool Build()
    {
        m_clipboard.SetOwner(Handle());
        RECT rc {};
        GetClientRect(Handle(), &rc);
        return m_options.hex ? BuildViewer(rc) : BuildEditor(rc);
    }

    bool BuildEditor(const RECT& rc)
    {
        m_editor = std::make_unique<TTFEditor>(TEditorPlatform { &m_clipboard, &m_beeper });
        m_editor->SetAutoIndent(true);
        m_editor->SetWrapToWindow(true);
        m_editor->SetWordWrap(m_options.wrap);
        m_editor->SetScrollPastEnd(!m_options.wrap);
        m_editor->SetReadOnly(m_options.readOnly);
        double start = NowMs();
        m_editor->LoadFromFile(m_options.file);
        m_loadMs = NowMs() - start;
        m_editorWindow = std::make_unique<TEditorWindow>(*m_editor, m_processor);
        m_editorWindow->OnShowStatus = [this](int64_t line, int32_t col) { Status(line, col); };
        m_editorWindow->SetFixedFont(m_options.face, m_options.fontPoints);
        m_editorWindow->SetBorder(false); // as the program's documents have it
        if (!m_editorWindow->Create(Handle(), 100, rc))
            return false;
        m_view = m_editorWindow->Handle();
        return true;
    }

    bool BuildViewer(const RECT& rc)
    {
        m_viewer = std::make_unique<TAFViewer>(RealFileSystem());
        m_viewer->SetClipboard(&m_clipboard);
        m_viewer->SetMakeBackup(m_options.backup);
        m_viewer->SetFileName(m_options.file);
        m_viewer->Open(true, true);
        if (m_options.readOnly)
            m_viewer->SetReadOnly(true);
        m_viewerWindow = std::make_unique<TViewerWindow>(*m_viewer, m_processor);
        m_viewerWindow->OnShowStatus = [this](int64_t line, int32_t col) { Status(line, col); };
        // The document hands typed characters to the hex editing.
        m_viewerWindow->OnKeyPress = [this](char ch) { m_viewer->HexTyped(ch); };
        m_viewerWindow->SetFixedFont(m_options.face, m_options.fontPoints);
        m_viewerWindow->SetBorder(false);
        if (!m_viewerWindow->Create(Handle(), 100, rc))
            return false;
        m_view = m_viewerWindow->Handle();
        return true;
    }

    void Swap(int lines)
    {
        if (!m_editorWindow)
            return;
        if (lines == 0) {
            m_editorWindow->Bind(*m_editor);
        } else {
            if (!m_second) {
                m_second = std::make_unique<TTFEditor>(TEditorPlatform { &m_clipboard, &m_beeper });
                m_second->SetWrapToWindow(true);
                for (int i = 1; i <= lines; ++i)
                    m_second->AppendPara("second " + std::to_string(i));
            }
            m_editorWindow->Bind(*m_second);
        }
        m_editorWindow->Refresh();
    }

    TCellGridWindow& View()
    {
        return m_editorWindow ? static_cast<TCellGridWindow&>(*m_editorWindow)
                              : static_cast<TCellGridWindow&>(*m_viewerWindow);
    }

    void Status(int64_t line, int32_t col)
    {
        ++m_statusCount;
        std::wstring text = L"Ln " + std::to_wstring(line) + L" Col " + std::to_wstring(col);
        SetWindowTextW(Handle(), text.c_str());
    }

    // Runs count page moves, painting after each as a held key would, and records the rate.
    void TimePages(TCommandCode command, int count)
    {
        double start = NowMs();
        for (int i = 0; i < count; ++i) {
            if (m_editorWindow)
                m_editorWindow->ProcessCommand(command, 0);
            else
                m_viewerWindow->ProcessCommand(command, 0);
            UpdateWindow(m_view);
        }
        double ms = NowMs() - start;
        char line[160];
        std::snprintf(line, sizeof line, "pages %d\r\nms %.1f\r\nfps %.1f\r\n", count, ms,
            ms > 0 ? count * 1000.0 / ms : 0.0);
        WriteState(line);
    }

    void WriteState(const std::string& extra)
    {
        std::string out = extra;
        char buf[200];
        const TCellGridWindow& view = View();
        std::snprintf(buf, sizeof buf, "cell %d %d\r\ninputms %.3f\r\npainted %d\r\n",
            view.FixedFont().CellWidth(), view.FixedFont().CellHeight(), view.LastInputMs(),
            view.LastPaintedRows());
        out += buf;
        std::snprintf(buf, sizeof buf, "status %d\r\nloadms %.1f\r\nwrapms %.1f\r\n", m_statusCount,
            m_loadMs, m_wrapMs);
        out += buf;
        out += FontState(view.FixedFont());
        if (m_editor) {
            out += EditorState();
            SCROLLINFO si {};
            si.cbSize = sizeof(si);
            si.fMask = SIF_ALL;
            GetScrollInfo(m_view, SB_VERT, &si);
            std::snprintf(buf, sizeof buf, "vbar %d %d %u %d\r\n", si.nMin, si.nMax, si.nPage,
                si.nPos);
            // After the text: the driver's parser stops at the text line.
            out.insert(out.find("text\r\n") == std::string::npos ? out.size() : out.find("text\r\n"),
                buf);
        }
        else
            out += ViewerState();
        FILE* f = _wfopen(Utf8ToWide(m_options.state).c_str(), L"wb");
        if (!f)
            return;
        std::fwrite(out.data(), 1, out.size(), f);
        std::fclose(f);
    }

    // Whether the font the window ended up with draws every character in the same width.
    static std::string FontState(const TFixedFont& font)
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font.Handle());
        SIZE narrow {}, wide {};
        GetTextExtentPoint32W(dc, L"i", 1, &narrow);
        GetTextExtentPoint32W(dc, L"W", 1, &wide);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return "fixed " + std::to_string(narrow.cx == wide.cx ? 1 : 0) + "\r\n";
    }

    std::string EditorState()
    {
        TOvcCustomEditor& e = m_editorWindow->Editor();
        int32_t l1 = 0, c1 = 0, l2 = 0, c2 = 0;
        e.GetSelection(l1, c1, l2, c2);
        char buf[400];
        std::snprintf(buf, sizeof buf,
            "caret %d %d\r\nsel %d %d %d %d\r\ntop %d\r\nlines %d\r\nparas %d\r\n"
            "rows %d\r\ncolumns %d\r\nwrap %d\r\nmodified %d\r\ninsert %d\r\n",
            e.CaretLine(), e.CaretCol(), l1, c1, l2, c2, e.TopLine(), e.GetLineCount(),
            e.ParaCount(), e.VisibleRows(), e.VisibleColumns(), e.WordWrap() ? 1 : 0,
            e.GetModified() ? 1 : 0, e.InsertMode() ? 1 : 0);
        std::string out = buf;
        for (int n = 0; n < 10; ++n) {
            int32_t line = 0, col = 0;
            if (e.GetMarkerPosition(n, line, col)) {
                std::snprintf(buf, sizeof buf, "marker%d %d %d\r\n", n, line, col);
                out += buf;
            }
        }
        // Small documents only: the driver compares the whole text.
        if (e.GetTextLen() < 100000) {
            out += "text\r\n";
            for (int32_t p = 1; p <= e.ParaCount(); ++p) {
                if (p > 1)
                    out += "\r\n";
                out += e.GetPara(p);
            }
        }
        return out;
    }

    std::string ViewerState()
    {
        TOvcCustomFileViewer& v = *m_viewer;
        int64_t l1 = 0, l2 = 0;
        int32_t c1 = 0, c2 = 0;
        v.GetSelection(l1, c1, l2, c2);
        int32_t col = 0;
        int64_t line = v.GetCaretPosition(col);
        char buf[400];
        std::snprintf(buf, sizeof buf,
            "caret %lld %d\r\nsel %lld %d %lld %d\r\ntop %lld\r\nlines %lld\r\n",
            static_cast<long long>(line), col, static_cast<long long>(l1), c1,
            static_cast<long long>(l2), c2, static_cast<long long>(v.GetTopLine()),
            static_cast<long long>(v.LineCount()));
        return buf;
    }

    TOptions m_options;
    TOvcCommandProcessor m_processor;
    TWin32Clipboard m_clipboard;
    TWin32Beeper m_beeper;
    std::unique_ptr<TTFEditor> m_editor;
    std::unique_ptr<TTFEditor> m_second;
    std::unique_ptr<TAFViewer> m_viewer;
    std::unique_ptr<TEditorWindow> m_editorWindow;
    std::unique_ptr<TViewerWindow> m_viewerWindow;
    HWND m_view = nullptr;
    int m_statusCount = 0;
    double m_loadMs = 0;
    double m_wrapMs = 0;
};

bool ParseOptions(int argc, wchar_t** argv, TOptions& options)
{
    if (argc < 3)
        return false;
    std::wstring mode = argv[1];
    options.hex = mode == L"hex";
    options.file = WideToUtf8(argv[2]);
    options.state = options.file + ".state";
    for (int i = 3; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg.rfind(L"/state=", 0) == 0)
            options.state = WideToUtf8(arg.substr(7));
        else if (arg == L"/wrap")
            options.wrap = true;
        else if (arg == L"/backup")
            options.backup = true;
        else if (arg == L"/twokey")
            options.twoKey = true;
        else if (arg == L"/ro")
            options.readOnly = true;
        else if (arg.rfind(L"/font=", 0) == 0)
            options.fontPoints = _wtoi(arg.c_str() + 6);
        else if (arg.rfind(L"/face=", 0) == 0)
            options.face = arg.substr(6);
    }
    return true;
}

} // namespace
} // namespace wexly::win32

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wexly::win32::TOptions options;
    if (!argv || !wexly::win32::ParseOptions(argc, argv, options)) {
        MessageBoxW(nullptr, L"Usage: ViewHost.exe text|hex <file> [/state=<path>] [/wrap]",
            L"View host", MB_OK);
        return 2;
    }
    LocalFree(argv);
    wexly::win32::THostForm form(options);
    try {
        if (!form.Create())
            return 1;
    } catch (const std::exception& e) {
        wexly::win32::ShowUnexpectedError(e.what());
        return 1;
    }
    ShowWindow(form.Handle(), show);
    UpdateWindow(form.Handle());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
