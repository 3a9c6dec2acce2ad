#include "print/PreviewModel.h"

#include <algorithm>

namespace wexly {

TImageSize ZoomedSize(int width, int height, int level)
{
    if (level >= 1)
        return { width * level, height * level };
    const int divisor = 2 - level;
    return { width / divisor, height / divisor };
}

TPreviewModel::TPreviewModel(TPagePrinter& printer, int level)
    : m_printer(printer)
    , m_pageCount(std::max(printer.PageCount(), 1))
    , m_zoom(std::clamp(level, kMinPreviewZoom, kMaxPreviewZoom))
{
}

bool TPreviewModel::SelectPage(int page)
{
    if (page < 1 || page > m_pageCount)
        return false;
    m_page = page;
    return true;
}

bool TPreviewModel::ChangeZoom(int step)
{
    const int level = std::clamp(m_zoom + step, kMinPreviewZoom, kMaxPreviewZoom);
    if (level == m_zoom)
        return false;
    m_zoom = level;
    return true;
}

TImageSize TPreviewModel::ImageSize(int pageWidth, int pageHeight) const
{
    return ZoomedSize(pageWidth, pageHeight, m_zoom);
}

void TPreviewModel::RenderPage(IPrintCanvas& canvas)
{
    m_printer.RenderPage(m_page, canvas, m_printer.PageStart(m_page));
}

} // namespace wexly
