// Which menu items and toolbar buttons are enabled: from whether documents are open
// (UpdateMenus) and from the focused view's edit state on every status event. The window
// copies the record onto its menus and buttons.
#pragma once

#include "config/UtilsBox.h"
#include "documents/EditFile.h"

#include <array>
#include <optional>

namespace wexly {

enum TMenuItem : int {
    miRevert,
    miSave,
    miSaveAs,
    miSaveCopyAs,
    miSaveAll,
    miPrint,
    miPreview,
    miClose,
    miCloseDelete,
    miCloseAll,
    miEditMenu,
    miRepeatFind,
    miReplace,
    miGotoLine,
    miStatistics,
    miMacros,
    miJustify,
    miWindowMenu,
    miHideBars,
    miPrevFile,
    miNextFile,
    miWindowList,
    miNextDiffWord,
    miUndo,
    miRedo,
    miCut,
    miCopy,
    miPaste,
    miClear,
    miSyncPanes,
    miSwitchPanes,
    miCount
};

struct TMenuState
{
    std::array<bool, miCount> enabled {};
    std::array<bool, kToolButtonCount> toolEnabled {}; // by toolbar code
    bool titlePanel1Visible = false;
    bool closeDeleteVisible = true; // the item and the separator above it
    bool linePanelsReset = false; // line and column panels back to "0000"
    TMenuState();
    friend bool operator==(const TMenuState&, const TMenuState&) = default;
};

// Enabling by whether documents are open and the window is split.
void UpdateMenus(TMenuState& state, bool documentsOpen, bool splitOn, bool hideCloseDelete);

// The last edit state applied; unknown after start-up and after the toolbar is rebuilt.
struct TEditStateCache
{
    std::optional<TEditState> flags;
    void Reset() { flags.reset(); }
};

// The enabling a status event of the focused view applies.
void ApplyEditStatus(TMenuState& state, TEditStateCache& cache, const TEditState& flags,
    bool readOnly, bool splitOn, bool clipboardHasText);

} // namespace wexly
