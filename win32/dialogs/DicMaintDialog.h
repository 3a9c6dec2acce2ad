// "Dictionary Maintenance": a two-column grid of words and their replacements, with Open,
// Save and Save As buttons and "Match Case". Thin over TDicMaintModel. The grid is a report
// list view with an edit box always over the current cell.
#pragma once

#include "dictionary/DicMaintModel.h"
#include "win32/controls/ZulSpeed.h"
#include "win32/dialogs/ModalDialog.h"

#include <windows.h>

#include <array>
#include <memory>

namespace wexly::win32 {

class TDicMaintDialog : private TModalDialog
{
public:
    TDicMaintDialog(HWND owner, TSettings& settings, TDicMaintModel& model);
    ~TDicMaintDialog();
    TDicMaintDialog(const TDicMaintDialog&) = delete;
    TDicMaintDialog& operator=(const TDicMaintDialog&) = delete;

    void ShowModal();

private:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    bool OnSize(int width, int height) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    static LRESULT CALLBACK GridProc(
        HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK EditProc(
        HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    void Init(HWND dialog);
    void Layout();
    void FillGrid(); // every row from the model, then the editor onto the current cell
    void SetRowText(int row);
    void PlaceEditor(); // onto the current cell, with its text
    void PositionEditor(); // only follows the cell when the grid scrolls
    void MoveTo(int row, int col);
    void CellEdited();
    bool EditorKey(WPARAM key);
    void TryClose();
    void AfterFileCommand();

    HWND m_owner;
    TSettings& m_settings;
    TDicMaintModel& m_model;
    HWND m_dialog = nullptr;
    HWND m_grid = nullptr;
    HWND m_editor = nullptr;
    bool m_settingEditor = false; // the editor's text is being set, not typed
    std::array<std::unique_ptr<TZulSpeed>, 3> m_buttons;
};

} // namespace wexly::win32
