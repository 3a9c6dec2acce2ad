// The main window's layout: toolbar, file-button bar, the panes with their title bars.
#include "win32/WexlyMainForm.h"
#include "win32/WexlyMainFormParts.h"

#include "app/HandOver.h"
#include "app/MainCommands.h"
#include "config/SettingsFile.h"
#include "editor/DefaultCommandTables.h"
#include "piles/PileCommands.h"
#include "win32/WexlyApp.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/dialogs/DicChooseDialog.h"
#include "win32/dialogs/DicMaintDialog.h"
#include "win32/dialogs/ToolListDialog.h"
#include "win32/dialogs/WindowListDialog.h"
#include "win32/main/GdiSettings.h"
#include "win32/main/HelpPages.h"
#include "win32/platform/WinStrings.h"
#include "win32/print/PrintCommands.h"
#include "win32/res/art/ArtIds.h"

#include "Version.h"
#include "win32/MenuIds.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>
namespace wexly::win32 {

using namespace mainform;

// ---- layout -------------------------------------------------------------------------------

void TWexlyMainForm::CreateChildren()
{
    m_toolBar.Create(Handle(), GetSysColor(COLOR_BTNFACE));
    m_fileBar.Create(Handle(), GetSysColor(COLOR_BTNFACE));
    m_fileBar.OnDragOver = [](HWND source, int, int) { return IsFileButton(source); };
    m_fileBar.OnDragDrop = [this](HWND source, int x, int y) {
        if (TEditFile* doc = m_docWindows->DocumentOfButton(source))
            FileButtonDropped(*doc, x, y);
    };
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_splitter = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_BLACKRECT, 0, 0, 0, 0, Handle(),
        nullptr, instance, nullptr);
    for (int pane = 0; pane < 2; ++pane) {
        m_titleState[pane]
            = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER | SS_CENTERIMAGE, 0, 0, 0, 0,
                Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_STATE + pane)),
                instance, nullptr);
        m_titleButton[pane] = CreateWindowExW(0, L"STATIC", L"",
            WS_CHILD | SS_NOTIFY | SS_CENTERIMAGE | SS_PATHELLIPSIS | SS_NOPREFIX, 0, 0, 0, 0,
            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_BUTTON + pane)),
            instance, nullptr);
        m_titleClose[pane]
            = CreateWindowExW(0, L"BUTTON", L"X", WS_CHILD | BS_PUSHBUTTON | BS_FLAT, 0, 0, 0, 0,
                Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TITLE_CLOSE + pane)),
                instance, nullptr);
    }
    SetWindowSubclass(m_titleButton[1], TitleDragProc, 0, reinterpret_cast<DWORD_PTR>(this));
    CreateStatusBar();
}

// The second pane's title resizes a horizontal split when dragged.
LRESULT CALLBACK TWexlyMainForm::TitleDragProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    return GuardedProc([&]() -> LRESULT {
        auto* form = reinterpret_cast<TWexlyMainForm*>(data);
        if (form->m_set && form->m_set->SplitOn() && !form->m_set->SplitVertical()) {
            POINT pt { static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)) };
            MapWindowPoints(hwnd, form->Handle(), &pt, 1);
            const int areaTop = form->PaneRect(false).top - form->TitleBarHeight();
            switch (msg) {
            case WM_LBUTTONDOWN:
                form->m_titleDrag.Press(pt.y - areaTop);
                break;
            case WM_MOUSEMOVE: {
                const RECT bottom = form->PaneRect(true);
                int top = bottom.top - form->TitleBarHeight() - areaTop;
                int height = form->m_splitSize;
                if (form->m_titleDrag.Move(pt.y - areaTop, top, height)) {
                    if (GetCapture() != hwnd)
                        SetCapture(hwnd);
                    if (height != form->m_splitSize) {
                        form->m_splitSize = height;
                        form->Layout();
                    }
                    return 0;
                }
                break;
            }
            case WM_LBUTTONUP:
                if (form->m_titleDrag.Dragging()) {
                    form->m_titleDrag.Release();
                    ReleaseCapture();
                    return 0;
                }
                form->m_titleDrag.Release();
                break;
            default:
                break;
            }
        }
        if (msg == WM_NCDESTROY)
            RemoveWindowSubclass(hwnd, TitleDragProc, 0);
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

int TWexlyMainForm::TitleBarHeight() const
{
    LOGFONTW lf {};
    if (m_titleFont)
        GetObjectW(m_titleFont, sizeof(lf), &lf);
    else
        lf.lfHeight = -11;
    return std::abs(lf.lfHeight) + 6;
}

RECT TWexlyMainForm::PaneArea() const
{
    RECT client {};
    GetClientRect(Handle(), &client);
    int top = 0;
    if (!m_barsHidden) {
        if (m_toolLayout.visible)
            top += m_toolLayout.height;
        if (m_fileBarVisible)
            top += m_fileBarHeight;
    }
    int bottomEdge = client.bottom;
    if (m_statusBar) {
        RECT sb {};
        GetWindowRect(m_statusBar, &sb);
        bottomEdge -= sb.bottom - sb.top;
    }
    return { 0, top, client.right, std::max<LONG>(top, bottomEdge) };
}

RECT TWexlyMainForm::PaneRect(bool bottom)
{
    const RECT area = PaneArea();
    const int title = HasDocuments() ? TitleBarHeight() : 0;
    const bool split = m_set->SplitOn();
    const bool vertical = m_set->SplitVertical();
    RECT topPane = area;
    RECT bottomPane = area;
    if (split) {
        // A window made smaller than the second pane leaves the first pane a sliver.
        if (vertical) {
            const int size
                = std::clamp<int>(m_splitSize, 0, std::max<int>(0, area.right - area.left - 2));
            topPane.right = area.right - size - 2;
            bottomPane.left = area.right - size;
        } else {
            const int size
                = std::clamp<int>(m_splitSize, 0, std::max<int>(0, area.bottom - area.top));
            topPane.bottom = area.bottom - size;
            bottomPane.top = topPane.bottom;
        }
    }
    RECT r = bottom ? bottomPane : topPane;
    r.top = std::min<LONG>(r.bottom, r.top + title);
    return r;
}

void TWexlyMainForm::Layout()
{
    if (!m_statusBar || !m_set)
        return;
    RECT client {};
    GetClientRect(Handle(), &client);
    const int width = client.right;
    SendMessageW(m_statusBar, WM_SIZE, 0, 0);
    int y = 0;
    const bool toolShown = !m_barsHidden && m_toolLayout.visible;
    SetWindowPos(m_toolBar.Handle(), nullptr, 0, y, width, m_toolLayout.height,
        SWP_NOZORDER | (toolShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (toolShown)
        y += m_toolLayout.height;
    const bool barShown = !m_barsHidden && m_fileBarVisible;
    SetWindowPos(m_fileBar.Handle(), nullptr, 0, y, width, m_fileBarHeight,
        SWP_NOZORDER | (barShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));

    const bool docs = HasDocuments();
    const bool split = m_set->SplitOn();
    const int th = TitleBarHeight();
    for (int pane = 0; pane < 2; ++pane) {
        const bool shown = docs && (pane == 0 || split);
        RECT view = PaneRect(pane == 1);
        const int top = view.top - th;
        const int w = view.right - view.left;
        const UINT flags = SWP_NOZORDER | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        SetWindowPos(m_titleState[pane], nullptr, view.left, top, th, th, flags);
        SetWindowPos(
            m_titleButton[pane], nullptr, view.left + th, top, std::max(0, w - 2 * th), th, flags);
        SetWindowPos(m_titleClose[pane], nullptr, view.right - th, top, th, th, flags);
    }
    if (split && m_set->SplitVertical()) {
        RECT bottomView = PaneRect(true);
        SetWindowPos(m_splitter, nullptr, bottomView.left - 2, bottomView.top - th, 2,
            bottomView.bottom - bottomView.top + th, SWP_NOZORDER | SWP_SHOWWINDOW);
    } else {
        ShowWindow(m_splitter, SW_HIDE);
    }
    if (TEditFile* top = m_set->TopFile())
        m_docWindows->PlaceView(*top, true);
    if (TEditFile* bottom = m_set->BottomView())
        m_docWindows->PlaceView(*bottom, split);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TWexlyMainForm::LayoutFileButtons()
{
    RECT client {};
    GetClientRect(Handle(), &client);
    TFileButtonLayout layout
        = wexly::LayoutFileButtons(*m_set, client.right, Settings.ShowFileButtons);
    for (int i = 0; i < m_set->Count(); ++i) {
        const TButtonRect& r = layout.buttons[static_cast<size_t>(i)];
        m_docWindows->PlaceButton(m_set->At(i), r.left, r.top, r.width, r.height);
    }
    const bool changed = layout.barHeight != m_fileBarHeight || layout.visible != m_fileBarVisible;
    m_fileBarHeight = layout.barHeight;
    m_fileBarVisible = layout.visible;
    if (changed)
        Layout();
    InvalidateRect(m_fileBar.Handle(), nullptr, TRUE);
}

void TWexlyMainForm::BuildToolBar()
{
    m_toolButtons.clear();
    for (HWND gap : m_toolGaps)
        DestroyWindow(gap);
    m_toolGaps.clear();
    m_toolLayout = wexly::BuildToolBar(Settings.ToolBarLayout, Settings.ShowToolBar);
    if (m_toolLayout.visible) {
        TBitmapImage strip = LoadBitmapImage(IDB_TOOLBAR);
        for (const TToolBarItem& item : m_toolLayout.items) {
            if (item.code == kToolBarGap) {
                HWND gap = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT,
                    item.left, item.top, item.width, item.height, m_toolBar.Handle(), nullptr,
                    GetModuleHandleW(nullptr), nullptr);
                m_toolGaps.push_back(gap);
                continue;
            }
            auto button = std::make_unique<TZulSpeed>();
            button->Create(m_toolBar.Handle(), IDC_TOOLBUTTON + item.code, item.left, item.top,
                item.width, item.height);
            if (strip.width > 0)
                button->SetGlyph(StripPicture(strip, item.code, ART_TOOLBAR_WIDTH));
            button->SetHint(Utf8ToWide(item.hint));
            button->SetTag(item.tag);
            button->SetDepth(Settings.FlatButtons ? 0 : 1);
            const int code = item.code;
            button->OnClick = [this, code] {
                PostMessageW(Handle(), WM_COMMAND, static_cast<WPARAM>(ToolButtonCommand(code)), 0);
            };
            m_toolButtons.push_back(std::move(button));
        }
    }
    m_shell->ResetEditStateCache();
    m_appliedMenus.reset(); // the new buttons start enabled
    Layout();
}

void TWexlyMainForm::TitleButtonClick(int pane)
{
    TEditFile* doc = pane == 0 ? m_set->TopFile() : m_set->BottomView();
    if (doc && doc != m_set->FocusFile())
        doc->ShowView();
}

void TWexlyMainForm::CloseLabelClick(int pane)
{
    TEditFile* doc = pane == 1 ? m_set->BottomFile() : m_set->TopFile();
    if (!doc)
        return;
    Guarded([&] { m_commands->CloseDocument(*doc); });
    RefreshDocumentBars();
}

void TWexlyMainForm::HideBarsClick()
{
    if (m_hidingBars)
        return;
    m_hidingBars = true;
    m_barsHidden = !m_barsHidden;
    Layout();
    ApplyMenuState(m_shell->Menus());
    m_hidingBars = false;
}

} // namespace wexly::win32
