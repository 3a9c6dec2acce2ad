// The print preview's state apart from its window: the page shown, the magnification level and
// the size of the page image it gives. Borrows the page printer while the preview is open.
#pragma once

#include "print/PagePrinter.h"

namespace wexly {

inline constexpr int kMinPreviewZoom = -5;
inline constexpr int kMaxPreviewZoom = 5;
inline constexpr const char* kPreviewCaption = "Print Preview";
inline constexpr const char* kPrintingText = "Printing...";
inline constexpr const char* kPrintingCompleteText = "Printing Complete";
inline constexpr const char* kFinishedPrintingText = "Finished Printing";

struct TImageSize
{
    int width = 0;
    int height = 0;
    friend bool operator==(const TImageSize&, const TImageSize&) = default;
};

// Level n >= 1 magnifies n times; n <= 0 divides by 2 - n (0 is one half).
TImageSize ZoomedSize(int width, int height, int level);

class TPreviewModel
{
public:
    // level: the stored magnification, kept within the allowed levels.
    TPreviewModel(TPagePrinter& printer, int level);

    int PageCount() const { return m_pageCount; }
    int Page() const { return m_page; }
    // False when page is not one of the pages.
    bool SelectPage(int page);
    bool NextPage() { return SelectPage(m_page + 1); }
    bool PreviousPage() { return SelectPage(m_page - 1); }
    int Zoom() const { return m_zoom; }
    // +1 or -1 within the allowed levels; false when already at the end.
    bool ChangeZoom(int step);
    TImageSize ImageSize(int pageWidth, int pageHeight) const;
    // Draws the page shown on a canvas already cleared to white.
    void RenderPage(IPrintCanvas& canvas);

private:
    TPagePrinter& m_printer;
    int m_pageCount = 0; // at least 1: an empty range still shows its blank page
    int m_page = 1;
    int m_zoom = 1;
};

} // namespace wexly
