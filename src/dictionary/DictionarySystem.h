// The dictionary system of the main window: the current dictionary named by the settings,
// loading it, the "&Dictionaries" menu, the chooser's outcome and the replacement of a word as
// the user types a trigger character. Borrows the settings, the file system and the asker.
#pragma once

#include "config/Settings.h"
#include "dictionary/Dictionary.h"
#include "platform/Files.h"
#include "platform/Ui.h"

#include <string>

namespace wexly {

class TEditFile;
class TOvcCustomEditor;

// One item of the "&Dictionaries" menu as the window shows it.
struct TDicMenuItem
{
    std::string caption;
    std::string hint;
    std::string shortcut; // empty: none
    bool checked = false;
};

struct TDicMenu
{
    TDicMenuItem current; // opens the chooser
    TDicMenuItem active; // toggles the system
    TDicMenuItem maintain;
};

inline constexpr const char* kDictionariesCaption = "&Dictionaries";
inline constexpr const char* kDictionariesHint = "Lists of words to auto-replace";

class TDictionarySystem
{
public:
    TDictionarySystem(TSettings& settings, IFileSystem& fs, IAsker& asker);

    const TDictionary& Dictionary() const { return m_dictionary; }

    // Loads the file LastDic names (nothing to do when it is empty). A wrong header or an
    // unreadable file is reported and fails; the words loaded before stay.
    bool LoadCurrent();
    // At start-up, after the command line's documents are open. A failure keeps LastDic.
    void StartUp();
    // The chooser confirmed with path: the system goes active when it loads; a file with a
    // wrong header leaves no dictionary current and the system off; a file that cannot be
    // opened or read leaves everything as it was.
    bool Choose(const std::string& path);
    // The "Active" item (Ctrl+D).
    void ToggleActive() { m_settings.DicOn = !m_settings.DicOn; }
    // After the maintenance window has closed: saved changes take effect.
    void MaintenanceClosed();

    TDicMenu Menu() const;

    // The key-press hook of text editors: ch is about to be typed into the focused document.
    // Replaces the word before the caret when ch ends it and the dictionary knows it.
    void EdKeyPress(TEditFile* focusFile, char ch);
    // The same on an editor; true when a word was replaced.
    bool ReplaceWordBeforeCaret(TOvcCustomEditor& editor, char ch);

private:
    enum class TLoad { Loaded, Unreadable, Corrupt };
    TLoad Load();
    void ShowError(const std::string& text);

    TSettings& m_settings;
    IFileSystem& m_fs;
    IAsker& m_asker;
    TDictionary m_dictionary;
};

} // namespace wexly
