// "Reopen": the files closed recently, with their binary and read-only marks, newest first;
// "File Name" in the header sorts them or restores the order. Thin over TReopenForm; its
// bounds are kept in the settings.
#pragma once

#include "config/Settings.h"
#include "dialogs/ReopenForm.h"
#include "win32/dialogs/ModalDialog.h"
#include "win32/main/FlagMarks.h"

#include <optional>
#include <string>
#include <vector>

namespace wexly::win32 {

class TReopenDialog final : private TModalDialog
{
public:
    TReopenDialog(HWND owner, TSettings& settings);
    // The chosen files as a command line, or none when cancelled.
    std::optional<std::string> Run(std::vector<std::string>& history);

    struct TState
    {
        TReopenForm form;
        TSettings* settings = nullptr;
        HWND owner = nullptr;
        TFlagMarks marks;
    };

private:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    bool OnSize(int width, int height) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    TState m_state;
};

} // namespace wexly::win32
