// The main window's menus: enabling, the Window, reopen, piles, macros and tools entries, hints,
// the edit popup, drops and the dictionary items.
#include "win32/WexlyMainForm.h"
#include "win32/WexlyMainFormParts.h"

#include "app/HandOver.h"
#include "config/SettingsFile.h"
#include "editor/DefaultCommandTables.h"
#include "piles/PileCommands.h"
#include "win32/WexlyApp.h"
#include "win32/controls/ZulGdiCanvas.h"
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

void TWexlyMainForm::SetDictionaryMenu(const std::string& caption, bool active)
{
    HMENU menu = GetMenu(Handle());
    std::wstring text = Utf8ToWide(caption);
    ModifyMenuW(menu, IDM_DIC_CURRENT, MF_BYCOMMAND | MF_STRING, IDM_DIC_CURRENT, text.c_str());
    CheckMenuItem(menu, IDM_DIC_ACTIVE, MF_BYCOMMAND | (active ? MF_CHECKED : 0));
}

void TWexlyMainForm::LoadDictionary()
{
    Guarded([this] { m_dictionary->StartUp(); });
}

void TWexlyMainForm::ShowDictionaryMenu()
{
    SetDictionaryMenu(DictionaryMenuCaption(Settings.LastDic), Settings.DicOn);
}

void TWexlyMainForm::ChooseDictionary()
{
    TDicChooseModel model;
    TDicChooseDialog dialog(Handle(), Settings, m_dialogs);
    if (dialog.ShowModal(model))
        Guarded([&] { model.Confirm(*m_dictionary); });
    ShowDictionaryMenu();
}

// ---- Piles, macros and external tools -----------------------------------------------------

void TWexlyMainForm::RebuildDynamicMenus()
{
    // Piles: "&Stick in Main Pile" and its separator stay.
    HMENU piles = SubMenu(PilesMenuPos);
    m_dynamic.Clear(piles, 2);
    m_dynamic.Insert(piles, -1, BuildPileMenu(Settings.Piles, Settings.PileFiles, kMainPileId));

    HMENU tools = SubMenu(ToolsMenuPos);
    HMENU macros = GetSubMenu(tools, MacrosSubMenuPos);
    m_dynamic.Clear(macros, 0);
    m_dynamic.Insert(macros, -1, RebuildMacrosMenu(Settings.Macros));

    // The tool entries sit between the last separator and "List...".
    const int listPos = GetMenuItemCount(tools) - 1;
    int separator = listPos - 1;
    while (separator >= 0
        && !(GetMenuState(tools, static_cast<UINT>(separator), MF_BYPOSITION) & MF_SEPARATOR))
        --separator;
    m_dynamic.Clear(tools, separator + 1, listPos);
    m_dynamic.Insert(tools, separator + 1, RebuildToolsMenu(Settings.Tools));
    m_appliedMenus.reset(); // the next enabling reaches the new items
}

void TWexlyMainForm::RunDynamicCommand(const TDynamicCommand& command)
{
    switch (command.action) {
    case TMenuAction::AddToPile:
        if (AddtoPileClick(command.tag, *m_set, Settings, m_asker))
            RebuildDynamicMenus();
        break;
    case TMenuAction::OpenPileFile:
        PileFileClick(command.caption, command.tag, m_services->fs, m_asker,
            [this](const std::string& path, bool binary) {
                std::string line = binary ? "/B \"" + path + "\"" : "\"" + path + "\"";
                m_commands->OpenCommandLine(m_commands->StartDir(), line);
            });
        RefreshDocumentBars();
        break;
    case TMenuAction::PlayMacro:
        PlayMacro(command.tag);
        break;
    case TMenuAction::RunTool:
        m_toolRunner->Run(Settings.Tools, command.tag);
        break;
    case TMenuAction::None:
        break;
    }
}

void TWexlyMainForm::PlayMacro(int number)
{
    if (m_macroPlayer->MacroClick(number, m_set->FocusFile()))
        m_docWindows->RefreshViews();
}

// ---- menus --------------------------------------------------------------------------------

HMENU TWexlyMainForm::SubMenu(int position) const
{
    return GetSubMenu(GetMenu(Handle()), position);
}

void TWexlyMainForm::UpdateMenus()
{
    ApplyMenuState(m_shell->UpdateMenus());
    if (m_set->Empty()) {
        SetStatusText(spLine, StatusNumberText(0));
        SetStatusText(spColumn, StatusNumberText(0));
        // The mode the Insert key toggles now, not that of the document closed last.
        SetStatusText(spInsOvr, m_insertMode ? "Ins" : "Ovr");
        SetStatusText(spEncoding, "");
    }
}

void TWexlyMainForm::ApplyMenuState(const TMenuState& state)
{
    TAppliedMenus applied { state, m_shell->SyncPanes(), m_barsHidden };
    if (m_appliedMenus == applied)
        return;
    // Only the two items on the bar itself need it redrawn, which is slow.
    const bool barChanged = !m_appliedMenus
        || m_appliedMenus->state.enabled[miEditMenu] != state.enabled[miEditMenu]
        || m_appliedMenus->state.enabled[miWindowList] != state.enabled[miWindowList];
    m_appliedMenus = applied;
    ShowCloseDelete(state.closeDeleteVisible);
    HMENU menu = GetMenu(Handle());
    auto enable = [menu](int id, bool on) {
        EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    for (const TMainCommand& command : MainCommands())
        enable(command.id, CommandEnabled(command, state));
    const auto& e = state.enabled;
    EnableMenuItem(menu, EditMenuPos, MF_BYPOSITION | (e[miEditMenu] ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(SubMenu(ToolsMenuPos), MacrosSubMenuPos,
        MF_BYPOSITION | (e[miMacros] ? MF_ENABLED : MF_GRAYED));
    for (auto& button : m_toolButtons) {
        const int code = GetDlgCtrlID(button->Handle()) - IDC_TOOLBUTTON;
        if (code >= 0 && code < kToolButtonCount)
            EnableWindow(button->Handle(), state.toolEnabled[static_cast<size_t>(code)]);
    }
    CheckMenuItem(
        menu, IDM_WINDOW_SYNCPANES, MF_BYCOMMAND | (m_shell->SyncPanes() ? MF_CHECKED : 0));
    CheckMenuItem(menu, IDM_WINDOW_HIDEBARS, MF_BYCOMMAND | (m_barsHidden ? MF_CHECKED : 0));
    if (barChanged)
        DrawMenuBar(Handle());
}

void TWexlyMainForm::ShowCloseDelete(bool visible)
{
    if (visible == m_closeDeleteShown)
        return;
    HMENU file = SubMenu(FileMenuPos);
    if (!visible) {
        // The item goes with the separator above it.
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            if (GetMenuItemID(file, i) == IDM_FILE_CLOSEDELETE) {
                DeleteMenu(file, static_cast<UINT>(i), MF_BYPOSITION);
                DeleteMenu(file, static_cast<UINT>(i - 1), MF_BYPOSITION);
                break;
            }
    } else {
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            if (GetMenuItemID(file, i) == IDM_FILE_CLOSEALL) {
                InsertMenuW(
                    file, static_cast<UINT>(i + 1), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
                InsertMenuW(file, static_cast<UINT>(i + 2), MF_BYPOSITION | MF_STRING,
                    IDM_FILE_CLOSEDELETE, L"Close && &Delete");
                break;
            }
    }
    m_closeDeleteShown = visible;
}

void TWexlyMainForm::RebuildWindowMenu()
{
    HMENU window = SubMenu(WindowMenuPos);
    // The document entries sit between the last separator and "&Window List...".
    int listPos = GetMenuItemCount(window) - 1;
    int separator = listPos - 1;
    while (separator >= 0
        && !(GetMenuState(window, static_cast<UINT>(separator), MF_BYPOSITION) & MF_SEPARATOR))
        --separator;
    for (int i = listPos - 1; i > separator; --i)
        DeleteMenu(window, static_cast<UINT>(i), MF_BYPOSITION);
    std::vector<TWindowMenuEntry> entries = WindowMenuEntries(*m_set);
    for (size_t i = 0; i < entries.size(); ++i) {
        m_menuHints[static_cast<UINT>(IDM_WINDOW_FILE_FIRST + i)] = entries[i].hint;
        std::wstring caption = Utf8ToWide(entries[i].caption + "\t" + entries[i].shortcut);
        InsertMenuW(window, static_cast<UINT>(separator + 1 + static_cast<int>(i)),
            MF_BYPOSITION | MF_STRING, IDM_WINDOW_FILE_FIRST + i, caption.c_str());
    }
}

void TWexlyMainForm::RebuildReopenMenu()
{
    HMENU file = SubMenu(FileMenuPos);
    // Between the separator before "E&xit" and "E&xit": the entries and the separator under
    // them. Everything there is rebuilt.
    const int exitPos = GetMenuItemCount(file) - 1;
    int pre = exitPos - 1;
    while (pre >= 0 && GetMenuItemID(file, pre) != static_cast<UINT>(-1)
        && !(GetMenuState(file, static_cast<UINT>(pre), MF_BYPOSITION) & MF_SEPARATOR))
        --pre;
    // The first separator met going up could be the post-reopen one.
    int scan = pre - 1;
    while (scan >= 0) {
        const UINT id = GetMenuItemID(file, scan);
        if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + 4) {
            --scan;
            continue;
        }
        if ((GetMenuState(file, static_cast<UINT>(scan), MF_BYPOSITION) & MF_SEPARATOR)
            && scan + 1 < pre && GetMenuItemID(file, scan + 1) >= IDM_FILE_HISTORY_FIRST
            && GetMenuItemID(file, scan + 1) < IDM_FILE_HISTORY_FIRST + 4)
            pre = scan;
        break;
    }
    for (int i = exitPos - 1; i > pre; --i)
        DeleteMenu(file, static_cast<UINT>(i), MF_BYPOSITION);
    TReopenMenu reopen = wexly::RebuildReopenMenu(Settings.FileHistory);
    UINT pos = static_cast<UINT>(pre + 1);
    for (size_t i = 0; i < reopen.entries.size(); ++i) {
        m_menuHints[static_cast<UINT>(IDM_FILE_HISTORY_FIRST + i)] = reopen.entries[i].hint;
        std::wstring caption = Utf8ToWide(reopen.entries[i].caption);
        InsertMenuW(
            file, pos++, MF_BYPOSITION | MF_STRING, IDM_FILE_HISTORY_FIRST + i, caption.c_str());
    }
    if (reopen.postSeparatorVisible)
        InsertMenuW(file, pos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

// ---- Hints --------------------------------------------------------------------------------

void TWexlyMainForm::SetApplicationHint(const std::string& longHint)
{
    if (m_shell && m_shell->SetHint(longHint))
        SetStatusText(spMessage, HintPanelText(longHint));
}

void TWexlyMainForm::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu) { // the menu closed
        SetApplicationHint("");
        return;
    }
    if (flags & MF_POPUP)
        SetApplicationHint(PopupHint(GetSubMenu(menu, static_cast<int>(item))));
    else if (flags & MF_SEPARATOR)
        SetApplicationHint("");
    else
        SetApplicationHint(LongHint(MenuHint(item)));
}

std::string TWexlyMainForm::MenuHint(UINT id) const
{
    if (m_dynamic.Find(id))
        return m_dynamic.Hint(id);
    if (auto built = m_menuHints.find(id); built != m_menuHints.end())
        return built->second;
    const TMainCommand* command = FindMainCommand(static_cast<int>(id));
    return command ? std::string(command->hint) : std::string();
}

std::string TWexlyMainForm::PopupHint(HMENU popup) const
{
    HMENU tools = SubMenu(ToolsMenuPos);
    if (!popup || !tools)
        return {};
    if (std::string built = m_dynamic.PopupHint(popup); !built.empty())
        return built;
    if (popup == GetSubMenu(tools, 0))
        return "Set justification for text (Wont work when wordwrap is on)";
    if (popup == GetSubMenu(tools, 3))
        return "Lists of words to auto-replace";
    if (popup == GetSubMenu(tools, 4))
        return "Preset sequences of commands";
    return {};
}

void TWexlyMainForm::ReopenItemClick(int index)
{
    HMENU file = SubMenu(FileMenuPos);
    wchar_t caption[1024] = {};
    GetMenuStringW(
        file, static_cast<UINT>(IDM_FILE_HISTORY_FIRST + index), caption, 1024, MF_BYCOMMAND);
    TReopenMenu reopen = wexly::RebuildReopenMenu(Settings.FileHistory);
    const int tag = static_cast<size_t>(index) < reopen.entries.size()
        ? reopen.entries[static_cast<size_t>(index)].tag
        : 0;
    PileFileClick(WideToUtf8(caption), tag, m_services->fs, m_asker,
        [this](const std::string& path, bool binary) {
            std::string line = binary ? "/B \"" + path + "\"" : "\"" + path + "\"";
            m_commands->OpenCommandLine(m_commands->StartDir(), line);
        });
    RefreshDocumentBars();
}

void TWexlyMainForm::OnDropFiles(HDROP drop)
{
    std::vector<std::string> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(length);
        names.push_back(WideToUtf8(name));
    }
    POINT at {};
    DragQueryPoint(drop, &at);
    DragFinish(drop);
    // The key as it is now: while the shell dragged, the keys went to the shell, so this
    // thread's own key state may be stale.
    const bool alt = GetAsyncKeyState(VK_MENU) < 0;
    Guarded([&] { m_shell->DropFiles(names, alt); });
    if (alt) {
        // The drop point is in client terms; the window's corner makes it roughly the screen's.
        RECT window {};
        GetWindowRect(Handle(), &window);
        ShowDropMenu({ at.x + window.left, at.y + window.top });
    }
    m_docWindows->RefreshViews();
}

bool TWexlyMainForm::ShowEditPopup(HWND window, LPARAM screenPoint)
{
    TEditFile* owner = nullptr;
    auto check = [&](TEditFile* doc) {
        if (doc && !owner)
            if (TCellGridWindow* view = m_docWindows->ViewOf(*doc);
                view && view->Handle() == window)
                owner = doc;
    };
    for (int i = 0; i < m_set->Count(); ++i)
        check(&m_set->At(i));
    check(m_set->BottomView());
    if (!owner)
        return false;
    // The popup acts on the pane clicked: it takes the focus first, and the enabling is
    // brought up to date with its selection.
    if (GetFocus() != window)
        SetFocus(window);
    ReportFocusStatus();
    const auto& e = m_shell->Menus().enabled;
    struct TItem
    {
        int id;
        const wchar_t* caption;
        bool enabled;
    };
    const TItem items[] = { { IDM_EDIT_CUT, L"Cu&t", e[miCut] },
        { IDM_EDIT_COPY, L"&Copy", e[miCopy] }, { IDM_EDIT_PASTE, L"&Paste", e[miPaste] },
        { 0, nullptr, false }, { IDM_SEARCH_FIND, L"&Find...", true }, { 0, nullptr, false },
        { IDM_FILE_NEW, L"&New", true }, { IDM_FILE_OPENTEXT, L"&Open...", true },
        { IDM_FILE_REVERT, L"&Revert", e[miRevert] }, { IDM_FILE_SAVE, L"&Save", e[miSave] },
        { IDM_FILE_SAVEAS, L"Save &As...", e[miSaveAs] }, { IDM_FILE_CLOSE, L"&Close", e[miClose] },
        { 0, nullptr, false }, { IDM_WINDOW_LIST, L"&Window List...", e[miWindowList] } };
    HMENU menu = CreatePopupMenu();
    for (const TItem& item : items) {
        if (!item.caption)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(item.id), item.caption);
    }
    POINT at { GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint) };
    if (at.x == -1 && at.y == -1) { // from the keyboard: the view's corner
        RECT r {};
        GetWindowRect(window, &r);
        at = { r.left + 20, r.top + 20 };
    }
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    if (chosen)
        OnCommand(chosen, nullptr);
    return true;
}

void TWexlyMainForm::ShowDropMenu(POINT at)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_DROP_TEXT, L"Open as Text");
    AppendMenuW(menu, MF_STRING, IDM_DROP_BINARY, L"Open as Binary");
    SetMenuDefaultItem(menu, IDM_DROP_TEXT, FALSE);
    SetForegroundWindow(Handle());
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
}

} // namespace wexly::win32
