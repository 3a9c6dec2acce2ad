// The Preferences dialog over TPrefForm: a page list and pages of controls shown one at a time.
// Copies the model to the controls on each showing, carries each list operation to the model
// and back, and reads the remaining controls into the model on OK. The caller stores the model
// into the settings when ShowModal returns IDOK.
#pragma once

#include "dialogs/PrefForm.h"
#include "documents/FileCommands.h"
#include "win32/controls/ZulButton.h"
#include "win32/dialogs/EditToolDialog.h"
#include "win32/dialogs/MacroPageView.h"
#include "win32/dialogs/ModalDialog.h"
#include "win32/dialogs/PilesPageView.h"
#include "win32/dialogs/ToolsPageView.h"
#include "win32/platform/Win32Ui.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace wexly::win32 {

class TPrefDialog final : public TModalDialog
{
public:
    // settings: borrowed; each showing loads the pages from it. dialogs: the tools page's
    // program browse; clipboard: the macro page's "&Paste".
    TPrefDialog(
        TPrefForm& model, const TSettings& settings, IFileDialogs& dialogs, IClipboard& clipboard);
    ~TPrefDialog() override;
    bool Create(HWND owner);

protected:
    void OnShow() override;
    void OnCommand(int id, int code) override;
    // The piles tree's notifications, popup menu and dragging.
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // The tool bar rows and the colour sample.
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void CreateGlyphButtons();
    TZulButton& PlaceButton(int id, int glyph, const char* hint);
    void FitToHelpButton();
    void ShowPage(int page);

    void LoadGeneral();
    void StoreGeneral();
    void FillList(int id, const std::vector<std::string>& lines, int selected);
    int Selection(int id) const;
    void FillToolBarLists();
    void DrawToolBarRow(const DRAWITEMSTRUCT& item);
    void ShowColourItem();
    void DrawSample(const DRAWITEMSTRUCT& item);
    void ChooseSampleFont();
    void ChooseSampleColour(bool foreground);
    void FillFavourites();
    void FillFilters();
    void SetTextQuietly(int id, const std::string& text);

    void GeneralCommand(int id, int code);
    void ToolBarCommand(int id, int code);
    void ColourCommand(int id, int code);
    void FileDialogCommand(int id, int code);

    TPrefForm& m_model;
    const TSettings& m_settings;
    IFileDialogs& m_fileDialogs;
    TWin32Asker m_asker;
    TPilesPageView m_piles;
    std::unique_ptr<TEditToolDialog> m_editTool;
    std::unique_ptr<TToolsPageView> m_tools;
    TMacroPageView m_macros;
    std::vector<std::unique_ptr<TZulButton>> m_buttons;
    TZulButton* m_defForeground = nullptr;
    TZulButton* m_defBackground = nullptr;
    TBitmapImage m_toolStrip;
    TBitmapImage m_glyphs;
    HFONT m_sampleFont = nullptr; // owned; the shown item's font
    bool m_quiet = false; // set while the dialog writes edit texts itself
};

} // namespace wexly::win32
