#include "win32/print/Printer.h"

#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <utility>

namespace wexly::win32 {

TPrintChoice::~TPrintChoice()
{
    if (m_dc)
        DeleteDC(m_dc);
}

TPrintChoice::TPrintChoice(TPrintChoice&& other) noexcept
    : m_dc(std::exchange(other.m_dc, nullptr))
    , m_selection(other.m_selection)
    , m_copies(other.m_copies)
    , m_collate(other.m_collate)
{
}

TPrinter::~TPrinter()
{
    if (m_devMode)
        GlobalFree(m_devMode);
    if (m_devNames)
        GlobalFree(m_devNames);
}

std::string TPrinter::ErrorText(DWORD code)
{
    switch (code) {
    case 0:
        return {}; // cancelled
    case PDERR_NODEFAULTPRN:
    case PDERR_NODEVICES:
        return kNoPrinterMessage;
    case PDERR_PRINTERNOTFOUND:
        return "The printer chosen before was not found.";
    case PDERR_CREATEICFAILURE:
    case PDERR_RETDEFFAILURE:
        return "The printer could not be opened.";
    default:
        return "The print dialog failed (error " + std::to_string(code) + ").";
    }
}

bool TPrinter::AnyPrinter()
{
    DWORD needed = 0, count = 0;
    EnumPrintersW(
        PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

std::optional<TPrintChoice> TPrinter::Choose(HWND owner, bool hasSelection, std::string& error)
{
    // Some print dialogs warn on their own and others fail silently: ask first, say it once.
    if (!AnyPrinter()) {
        error = kNoPrinterMessage;
        return std::nullopt;
    }
    PRINTDLGW pd {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.hDevMode = m_devMode;
    pd.hDevNames = m_devNames;
    // The dialog's own warning is replaced by ours, which says what does not work without one.
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOWARNING
        | (hasSelection ? PD_SELECTION : PD_NOSELECTION | PD_ALLPAGES);
    pd.nCopies = 1;
    const BOOL ok = PrintDlgW(&pd);
    m_devMode = pd.hDevMode;
    m_devNames = pd.hDevNames;
    if (!ok) {
        error = ErrorText(CommDlgExtendedError());
        return std::nullopt;
    }
    if (!pd.hDC) {
        error = "The printer could not be opened.";
        return std::nullopt;
    }
    return TPrintChoice(pd.hDC, (pd.Flags & PD_SELECTION) != 0, pd.nCopies > 0 ? pd.nCopies : 1,
        (pd.Flags & PD_COLLATE) != 0);
}

bool TPrinter::Setup(HWND owner, std::string& error)
{
    if (!AnyPrinter()) {
        error = kNoPrinterMessage;
        return false;
    }
    PRINTDLGW pd {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.hDevMode = m_devMode;
    pd.hDevNames = m_devNames;
    pd.Flags = PD_PRINTSETUP | PD_NOWARNING;
    const BOOL ok = PrintDlgW(&pd);
    m_devMode = pd.hDevMode;
    m_devNames = pd.hDevNames;
    if (!ok)
        error = ErrorText(CommDlgExtendedError());
    return ok != FALSE;
}

} // namespace wexly::win32
