// The macro page of the preferences dialog: a working copy of the macros list, the macro being
// edited and its text, recording keys into it, and macro-set files. Borrows the settings (for
// the macro path), file system, asker and file dialogs.
#pragma once

#include "config/Settings.h"
#include "documents/FileCommands.h"
#include "platform/Files.h"
#include "platform/Ui.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wexly {

inline constexpr const char* kMacroSetHeader = "[Wexly2 Macro Set]";
inline constexpr const char* kMacroSetFilter = "Macro files (*.mrc)|*.mrc";
inline constexpr const char* kNotMacroFile = "File is not a Wexly2 Macro file!";

// What the page's focus does after a key in the display box.
enum class TMacroFocus { Stay, BeginSelButton, MacroList };

class TMacroPageModel
{
public:
    static constexpr int kMacroCount = 12;

    TMacroPageModel(TSettings& settings, IFileSystem& fs, IAsker& asker, IFileDialogs& dialogs);

    // ---- what the page shows ----
    const std::vector<std::string>& Working() const { return m_working; }
    // The display box's text: the text being edited.
    const std::string& Text() const { return m_text; }
    int SelectedIndex() const { return m_selected; } // 0 = "Shift+F1"
    int EditingNumber() const { return m_editing; } // 0 when none
    static std::string MacroName(int index) { return "Shift+F" + std::to_string(index + 1); }

    // ---- the dialog's show and confirm ----
    // The working copy becomes the macros list's entries; "Shift+F1" is selected.
    void Show();
    // "OK": the text being edited is stored, and the macros list becomes every non-empty
    // working entry.
    void Confirm();

    // ---- events ----
    // A name clicked in the list (index 0..11).
    void SelectMacro(int index);
    // A key down in the display box (virtual key, modifiers, the layout's character or 0).
    TMacroFocus KeyDown(uint8_t key, bool shift, bool ctrl, char layoutChar);
    void BeginSelection() { Append("<BEGINSEL>"); }
    void EndSelection() { Append("<ENDSEL>"); }
    void DeleteLastKeypress();
    void ClearMacro() { m_text.clear(); }
    void ClearAll();
    // Context menu "&Paste": nothing unless the clipboard holds text.
    void Paste(IClipboard& clipboard);
    void LoadMacroSet();
    void SaveMacroSet();

    // ---- the operations under them ----
    // False (with the message shown, nothing changed) when the file is empty, unreadable or
    // not a macro set.
    bool LoadMacroSetFile(const std::string& path);
    bool SaveMacroSetFile(const std::string& path);

private:
    void Append(const std::string& text) { m_text += text; }
    void StoreEditing();
    void ShowError(const std::string& text);

    TSettings& m_settings;
    IFileSystem& m_fs;
    IAsker& m_asker;
    IFileDialogs& m_dialogs;

    std::vector<std::string> m_working; // entries: two-digit number, then the text
    std::string m_text;
    int m_selected = 0;
    int m_editing = 0; // 1..12, 0 when no macro is being edited
};

} // namespace wexly
