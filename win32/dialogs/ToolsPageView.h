// The Preferences dialog's "Tools" page over TToolsPage: the list of tool names, the selected
// tool's command line, and Add, Edit and Delete through the edit dialog.
#pragma once

#include "platform/Ui.h"
#include "tools/ToolsPage.h"

#include <windows.h>

namespace wexly::win32 {

class TToolsPageView
{
public:
    TToolsPageView(TToolsPage& page, IAsker& asker, IEditToolDialog& editDialog);

    void Attach(HWND dialog) { m_dialog = dialog; }
    // The model was loaded: the controls show it.
    void Load();
    void Command(int id, int code);

private:
    TToolsPage& m_page;
    IAsker& m_asker;
    IEditToolDialog& m_editDialog;
    HWND m_dialog = nullptr;
};

} // namespace wexly::win32
