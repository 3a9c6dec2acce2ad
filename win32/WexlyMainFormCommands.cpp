// The main window's commands: the menu and toolbar commands, the search dialogs and help.
#include "win32/WexlyMainForm.h"
#include "win32/WexlyMainFormParts.h"

#include "app/HandOver.h"
#include "app/MainCommands.h"
#include "config/SettingsFile.h"
#include "editor/DefaultCommandTables.h"
#include "piles/PileCommands.h"
#include "win32/WexlyApp.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/dialogs/AboutDialog.h"
#include "win32/dialogs/DicChooseDialog.h"
#include "win32/dialogs/DicMaintDialog.h"
#include "win32/dialogs/ToolListDialog.h"
#include "win32/dialogs/WindowListDialog.h"
#include "win32/main/GdiSettings.h"
#include "win32/main/HelpPages.h"
#include "win32/platform/WinStrings.h"
#include "win32/print/PrintCommands.h"
#include "win32/res/art/ArtIds.h"

#include "Version.h"
#include "win32/MenuIds.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>
namespace wexly::win32 {

using namespace mainform;

void TWexlyMainForm::RunCommand(int id)
{
    if (const TDynamicCommand* dynamic = m_dynamic.Find(static_cast<UINT>(id))) {
        const TDynamicCommand command = *dynamic; // the menus may be rebuilt while it runs
        RunDynamicCommand(command);
    } else if (id >= IDM_WINDOW_FILE_FIRST && id < IDM_WINDOW_FILE_FIRST + 10) {
        m_set->SelectByPosition(id - IDM_WINDOW_FILE_FIRST);
        Layout();
    } else if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + 4) {
        ReopenItemClick(id - IDM_FILE_HISTORY_FIRST);
    } else {
        RunMainCommand(*this, id);
    }
}

// ---- IMainCommandTarget -------------------------------------------------------------------

void TWexlyMainForm::NewDocument()
{
    m_commands->New();
}

void TWexlyMainForm::OpenFiles(bool binary)
{
    m_commands->OpenDialog(binary);
}

void TWexlyMainForm::Reopen()
{
    m_commands->Reopen();
}

void TWexlyMainForm::Revert()
{
    m_commands->Revert();
}

void TWexlyMainForm::Save()
{
    m_commands->Save();
}

void TWexlyMainForm::SaveAs()
{
    m_commands->SaveAs();
}

void TWexlyMainForm::SaveCopyAs()
{
    m_commands->SaveCopyAs();
}

void TWexlyMainForm::SaveAll()
{
    m_commands->SaveAll();
}

void TWexlyMainForm::Close()
{
    m_commands->Close();
}

void TWexlyMainForm::CloseAll()
{
    m_commands->CloseAll();
    RefreshDocumentBars();
}

void TWexlyMainForm::CloseAndDelete()
{
    m_commands->CloseAndDelete();
}

void TWexlyMainForm::Exit()
{
    m_shell->Exit();
}

void TWexlyMainForm::Print(bool preview)
{
    if (!m_set->CurFile() || !m_set->FocusFile())
        return;
    if (preview)
        m_print->Preview(Handle(), *m_set->FocusFile());
    else
        m_print->Print(Handle(), *m_set->FocusFile());
}

void TWexlyMainForm::PrintSetup()
{
    m_print->Setup(Handle());
}

void TWexlyMainForm::RunDocumentCommand(TDocumentCommand command)
{
    m_docCommands->Run(command);
}

void TWexlyMainForm::Find()
{
    m_search->Find();
    AfterSearch();
}

void TWexlyMainForm::RepeatFind()
{
    m_search->RepeatLastFind();
    AfterSearch();
}

void TWexlyMainForm::Replace()
{
    m_search->Replace();
    AfterSearch();
}

void TWexlyMainForm::GotoLine()
{
    if (!TGotoLineModel::Available(*m_set))
        return;
    if (m_gotoLineDialog->ShowModal() == IDOK)
        m_gotoLine.Ok(*m_set);
    AfterSearch();
}

void TWexlyMainForm::NextDifferentWord()
{
    m_compare->NextDifferentWord();
    AfterSearch();
}

void TWexlyMainForm::ToggleDictionary()
{
    m_dictionary->ToggleActive();
    ShowDictionaryMenu();
}

void TWexlyMainForm::MaintainDictionaries()
{
    TDicMaintDialog dialog(Handle(), Settings, *m_dicMaint);
    dialog.ShowModal();
    // Saved changes to the current dictionary take effect at once.
    m_dictionary->MaintenanceClosed();
}

void TWexlyMainForm::EditTools()
{
    TToolListDialog dialog(Handle(), Settings);
    m_toolRunner->RunFromList(Settings.Tools, Settings.ToolListRect, m_toolList, dialog);
}

void TWexlyMainForm::StickToPile()
{
    RunDynamicCommand({ TMenuAction::AddToPile, kMainPileId, {} });
}

void TWexlyMainForm::ToggleWordWrap()
{
    m_shell->ToggleWordWrap();
    SetOptionChecks(Settings.WordWrap, Settings.HexMask);
}

void TWexlyMainForm::ToggleHexMask()
{
    m_shell->ToggleHexMask();
    SetOptionChecks(Settings.WordWrap, Settings.HexMask);
}

void TWexlyMainForm::ToggleSplit(bool vertical)
{
    m_set->ToggleSplit(vertical);
    UpdateMenus();
}

void TWexlyMainForm::SwitchPanes()
{
    m_set->SwitchPanes();
}

void TWexlyMainForm::ToggleSyncPanes()
{
    m_shell->SetSyncPanes(!m_shell->SyncPanes());
    ApplyMenuState(m_shell->Menus());
}

void TWexlyMainForm::SortDocuments(TSortKey key)
{
    m_set->Sort(key);
    LayoutFileButtons();
    RebuildWindowMenu();
}

void TWexlyMainForm::ToggleBars()
{
    HideBarsClick();
}

void TWexlyMainForm::SelectFile(bool next)
{
    if (next)
        m_set->SelectNext();
    else
        m_set->SelectPrevious();
    Layout();
}

void TWexlyMainForm::ShowWindowList()
{
    TWindowListForm form;
    TWindowListDialog dialog(Handle(), Settings);
    if (WindowList1Click(*m_set, form, dialog, Settings))
        Layout();
}

void TWexlyMainForm::DropOpen(bool binary)
{
    m_shell->DropOpen(binary);
}

void TWexlyMainForm::CreateSearchDialogs()
{
    // Created hidden once; each showing reuses them, so their options stay as last set.
    m_findDialog = std::make_unique<TFindDialog>(m_search->FindForm(), m_findPanel, Settings);
    m_replaceDialog = std::make_unique<TReplaceDialog>(m_search->ReplaceForm());
    // The document behind a dialog that stays open shows each search at once.
    auto searched = [this] {
        m_docWindows->RefreshViews();
        RefreshTitles();
    };
    m_findDialog->OnSearched = searched;
    m_replaceDialog->OnSearched = searched;
    m_gotoLineDialog = std::make_unique<TGotoLineDialog>(m_gotoLine);
    m_findDialog->Create(Handle());
    m_replaceDialog->Create(Handle());
    m_gotoLineDialog->Create(Handle());
    m_macroPage = std::make_unique<TMacroPageModel>(Settings, RealFileSystem(), m_asker, m_dialogs);
    m_pref.AttachMacros(m_macroPage.get());
    m_directorySearch->SetView(m_findDialog.get());
}

int TWexlyMainForm::ShowFind(TFindForm&)
{
    return m_findDialog->ShowModal();
}

int TWexlyMainForm::ShowReplace(TReplaceForm&)
{
    return m_replaceDialog->ShowModal();
}

// The open dialog's "Search Dir": the Find dialog over that directory's files.
void TWexlyMainForm::StartFindInFiles(const std::string& directory, const std::string&)
{
    m_search->FindInDirectory(directory);
    AfterSearch();
}

void TWexlyMainForm::AfterSearch()
{
    // A search may have moved to another document, changed texts and their modified state, or
    // opened the files a directory search found.
    RefreshTitles();
    LayoutFileButtons();
    UpdateMenus();
    EnsureViewFocus();
    ReportFocusStatus();
}

// ---- Help ---------------------------------------------------------------------------------

void TWexlyMainForm::ShowHelp()
{
    ShowHelpTopic(Handle(), 1);
}

void TWexlyMainForm::EditSettings()
{
    // Made at the first showing, not at start-up: its many pages take a noticeable time to
    // build, and most runs never open it. It is kept for the rest of the run.
    if (!m_prefDialog) {
        m_prefDialog = std::make_unique<TPrefDialog>(m_pref, Settings, m_dialogs, m_clipboard);
        m_prefDialog->Create(Handle());
    }
    if (m_prefDialog->ShowModal() != IDOK)
        return;
    m_pref.Ok(Settings);
    PropagateSettings();
}

void TWexlyMainForm::ShowAbout()
{
    TAboutDialog().Run(Handle());
}

} // namespace wexly::win32
