// Pages on a device context: the print font (the editor font at the device's resolution, black,
// plain and bold), the page geometry it gives, the canvas the page printer draws on, and a GDI
// print job.
#pragma once

#include "config/Settings.h"
#include "print/PageGeometry.h"
#include "print/PrintCanvas.h"

#include <windows.h>

#include <string>

namespace wexly::win32 {

// The print font in two weights, selected into dc while the object lives.
class TPrintFont
{
public:
    TPrintFont(HDC dc, const TFontSet& editFont, int dpiY);
    ~TPrintFont();
    TPrintFont(const TPrintFont&) = delete;
    TPrintFont& operator=(const TPrintFont&) = delete;

    int Height() const { return m_height; }
    void Select(bool bold);

private:
    HDC m_dc;
    HFONT m_plain = nullptr;
    HFONT m_bold = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_height = 1;
};

TPrinterMetrics MetricsOf(HDC printer);
// The geometry for printer metrics with the font selected into dc.
TPageGeometry GeometryOf(const TPrinterMetrics& metrics, HDC dc, int fontHeight, bool header);

class TGdiPrintCanvas final : public IPrintCanvas
{
public:
    TGdiPrintCanvas(HDC dc, TPrintFont& font);
    int TextWidth(std::string_view text) override;
    void SetBold(bool bold) override { m_font.Select(bold); }
    void PutText(int x, int y, std::string_view text) override;
    void PutPath(int x, int y, std::string_view utf8) override;

private:
    HDC m_dc;
    TPrintFont& m_font;
};

// One print job on a printer: started at construction, ended by Finish, abandoned if not
// finished. Failures throw std::runtime_error with the system's message.
class TGdiPrintJob final : public IPrintTarget
{
public:
    TGdiPrintJob(HDC dc, TPrintFont& font, const std::string& title);
    ~TGdiPrintJob() override;
    TGdiPrintJob(const TGdiPrintJob&) = delete;
    TGdiPrintJob& operator=(const TGdiPrintJob&) = delete;

    IPrintCanvas& Canvas() override { return m_canvas; }
    void NewSheet() override;
    void Finish();

private:
    HDC m_dc;
    TGdiPrintCanvas m_canvas;
    bool m_open = false; // a document was started and not yet ended or abandoned
};

} // namespace wexly::win32
