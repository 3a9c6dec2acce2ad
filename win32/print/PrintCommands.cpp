#include "win32/print/PrintCommands.h"

#include "documents/EditFile.h"
#include "print/PagePrinter.h"
#include "print/PreviewModel.h"
#include "win32/print/GdiPrintCanvas.h"
#include "win32/print/PreviewForm.h"

#include <stdexcept>

namespace wexly::win32 {

bool PrintDocument(TEditFile& doc, const TPrintChoice& choice, const TSettings& settings)
{
    TDocumentPrintSource source(doc);
    const std::optional<TPrintRange> range = MakePrintRange(source, choice.Selection());
    if (!range)
        return false;
    HDC dc = choice.Dc();
    const TPrinterMetrics metrics = MetricsOf(dc);
    TPrintFont font(dc, settings.EditFont, metrics.dpiY);
    TPagePrinter printer(source, *range,
        { GeometryOf(metrics, dc, font.Height(), settings.PageHeader), settings.WordWrap,
            settings.PageHeader, doc.FileName() });
    if (printer.Finished(range->start))
        return false;
    TGdiPrintJob job(dc, font, doc.FileName());
    printer.Print(job, choice.Copies(), choice.Collate());
    job.Finish();
    return true;
}

TPrintCommands::TPrintCommands(TSettings& settings, IAsker& asker, TStatus status)
    : m_settings(settings)
    , m_asker(asker)
    , m_status(std::move(status))
{
}

TPrintCommands::~TPrintCommands() = default;

void TPrintCommands::ShowError(const std::string& text)
{
    m_asker.Ask({ text, "Error", TMsgButtons::Ok, TMsgIcon::Error });
}

std::optional<TPrintChoice> TPrintCommands::Choose(HWND owner, TEditFile& doc)
{
    std::string error;
    std::optional<TPrintChoice> choice = m_printer.Choose(owner, doc.HasSelection(), error);
    if (!choice && !error.empty())
        ShowError(error);
    return choice;
}

void TPrintCommands::Print(HWND owner, TEditFile& doc)
{
    std::optional<TPrintChoice> choice = Choose(owner, doc);
    if (!choice)
        return;
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    m_status(kPrintingText, false);
    bool printed = false;
    try {
        printed = PrintDocument(doc, *choice, m_settings);
    } catch (const std::exception& e) {
        SetCursor(old);
        m_status("", true);
        ShowError(e.what());
        return;
    }
    SetCursor(old);
    m_status(printed ? kPrintingCompleteText : "", true);
}

void TPrintCommands::Setup(HWND owner)
{
    std::string error;
    if (!m_printer.Setup(owner, error) && !error.empty())
        ShowError(error);
}

void TPrintCommands::Preview(HWND owner, TEditFile& doc)
{
    std::optional<TPrintChoice> choice = Choose(owner, doc);
    if (!choice)
        return;
    if (!m_preview)
        m_preview = std::make_unique<TPreviewForm>(m_settings, m_asker);
    m_preview->ShowModal(owner, doc, std::move(*choice));
}

} // namespace wexly::win32
