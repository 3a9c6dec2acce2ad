#include "win32/controls/ZulWindow.h"

#include "app/StatusBarLayout.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/controls/ZulMessages.h"
#include "win32/platform/WinStrings.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace wexly::win32 {

UINT ZulButtonPressedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"WexlyZulButtonPressed");
    return message;
}

UINT ZulDragOverMessage()
{
    static const UINT message = RegisterWindowMessageW(L"WexlyZulDragOver");
    return message;
}

UINT ZulDragDropMessage()
{
    static const UINT message = RegisterWindowMessageW(L"WexlyZulDragDrop");
    return message;
}

namespace {

// Every control of the program's own, so that a button group is told of a press without a
// message to each sibling window: under Wine each of those costs a round trip to the server,
// which made marking the current file in a bar of hundreds take milliseconds a button.
std::vector<TZulWindow*>& LiveControls()
{
    static std::vector<TZulWindow*> controls;
    return controls;
}

} // namespace

TZulWindow::TZulWindow()
{
    LiveControls().push_back(this);
}

TZulWindow::~TZulWindow()
{
    auto& controls = LiveControls();
    controls.erase(std::remove(controls.begin(), controls.end(), this), controls.end());
}

bool TZulWindow::RegisterControlClass(const wchar_t* className)
{
    return RegisterWindowClass(className, nullptr, nullptr, nullptr, CS_DBLCLKS);
}

HWND TZulWindow::CreateControl(const wchar_t* className, DWORD style, HWND parent, int id, int x,
    int y, int width, int height, const std::string& caption)
{
    RegisterControlClass(className);
    m_parent = parent;
    Model().SetCaption(caption);
    Model().SetBounds(width, height);
    HWND hwnd = CreateWindowHandle(0, className, Utf8ToWide(caption).c_str(),
        style | WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (hwnd && parent)
        m_font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
    return hwnd;
}

void TZulWindow::SetCaption(const std::string& caption)
{
    if (Handle())
        SetWindowTextW(Handle(), Utf8ToWide(caption).c_str());
    else
        Model().SetCaption(caption);
}

void TZulWindow::SetFont(HFONT font)
{
    m_font = font;
    if (!m_font && Handle() && GetParent(Handle()))
        m_font = reinterpret_cast<HFONT>(SendMessageW(GetParent(Handle()), WM_GETFONT, 0, 0));
    Invalidate();
}

namespace {
std::function<void(const std::string&)>& HintListener()
{
    static std::function<void(const std::string&)> listener;
    return listener;
}
} // namespace

void TZulWindow::SetHintListener(std::function<void(const std::string& longHint)> listener)
{
    HintListener() = std::move(listener);
}

void TZulWindow::ReportHint(const std::string& longHint)
{
    if (HintListener())
        HintListener()(longHint);
}

void TZulWindow::SetHint(const std::wstring& hint)
{
    m_hint = hint;
    UpdateTooltip();
}

// The tooltip window is made when the mouse first comes over the button: a tooltip per
// button made up front costs a window each at start-up, for buttons most never hover over.
void TZulWindow::UpdateTooltip(bool create)
{
    if (!Handle())
        return;
    std::wstring tip = m_hint.substr(0, m_hint.find(L'|'));
    TOOLINFOW info {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Handle();
    info.uId = reinterpret_cast<UINT_PTR>(Handle());
    info.lpszText = tip.data();
    if (!m_tooltip) {
        if (!create || tip.empty())
            return;
        m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
            GetModuleHandleW(nullptr), nullptr);
        if (m_tooltip)
            SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        return;
    }
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void TZulWindow::SetBounds(int x, int y, int width, int height)
{
    Model().SetBounds(width, height);
    if (Handle())
        MoveWindow(Handle(), x, y, width, height, TRUE);
}

TZulShift TZulWindow::ShiftFromKeys(WPARAM keys)
{
    TZulShift shift;
    shift.shift = (keys & MK_SHIFT) != 0;
    shift.ctrl = (keys & MK_CONTROL) != 0;
    shift.alt = GetKeyState(VK_MENU) < 0;
    shift.left = (keys & MK_LBUTTON) != 0;
    shift.right = (keys & MK_RBUTTON) != 0;
    shift.middle = (keys & MK_MBUTTON) != 0;
    return shift;
}

TZulPoint TZulWindow::PointFrom(LPARAM lp)
{
    return { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
}

LRESULT TZulWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == ZulButtonPressedMessage()) {
        Model().ButtonPressed(static_cast<int32_t>(wp), reinterpret_cast<HWND>(lp) == Handle());
        return 0;
    }
    if (msg == ZulDragOverMessage())
        return OnDragOver
            && OnDragOver(reinterpret_cast<HWND>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    if (msg == ZulDragDropMessage()) {
        if (OnDragDrop)
            OnDragDrop(reinterpret_cast<HWND>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    }
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_CREATE:
        UpdateTooltip();
        return 0;
    case WM_DESTROY:
        if (m_tooltip)
            DestroyWindow(m_tooltip);
        m_tooltip = nullptr;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Model().SetBounds(LOWORD(lp), HIWORD(lp));
        Invalidate();
        return 0;
    case WM_SETFOCUS:
        Model().FocusChanged(true);
        return 0;
    case WM_KILLFOCUS:
        Model().FocusChanged(false);
        return 0;
    case WM_ENABLE:
        Model().SetEnabled(wp != 0);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = TWin32Window::HandleMessage(msg, wp, lp);
        Model().SetCaption(WideToUtf8(lp ? reinterpret_cast<const wchar_t*>(lp) : L""));
        return result;
    }
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_MOUSEMOVE:
        TrackHover(lp);
        MouseMoved(ShiftFromKeys(wp), PointFrom(lp));
        return 0;
    case WM_MOUSELEAVE:
        m_trackingLeave = false;
        ReportHint("");
        if (GetCapture() != Handle())
            Model().MouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Model().LeftButtonDown(ShiftFromKeys(wp), PointFrom(lp));
        return 0;
    case WM_LBUTTONUP:
        if (m_dragActive) {
            POINT screen { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
            ClientToScreen(Handle(), &screen);
            DragFinish(screen, true);
        }
        Model().LeftButtonUp(ShiftFromKeys(wp), PointFrom(lp));
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE && m_dragActive) {
            POINT screen {};
            GetCursorPos(&screen);
            DragFinish(screen, false);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_dragActive && reinterpret_cast<HWND>(lp) != Handle()) {
            POINT screen {};
            GetCursorPos(&screen);
            DragFinish(screen, false);
        }
        Model().CaptureLost();
        return 0;
    case WM_CONTEXTMENU:
        if (m_popup) {
            ShowPopup(lp);
            return 0;
        }
        break;
    case BM_CLICK:
        if (IsWindowEnabled(Handle()))
            Click();
        return 0;
    default:
        break;
    }
    return TWin32Window::HandleMessage(msg, wp, lp);
}

void TZulWindow::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client {};
    GetClientRect(Handle(), &client);
    TZulGdiCanvas canvas(client.right, client.bottom, m_font);
    if (canvas.Ok()) {
        Model().Paint(canvas);
        canvas.Present(dc, 0, 0);
    }
    EndPaint(Handle(), &ps);
}

// Hover follows the pointer even while the mouse is captured, so that a press dragged off the
// button is drawn released.
void TZulWindow::TrackHover(LPARAM lp)
{
    RECT client {};
    GetClientRect(Handle(), &client);
    POINT p { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
    const bool inside = PtInRect(&client, p) != 0;
    if (inside) {
        Model().MouseEnter();
        if (!m_trackingLeave) {
            TRACKMOUSEEVENT tme { sizeof(tme), TME_LEAVE, Handle(), 0 };
            m_trackingLeave = TrackMouseEvent(&tme) != 0;
            UpdateTooltip(true);
            ReportHint(LongHint(WideToUtf8(m_hint)));
        }
    } else {
        Model().MouseLeave();
    }
    if (m_dragActive) {
        ClientToScreen(Handle(), &p);
        DragMove(p);
    }
}

void TZulWindow::ShowPopup(LPARAM lp)
{
    POINT p { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
    if (p.x == -1 && p.y == -1) { // from the keyboard
        p = { 0, 0 };
        ClientToScreen(Handle(), &p);
    }
    const int command = static_cast<int>(
        TrackPopupMenu(m_popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, Handle(), nullptr));
    if (command && OnPopupCommand)
        OnPopupCommand(command);
}

void TZulWindow::Invalidate()
{
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TZulWindow::CaptureMouse()
{
    if (Handle())
        SetCapture(Handle());
}

void TZulWindow::ReleaseMouse()
{
    if (Handle() && GetCapture() == Handle())
        ReleaseCapture();
}

void TZulWindow::BroadcastButtonPressed(int32_t groupIndex)
{
    if (!Handle() || !m_parent)
        return;
    // A copy: a partner going up only repaints, but nothing it does may upset the walk.
    const std::vector<TZulWindow*> controls = LiveControls();
    for (TZulWindow* control : controls)
        if (control->m_parent == m_parent && control->Handle())
            control->Model().ButtonPressed(groupIndex, control == this);
}

bool TZulWindow::Focused() const
{
    return Handle() && GetFocus() == Handle();
}

void TZulWindow::TakeFocus()
{
    if (Handle())
        SetFocus(Handle());
}

// One click is one action: the handler when the owner set one, else the parent's BN_CLICKED.
// Both at once would run a command twice, the second nested in the first's message box.
void TZulWindow::Click()
{
    HWND self = Handle();
    if (OnClick) {
        OnClick();
        return;
    }
    if (self && GetParent(self)) {
        const int id = GetDlgCtrlID(self);
        SendMessageW(GetParent(self), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
            reinterpret_cast<LPARAM>(self));
    }
}

void TZulWindow::BeginDrag()
{
    if (!Handle())
        return;
    m_dragActive = true;
    SetCapture(Handle());
    POINT p {};
    GetCursorPos(&p);
    DragMove(p);
}

namespace {

LPARAM ClientPoint(HWND target, POINT screen)
{
    ScreenToClient(target, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

} // namespace

void TZulWindow::DragMove(POINT screen)
{
    HWND target = WindowFromPoint(screen);
    const bool accepted = target
        && SendMessageW(target, ZulDragOverMessage(), reinterpret_cast<WPARAM>(Handle()),
               ClientPoint(target, screen))
            != 0;
    SetCursor(LoadCursorW(nullptr, accepted ? IDC_ARROW : IDC_NO));
}

void TZulWindow::DragFinish(POINT screen, bool drop)
{
    if (!m_dragActive)
        return;
    m_dragActive = false;
    HWND target = drop ? WindowFromPoint(screen) : nullptr;
    if (target
        && SendMessageW(target, ZulDragOverMessage(), reinterpret_cast<WPARAM>(Handle()),
               ClientPoint(target, screen))
            == 0)
        target = nullptr;
    if (GetCapture() == Handle())
        ReleaseCapture();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    DragEnded();
    POINT local = screen;
    if (target) {
        SendMessageW(target, ZulDragDropMessage(), reinterpret_cast<WPARAM>(Handle()),
            ClientPoint(target, screen));
    }
    ScreenToClient(Handle(), &local);
    if (OnEndDrag)
        OnEndDrag(target, local.x, local.y);
}

} // namespace wexly::win32
