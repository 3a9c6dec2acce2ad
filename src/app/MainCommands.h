// The main window's fixed commands as one table: per command its id, the menu state that
// enables it, the toolbar button that stands for it, its hint and what it runs. Menu
// enabling, toolbar clicks, hints and dispatch all read it, so a command is added in one place.
// Commands built from the settings (piles, macros, tools, the Window and reopen entries) are not
// here: their menus are made at run time.
#pragma once

#include "app/CommandIds.h"
#include "documents/DocumentCommands.h"
#include "documents/DocumentSet.h"
#include "documents/MenuState.h"

#include <span>
#include <string_view>

namespace wexly {

// What the commands do, implemented by the main window.
class IMainCommandTarget
{
public:
    virtual ~IMainCommandTarget() = default;

    virtual void NewDocument() = 0;
    virtual void OpenFiles(bool binary) = 0;
    virtual void Reopen() = 0;
    virtual void Revert() = 0;
    virtual void Save() = 0;
    virtual void SaveAs() = 0;
    virtual void SaveCopyAs() = 0;
    virtual void SaveAll() = 0;
    virtual void Close() = 0;
    virtual void CloseAll() = 0;
    virtual void CloseAndDelete() = 0;
    virtual void Exit() = 0;
    virtual void Print(bool preview) = 0;
    virtual void PrintSetup() = 0;

    virtual void RunDocumentCommand(TDocumentCommand command) = 0;

    virtual void Find() = 0;
    virtual void RepeatFind() = 0;
    virtual void Replace() = 0;
    virtual void GotoLine() = 0;
    virtual void NextDifferentWord() = 0;

    virtual void ChooseDictionary() = 0;
    virtual void ToggleDictionary() = 0;
    virtual void MaintainDictionaries() = 0;
    virtual void EditTools() = 0;
    virtual void StickToPile() = 0;

    virtual void ToggleWordWrap() = 0;
    virtual void ToggleHexMask() = 0;
    virtual void EditSettings() = 0;

    // Horizontal and Unsplit both toggle a horizontal split; only Vertical asks for vertical.
    virtual void ToggleSplit(bool vertical) = 0;
    virtual void SwitchPanes() = 0;
    virtual void ToggleSyncPanes() = 0;
    virtual void SortDocuments(TSortKey key) = 0;
    virtual void ToggleBars() = 0;
    virtual void SelectFile(bool next) = 0;
    virtual void ShowWindowList() = 0;

    virtual void ShowHelp() = 0;
    virtual void ShowAbout() = 0;
    virtual void DropOpen(bool binary) = 0;
};

// A command that needs no state to be enabled.
inline constexpr int kAlwaysEnabled = -1;
inline constexpr int kNoToolButton = -1;

using TMainCommandRun = void (*)(IMainCommandTarget&);

struct TMainCommand
{
    int id;
    int enabledBy; // a TMenuItem, or kAlwaysEnabled
    int toolCode; // the toolbar button that runs it, or kNoToolButton
    std::string_view hint; // the message panel's text while the item is highlighted
    TMainCommandRun run;
};

std::span<const TMainCommand> MainCommands();

// The row of a fixed command; null for ids built at run time.
const TMainCommand* FindMainCommand(int id);

// Whether the row's menu item is enabled in the state.
bool CommandEnabled(const TMainCommand& command, const TMenuState& state);

// The command a toolbar code stands for; 0 when none.
int ToolButtonCommand(int code);

// Runs the fixed command; false when the id is not one (the caller tries its run-time menus).
bool RunMainCommand(IMainCommandTarget& target, int id);

} // namespace wexly
