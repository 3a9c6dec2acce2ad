// The "Tools" list window over TToolListForm: every tool name, Enter or a double click picks
// one, Esc closes without a choice. Resizable; its bounds go back to the settings however it
// closes.
#pragma once

#include "config/Settings.h"
#include "tools/ToolRunner.h"

#include <windows.h>

namespace wexly::win32 {

class TToolListDialog final : public IToolListDialog
{
public:
    TToolListDialog(HWND owner, TSettings& settings);
    bool ShowModal(TToolListForm& form) override;

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
    void Init(HWND dialog);
    void Choose(HWND dialog);
    void Close(HWND dialog, int result);

    HWND m_owner;
    TSettings& m_settings;
    TToolListForm* m_form = nullptr;
};

} // namespace wexly::win32
