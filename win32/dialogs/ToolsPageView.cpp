#include "win32/dialogs/ToolsPageView.h"

#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/PrefIds.h"

namespace wexly::win32 {

TToolsPageView::TToolsPageView(TToolsPage& page, IAsker& asker, IEditToolDialog& editDialog)
    : m_page(page)
    , m_asker(asker)
    , m_editDialog(editDialog)
{
}

void TToolsPageView::Load()
{
    HWND list = GetDlgItem(m_dialog, IDC_TOOL_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const TExternalTool& tool : m_page.Entries())
        SendMessageW(
            list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(tool.Name).c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(m_page.Selected()), 0);
    SetDlgItemTextW(m_dialog, IDC_TOOL_COMMAND, Utf8ToWide(m_page.CommandLineLabel()).c_str());
    EnableWindow(GetDlgItem(m_dialog, IDC_TOOL_EDIT), m_page.EditEnabled());
    EnableWindow(GetDlgItem(m_dialog, IDC_TOOL_DELETE), m_page.DeleteEnabled());
}

void TToolsPageView::Command(int id, int code)
{
    switch (id) {
    case IDC_TOOL_LIST: {
        if (code != LBN_SELCHANGE)
            return;
        const LRESULT index = SendMessageW(GetDlgItem(m_dialog, id), LB_GETCURSEL, 0, 0);
        m_page.Select(index == LB_ERR ? -1 : static_cast<int>(index));
        break;
    }
    case IDC_TOOL_ADD:
        m_page.Add(m_editDialog);
        break;
    case IDC_TOOL_EDIT:
        m_page.Edit(m_editDialog);
        break;
    case IDC_TOOL_DELETE:
        m_page.Delete(m_asker);
        break;
    default:
        return;
    }
    Load();
}

} // namespace wexly::win32
