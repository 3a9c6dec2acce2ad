#include "win32/main/GdiSettings.h"

#include "controls/ZulColors.h"
#include "win32/platform/WinStrings.h"

namespace wexly::win32 {

COLORREF ColourOf(uint32_t value)
{
    if (IsSystemColor(value))
        return GetSysColor(SystemColorIndex(value));
    return static_cast<COLORREF>(value & 0xFFFFFF);
}

LOGFONTW LogFontOf(const TFontSet& set)
{
    LOGFONTW lf {};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(set.Size > 0 ? set.Size : 9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = (set.Style & FontStyle::Bold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (set.Style & FontStyle::Italic) ? 1 : 0;
    lf.lfUnderline = (set.Style & FontStyle::Underline) ? 1 : 0;
    lf.lfStrikeOut = (set.Style & FontStyle::StrikeOut) ? 1 : 0;
    lf.lfCharSet = set.Charset;
    const std::wstring face = Utf8ToWide(set.Name.empty() ? "MS Sans Serif" : set.Name);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    return lf;
}

void ApplyStoredBounds(HWND window, const TRect& b)
{
    if (b.Right > b.Left && b.Bottom > b.Top)
        MoveWindow(window, b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top, FALSE);
}

TRect WindowBounds(HWND window)
{
    RECT r {};
    GetWindowRect(window, &r);
    return { r.left, r.top, r.right, r.bottom };
}

} // namespace wexly::win32
