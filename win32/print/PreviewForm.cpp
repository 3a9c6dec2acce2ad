#include "win32/print/PreviewForm.h"

#include "documents/EditFile.h"
#include "win32/platform/WinStrings.h"
#include "win32/print/PrintCommands.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace wexly::win32 {

namespace {

constexpr wchar_t FormClass[] = L"TPreviewForm";
constexpr wchar_t ImageClass[] = L"TPreviewImage";
constexpr int BarHeight = 32;
constexpr int LineStep = 32; // pixels a scroll-bar arrow moves

struct TControlSpec
{
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int x, width;
};

constexpr TControlSpec Controls[] = {
    { IDC_PREVIEW_PRINT, L"BUTTON", L"&Print", BS_PUSHBUTTON | WS_TABSTOP, 4, 70 },
    { IDC_PREVIEW_CLOSE, L"BUTTON", L"&Close", BS_PUSHBUTTON | WS_TABSTOP, 78, 70 },
    { IDC_PREVIEW_PREV, L"BUTTON", L"<", BS_PUSHBUTTON | WS_TABSTOP, 160, 28 },
    { IDC_PREVIEW_PAGE, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 190, 70 },
    { IDC_PREVIEW_NEXT, L"BUTTON", L">", BS_PUSHBUTTON | WS_TABSTOP, 262, 28 },
    { IDC_PREVIEW_OF, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE, 296, 70 },
    { IDC_PREVIEW_ZOOMIN, L"BUTTON", L"Zoom &In", BS_PUSHBUTTON | WS_TABSTOP, 372, 70 },
    { IDC_PREVIEW_ZOOMOUT, L"BUTTON", L"Zoom &Out", BS_PUSHBUTTON | WS_TABSTOP, 446, 70 },
    { IDC_PREVIEW_STATUS, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE, 526, 160 },
};

} // namespace

TPreviewForm::TPreviewForm(TSettings& settings, IAsker& asker)
    : m_settings(settings)
    , m_asker(asker)
{
}

TPreviewForm::~TPreviewForm()
{
    Release();
    if (Handle())
        DestroyWindow(Handle());
}

bool TPreviewForm::Create(HWND owner)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW image {};
    image.cbSize = sizeof(image);
    image.lpfnWndProc = &TPreviewForm::ImageProc;
    image.hInstance = instance;
    image.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    image.lpszClassName = ImageClass;
    WNDCLASSEXW existing {};
    if (!GetClassInfoExW(instance, ImageClass, &existing) && !RegisterClassExW(&image))
        return false;
    if (!RegisterWindowClass(FormClass, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    if (!CreateWindowHandle(WS_EX_CONTROLPARENT, FormClass, Utf8ToWide(kPreviewCaption).c_str(),
            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 640, 600, owner,
            nullptr))
        return false;
    CreateControls();
    return true;
}

void TPreviewForm::CreateControls()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_uiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const TControlSpec& c : Controls) {
        const int height = c.id == IDC_PREVIEW_PAGE ? 300 : 24;
        HWND w = CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, 4, c.width,
            height, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance,
            nullptr);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(m_uiFont), FALSE);
    }
    m_image = CreateWindowExW(WS_EX_CLIENTEDGE, ImageClass, L"",
        WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, BarHeight, 100, 100, Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW_IMAGE)), instance, this);
}

void TPreviewForm::Layout()
{
    RECT rc {};
    GetClientRect(Handle(), &rc);
    MoveWindow(m_image, 0, BarHeight, rc.right, std::max<int>(rc.bottom - BarHeight, 0), TRUE);
}

void TPreviewForm::ShowModal(HWND owner, TEditFile& doc, TPrintChoice choice)
{
    if (!Handle() && !Create(owner))
        return;
    m_owner = owner;
    m_doc = &doc;
    m_choice.emplace(std::move(choice));
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    try {
        if (!Prepare(doc)) {
            SetCursor(old);
            Release();
            return;
        }
    } catch (const std::exception& e) {
        SetCursor(old);
        Release();
        m_asker.Ask({ e.what(), "Error", TMsgButtons::Ok, TMsgIcon::Error });
        return;
    }
    SetCursor(old);
    const TRect& r = m_settings.PreviewRect;
    if (r.Right > r.Left && r.Bottom > r.Top)
        MoveWindow(Handle(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, FALSE);
    Layout();
    SetWindowTextW(GetDlgItem(Handle(), IDC_PREVIEW_STATUS), L"");
    FillPageBox();
    m_scrollX = m_scrollY = 0;
    ShowPage(1);
    UpdateScrollBars();

    EnableWindow(m_owner, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(GetDlgItem(Handle(), IDC_PREVIEW_CLOSE));
    RunLoop();

    WINDOWPLACEMENT wp {};
    wp.length = sizeof(wp);
    GetWindowPlacement(Handle(), &wp);
    const RECT& n = wp.rcNormalPosition;
    m_settings.PreviewRect = { n.left, n.top, n.right, n.bottom };
    m_settings.PreviewZoom = m_model->Zoom();
    EnableWindow(m_owner, TRUE);
    ShowWindow(Handle(), SW_HIDE);
    SetActiveWindow(m_owner);
    Release();
}

bool TPreviewForm::Prepare(TEditFile& doc)
{
    m_source = std::make_unique<TDocumentPrintSource>(doc);
    const std::optional<TPrintRange> range = MakePrintRange(*m_source, m_choice->Selection());
    if (!range)
        return false;
    HDC printer = m_choice->Dc();
    m_metrics = MetricsOf(printer);
    if (m_metrics.pageWidth <= 0 || m_metrics.pageHeight <= 0 || m_metrics.dpiY <= 0)
        throw std::runtime_error("The printer did not tell its page size.");
    TPageGeometry geometry;
    {
        TPrintFont measure(printer, m_settings.EditFont, m_metrics.dpiY);
        geometry = GeometryOf(m_metrics, printer, measure.Height(), m_settings.PageHeader);
    }
    m_printer = std::make_unique<TPagePrinter>(*m_source, *range,
        TPrintOptions { geometry, m_settings.WordWrap, m_settings.PageHeader, doc.FileName() });
    m_model = std::make_unique<TPreviewModel>(*m_printer, m_settings.PreviewZoom);

    // One bit a pixel: a page of black text at printer resolution stays small.
    HDC screen = GetDC(nullptr);
    m_pageDc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    m_pageBitmap = CreateBitmap(m_metrics.pageWidth, m_metrics.pageHeight, 1, 1, nullptr);
    if (!m_pageDc || !m_pageBitmap)
        throw std::runtime_error("There is not enough memory for the page image.");
    m_oldBitmap = SelectObject(m_pageDc, m_pageBitmap);
    m_pageFont = std::make_unique<TPrintFont>(m_pageDc, m_settings.EditFont, m_metrics.dpiY);
    return true;
}

void TPreviewForm::Release()
{
    m_pageFont.reset();
    if (m_pageDc) {
        SelectObject(m_pageDc, m_oldBitmap);
        DeleteDC(m_pageDc);
        m_pageDc = nullptr;
    }
    if (m_pageBitmap) {
        DeleteObject(m_pageBitmap);
        m_pageBitmap = nullptr;
    }
    m_model.reset();
    m_printer.reset();
    m_source.reset();
    m_choice.reset();
    m_doc = nullptr;
}

void TPreviewForm::FillPageBox()
{
    HWND box = GetDlgItem(Handle(), IDC_PREVIEW_PAGE);
    const int count = m_model->PageCount();
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    SendMessageW(box, CB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 8);
    for (int page = 1; page <= count; ++page)
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(page).c_str()));
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    SetWindowTextW(GetDlgItem(Handle(), IDC_PREVIEW_OF), (L"of " + std::to_wstring(count)).c_str());
}

void TPreviewForm::ShowPage(int page)
{
    if (!m_model || !m_model->SelectPage(page))
        return;
    SendMessageW(
        GetDlgItem(Handle(), IDC_PREVIEW_PAGE), CB_SETCURSEL, static_cast<WPARAM>(page - 1), 0);
    EnableWindow(GetDlgItem(Handle(), IDC_PREVIEW_PREV), page > 1);
    EnableWindow(GetDlgItem(Handle(), IDC_PREVIEW_NEXT), page < m_model->PageCount());
    std::wstring caption = Utf8ToWide(kPreviewCaption);
    SetWindowTextW(Handle(), caption.c_str());
    m_scrollY = 0;
    RenderPage();
    UpdateScrollBars();
}

void TPreviewForm::RenderPage()
{
    PatBlt(m_pageDc, 0, 0, m_metrics.pageWidth, m_metrics.pageHeight, WHITENESS);
    TGdiPrintCanvas canvas(m_pageDc, *m_pageFont);
    m_model->RenderPage(canvas);
    InvalidateRect(m_image, nullptr, FALSE);
}

void TPreviewForm::ChangeZoom(int step)
{
    if (!m_model)
        return;
    const TImageSize before = m_model->ImageSize(m_metrics.pageWidth, m_metrics.pageHeight);
    if (!m_model->ChangeZoom(step))
        return;
    const TImageSize after = m_model->ImageSize(m_metrics.pageWidth, m_metrics.pageHeight);
    // Keep the same part of the page in view.
    if (before.width > 0 && before.height > 0) {
        m_scrollX = static_cast<int>(int64_t { m_scrollX } * after.width / before.width);
        m_scrollY = static_cast<int>(int64_t { m_scrollY } * after.height / before.height);
    }
    UpdateScrollBars();
    InvalidateRect(m_image, nullptr, FALSE);
}

void TPreviewForm::PrintAll()
{
    if (!m_doc || !m_choice)
        return;
    HWND status = GetDlgItem(Handle(), IDC_PREVIEW_STATUS);
    SetWindowTextW(status, Utf8ToWide(kPrintingText).c_str());
    UpdateWindow(status);
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    try {
        PrintDocument(*m_doc, *m_choice, m_settings);
    } catch (const std::exception& e) {
        SetCursor(old);
        SetWindowTextW(status, L"");
        m_asker.Ask({ e.what(), "Error", TMsgButtons::Ok, TMsgIcon::Error });
        return;
    }
    SetCursor(old);
    SetWindowTextW(status, Utf8ToWide(kFinishedPrintingText).c_str());
}

void TPreviewForm::Close()
{
    m_done = true;
}

void TPreviewForm::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_PREVIEW_PRINT:
        PrintAll();
        break;
    case IDC_PREVIEW_CLOSE:
    case IDCANCEL:
        Close();
        break;
    case IDC_PREVIEW_PREV:
        ShowPage(m_model ? m_model->Page() - 1 : 0);
        break;
    case IDC_PREVIEW_NEXT:
        ShowPage(m_model ? m_model->Page() + 1 : 0);
        break;
    case IDC_PREVIEW_PAGE:
        if (code == CBN_SELCHANGE) {
            const auto sel = SendMessageW(GetDlgItem(Handle(), id), CB_GETCURSEL, 0, 0);
            if (sel >= 0)
                ShowPage(static_cast<int>(sel) + 1);
        }
        break;
    case IDC_PREVIEW_ZOOMIN:
        ChangeZoom(+1);
        break;
    case IDC_PREVIEW_ZOOMOUT:
        ChangeZoom(-1);
        break;
    default:
        break;
    }
}

bool TPreviewForm::HandleKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !m_model)
        return false;
    if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd))
        return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
        Close();
        return true;
    case VK_NEXT:
        ShowPage(m_model->Page() + 1);
        return true;
    case VK_PRIOR:
        ShowPage(m_model->Page() - 1);
        return true;
    default:
        return false;
    }
}

void TPreviewForm::RunLoop()
{
    m_done = false;
    while (!m_done) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Hand WM_QUIT on to the program's own loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (HandleKey(msg) || IsDialogMessageW(Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

LRESULT TPreviewForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = { 320, 200 };
        return 0;
    case WM_MOUSEWHEEL:
        if (m_image)
            return SendMessageW(m_image, msg, wp, lp);
        break;
    case WM_CLOSE:
        Close();
        return 0;
    default:
        break;
    }
    return TWin32Window::HandleMessage(msg, wp, lp);
}

// ---- the image ----------------------------------------------------------------------------

LRESULT CALLBACK TPreviewForm::ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* self
            = static_cast<TPreviewForm*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TPreviewForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    try {
        return self->ImageMessage(hwnd, msg, wp, lp);
    } catch (const std::exception& e) {
        ShowUnexpectedError(e.what());
        return 0;
    }
}

LRESULT TPreviewForm::ImageMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintImage(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_SIZE:
        UpdateScrollBars();
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        Scroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp), 0);
        return 0;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(wp);
        m_scrollY -= delta / WHEEL_DELTA * 3 * LineStep;
        Scroll(SB_VERT, SB_ENDSCROLL, 0);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void TPreviewForm::UpdateScrollBars()
{
    if (!m_image || !m_model)
        return;
    RECT rc {};
    GetClientRect(m_image, &rc);
    const TImageSize size = m_model->ImageSize(m_metrics.pageWidth, m_metrics.pageHeight);
    m_scrollX = std::clamp(m_scrollX, 0, std::max(size.width - static_cast<int>(rc.right), 0));
    m_scrollY = std::clamp(m_scrollY, 0, std::max(size.height - static_cast<int>(rc.bottom), 0));
    SCROLLINFO si {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = std::max(size.width - 1, 0);
    si.nPage = static_cast<UINT>(std::max<LONG>(rc.right, 0));
    si.nPos = m_scrollX;
    SetScrollInfo(m_image, SB_HORZ, &si, TRUE);
    si.nMax = std::max(size.height - 1, 0);
    si.nPage = static_cast<UINT>(std::max<LONG>(rc.bottom, 0));
    si.nPos = m_scrollY;
    SetScrollInfo(m_image, SB_VERT, &si, TRUE);
}

void TPreviewForm::Scroll(int bar, int request, int)
{
    RECT rc {};
    GetClientRect(m_image, &rc);
    int& pos = bar == SB_HORZ ? m_scrollX : m_scrollY;
    const int page = bar == SB_HORZ ? rc.right : rc.bottom;
    SCROLLINFO si {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    switch (request) {
    case SB_LINEUP:
        pos -= LineStep;
        break;
    case SB_LINEDOWN:
        pos += LineStep;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The 32-bit position: the message carries only 16 bits.
        GetScrollInfo(m_image, bar, &si);
        pos = si.nTrackPos;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = INT32_MAX / 2;
        break;
    default:
        break;
    }
    UpdateScrollBars();
    InvalidateRect(m_image, nullptr, FALSE);
}

void TPreviewForm::PaintImage(HDC dc)
{
    RECT rc {};
    GetClientRect(m_image, &rc);
    HBRUSH back = GetSysColorBrush(COLOR_APPWORKSPACE);
    if (!m_model || !m_pageDc) {
        FillRect(dc, &rc, back);
        return;
    }
    const TImageSize size = m_model->ImageSize(m_metrics.pageWidth, m_metrics.pageHeight);
    const int left = size.width < rc.right ? (rc.right - size.width) / 2 : -m_scrollX;
    const int top = size.height < rc.bottom ? (rc.bottom - size.height) / 2 : -m_scrollY;
    RECT page { left, top, left + size.width, top + size.height };
    RECT shown {};
    if (size.width <= 0 || size.height <= 0 || !IntersectRect(&shown, &page, &rc)) {
        FillRect(dc, &rc, back);
        return;
    }
    // The background around the page only, so that the page does not flicker.
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
    FillRect(dc, &rc, back);
    RestoreDC(dc, saved);

    auto toPage = [](LONG v, int origin, int imageSize, int pageSize) {
        return static_cast<int>(int64_t { v - origin } * pageSize / imageSize);
    };
    const int sx = toPage(shown.left, left, size.width, m_metrics.pageWidth);
    const int sy = toPage(shown.top, top, size.height, m_metrics.pageHeight);
    const int sx2 = toPage(shown.right, left, size.width, m_metrics.pageWidth);
    const int sy2 = toPage(shown.bottom, top, size.height, m_metrics.pageHeight);
    SetStretchBltMode(dc, size.width < m_metrics.pageWidth ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // A one-bit source takes the text and background colours of the target.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    StretchBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
        m_pageDc, sx, sy, std::max(sx2 - sx, 1), std::max(sy2 - sy, 1), SRCCOPY);
}

} // namespace wexly::win32
