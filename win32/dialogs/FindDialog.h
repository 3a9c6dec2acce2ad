// The Find dialog over TFindForm: the model is copied into the controls before each showing
// and the controls back into the model as the user changes them.
#pragma once

#include "dialogs/ModalDialog.h"
#include "search/FindForm.h"

namespace wexly::win32 {

class TFindDialog final : public TModalDialog
{
public:
    explicit TFindDialog(TFindForm& form)
        : m_form(form)
    {
    }
    bool Create(HWND owner);

protected:
    void OnShow() override;
    void OnCommand(int id, int code) override;

private:
    void ControlsToModel();
    void ModelToEnables();
    std::string ComboText(int id, int code) const;
    void ClientSize(int32_t& width, int32_t& height) const;

    TFindForm& m_form;
};

} // namespace wexly::win32
