// The Find dialog over TFindForm, with the files range's lower panel over TFindInFilesModel: the
// models are copied into the controls before each showing and the controls back into the
// models as the user changes them. While a directory search runs the dialog is the walk's view
// and pumps the messages between files. Borrows both models and the settings.
#pragma once

#include "config/Settings.h"
#include "search/FindForm.h"
#include "search/FindInFilesModel.h"
#include "win32/dialogs/FindInFilesTree.h"
#include "win32/dialogs/ModalDialog.h"

#include <functional>

namespace wexly::win32 {

class TFindDialog final : public TModalDialog, public IFindInFilesView
{
public:
    TFindDialog(TFindForm& form, TFindInFilesModel& panel, TSettings& settings)
        : m_form(form)
        , m_panel(panel)
        , m_settings(settings)
    {
    }
    ~TFindDialog() override;
    bool Create(HWND owner);

    // A search ran while the dialog stays open: the owner shows what it found.
    std::function<void()> OnSearched;

    // ---- IFindInFilesView ----
    void StatusChanged(const std::string& text) override;
    void FileFound(size_t file) override;
    void ProcessMessages() override;
    void TreeCleared() override;
    void TreeRefreshed() override;
    void SetWaitCursor(bool on) override;

protected:
    void OnShow() override;
    void OnCommand(int id, int code) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    bool OnSize(int width, int height) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ControlsToModel();
    void ModelToEnables();
    void ApplyLayout();
    void PlaceLowerPanel();
    void MinimumSize(MINMAXINFO& info) const;
    bool FilesRange() const { return m_form.rangeChecked == TFindRange::Files; }
    std::string ComboText(int id, int code) const;
    void ClientSize(int32_t& width, int32_t& height) const;
    void FindNext();
    void SearchFiles();
    void Browse();
    void Open();
    void Cancel();
    void TreeSelectionChanged();

    TFindForm& m_form;
    TFindInFilesModel& m_panel;
    TSettings& m_settings;
    TFindInFilesTree m_tree;
    TFindFormMetrics m_compact; // the form as designed, taken when created
    bool m_waitCursor = false;
};

} // namespace wexly::win32
