// The program's life around the document set: the start-up sequence when the main window is
// first shown, the hand-over from a second start, activation with the disk-change check,
// dropped files, Exit and the close request, with the settings written once at an orderly
// exit. The main window implements IShellWindow; everything it is asked to do is a window
// matter.
#pragma once

#include "documents/FileButtonBar.h"
#include "documents/FileCommands.h"
#include "documents/MenuState.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace wexly {

struct TWindowPlacement
{
    TRect normalBounds; // the bounds the window has when not minimised or maximised
    uint8_t state = 0; // 0 normal, 1 minimised, 2 maximised
};

class IShellWindow
{
public:
    virtual ~IShellWindow() = default;
    // ---- start-up, in the order they are called ----
    // Returns the message to show when the file could not be read (empty text: none).
    virtual TMessage LoadSettings() = 0;
    virtual void ApplyPlacement(const TWindowPlacement& placement) = 0;
    virtual void ApplyFontsAndColours() = 0;
    virtual void SetOptionChecks(bool wordWrap, bool hexMask) = 0;
    // Unsaved work an earlier end left behind: asked about, and reopened, before the command
    // line's files.
    virtual void OfferRecovery() { }
    // Loads the active dictionary; then the dictionary menu's caption and Active check.
    virtual void LoadDictionary() = 0;
    virtual void SetDictionaryMenu(const std::string& caption, bool active) = 0;
    // File buttons, toolbar, menu enabling, Window, Piles, Macros, tools and reopen menus.
    virtual void BuildBarsAndMenus() = 0;
    virtual void InstallHooks() = 0; // icon, hint and activation hooks
    virtual void AcceptDrops(bool accept) = 0;
    virtual void CreateFileDialogs() = 0;
    virtual void Realign() = 0;
    // ---- running ----
    virtual void BringToFront() = 0;
    virtual void ShowStatus(const std::string& text) = 0; // with the status timer
    // ---- leaving ----
    virtual TWindowPlacement CurrentPlacement() = 0;
    virtual void CloseMainWindow() = 0;
    // Writes the settings file; returns the message to show when that failed (empty: none).
    virtual TMessage SaveSettings() = 0;
    // Every document has been closed as the user wanted: nothing is left to recover.
    virtual void EndOrderly() { }
};

// What a status event changes on the screen.
struct TStatusUpdate
{
    TTitleText top;
    TTitleText bottom;
    std::string line; // "0007"
    std::string column;
    std::string insOvr; // "Ins" or "Ovr"
    std::string encoding; // "UTF-8" and the like; empty for binary documents
    bool relayoutStatusBar = false; // the line or column text changed width
    bool restoreHint = false; // a status message has had its time
};

// "Current: name", or "Current: None" without a dictionary.
std::string DictionaryMenuCaption(const std::string& lastDic);

class TApplicationShell
{
public:
    TApplicationShell(TDocumentSet& set, TFileCommands& commands, TSettings& settings,
        IAsker& asker, IShellWindow& window);

    // The start directory (a backslash is supplied) and the command-line tail of this process.
    void SetStart(const std::string& startDir, const std::string& cmdLine);
    const std::string& StartDir() const { return m_startDir; }
    const std::string& CmdLine() const { return m_cmdLine; }
    bool Closing() const { return m_closing; }
    bool Activating() const { return m_activating; }

    // The main window is shown for the first time.
    void FirstShow();
    // Message 32769: the result to return. One taken before the start-up sequence has
    // finished is carried out at its end.
    int HandOver(uintptr_t key, const std::string& senderTitle);
    // The application became active: reload changed files. Returns the status text shown.
    std::string AppActivate();
    // Files dropped from the shell. Without Alt they are opened at once; with Alt they wait
    // for DropOpen (the drop menu's choice).
    void DropFiles(const std::vector<std::string>& names, bool altHeld);
    void DropOpen(bool binary);
    const std::string& DropList() const { return m_dropList; }
    // A view reported its caret (line, column): pane, focus tracking, titles, panels, Sync
    // Panes and menu enabling. False when ignored (view without focus, activation running).
    bool EditStatus(bool bottomPane, bool viewFocused, int64_t line, int32_t column,
        bool clipboardHasText, TStatusUpdate& update);
    const TMenuState& Menus() const { return m_menus; }
    // UpdateMenus after documents were added, removed or re-ordered.
    const TMenuState& UpdateMenus();
    // After the toolbar was rebuilt the next status event applies everything again.
    void ResetEditStateCache() { m_editCache.Reset(); }
    // User commands 256 to 262 from the editor's command table.
    void UserCommand(int command);
    void ToggleWordWrap();
    void ToggleHexMask();
    bool SyncPanes() const { return m_syncPanes; }
    void SetSyncPanes(bool on);
    // A temporary message was shown and the status timer started again: the message gets its
    // full time, whatever became of the one before it.
    void StatusMessageStarted() { m_timerExpired = false; }
    // The 10-second status timer ran out; true when the hint is to be shown at once.
    bool StatusTimerFired();
    // A document was closed: true (once) when the status message has had its time and the hint
    // is to be shown again.
    bool TakeExpiredStatus();
    // The application's hint: the long hint of the control under the mouse or of the menu item
    // highlighted. True when it changed, so that the message panel is to show it.
    bool SetHint(const std::string& longHint);
    const std::string& Hint() const { return m_hint; }
    // The Exit command.
    void Exit();
    // The main window's close request: true lets it close (the settings are then saved).
    bool CloseQuery();

private:
    void TakeHandOver(const std::string& startDir, const std::string& cmdLine);
    void Closed();
    void Show(const TMessage& message);
    void OpenDropList();

    TDocumentSet& m_set;
    TFileCommands& m_commands;
    TSettings& m_settings;
    IAsker& m_asker;
    IShellWindow& m_window;
    std::string m_startDir;
    std::string m_cmdLine;
    std::string m_dropList;
    std::string m_hint;
    bool m_closing = false;
    bool m_started = false; // the start-up sequence has finished
    std::vector<std::pair<std::string, std::string>> m_waitingHandOvers; // start dir, command line
    bool m_activating = false;
    bool m_settingsSaved = false; // written once, at the orderly exit
    bool m_syncPanes = false;
    bool m_timerExpired = false; // the status timer's tag
    std::string m_lineText = "0000";
    std::string m_columnText = "0000";
    TMenuState m_menus;
    TEditStateCache m_editCache;
};

} // namespace wexly
