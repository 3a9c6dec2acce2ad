// The system printer: the print dialog (whole document or selection, copies, collating) and the
// printer setup dialog. The chosen printer and page set-up are kept between the two.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wexly::win32 {

// What the print dialog returned; owns the printer's device context.
class TPrintChoice
{
public:
    TPrintChoice(HDC dc, bool selection, int copies, bool collate)
        : m_dc(dc)
        , m_selection(selection)
        , m_copies(copies)
        , m_collate(collate)
    {
    }
    ~TPrintChoice();
    TPrintChoice(TPrintChoice&& other) noexcept;
    TPrintChoice(const TPrintChoice&) = delete;
    TPrintChoice& operator=(const TPrintChoice&) = delete;
    TPrintChoice& operator=(TPrintChoice&&) = delete;

    HDC Dc() const { return m_dc; }
    bool Selection() const { return m_selection; }
    int Copies() const { return m_copies; }
    bool Collate() const { return m_collate; }

private:
    HDC m_dc;
    bool m_selection;
    int m_copies;
    bool m_collate;
};

inline constexpr const char* kNoPrinterMessage
    = "No printer is installed.\rPrinting and the print preview need a printer.";

class TPrinter
{
public:
    TPrinter() = default;
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The print dialog; hasSelection offers and preselects printing the selection. Nothing when
    // the user cancelled or the dialog failed; then error holds what to tell the user, if
    // anything.
    std::optional<TPrintChoice> Choose(HWND owner, bool hasSelection, std::string& error);
    // The printer setup dialog; the error text as above, empty when cancelled.
    bool Setup(HWND owner, std::string& error);

private:
    static std::string ErrorText(DWORD code);
    static bool AnyPrinter();
    HGLOBAL m_devMode = nullptr;
    HGLOBAL m_devNames = nullptr;
};

} // namespace wexly::win32
