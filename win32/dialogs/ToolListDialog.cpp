#include "win32/dialogs/ToolListDialog.h"

#include "win32/main/GdiSettings.h"
#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/ToolListIds.h"

namespace wexly::win32 {

TToolListDialog::TToolListDialog(HWND owner, TSettings& settings)
    : TListPickDialog(owner, IDD_TOOLLIST, IDC_TL_LIST)
    , m_settings(settings)
{
}

bool TToolListDialog::ShowModal(TToolListForm& form)
{
    m_form = &form;
    const bool picked = Run();
    m_form = nullptr;
    return picked;
}

void TToolListDialog::Fill(HWND dialog, HWND list)
{
    ApplyStoredBounds(dialog, m_form->Bounds());
    SetWindowTextW(dialog, Utf8ToWide(TToolListForm::Caption).c_str());
    for (const std::string& name : m_form->Names())
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(m_form->Selected()), 0);
}

// Enter with nothing selected leaves the window open.
bool TToolListDialog::Pick(int selected)
{
    m_form->Select(selected);
    return m_form->Choose();
}

void TToolListDialog::StoreBounds(const TRect& bounds)
{
    TToolListForm::Hide(bounds, m_settings.ToolListRect);
}

} // namespace wexly::win32
