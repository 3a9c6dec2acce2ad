#include "win32/dialogs/DicChooseDialog.h"

#include "win32/res/dialogs/DicChooseIds.h"

#include "win32/MenuIds.h"
#include "win32/main/GdiSettings.h"

namespace wexly::win32 {

TDicChooseDialog::TDicChooseDialog(HWND owner, TSettings& settings, IFileDialogs& dialogs)
    : m_owner(owner)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
}

bool TDicChooseDialog::ShowModal(TDicChooseModel& model)
{
    m_model = &model;
    model.Show(m_settings);
    const int answer = RunModal(m_owner, IDD_DICCHOOSE);
    m_model = nullptr;
    return answer == IDOK;
}

// The position goes back to the settings however the dialog closes; the size is fixed.
void TDicChooseDialog::Close(int result)
{
    m_settings.DicChooseRect = WindowBounds(Handle());
    EndModal(result);
}

bool TDicChooseDialog::OnInit()
{
    const TRect& b = m_settings.DicChooseRect;
    if (b.Right > b.Left && b.Bottom > b.Top && GetSystemMetrics(SM_CXVIRTUALSCREEN) > b.Left)
        SetWindowPos(Handle(), nullptr, b.Left, b.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetItemText(IDC_DICCHOOSE_PATH, m_model->path);
    return true;
}

void TDicChooseDialog::OnCommand(int id, int)
{
    switch (id) {
    case IDC_DICCHOOSE_BROWSE:
        m_model->path = ItemText(IDC_DICCHOOSE_PATH);
        if (m_model->Browse(m_dialogs, m_settings))
            SetItemText(IDC_DICCHOOSE_PATH, m_model->path);
        break;
    case IDOK:
        m_model->path = ItemText(IDC_DICCHOOSE_PATH);
        Close(IDOK);
        break;
    case IDCANCEL:
        Close(IDCANCEL);
        break;
    default:
        break;
    }
}

} // namespace wexly::win32
