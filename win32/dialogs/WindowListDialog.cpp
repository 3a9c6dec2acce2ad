#include "win32/dialogs/WindowListDialog.h"

#include "win32/res/dialogs/WindowListIds.h"

#include "win32/MenuIds.h"
#include "win32/main/GdiSettings.h"
#include "win32/platform/WinStrings.h"

namespace wexly::win32 {

TWindowListDialog::TWindowListDialog(HWND owner, TSettings& settings)
    : TListPickDialog(owner, IDD_WINDOWLIST, IDC_WINDOWLIST_LIST)
    , m_settings(settings)
{
}

bool TWindowListDialog::ShowModal(TWindowListForm& form)
{
    m_form = &form;
    const bool picked = Run();
    m_form = nullptr;
    return picked;
}

void TWindowListDialog::Fill(HWND dialog, HWND list)
{
    ApplyStoredBounds(dialog, m_form->Bounds());
    SetWindowTextW(dialog, Utf8ToWide(m_form->Caption()).c_str());
    for (int row = 0; row < m_form->RowCount(); ++row) {
        std::wstring text = Utf8ToWide(m_form->RowText(row));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool TWindowListDialog::Pick(int selected)
{
    m_form->Choose(selected);
    return true;
}

void TWindowListDialog::StoreBounds(const TRect& bounds)
{
    TWindowListForm::Hide(bounds, m_settings.WindowListRect);
}

void TWindowListDialog::DrawRow(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == static_cast<UINT>(-1) || !m_form)
        return;
    const int row = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    FillRect(dc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    m_marks.Draw(dc, m_form->RowMark(row), m_settings.AlternateIcons,
        rc.left + TWindowListForm::kMarkLeft,
        TWindowListForm::MarkTop(rc.top, m_settings.AlternateIcons));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    if (row < m_form->RowCount()) {
        std::wstring text = Utf8ToWide(m_form->RowText(row));
        TextOutW(dc, rc.left + TWindowListForm::kTextLeft, rc.top + TWindowListForm::kTextTop,
            text.c_str(), static_cast<int>(text.size()));
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rc);
}

} // namespace wexly::win32
