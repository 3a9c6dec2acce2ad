// The main window "TWexlyMainForm": menu bar, toolbar, file-button bar, the two panes with their
// title bars, the status bar, the hand-over receiver and leaving the program. The document set,
// the file commands and the start-up and exit sequence are the portable objects it owns; this
// class implements what they ask of the window.
#pragma once

#include "app/LoadProgress.h"
#include "app/MainCommands.h"
#include "app/StartUp.h"
#include "app/StatusBarLayout.h"
#include "config/SettingsFile.h"
#include "dictionary/DicMaintModel.h"
#include "dictionary/DictionarySystem.h"
#include "documents/DocumentCommands.h"
#include "macros/MacroPlayer.h"
#include "search/CompareModel.h"
#include "search/DirectorySearchBridge.h"
#include "search/GotoLineModel.h"
#include "search/SearchCommands.h"
#include "tools/ToolRunner.h"
#include "win32/MenuIds.h"
#include "win32/Win32Window.h"
#include "win32/controls/ZulSpeed.h"
#include "win32/dialogs/FindDialog.h"
#include "win32/dialogs/GotoLineDialog.h"
#include "win32/dialogs/PrefDialog.h"
#include "win32/dialogs/ReplaceDialog.h"
#include "win32/main/DocumentWindows.h"
#include "win32/main/DynamicMenus.h"
#include "win32/main/FileDialogs.h"
#include "win32/main/PanelWindow.h"
#include "win32/main/RecoveryHost.h"
#include "win32/platform/Win32Ui.h"

#include <shellapi.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wexly::win32 {

class TWexlyApp;
class TPrintCommands;

class TWexlyMainForm final : public TWin32Window,
                             public IShellWindow,
                             public IFileCommandHost,
                             public IPaneWindows,
                             public IDocumentViewHost,
                             public ISearchDialogs,
                             public IToolHost,
                             public IMainCommandTarget
{
public:
    explicit TWexlyMainForm(TWexlyApp& app);
    ~TWexlyMainForm() override;

    bool Create();
    // Shows the window and runs the start-up sequence the first time.
    void Show(int showCommand);
    // Sees every key message for the main window and its children before they are dispatched.
    // True when the key was used up here (a macro's Shift+F key).
    bool PreviewKey(const MSG& msg);
    // Changed settings reach the bars, the menus, the second pane and every document.
    void PropagateSettings();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // ---- IShellWindow ----
    TMessage LoadSettings() override;
    void ApplyPlacement(const TWindowPlacement& placement) override;
    void ApplyFontsAndColours() override;
    void SetOptionChecks(bool wordWrap, bool hexMask) override;
    void LoadDictionary() override;
    void SetDictionaryMenu(const std::string& caption, bool active) override;
    void BuildBarsAndMenus() override;
    void InstallHooks() override;
    void AcceptDrops(bool accept) override;
    void CreateFileDialogs() override { }
    void Realign() override { Layout(); }
    void BringToFront() override;
    void ShowStatus(const std::string& text) override;
    TWindowPlacement CurrentPlacement() override;
    void CloseMainWindow() override;
    TMessage SaveSettings() override;
    void OfferRecovery() override;
    void EndOrderly() override;

    // ---- IFileCommandHost ----
    void RefreshDocumentBars() override;
    void RefreshTitles() override;
    void ShowStatusMessage(const std::string& text) override { ShowStatus(text); }
    void RestoreHintIfExpired() override;
    bool SendToRecycleBin(const std::string& path) override;
    void StartFindInFiles(const std::string& directory, const std::string& mask) override;

    // ---- IPaneWindows ----
    void SplitChanged(bool splitOn, bool vertical) override;
    void FocusTopTitleBar() override;
    // After documents went away the focus may sit nowhere useful: it goes to FocusFile's view.
    void EnsureViewFocus();

    // ---- IDocumentViewHost ----
    HWND PaneParent() override { return Handle(); }
    HWND FileBar() override { return m_fileBar.Handle(); }
    RECT PaneRect(bool bottom) override;
    void ViewStatus(TEditFile& doc, int64_t line, int32_t column) override;
    void ViewUserCommand(TEditFile& doc, int command) override;
    void ViewKeyPress(TEditFile& doc, char ch) override;
    void FileButtonClick(TEditFile& doc) override;
    void FileButtonPopup(TEditFile& doc, int tag) override;
    void FileButtonDropped(TEditFile& doc, int x, int y) override;
    void ViewError(const std::string& text) override;
    void RunButtonPopup(int tag, TEditFile* doc);

    // ---- ISearchDialogs ----
    int ShowFind(TFindForm& form) override;
    int ShowReplace(TReplaceForm& form) override;
    void CreateSearchDialogs();
    void AfterSearch();

    // The message panel's account of a long text load.
    void ShowLoadProgress(const std::string& name, int64_t done, int64_t total);

    // ---- layout ----
    void CreateChildren();
    void CreateStatusBar();
    static LRESULT CALLBACK TitleDragProc(
        HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    void Layout();
    void LayoutFileButtons();
    void BuildToolBar();
    void LayoutStatusBar(bool remeasure);
    void SetStatusText(TStatusPanel panel, const std::string& text);
    void RefreshCapsPanel();
    // The panels are owner-drawn for the status colours; the bar still answers SB_GETTEXT.
    void DrawStatusPanel(const DRAWITEMSTRUCT& item);
    // A click on the encoding panel offers the encodings for the next save.
    bool OnStatusBarNotify(const NMHDR& header);
    void ShowEncodingMenu();
    static LRESULT CALLBACK StatusBarProc(
        HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    // Hints: of the highlighted menu item, or of the control under the mouse.
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    std::string MenuHint(UINT id) const;
    std::string PopupHint(HMENU popup) const;
    void SetApplicationHint(const std::string& longHint);
    void ApplyMenuState(const TMenuState& state);
    void UpdateMenus();
    void RebuildWindowMenu();
    void ShowCloseDelete(bool visible);
    void RebuildReopenMenu();
    void ShowSplitMenu(bool splitOn);
    HMENU SubMenu(int position) const;
    bool HasDocuments() const { return m_set && !m_set->Empty(); }
    void ApplyStatusUpdate(const TStatusUpdate& update);
    void ReportFocusStatus();
    void SetTitleBar(int pane, const TTitleText& title);
    int TitleBarHeight() const;
    // The area the panes share, title bars included: below the bars, above the status bar.
    RECT PaneArea() const;
    TSettingsEnv SettingsEnv() const;

    // ---- IMainCommandTarget ----
    void NewDocument() override;
    void OpenFiles(bool binary) override;
    void Reopen() override;
    void Revert() override;
    void Save() override;
    void SaveAs() override;
    void SaveCopyAs() override;
    void SaveAll() override;
    void Close() override;
    void CloseAll() override;
    void CloseAndDelete() override;
    void Exit() override;
    void Print(bool preview) override;
    void PrintSetup() override;
    void RunDocumentCommand(TDocumentCommand command) override;
    void Find() override;
    void RepeatFind() override;
    void Replace() override;
    void GotoLine() override;
    void NextDifferentWord() override;
    void ChooseDictionary() override;
    void ToggleDictionary() override;
    void MaintainDictionaries() override;
    void EditTools() override;
    void StickToPile() override;
    void ToggleWordWrap() override;
    void ToggleHexMask() override;
    void EditSettings() override;
    void ToggleSplit(bool vertical) override;
    void SwitchPanes() override;
    void ToggleSyncPanes() override;
    void SortDocuments(TSortKey key) override;
    void ToggleBars() override;
    void SelectFile(bool next) override;
    void ShowWindowList() override;
    void ShowHelp() override;
    void ShowAbout() override;
    void DropOpen(bool binary) override;

    // ---- commands ----
    void OnCommand(int id, HWND control);
    void RunCommand(int id);
    void ToolBarClick(int code);
    void TitleButtonClick(int pane);
    void CloseLabelClick(int pane);
    void HideBarsClick();
    void ReopenItemClick(int index);
    void OnDropFiles(HDROP drop);
    void ShowDropMenu(POINT at);
    // The edit popup of a document's view; false when the window is not a view.
    bool ShowEditPopup(HWND window, LPARAM screenPoint);
    LRESULT OnHandOver(WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnSize(WPARAM kind);
    LRESULT OnSetFocus();
    LRESULT OnDrawItem(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnCtlColorStatic(UINT msg, WPARAM wp, LPARAM lp);
    void OnActivateApp(bool active);
    LRESULT OnActivated();
    LRESULT OnUserCommand(int command);
    LRESULT OnTimer(WPARAM id);
    LRESULT OnClose();
    // Runs a piece of work that may throw; what it throws is shown, not lost.
    void Guarded(const std::function<void()>& work);

    TWexlyApp& m_app;
    TOvcCommandProcessor m_processor;
    TWin32Asker m_asker;
    TWin32Clipboard m_clipboard;
    TWin32Beeper m_beeper;
    TFileDialogs m_dialogs;
    std::unique_ptr<TDocumentWindows> m_docWindows;
    std::unique_ptr<TDocumentServices> m_services;
    std::unique_ptr<TDocumentSet> m_set;
    std::unique_ptr<TReopenHistory> m_history;
    std::unique_ptr<TFileCommands> m_commands;
    std::unique_ptr<TApplicationShell> m_shell;
    std::unique_ptr<TDocumentCommands> m_docCommands;
    TFindInFilesModel m_findPanel; // the Find dialog's files range
    std::unique_ptr<TDirectorySearchBridge> m_directorySearch;
    std::unique_ptr<TSearchCommands> m_search;
    std::unique_ptr<TCompareModel> m_compare;
    std::unique_ptr<TDictionarySystem> m_dictionary;
    std::unique_ptr<TDicMaintModel> m_dicMaint; // kept: the grid keeps its rows between showings
    std::unique_ptr<TMacroPlayer> m_macroPlayer;
    std::unique_ptr<TToolRunner> m_toolRunner;
    std::unique_ptr<TPrintCommands> m_print;
    TLoadProgressText m_loadProgress;
    std::unique_ptr<TRecoveryHost> m_recovery;
    TDynamicMenus m_dynamic { IDM_DYNAMIC_FIRST, IDM_DYNAMIC_LAST };
    // Piles, Macros and the external tool entries, from the settings.
    void RebuildDynamicMenus();
    void RunDynamicCommand(const TDynamicCommand& command);
    void PlayMacro(int number);
    bool PlayMacroForKey(const MSG& msg);
    // ---- IToolHost ----
    void ProcessMessages() override;
    void RefreshBottomPane() override;
    void FocusPane(bool bottom) override;
    void ShowDictionaryMenu();
    TGotoLineModel m_gotoLine;
    std::unique_ptr<TFindDialog> m_findDialog;
    std::unique_ptr<TReplaceDialog> m_replaceDialog;
    std::unique_ptr<TGotoLineDialog> m_gotoLineDialog;
    std::unique_ptr<TMacroPageModel> m_macroPage; // the Preferences dialog's macro page
    TPrefForm m_pref;
    TToolListForm m_toolList; // remembers the tool chosen last
    std::unique_ptr<TPrefDialog> m_prefDialog;

    bool m_shownOnce = false;
    int m_firstShowCommand = -1; // how the start-up sequence will show the window
    bool m_startMaximized = false; // the saved state, applied when first shown
    bool m_statusTimerRunning = false; // a temporary message waits for the status timer
    bool m_insertMode = true; // shared insert mode while no document is open
    bool m_barsHidden = false;
    bool m_hidingBars = false; // Hide Bars is not re-entered
    bool m_splitMenuShown = true;
    bool m_closeDeleteShown = true;
    RECT m_designBounds {};
    int m_splitSize = 0; // the second pane's height (horizontal) or width (vertical)
    TTitleDrag m_titleDrag;

    TPanelWindow m_toolBar;
    std::vector<std::unique_ptr<TZulSpeed>> m_toolButtons;
    std::vector<HWND> m_toolGaps;
    TToolBar m_toolLayout;
    TPanelWindow m_fileBar;
    int m_fileBarHeight = 2;
    bool m_fileBarVisible = false;
    HWND m_splitter = nullptr;
    std::array<HWND, 2> m_titleState {};
    std::array<HWND, 2> m_titleButton {};
    std::array<HWND, 2> m_titleClose {};
    std::array<TTitleText, 2> m_titles {};
    HFONT m_titleFont = nullptr;
    HFONT m_fileBarFont = nullptr;
    HBRUSH m_titleBrush = nullptr;
    COLORREF m_titleText = 0;

    HWND m_statusBar = nullptr;
    HFONT m_statusFont = nullptr;
    std::array<std::string, kStatusPanelCount> m_statusTexts;
    COLORREF m_statusTextColour = 0;
    COLORREF m_statusBackColour = 0;
    // Hints of the items the program builds into the menus (Window, reopen), by command.
    std::map<UINT, std::string> m_menuHints;
    // What the menus and toolbar show now: applying the same again is skipped, because every
    // caret move applies it and redrawing the menu bar is slow.
    struct TAppliedMenus
    {
        TMenuState state;
        bool syncPanes = false;
        bool barsHidden = false;
        friend bool operator==(const TAppliedMenus&, const TAppliedMenus&) = default;
    };
    std::optional<TAppliedMenus> m_appliedMenus;
    TStatusTextWidths m_statusWidths;
    HMENU m_unsplitMenu = nullptr;
    HMENU m_splitSubMenu = nullptr;
};

} // namespace wexly::win32
