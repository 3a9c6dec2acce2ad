// The model of the "Choose A Dictionary" dialog: the path in its edit box and its "..."
// button. Borrows the settings (DicDir) and the file dialogs.
#pragma once

#include "config/Settings.h"
#include "dictionary/DictionarySystem.h"
#include "documents/FileCommands.h"

#include <string>

namespace wexly {

class TDicChooseModel
{
public:
    static constexpr const char* kCaption = "Choose A Dictionary";

    // The edit box's text.
    std::string path;

    // Each showing starts from the current dictionary.
    void Show(const TSettings& settings) { path = settings.LastDic; }
    // "...": an existing file chosen in the open dialog goes into the edit box and its
    // directory becomes DicDir. False when the dialog was cancelled.
    bool Browse(IFileDialogs& dialogs, TSettings& settings);
    // "OK": the path becomes the current dictionary (see TDictionarySystem::Choose).
    bool Confirm(TDictionarySystem& system) const { return system.Choose(path); }
};

} // namespace wexly
