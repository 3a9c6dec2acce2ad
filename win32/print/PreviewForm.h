// The "Print Preview" window: a page of the focused document as a bitmap of the printer page,
// shown at the magnification level in a scrolling image, with page choice and a print button.
// One instance, created at first use and reused; each showing is modal over the main window.
#pragma once

#include "config/Settings.h"
#include "platform/Ui.h"
#include "print/PreviewModel.h"
#include "win32/Win32Window.h"
#include "win32/print/GdiPrintCanvas.h"
#include "win32/print/PreviewIds.h"
#include "win32/print/Printer.h"

#include <memory>
#include <optional>

namespace wexly {
class TEditFile;
}

namespace wexly::win32 {

class TPreviewForm final : public TWin32Window
{
public:
    TPreviewForm(TSettings& settings, IAsker& asker);
    ~TPreviewForm() override;

    // Shows the pages of doc for the printer and range of the print dialog's choice; returns when
    // the window is closed.
    void ShowModal(HWND owner, TEditFile& doc, TPrintChoice choice);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Create(HWND owner);
    void CreateControls();
    void Layout();
    bool Prepare(TEditFile& doc);
    void Release();
    void FillPageBox();
    void ShowPage(int page);
    void RenderPage();
    void OnCommand(int id, int code);
    void ChangeZoom(int step);
    void PrintAll();
    void Close();
    void RunLoop();
    bool HandleKey(const MSG& msg);

    // The scrolling image.
    static LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT ImageMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void UpdateScrollBars();
    void Scroll(int bar, int request, int thumb);
    void PaintImage(HDC dc);

    TSettings& m_settings;
    IAsker& m_asker;
    TEditFile* m_doc = nullptr;
    std::optional<TPrintChoice> m_choice;
    std::unique_ptr<TDocumentPrintSource> m_source;
    std::unique_ptr<TPagePrinter> m_printer;
    std::unique_ptr<TPreviewModel> m_model;
    TPrinterMetrics m_metrics;
    HDC m_pageDc = nullptr; // holds the page bitmap
    HBITMAP m_pageBitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    std::unique_ptr<TPrintFont> m_pageFont;
    HWND m_owner = nullptr;
    HWND m_image = nullptr;
    HFONT m_uiFont = nullptr;
    int m_scrollX = 0;
    int m_scrollY = 0;
    bool m_done = false;
};

} // namespace wexly::win32
