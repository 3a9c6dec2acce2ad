// The Replace dialog over TReplaceForm.
#pragma once

#include "dialogs/ModalDialog.h"
#include "search/ReplaceForm.h"

namespace wexly::win32 {

class TReplaceDialog final : public TModalDialog
{
public:
    explicit TReplaceDialog(TReplaceForm& form)
        : m_form(form)
    {
    }
    bool Create(HWND owner);

protected:
    void OnShow() override;
    void OnCommand(int id, int code) override;

private:
    void ModelToControls();
    void ControlsToModel();
    void UpdateButtons();

    TReplaceForm& m_form;
};

} // namespace wexly::win32
