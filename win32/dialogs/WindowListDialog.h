// The "Window List" dialog: every open document with its state mark in an owner-drawn list;
// Enter or a double click picks one. Thin over TWindowListForm.
#pragma once

#include "dialogs/WindowListForm.h"
#include "win32/dialogs/ListPickDialog.h"
#include "win32/main/FlagMarks.h"

namespace wexly::win32 {

class TWindowListDialog final : public IWindowListDialog, private TListPickDialog
{
public:
    TWindowListDialog(HWND owner, TSettings& settings);
    bool ShowModal(TWindowListForm& form) override;

private:
    void Fill(HWND dialog, HWND list) override;
    bool Pick(int selected) override;
    void StoreBounds(const TRect& bounds) override;
    UINT RowHeight() const override { return TWindowListForm::kRowHeight; }
    void DrawRow(const DRAWITEMSTRUCT& item) const override;

    TSettings& m_settings;
    TWindowListForm* m_form = nullptr;
    TFlagMarks m_marks;
};

} // namespace wexly::win32
