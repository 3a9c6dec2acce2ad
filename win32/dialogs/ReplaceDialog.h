// The Replace dialog over TReplaceForm.
#pragma once

#include "search/ReplaceForm.h"
#include "win32/dialogs/ModalDialog.h"

#include <functional>

namespace wexly::win32 {

class TReplaceDialog final : public TModalDialog
{
public:
    explicit TReplaceDialog(TReplaceForm& form)
        : m_form(form)
    {
    }
    bool Create(HWND owner);

    // A search ran while the dialog stays open: the owner shows what it found or replaced.
    std::function<void()> OnSearched;

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
