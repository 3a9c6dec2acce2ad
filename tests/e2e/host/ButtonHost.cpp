// A test program that shows the flat buttons with the generated artwork: a tool bar of speed
// buttons, a file-button bar (an exclusive group, Ctrl-drag to re-order), push buttons of every
// depth, the state marks and the bookmark glyphs. The window title reports the last event, so a
// driver can check clicks, group changes and drops from outside.
#include "win32/Win32Window.h"
#include "win32/controls/ZulButton.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/controls/ZulSpeed.h"

#include "win32/res/art/ArtIds.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace wexly::win32 {
namespace {

const char* const kToolNames[ART_TOOLBAR_COUNT] = { "New", "Open Text", "Open Binary", "Reopen",
    "Revert", "Save", "Save As", "Save Copy As", "Save All", "Print", "Close", "Close All", "Undo",
    "Redo", "Cut", "Copy", "Paste", "Select All", "Find", "Find Again", "Replace", "Goto Line",
    "Statistics", "Split Window", "Sync", "Hide Bars", "Previous File", "Next File", "Window List",
    "Settings", "Help Contents", "About Wexly", "Exit" };

constexpr int kToolTop = 2;
constexpr int kFileBarTop = 56;
constexpr int kButtonsTop = 100;
constexpr TColorRef kToolFill = 0xF0CAA6;

// The tool bar puts each picture on a light blue bitmap first, as the main window does.
TBitmapImage ToolPicture(const TBitmapImage& strip, int code)
{
    TBitmapImage picture = StripPicture(strip, code, ART_TOOLBAR_WIDTH);
    TBitmapImage filled(picture.width, picture.height, kToolFill);
    const TColorRef clear = picture.TransparentColor();
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        if (picture.pixels[i] != clear)
            filled.pixels[i] = picture.pixels[i];
    return filled;
}

class THostForm final : public TWin32Window
{
public:
    bool Create()
    {
        RegisterWindowClass(L"WexlyButtonHost", LoadIconW(nullptr, IDI_APPLICATION),
            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return CreateWindowHandle(0, L"WexlyButtonHost", L"Button host",
                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 900, 330, nullptr, nullptr)
            != nullptr;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg) {
        case WM_CREATE:
            Build();
            return 0;
        case WM_PAINT:
            PaintMarks();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED)
                Report("command " + std::to_string(LOWORD(wp)));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return TWin32Window::HandleMessage(msg, wp, lp);
        }
    }

private:
    void Report(const std::string& what)
    {
        std::wstring text(what.begin(), what.end());
        SetWindowTextW(Handle(), (L"Button host: " + text).c_str());
    }

    void Build()
    {
        m_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), 0);
        m_toolStrip = LoadBitmapImage(IDB_TOOLBAR);
        m_flags = LoadBitmapImage(IDB_FLAGS6);
        m_bookmarks = LoadBitmapImage(IDB_BOOKMARKS);
        m_dialogGlyphs = LoadBitmapImage(IDB_DIALOGGLYPHS);
        BuildToolBar();
        BuildFileBar();
        BuildPushButtons();
    }

    void BuildToolBar()
    {
        constexpr int perRow = 17;
        for (int code = 0; code < ART_TOOLBAR_COUNT; ++code) {
            auto button = std::make_unique<TZulSpeed>();
            button->Create(Handle(), 1000 + code, 2 + (code % perRow) * 24,
                kToolTop + (code / perRow) * 26, 24, 24);
            button->SetGlyph(ToolPicture(m_toolStrip, code));
            const std::string name = kToolNames[code];
            button->SetHint(std::wstring(name.begin(), name.end()) + L"|");
            button->OnClick = [this, name] { Report("tool " + name); };
            if (code == 12 || code == 13) // shows the disabled pictures
                EnableWindow(button->Handle(), FALSE);
            m_tools.push_back(std::move(button));
        }
    }

    void BuildFileBar()
    {
        const char* names[] = { "readme.txt", "a&&b.txt", "notes.ini", "image.bin", "locked.bin" };
        int x = 2;
        for (int i = 0; i < 5; ++i) {
            auto button = std::make_unique<TZulSpeed>();
            button->Create(Handle(), 2000 + i, x, kFileBarTop, 25, 25, names[i]);
            button->SetFont(m_font);
            button->SetGroupIndex(1);
            button->SetAllowAllUp(false);
            button->SetIsDraggable(true);
            button->SetDepth(i % 2);
            button->SetColor(0xC0C0C0);
            button->SetGlyph(StripPicture(m_flags, i, ART_FLAG_WIDTH));
            button->AutoSize();
            const std::string name = names[i];
            const std::string shown = DisplayedCaption(name);
            button->SetHint(L"C:\\work\\" + std::wstring(shown.begin(), shown.end()) + L"|");
            TZulSpeed* self = button.get();
            button->OnClick = [this, name] { Report("file " + name); };
            button->OnDragOver = [](HWND source, int, int) {
                wchar_t cls[32] {};
                GetClassNameW(source, cls, 32);
                return std::wstring(cls) == TZulSpeed::kClassName;
            };
            button->OnDragDrop = [this, self](HWND source, int, int) { Dropped(source, self); };
            x += button->Width();
            m_files.push_back(std::move(button));
        }
        m_files[0]->SetDown(true);
    }

    // Moves the dragged file button to the target's place and lays the bar out again.
    void Dropped(HWND source, TZulSpeed* target)
    {
        auto from = std::find_if(m_files.begin(), m_files.end(),
            [source](const auto& b) { return b->Handle() == source; });
        auto to = std::find_if(
            m_files.begin(), m_files.end(), [target](const auto& b) { return b.get() == target; });
        if (from == m_files.end() || to == m_files.end())
            return;
        const auto toIndex = to - m_files.begin();
        auto moved = std::move(*from);
        m_files.erase(from);
        m_files.insert(m_files.begin() + toIndex, std::move(moved));
        int x = 2;
        std::string order;
        for (auto& b : m_files) {
            b->SetBounds(x, kFileBarTop, b->Width(), b->Height());
            x += b->Width();
            order += b->Caption() + " ";
        }
        Report("order " + order);
    }

    void AddPush(int id, int x, int y, const std::string& caption, int glyph, int depth)
    {
        auto button = std::make_unique<TZulButton>();
        button->Create(Handle(), id, x, y, 75, 25, caption);
        button->SetFont(m_font);
        button->SetDepth(depth);
        if (glyph >= 0)
            button->SetGlyph(StripPicture(m_dialogGlyphs, glyph, ART_DIALOG_GLYPH_WIDTH));
        m_pushes.push_back(std::move(button));
    }

    void BuildPushButtons()
    {
        const char* captions[]
            = { "Up", "Down", "Add", "Remove", "Plus", "Delete", "Help", "Browse", "Clear" };
        for (int i = 0; i < ART_DIALOG_GLYPH_COUNT; ++i)
            AddPush(3000 + i, 8 + i * 80, kButtonsTop, captions[i], i, i % 3);
        AddPush(3100, 8, kButtonsTop + 34, "&OK", -1, 2);
        m_pushes.back()->SetDefault(true);
        AddPush(3101, 88, kButtonsTop + 34, "Cancel", -1, 1);
        AddPush(3102, 168, kButtonsTop + 34, "Flat", -1, 0);
        AddPush(3103, 248, kButtonsTop + 34, "Disabled", ART_GLYPH_HELP, 1);
        EnableWindow(m_pushes.back()->Handle(), FALSE);
        AddPush(3104, 328, kButtonsTop + 34, "Static", ART_GLYPH_ADD, 2);
        m_pushes.back()->SetStaticEdge(true);
        AddPush(3105, 408, kButtonsTop + 34, "", ART_GLYPH_UP, 3);
        SetFocus(m_pushes[10]->Handle());
    }

    // State marks and bookmark glyphs as the lists and the editor margin show them.
    void PaintMarks()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        constexpr int top = kButtonsTop + 76, width = 300, height = 60;
        TZulGdiCanvas canvas(width, height, m_font);
        canvas.FillRect({ 0, 0, width, height }, clBtnFace);
        canvas.FillRect({ 0, 30, 15, 60 }, 0x800000);
        for (int i = 0; i < ART_FLAG_COUNT; ++i) {
            canvas.DrawImage(StripPicture(m_flags, i, ART_FLAG_WIDTH).Columns(0, 4), 4 + i * 10, 8);
        }
        for (int n = 0; n < 10; ++n) {
            TBitmapImage glyph = StripPicture(m_bookmarks, n, ART_BOOKMARK_WIDTH);
            const int x = n < 2 ? 1 : 20 + n * 14;
            const int y = n == 1 ? 46 : 32;
            if (n >= 2)
                canvas.FillRect({ x - 1, 30, x + 14, 60 }, 0x800000);
            canvas.DrawImage(glyph, x, y);
        }
        canvas.Present(dc, 8, top);
        EndPaint(Handle(), &ps);
    }

    HFONT m_font = nullptr;
    TBitmapImage m_toolStrip, m_flags, m_bookmarks, m_dialogGlyphs;
    std::vector<std::unique_ptr<TZulSpeed>> m_tools;
    std::vector<std::unique_ptr<TZulSpeed>> m_files;
    std::vector<std::unique_ptr<TZulButton>> m_pushes;
};

} // namespace
} // namespace wexly::win32

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show)
{
    INITCOMMONCONTROLSEX icc { sizeof(icc), ICC_WIN95_CLASSES };
    InitCommonControlsEx(&icc);
    wexly::win32::THostForm form;
    if (!form.Create())
        return 1;
    ShowWindow(form.Handle(), show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(form.Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
