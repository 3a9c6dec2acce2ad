// The main window's commands: the menu and toolbar commands, the search dialogs and help.
#include "WexlyMainForm.h"
#include "WexlyMainFormParts.h"

#include "WexlyApp.h"
#include "app/HandOver.h"
#include "art/ArtIds.h"
#include "config/SettingsFile.h"
#include "controls/ZulGdiCanvas.h"
#include "dialogs/DicChooseDialog.h"
#include "dialogs/DicMaintDialog.h"
#include "dialogs/ToolListDialog.h"
#include "dialogs/WindowListDialog.h"
#include "editor/DefaultCommandTables.h"
#include "main/GdiSettings.h"
#include "main/HelpPages.h"
#include "piles/PileCommands.h"
#include "platform/win32/WinStrings.h"
#include "print/PrintCommands.h"

#include "MenuIds.h"
#include "Version.h"

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
    } else if (id == IDM_PILES_STICK) {
        RunDynamicCommand({ TMenuAction::AddToPile, kMainPileId, {} });
    } else if (id >= IDM_WINDOW_FILE_FIRST && id < IDM_WINDOW_FILE_FIRST + 10) {
        m_set->SelectByPosition(id - IDM_WINDOW_FILE_FIRST);
        Layout();
    } else if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + 4) {
        ReopenItemClick(id - IDM_FILE_HISTORY_FIRST);
    } else if (!FileCommand(id) && !WindowCommand(id)) {
        OtherCommand(id);
    }
}

// The File menu; false for other commands.
bool TWexlyMainForm::FileCommand(int id)
{
    switch (id) {
    case IDM_FILE_NEW:
        m_commands->New();
        return true;
    case IDM_FILE_OPENTEXT:
    case IDM_FILE_OPENBINARY:
        m_commands->OpenDialog(id == IDM_FILE_OPENBINARY);
        return true;
    case IDM_FILE_REOPEN:
        m_commands->Reopen();
        return true;
    case IDM_FILE_REVERT:
        m_commands->Revert();
        return true;
    case IDM_FILE_SAVE:
        m_commands->Save();
        return true;
    case IDM_FILE_SAVEAS:
        m_commands->SaveAs();
        return true;
    case IDM_FILE_SAVECOPYAS:
        m_commands->SaveCopyAs();
        return true;
    case IDM_FILE_SAVEALL:
        m_commands->SaveAll();
        return true;
    case IDM_FILE_CLOSE:
        m_commands->Close();
        return true;
    case IDM_FILE_CLOSEALL:
        m_commands->CloseAll();
        RefreshDocumentBars();
        return true;
    case IDM_FILE_CLOSEDELETE:
        m_commands->CloseAndDelete();
        return true;
    case IDM_FILE_EXIT:
        m_shell->Exit();
        return true;
    case IDM_FILE_PRINT:
    case IDM_FILE_PREVIEW:
        PrintCommand(id == IDM_FILE_PREVIEW);
        return true;
    case IDM_FILE_PRINTSETUP:
        m_print->Setup(Handle());
        return true;
    default:
        return false;
    }
}

void TWexlyMainForm::PrintCommand(bool preview)
{
    if (!m_set->CurFile() || !m_set->FocusFile())
        return;
    if (preview)
        m_print->Preview(Handle(), *m_set->FocusFile());
    else
        m_print->Print(Handle(), *m_set->FocusFile());
}

// The Window and Options menus; false for other commands.
bool TWexlyMainForm::WindowCommand(int id)
{
    switch (id) {
    case IDM_OPTIONS_WORDWRAP:
        m_shell->ToggleWordWrap();
        SetOptionChecks(Settings.WordWrap, Settings.HexMask);
        return true;
    case IDM_OPTIONS_HEXMASK:
        m_shell->ToggleHexMask();
        SetOptionChecks(Settings.WordWrap, Settings.HexMask);
        return true;
    case IDM_WINDOW_HORIZONTAL:
    case IDM_WINDOW_UNSPLIT:
    case IDM_WINDOW_VERTICAL:
        m_set->ToggleSplit(id == IDM_WINDOW_VERTICAL);
        UpdateMenus();
        return true;
    case IDM_WINDOW_SWITCHPANES:
        m_set->SwitchPanes();
        return true;
    case IDM_WINDOW_SYNCPANES:
        m_shell->SetSyncPanes(!m_shell->SyncPanes());
        ApplyMenuState(m_shell->Menus());
        return true;
    case IDM_WINDOW_SORTPATH:
    case IDM_WINDOW_SORTNAME:
    case IDM_WINDOW_SORTEXT:
        m_set->Sort(static_cast<TSortKey>(id - IDM_WINDOW_SORTPATH));
        LayoutFileButtons();
        RebuildWindowMenu();
        return true;
    case IDM_WINDOW_HIDEBARS:
        HideBarsClick();
        return true;
    case IDM_WINDOW_PREVFILE:
    case IDM_WINDOW_NEXTFILE:
        if (id == IDM_WINDOW_PREVFILE)
            m_set->SelectPrevious();
        else
            m_set->SelectNext();
        Layout();
        return true;
    case IDM_WINDOW_LIST:
    case IDM_WINDOWLIST_BAR:
        WindowListClick();
        return true;
    default:
        return false;
    }
}

void TWexlyMainForm::WindowListClick()
{
    TWindowListForm form;
    TWindowListDialog dialog(Handle(), Settings);
    if (WindowList1Click(*m_set, form, dialog, Settings))
        Layout();
}

// Edit, Search, Tools, Options > Settings, Help and the drop menu.
void TWexlyMainForm::OtherCommand(int id)
{
    switch (id) {
    case IDM_EDIT_UNDO:
    case IDM_EDIT_REDO:
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
    case IDM_EDIT_PASTE:
    case IDM_EDIT_CLEAR:
    case IDM_EDIT_SELECTALL:
    case IDM_JUSTIFY_LEFT:
    case IDM_JUSTIFY_CENTRE:
    case IDM_JUSTIFY_RIGHT:
    case IDM_JUSTIFY_INDENT:
    case IDM_JUSTIFY_UNINDENT:
    case IDM_TOOLS_STATISTICS:
        EditCommand(id);
        break;
    case IDM_SEARCH_FIND:
    case IDM_SEARCH_REPEAT:
    case IDM_SEARCH_REPLACE:
    case IDM_SEARCH_GOTOLINE:
    case IDM_SEARCH_NEXTDIFFWORD:
        SearchCommand(id);
        break;
    case IDM_DIC_CURRENT:
        ChooseDictionary();
        break;
    case IDM_DIC_ACTIVE:
        m_dictionary->ToggleActive();
        ShowDictionaryMenu();
        break;
    case IDM_DIC_MAINTAIN:
        MaintainDictionaries();
        break;
    case IDM_TOOLS_LIST:
        ToolListClick();
        break;
    case IDM_OPTIONS_SETTINGS:
        SettingsClick();
        break;
    case IDM_HELP_CONTENTS:
        HelpContentsClick();
        break;
    case IDM_HELP_ABOUT:
        AboutClick();
        break;
    case IDM_DROP_TEXT:
    case IDM_DROP_BINARY:
        m_shell->DropOpen(id == IDM_DROP_BINARY);
        break;
    default:
        break;
    }
}

void TWexlyMainForm::MaintainDictionaries()
{
    TDicMaintDialog dialog(Handle(), Settings, *m_dicMaint);
    dialog.ShowModal();
    // Saved changes to the current dictionary take effect at once.
    m_dictionary->MaintenanceClosed();
}

void TWexlyMainForm::ToolListClick()
{
    TToolListDialog dialog(Handle(), Settings);
    m_toolRunner->RunFromList(Settings.Tools, Settings.ToolListRect, m_toolList, dialog);
}

void TWexlyMainForm::EditCommand(int id)
{
    static constexpr std::pair<int, TDocumentCommand> Commands[] = {
        { IDM_EDIT_UNDO, TDocumentCommand::Undo },
        { IDM_EDIT_REDO, TDocumentCommand::Redo },
        { IDM_EDIT_CUT, TDocumentCommand::Cut },
        { IDM_EDIT_COPY, TDocumentCommand::Copy },
        { IDM_EDIT_PASTE, TDocumentCommand::Paste },
        { IDM_EDIT_CLEAR, TDocumentCommand::Clear },
        { IDM_EDIT_SELECTALL, TDocumentCommand::SelectAll },
        { IDM_JUSTIFY_LEFT, TDocumentCommand::JustifyLeft },
        { IDM_JUSTIFY_CENTRE, TDocumentCommand::JustifyCentre },
        { IDM_JUSTIFY_RIGHT, TDocumentCommand::JustifyRight },
        { IDM_JUSTIFY_INDENT, TDocumentCommand::JustifyIndent },
        { IDM_JUSTIFY_UNINDENT, TDocumentCommand::JustifyUnindent },
        { IDM_TOOLS_STATISTICS, TDocumentCommand::Statistics },
    };
    for (const auto& [menuId, command] : Commands)
        if (menuId == id)
            m_docCommands->Run(command);
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

void TWexlyMainForm::SearchCommand(int id)
{
    switch (id) {
    case IDM_SEARCH_FIND:
        m_search->Find();
        break;
    case IDM_SEARCH_REPEAT:
        m_search->RepeatLastFind();
        break;
    case IDM_SEARCH_REPLACE:
        m_search->Replace();
        break;
    case IDM_SEARCH_GOTOLINE:
        if (!TGotoLineModel::Available(*m_set))
            return;
        if (m_gotoLineDialog->ShowModal() == IDOK)
            m_gotoLine.Ok(*m_set);
        break;
    case IDM_SEARCH_NEXTDIFFWORD:
        m_compare->NextDifferentWord();
        break;
    default:
        return;
    }
    AfterSearch();
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

void TWexlyMainForm::HelpContentsClick()
{
    ShowHelpTopic(Handle(), 1);
}

namespace {
INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, L"Version " WEXLY_VERSION_WTEXT);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

}

void TWexlyMainForm::SettingsClick()
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

void TWexlyMainForm::AboutClick()
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), Handle(), AboutProc, 0);
}

} // namespace wexly::win32
