// The "Tools" list window over TToolListForm: every tool name, Enter or a double click picks
// one, Esc closes without a choice. Resizable; its bounds go back to the settings however it
// closes.
#pragma once

#include "tools/ToolRunner.h"
#include "win32/dialogs/ListPickDialog.h"

namespace wexly::win32 {

class TToolListDialog final : public IToolListDialog, private TListPickDialog
{
public:
    TToolListDialog(HWND owner, TSettings& settings);
    bool ShowModal(TToolListForm& form) override;

private:
    void Fill(HWND dialog, HWND list) override;
    bool Pick(int selected) override;
    void StoreBounds(const TRect& bounds) override;

    TSettings& m_settings;
    TToolListForm* m_form = nullptr;
};

} // namespace wexly::win32
