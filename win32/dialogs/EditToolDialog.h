// The "Edit External Tool" dialog over TEditToolForm: fields copied in when shown and out on
// OK, the reload choices enabled as the form says, and the two browse buttons.
#pragma once

#include "documents/FileCommands.h"
#include "tools/ToolsPage.h"
#include "win32/dialogs/ModalDialog.h"

#include <windows.h>

namespace wexly::win32 {

class TEditToolDialog final : public IEditToolDialog, private TModalDialog
{
public:
    // dialogs: the open dialog of the program browse; lastDir: where it starts by default.
    TEditToolDialog(HWND owner, IFileDialogs& dialogs, const std::string& lastDir);
    bool ShowModal(TEditToolForm& form) override;

private:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    void Init();
    void ReadFields();
    void WriteFields();
    void UpdateEnabling();
    void BrowseProgram();
    void BrowseFolder();
    bool Command(int id, int code);

    HWND m_owner;
    HWND m_dialog = nullptr;
    IFileDialogs& m_dialogs;
    const std::string& m_lastDir;
    TEditToolForm* m_form = nullptr;
};

} // namespace wexly::win32
