// The "Window List" dialog: every open document with its state mark in an owner-drawn list;
// Enter or a double click picks one. Thin over TWindowListForm.
#pragma once

#include "config/Settings.h"
#include "controls/ZulGlyph.h"
#include "dialogs/WindowListForm.h"
#include "main/FlagMarks.h"

#include <windows.h>

namespace wexly::win32 {

class TWindowListDialog final : public IWindowListDialog
{
public:
    TWindowListDialog(HWND owner, TSettings& settings);
    bool ShowModal(TWindowListForm& form) override;

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
    void Init(HWND dialog);
    void DrawRow(const DRAWITEMSTRUCT& item) const;
    void Close(HWND dialog, int result);

    HWND m_owner;
    TSettings& m_settings;
    TWindowListForm* m_form = nullptr;
    TFlagMarks m_marks;
};

} // namespace wexly::win32
