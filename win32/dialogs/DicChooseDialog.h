// "Choose A Dictionary": the path of the dictionary to use, typed or found with "...". Thin
// over TDicChooseModel; its position is kept in the settings.
#pragma once

#include "dictionary/DicChooseModel.h"
#include "win32/dialogs/ModalDialog.h"

#include <windows.h>

namespace wexly::win32 {

class TDicChooseDialog final : private TModalDialog
{
public:
    TDicChooseDialog(HWND owner, TSettings& settings, IFileDialogs& dialogs);
    // True when closed with "OK"; the model then holds the path.
    bool ShowModal(TDicChooseModel& model);

private:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    void Close(int result);

    HWND m_owner;
    TSettings& m_settings;
    IFileDialogs& m_dialogs;
    TDicChooseModel* m_model = nullptr;
};

} // namespace wexly::win32
