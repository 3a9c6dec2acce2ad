#include "win32/dialogs/AboutDialog.h"

#include "win32/res/dialogs/AboutIds.h"

#include "Version.h"
#include "win32/MenuIds.h"

namespace wexly::win32 {

const int TAboutDialog::kTemplate = IDD_ABOUT;

bool TAboutDialog::OnInit()
{
    SetDlgItemTextW(Handle(), IDC_ABOUT_VERSION, L"Version " WEXLY_VERSION_WTEXT);
    return true;
}

void TAboutDialog::OnCommand(int id, int)
{
    if (id == IDOK || id == IDCANCEL)
        EndModal(id);
}

} // namespace wexly::win32
