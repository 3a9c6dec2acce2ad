#include "win32/print/GdiPrintCanvas.h"

#include "win32/platform/WinStrings.h"

#include <stdexcept>

namespace wexly::win32 {

namespace {

[[noreturn]] void ThrowLastError(const char* what)
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    std::string message;
    if (code != 0
        && FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr)
        && text) {
        message = WideToUtf8(text);
        LocalFree(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
    }
    if (message.empty())
        message = "error " + std::to_string(code);
    throw std::runtime_error(std::string(what) + ": " + message);
}

} // namespace

TPrintFont::TPrintFont(HDC dc, const TFontSet& editFont, int dpiY)
    : m_dc(dc)
    , m_height(PrintFontHeight(editFont.Size > 0 ? editFont.Size : 9, dpiY))
{
    LOGFONTW lf {};
    lf.lfHeight = -m_height;
    lf.lfWeight = (editFont.Style & FontStyle::Bold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (editFont.Style & FontStyle::Italic) ? 1 : 0;
    lf.lfCharSet = editFont.Charset;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const std::wstring face = Utf8ToWide(editFont.Name.empty() ? "Courier New" : editFont.Name);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    m_plain = CreateFontIndirectW(&lf);
    lf.lfWeight = FW_BOLD;
    m_bold = CreateFontIndirectW(&lf);
    m_old = SelectObject(m_dc, m_plain);
    SetTextColor(m_dc, RGB(0, 0, 0));
    SetBkMode(m_dc, TRANSPARENT);
}

TPrintFont::~TPrintFont()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_plain);
    DeleteObject(m_bold);
}

void TPrintFont::Select(bool bold)
{
    SelectObject(m_dc, bold ? m_bold : m_plain);
}

TPrinterMetrics MetricsOf(HDC printer)
{
    return { GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES),
        GetDeviceCaps(printer, LOGPIXELSY) };
}

TPageGeometry GeometryOf(const TPrinterMetrics& metrics, HDC dc, int fontHeight, bool header)
{
    SIZE w {};
    GetTextExtentPoint32W(dc, L"W", 1, &w);
    return ComputePageGeometry(metrics, fontHeight, w.cx, header);
}

TGdiPrintCanvas::TGdiPrintCanvas(HDC dc, TPrintFont& font)
    : m_dc(dc)
    , m_font(font)
{
}

int TGdiPrintCanvas::TextWidth(std::string_view text)
{
    SIZE size {};
    GetTextExtentPoint32A(m_dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void TGdiPrintCanvas::PutText(int x, int y, std::string_view text)
{
    if (!text.empty())
        TextOutA(m_dc, x, y, text.data(), static_cast<int>(text.size()));
}

void TGdiPrintCanvas::PutPath(int x, int y, std::string_view utf8)
{
    const std::wstring wide = Utf8ToWide(utf8);
    if (!wide.empty())
        TextOutW(m_dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

TGdiPrintJob::TGdiPrintJob(HDC dc, TPrintFont& font, const std::string& title)
    : m_dc(dc)
    , m_canvas(dc, font)
{
    const std::wstring name = Utf8ToWide(title);
    DOCINFOW info {};
    info.cbSize = sizeof(info);
    info.lpszDocName = name.c_str();
    if (StartDocW(m_dc, &info) <= 0)
        ThrowLastError("The print job could not be started");
    m_open = true;
    if (StartPage(m_dc) <= 0)
        ThrowLastError("The page could not be started");
}

TGdiPrintJob::~TGdiPrintJob()
{
    if (m_open)
        AbortDoc(m_dc);
}

void TGdiPrintJob::NewSheet()
{
    if (EndPage(m_dc) <= 0)
        ThrowLastError("The page could not be printed");
    if (StartPage(m_dc) <= 0)
        ThrowLastError("The page could not be started");
}

void TGdiPrintJob::Finish()
{
    if (EndPage(m_dc) <= 0)
        ThrowLastError("The page could not be printed");
    if (EndDoc(m_dc) <= 0)
        ThrowLastError("The print job could not be finished");
    m_open = false;
}

} // namespace wexly::win32
