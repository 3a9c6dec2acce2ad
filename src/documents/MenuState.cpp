#include "documents/MenuState.h"

namespace wexly {

TMenuState::TMenuState()
{
    toolEnabled.fill(true);
}

void UpdateMenus(TMenuState& state, bool open, bool splitOn, bool hideCloseDelete)
{
    state.titlePanel1Visible = open;
    for (TMenuItem item : { miRevert, miSave, miSaveAs, miSaveCopyAs, miSaveAll, miPrint, miPreview,
             miClose, miCloseDelete, miCloseAll, miEditMenu, miRepeatFind, miReplace, miGotoLine,
             miStatistics, miMacros, miJustify, miWindowMenu, miHideBars, miPrevFile, miNextFile,
             miWindowList })
        state.enabled[item] = open;
    for (int code : { 4, 5, 6, 7, 8, 9, 10, 11, 19, 20, 21, 22, 23, 25, 26, 27, 28 })
        state.toolEnabled[static_cast<size_t>(code)] = open;
    state.enabled[miNextDiffWord] = open && splitOn;
    state.linePanelsReset = !open;
    if (!open) {
        for (int code : { 12, 13, 14, 15, 16, 17, 24 })
            state.toolEnabled[static_cast<size_t>(code)] = false;
    }
    // The edit status brings the others back; Select All follows the Edit menu, or it would
    // stay off for the rest of the run once no document was open.
    if (open)
        state.toolEnabled[17] = true;
    state.closeDeleteVisible = !hideCloseDelete;
}

void ApplyEditStatus(TMenuState& state, TEditStateCache& cache, const TEditState& flags,
    bool readOnly, bool splitOn, bool clipboardHasText)
{
    const bool writableText = flags.isText && !readOnly;
    auto& on = state.enabled;
    auto& tool = state.toolEnabled;
    if (!(cache.flags == flags && on[miSave] == writableText)) {
        on[miUndo] = tool[12] = flags.canUndo;
        on[miRedo] = tool[13] = flags.canRedo;
        on[miRevert] = tool[4] = flags.isText;
        on[miSave] = tool[5] = writableText;
        on[miSaveAs] = tool[6] = flags.isText;
        on[miSaveCopyAs] = tool[7] = flags.isText;
        on[miCut] = tool[14] = flags.cutAllowed;
        on[miCopy] = tool[15] = flags.copyAllowed;
        on[miClear] = flags.cutAllowed;
        on[miMacros] = flags.isText;
        on[miReplace] = tool[20] = writableText;
        cache.flags = flags;
    }
    on[miSyncPanes] = tool[24] = splitOn;
    on[miSwitchPanes] = splitOn;
    on[miJustify] = flags.isText;
    on[miPaste] = tool[16] = flags.isText && clipboardHasText;
}

} // namespace wexly
