// The Goto Line dialog over TGotoLineModel: one edit box; Enter accepts, Esc cancels.
#pragma once

#include "search/GotoLineModel.h"
#include "win32/dialogs/ModalDialog.h"

namespace wexly::win32 {

class TGotoLineDialog final : public TModalDialog
{
public:
    explicit TGotoLineDialog(TGotoLineModel& model)
        : m_model(model)
    {
    }
    bool Create(HWND owner);

protected:
    void OnShow() override;
    void OnCommand(int id, int code) override;

private:
    TGotoLineModel& m_model;
};

} // namespace wexly::win32
