// The Replace dialog's model: its fields as values, the enabling of its three buttons and what
// each button produces. Created once and reused. Borrows the settings (histories), and the
// search driver for searches run while the dialog stays open.
#pragma once

#include "config/Settings.h"
#include "search/SearchDriver.h"

#include <string>

namespace wexly {

// The buttons' tags.
enum class TReplaceButton { FindNext = 0, Replace = 1, ReplaceAll = 2 };

class TReplaceForm
{
public:
    TReplaceForm(TSettings& settings, TSearchDriver& driver);

    // ---- state the opening command fills and reads back ----
    TSearchKind Kind() const { return m_kind; }
    void SetKind(TSearchKind kind) { m_kind = kind; }
    const std::string& FindText() const { return m_findText; } // unescaped
    void SetFindText(const std::string& text) { m_findText = text; }
    const std::string& ReplaceText() const { return m_replaceText; } // unescaped
    void SetReplaceText(const std::string& text) { m_replaceText = text; }
    TSearchOptions Options() const { return m_options; }
    void SetOptions(TSearchOptions options) { m_options = options; }
    int ModalResult() const { return m_modalResult; }

    // ---- the controls ----
    std::string findBox; // as typed (escaped)
    std::string replaceBox;
    TStringList findItems;
    TStringList replaceItems;
    bool wholeWord = false;
    bool matchCase = false;
    bool directionUp = false;
    bool modeGlobal = false;
    bool allOpenFiles = false; // range "A&ll open files"; else "&This file"
    bool buttonsEnabled = false; // "&Find Next", "&Replace" and "Replace &All"

    // ---- events ----
    void FormShow();
    void FindBoxChanged(const std::string& text);
    void ReplaceBoxChanged(const std::string& text) { replaceBox = text; }
    // True when the dialog closes with result 1.
    bool ButtonClick(TReplaceButton button);
    void CancelClick() { m_modalResult = 2; }

private:
    TSettings& m_settings;
    TSearchDriver& m_driver;
    TSearchKind m_kind = TSearchKind::ReplaceInFile;
    std::string m_findText;
    std::string m_replaceText;
    TSearchOptions m_options;
    int m_modalResult = 0;
};

} // namespace wexly
