// "&Print...", "&Setup..." and "Preview..." of the File menu for the focused document: the print
// dialog, printing through GDI with its status texts, and the print preview window.
#pragma once

#include "config/Settings.h"
#include "platform/Ui.h"
#include "win32/print/Printer.h"

#include <functional>
#include <memory>
#include <string>

namespace wexly {
class TEditFile;
}

namespace wexly::win32 {

class TPreviewForm;

// Prints the range the choice names; false when there was nothing to print (the selection was
// asked for and is gone). Printer errors throw std::runtime_error with the system's message.
bool PrintDocument(TEditFile& doc, const TPrintChoice& choice, const TSettings& settings);

class TPrintCommands
{
public:
    // status(text, temporary): the main window's message panel.
    using TStatus = std::function<void(const std::string& text, bool temporary)>;
    TPrintCommands(TSettings& settings, IAsker& asker, TStatus status);
    ~TPrintCommands();

    void Print(HWND owner, TEditFile& doc);
    void Setup(HWND owner);
    void Preview(HWND owner, TEditFile& doc);

private:
    std::optional<TPrintChoice> Choose(HWND owner, TEditFile& doc);
    void ShowError(const std::string& text);

    TSettings& m_settings;
    IAsker& m_asker;
    TStatus m_status;
    TPrinter m_printer;
    std::unique_ptr<TPreviewForm> m_preview; // created at first use, kept
};

} // namespace wexly::win32
