#include "win32/views/CellGridWindow.h"

#include "editor/OvcCustomEditor.h"

#include <windowsx.h>

#include <algorithm>

namespace wexly::win32 {

namespace {

constexpr UINT WM_GRID_STATUS = WM_APP + 0x40;
constexpr UINT_PTR kAutoScrollTimer = 1;
const wchar_t* const kClassName = L"TCellGridWindow";

double NowMs()
{
    LARGE_INTEGER freq {}, now {};
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// An arrow pointing up and to the right: the margin's line-selection cursor.
HCURSOR LineCursor()
{
    static HCURSOR cursor = [] {
        BYTE andMask[128];
        BYTE xorMask[128] {};
        std::fill(std::begin(andMask), std::end(andMask), BYTE(0xFF));
        auto set = [&](int x, int y, bool black) {
            int byte = y * 4 + x / 8;
            BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            andMask[byte] = static_cast<BYTE>(andMask[byte] & ~bit);
            if (!black)
                xorMask[byte] = static_cast<BYTE>(xorMask[byte] | bit);
        };
        // The standard arrow's outline, mirrored: tip at (15, 0).
        for (int y = 0; y < 16; ++y) {
            int width = y < 11 ? y + 1 : 11 - (y - 11) * 2;
            for (int i = 0; i < width && i < 12; ++i) {
                bool edge = i == 0 || i == width - 1 || y == 10;
                set(15 - i, y, edge);
            }
        }
        return CreateCursor(GetModuleHandleW(nullptr), 15, 0, 32, 32, andMask, xorMask);
    }();
    return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}

// Shows the hourglass for the lifetime of the object.
class TWaitCursor
{
public:
    explicit TWaitCursor(bool on)
        : m_old(on ? SetCursor(LoadCursorW(nullptr, IDC_WAIT)) : nullptr)
        , m_on(on)
    {
    }
    ~TWaitCursor()
    {
        if (m_on)
            SetCursor(m_old);
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    HCURSOR m_old;
    bool m_on;
};

} // namespace

TCellGridWindow::TCellGridWindow(TOvcCommandProcessor& processor)
    : m_processor(processor)
{
    m_colors.text = GetSysColor(COLOR_WINDOWTEXT);
    m_colors.background = GetSysColor(COLOR_WINDOW);
    m_colors.margin = GetSysColor(COLOR_WINDOW);
    m_colors.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_colors.highlightBackground = GetSysColor(COLOR_HIGHLIGHT);
    m_colors.disabledText = GetSysColor(COLOR_GRAYTEXT);
    m_colors.marginLine = GetSysColor(COLOR_BTNSHADOW);
    m_font.Create(L"Courier New", 10, false, false);
}

bool TCellGridWindow::Create(HWND parent, int id, const RECT& bounds)
{
    RegisterWindowClass(kClassName, nullptr, nullptr, nullptr, CS_DBLCLKS);
    return CreateWindowHandle(m_border ? WS_EX_CLIENTEDGE : 0, kClassName, L"",
               WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, bounds.left,
               bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))
        != nullptr;
}

bool TCellGridWindow::SetFixedFont(const std::wstring& face, int pointSize, bool bold)
{
    TWaitCursor wait(Handle() != nullptr);
    bool ok = m_font.Create(face, pointSize, bold, false);
    if (m_caretExists) {
        DestroyCaret();
        m_caretExists = false;
    }
    Relayout();
    return ok;
}

void TCellGridWindow::SetColors(const TGridColors& colors)
{
    m_colors = colors;
    Refresh();
}

void TCellGridWindow::SetLeftMarginLine(bool on)
{
    m_leftMarginLine = on;
    Relayout();
}

void TCellGridWindow::SetRightMarginLine(bool on)
{
    m_rightMarginLine = on;
    Relayout();
}

void TCellGridWindow::SetBorder(bool single)
{
    m_border = single;
    if (!Handle())
        return;
    LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    ex = single ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Relayout();
}

void TCellGridWindow::SetScrollBars(bool vertical, bool horizontal)
{
    m_vertBar = vertical;
    m_horzBar = horizontal;
    if (!Handle())
        return;
    ShowScrollBar(Handle(), SB_VERT, vertical);
    ShowScrollBar(Handle(), SB_HORZ, horizontal);
    m_vert = m_horz = TBar { -1, -1, -1, -1 };
    Relayout();
}

void TCellGridWindow::EndUpdate()
{
    if (m_updateDepth > 0 && --m_updateDepth == 0)
        Refresh();
}

void TCellGridWindow::Refresh()
{
    if (m_updateDepth == 0 && Handle())
        Sync();
}

void TCellGridWindow::StatusChanged(int64_t line, int32_t col)
{
    m_statusPending = true;
    m_statusLine = line;
    m_statusCol = col;
}

void TCellGridWindow::InvalidateAll()
{
    m_cache.Invalidate();
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TCellGridWindow::ModelChanged()
{
    if (m_messageDepth > 0)
        m_changeNoted = true;
    else
        InvalidateAll();
}

void TCellGridWindow::ModelReplaced()
{
    m_ignoreNextChar = false;
    m_cache.Invalidate();
    if (!Handle())
        return;
    InvalidateRect(Handle(), nullptr, FALSE);
    Relayout();
}

TGridState TCellGridWindow::State() const
{
    TGridState s;
    s.enabled = Handle() && IsWindowEnabled(Handle());
    s.focused = m_focused;
    s.hideSelection = ModelHideSelection();
    s.showBookmarks = ModelShowBookmarks();
    return s;
}

// Geometry from the client size, the font and the model's margins; the model learns its new
// visible size (which may re-wrap the text).
void TCellGridWindow::Relayout()
{
    if (!Handle())
        return;
    RECT rc {};
    GetClientRect(Handle(), &rc);
    m_layout.clientWidth = rc.right;
    m_layout.clientHeight = rc.bottom;
    m_layout.cellWidth = m_font.CellWidth();
    m_layout.cellHeight = m_font.CellHeight();
    m_layout.leftMargin = ModelLeftMargin();
    m_layout.leftMarginLine = m_leftMarginLine;
    m_layout.rightMargin = ModelRightMargin();
    m_layout.rightMarginLine = m_rightMarginLine;
    m_glyphs.Prepare(ResolveColor(m_colors.margin));
    m_layout.glyphWidth = m_glyphs.Width();
    m_layout.glyphHeight = m_glyphs.Height();
    // A minimised or not yet sized window keeps the model's view: re-wrapping a large text to
    // a one-column window would cost seconds for nothing.
    if (rc.right <= 0 || rc.bottom <= 0)
        return;
    // Only whole rows count as visible to the model; a partial last row is still painted.
    int rows = std::max(1, m_layout.clientHeight / m_layout.cellHeight);
    int columns = std::max(1, (m_layout.clientWidth - m_layout.TextLeft()) / m_layout.cellWidth);
    {
        TWaitCursor wait(true);
        ModelViewSize(rows, columns);
    }
    Refresh();
}

void TCellGridWindow::Sync()
{
    // The model's margins may have changed since the last layout.
    if (ModelLeftMargin() != m_layout.leftMargin || ModelRightMargin() != m_layout.rightMargin) {
        Relayout();
        return;
    }
    m_glyphs.Prepare(ResolveColor(m_colors.margin));
    std::vector<TGridRow> rows = ModelRows(m_layout.VisibleRows());
    std::vector<int> changed = m_cache.Update(rows, m_layout, m_colors, State());
    if (changed.size() == rows.size()) {
        InvalidateRect(Handle(), nullptr, FALSE);
    } else {
        for (int row : changed) {
            RECT rc { 0, m_layout.RowTop(row), m_layout.clientWidth,
                m_layout.RowTop(row) + m_layout.cellHeight };
            InvalidateRect(Handle(), &rc, FALSE);
        }
    }
    UpdateScrollBars();
    PlaceCaret();
    if (m_statusPending && !m_statusPosted)
        m_statusPosted = PostMessageW(Handle(), WM_GRID_STATUS, 0, 0) != 0;
}

void TCellGridWindow::UpdateScrollBars()
{
    auto apply = [&](int which, TBar bar, TBar& shown) {
        if (bar == shown)
            return;
        shown = bar;
        SCROLLINFO si {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = bar.min;
        si.nMax = bar.max;
        si.nPage = static_cast<UINT>(std::max(bar.page, 0));
        si.nPos = bar.pos;
        SetScrollInfo(Handle(), which, &si, TRUE);
    };
    // Setting a hidden bar's range would show it again.
    if (m_vertBar)
        apply(SB_VERT, ModelVertBar(), m_vert);
    if (m_horzBar)
        apply(SB_HORZ, ModelHorzBar(), m_horz);
}

void TCellGridWindow::PlaceCaret()
{
    if (!m_focused)
        return;
    TCaretBox box = CaretBoxFor(ModelCaretShape(), m_layout.cellWidth, m_layout.cellHeight);
    if (!m_caretExists || !(box == m_caretBox)) {
        if (m_caretExists)
            DestroyCaret();
        m_caretExists = CreateCaret(Handle(), nullptr, box.width, box.height) != 0;
        m_caretBox = box;
        m_caretShown = false;
    }
    int row = 0, col = 0;
    if (ModelCaretCell(row, col)) {
        SetCaretPos(
            m_layout.TextLeft() + col * m_layout.cellWidth + box.x, m_layout.RowTop(row) + box.y);
        if (!m_caretShown)
            m_caretShown = ShowCaret(Handle()) != 0;
    } else if (m_caretShown) {
        HideCaret(Handle());
        m_caretShown = false;
    }
}

void TCellGridWindow::DeliverStatus()
{
    m_statusPosted = false;
    if (!m_statusPending)
        return;
    m_statusPending = false;
    if (OnShowStatus)
        OnShowStatus(m_statusLine, m_statusCol);
}

void TCellGridWindow::OnPaint()
{
    // Rows that changed behind the window's back (another view of the buffer) join the update.
    if (m_updateDepth == 0)
        Sync();
    PAINTSTRUCT ps {};
    HDC dc = BeginPaint(Handle(), &ps);
    {
        TGdiCellCanvas canvas(dc, m_font, m_glyphs);
        const auto& rows = m_cache.Rows();
        const TGridState state = State();
        m_lastPaintedRows = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            int top = m_layout.RowTop(static_cast<int>(i));
            if (top + m_layout.cellHeight <= ps.rcPaint.top || top >= ps.rcPaint.bottom)
                continue;
            RECT rowRect { 0, top, m_layout.clientWidth, top + m_layout.cellHeight };
            if (!CustomDrawRow(dc, static_cast<int>(i), rowRect))
                PaintGridRow(canvas, m_layout, m_colors, state, static_cast<int>(i), rows[i]);
            ++m_lastPaintedRows;
        }
        PaintBelowRows(canvas, m_layout, m_colors, static_cast<int>(rows.size()));
    }
    EndPaint(Handle(), &ps);
}

void TCellGridWindow::OnKeyDown(UINT msg, WPARAM wp, LPARAM, bool& handled)
{
    auto vk = static_cast<uint8_t>(wp & 0xFF);
    handled = false;
    if (IsLoneModifierKey(vk))
        return;
    uint8_t shift = static_cast<uint8_t>(
        (GetKeyState(VK_SHIFT) < 0 ? ssShift : 0) | (GetKeyState(VK_CONTROL) < 0 ? ssCtrl : 0));
    TTranslatedKey key = m_processor.Translate(vk, shift, msg == WM_SYSKEYDOWN);
    m_ignoreNextChar = false;
    if (key.command == ccPartialKey || key.command == ccUnknownSecondKey) {
        // The character of a half-typed sequence is not text.
        m_ignoreNextChar = true;
        handled = true;
    } else if (key.command == ccNoCommand || key.command == ccNone) {
        handled = msg == WM_KEYDOWN && ModelUntranslatedKey(vk);
    } else {
        TWaitCursor wait(IsLongCommand(key.command));
        handled = ModelCommand(key.command, static_cast<char>(key.ch));
        // A key the tables turned into a command (say the second key of Ctrl+K B) must not
        // also type its character.
        m_ignoreNextChar = handled;
    }
    // Ctrl+Backspace produces a DEL character that must not be typed.
    if (vk == VK_BACK)
        m_ignoreNextChar = true;
}

void TCellGridWindow::OnChar(WPARAM wp)
{
    if (m_ignoreNextChar) {
        m_ignoreNextChar = false;
        return;
    }
    wchar_t wide = static_cast<wchar_t>(wp);
    if (wide < 32)
        return;
    char ansi = 0;
    BOOL lossy = FALSE;
    if (WideCharToMultiByte(CP_ACP, 0, &wide, 1, &ansi, 1, nullptr, &lossy) != 1)
        return;
    ModelChar(ansi);
}

void TCellGridWindow::OnScroll(int bar, int code)
{
    const int page = bar == SB_VERT ? std::max(1, m_layout.VisibleRows() - 1)
                                    : std::max(1, m_layout.VisibleColumns() - 1);
    SCROLLINFO si {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS | SIF_POS;
    GetScrollInfo(Handle(), bar, &si);
    if (bar == SB_VERT) {
        switch (code) {
        case SB_LINEUP:
            ModelScrollRows(-1);
            break;
        case SB_LINEDOWN:
            ModelScrollRows(1);
            break;
        case SB_PAGEUP:
            ModelScrollRows(-page);
            break;
        case SB_PAGEDOWN:
            ModelScrollRows(page);
            break;
        case SB_TOP:
            ModelVertBarTo(m_vert.min);
            break;
        case SB_BOTTOM:
            ModelVertBarTo(m_vert.max);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            ModelVertBarTo(si.nTrackPos);
            break;
        default:
            return;
        }
    } else {
        TBar h = ModelHorzBar();
        switch (code) {
        case SB_LINELEFT:
            ModelLeftColumnTo(h.pos - 1);
            break;
        case SB_LINERIGHT:
            ModelLeftColumnTo(h.pos + 1);
            break;
        case SB_PAGELEFT:
            ModelLeftColumnTo(h.pos - page);
            break;
        case SB_PAGERIGHT:
            ModelLeftColumnTo(h.pos + page);
            break;
        case SB_LEFT:
            ModelLeftColumnTo(0);
            break;
        case SB_RIGHT:
            ModelLeftColumnTo(h.max);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            ModelLeftColumnTo(si.nTrackPos);
            break;
        default:
            return;
        }
    }
    Refresh();
}

void TCellGridWindow::OnMouseDown(LPARAM lp, bool dbl)
{
    SetFocus(Handle());
    int x = GET_X_LPARAM(lp);
    int y = GET_Y_LPARAM(lp);
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool margin = m_layout.InMargin(x);
    if (dbl) {
        ModelDoubleClick(m_layout.RowAt(y), m_layout.ColumnAt(x), shift, margin);
    } else {
        SetCapture(Handle());
        m_dragging = true;
        m_lastPointer = { x, y };
        ModelMouseDown(m_layout.RowAt(y), m_layout.ColumnAt(x), shift, margin);
    }
    Refresh();
}

void TCellGridWindow::DragTo(POINT pt)
{
    ModelMouseDrag(m_layout.RowAt(pt.y), m_layout.ColumnAt(pt.x));
    Refresh();
    ArmAutoScroll(pt);
}

// Outside the window the view keeps scrolling on a timer, faster the farther the pointer is.
void TCellGridWindow::ArmAutoScroll(POINT pt)
{
    int distance = 0;
    if (pt.y < 0)
        distance = -pt.y;
    else if (pt.y >= m_layout.clientHeight)
        distance = pt.y - m_layout.clientHeight + 1;
    if (distance == 0 || !m_dragging) {
        if (m_timerArmed)
            KillTimer(Handle(), kAutoScrollTimer);
        m_timerArmed = false;
        return;
    }
    int delay = TOvcCustomEditor::AutoScrollDelay(distance, GetSystemMetrics(SM_CYHSCROLL));
    SetTimer(Handle(), kAutoScrollTimer, static_cast<UINT>(std::max(delay, 10)), nullptr);
    m_timerArmed = true;
}

void TCellGridWindow::OnMouseMove(LPARAM lp)
{
    if (!m_dragging)
        return;
    m_lastPointer = { GET_X_LPARAM(lp), GET_Y_LPARAM(lp) };
    DragTo(m_lastPointer);
}

// The pointer is where the last captured move put it: every move reaches the window while it
// holds the capture.
void TCellGridWindow::OnAutoScrollTimer()
{
    if (m_dragging)
        DragTo(m_lastPointer);
    else
        ArmAutoScroll(m_lastPointer);
}

void TCellGridWindow::OnMouseUp()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    ArmAutoScroll({ 0, 0 });
    ModelMouseUp();
    if (GetCapture() == Handle())
        ReleaseCapture();
    Refresh();
}

bool TCellGridWindow::OnSetCursor()
{
    POINT pt {};
    GetCursorPos(&pt);
    ScreenToClient(Handle(), &pt);
    RECT rc {};
    GetClientRect(Handle(), &rc);
    if (!PtInRect(&rc, pt))
        return false;
    SetCursor(m_layout.InMargin(pt.x) ? LineCursor() : LoadCursorW(nullptr, IDC_IBEAM));
    return true;
}

void TCellGridWindow::OnFocus(bool focused)
{
    m_focused = focused;
    if (!focused && m_caretExists) {
        DestroyCaret();
        m_caretExists = false;
        m_caretShown = false;
    }
    Refresh();
}

LRESULT TCellGridWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    struct TDepth
    {
        int& depth;
        explicit TDepth(int& d)
            : depth(d)
        {
            ++depth;
        }
        ~TDepth() { --depth; }
        TDepth(const TDepth&) = delete;
        TDepth& operator=(const TDepth&) = delete;
    };
    LRESULT result = 0;
    {
        TDepth depth(m_messageDepth);
        result = Dispatch(msg, wp, lp);
    }
    if (m_messageDepth == 0 && m_changeNoted) {
        m_changeNoted = false;
        Refresh();
    }
    return result;
}

LRESULT TCellGridWindow::Dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        Relayout();
        return 0;
    case WM_SIZE:
        Relayout();
        return 0;
    case WM_ERASEBKGND:
        return 1; // every pixel is painted by WM_PAINT
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETFOCUS:
        OnFocus(true);
        return 0;
    case WM_KILLFOCUS:
        OnFocus(false);
        return 0;
    case WM_ENABLE:
        Refresh();
        return 0;
    case WM_GETDLGCODE:
        return DialogCode();
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR: {
        const double start = NowMs();
        bool handled = true;
        try {
            if (msg == WM_CHAR)
                OnChar(wp);
            else
                OnKeyDown(msg, wp, lp, handled);
        } catch (...) {
            Refresh();
            throw;
        }
        Refresh();
        UpdateWindow(Handle());
        m_lastInputMs = NowMs() - start;
        if (!handled && msg == WM_SYSKEYDOWN)
            return DefWindowProcW(Handle(), msg, wp, lp);
        return 0;
    }
    case WM_SYSCHAR:
        // The character of an Alt key the editor carried out would only make the menu beep.
        if (m_ignoreNextChar) {
            m_ignoreNextChar = false;
            return 0;
        }
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp));
        return 0;
    case WM_MOUSEWHEEL: {
        int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
        if (notches != 0) {
            ModelWheel(notches);
            Refresh();
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnMouseDown(lp, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(lp);
        return 0;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
        OnMouseUp();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != Handle())
            OnMouseUp();
        return 0;
    case WM_TIMER:
        if (wp == kAutoScrollTimer)
            OnAutoScrollTimer();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && OnSetCursor())
            return TRUE;
        break;
    case WM_GRID_STATUS:
        DeliverStatus();
        return 0;
    default:
        break;
    }
    return TWin32Window::HandleMessage(msg, wp, lp);
}

} // namespace wexly::win32
