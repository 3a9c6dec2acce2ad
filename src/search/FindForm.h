// The Find dialog's model: its fields as values (what each control holds), the enabling rules,
// the remembered sizes of its compact and directory layouts and a method per event. Created
// once and reused, so the check boxes keep what the user last set. Borrows the settings (the
// histories and the directory-range size), the search driver and the directory search.
#pragma once

#include "config/Settings.h"
#include "search/SearchDriver.h"

#include <cstdint>
#include <string>

namespace wexly {

class TFindForm;

enum class TFindRange : uint8_t { ThisFile = 1, OpenFiles = 2, Files = 3 };

// The search over files on disk, run inside the dialog while it stays open.
class IDirectorySearch
{
public:
    virtual ~IDirectorySearch() = default;
    // Find Next in the files range: walks form.Mask() for form.FindText() and form.Options().
    virtual void SearchFiles(TFindForm& form) = 0;
};

// The dialog's measurements as designed, before any layout is applied.
struct TFindFormMetrics
{
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t upperPanelHeight = 0;
    int32_t outerWidth = 0;
    int32_t outerHeight = 0;
};

// The size the dialog takes for its range.
struct TFindLayout
{
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    bool resizable = false; // only the files range
    int32_t minOuterWidth = 0; // when resizable
    int32_t minClientHeight = 0; // when resizable
};

enum class TFindNextAction { StayOpen, CloseAccepted };

class TFindForm
{
public:
    TFindForm(TSettings& settings, TSearchDriver& driver, IDirectorySearch* directorySearch);

    // ---- state the opening command fills and reads back ----
    const std::string& FindText() const { return m_findText; } // unescaped
    void SetFindText(const std::string& text) { m_findText = text; }
    const std::string& Mask() const { return m_mask; }
    void SetMask(const std::string& mask) { m_mask = mask; }
    const std::string& Directory() const { return m_directory; }
    void SetDirectory(const std::string& dir) { m_directory = dir; }
    TSearchOptions Options() const { return m_options; }
    void SetOptions(TSearchOptions options) { m_options = options; }
    TFindRange Range() const { return m_range; }
    void SetRange(TFindRange range) { m_range = range; }
    bool NoDocuments() const { return m_noDocuments; }
    void SetNoDocuments(bool none) { m_noDocuments = none; }
    bool Searching() const { return m_searching; }
    void SetSearching(bool on) { m_searching = on; }
    // Files chosen for opening by the directory search, as a command line.
    const std::string& OpenList() const { return m_openList; }
    void SetOpenList(const std::string& list) { m_openList = list; }
    int ModalResult() const { return m_modalResult; }

    // ---- the controls ----
    std::string findBox; // as typed (escaped)
    std::string maskBox;
    TStringList findItems; // drop-down lists
    TStringList maskItems;
    bool wholeWord = false;
    bool matchCase = false;
    bool directionUp = false; // "&Up"; else "&Down"
    bool modeGlobal = false; // "&Global"; else "From &Cursor"
    TFindRange rangeChecked = TFindRange::ThisFile;
    bool thisFileEnabled = true;
    bool openFilesEnabled = true;
    bool directionEnabled = true;
    bool modeEnabled = true;
    bool lowerPanelEnabled = false;
    bool findNextEnabled = false;

    // ---- events ----
    // Before showing: sizes on the first showing, then every control from the state. The
    // dialog copies the controls in and calls Shown; range clicks in between record nothing.
    void FormShow(const TFindFormMetrics& designed);
    void Shown() { m_preparing = false; }
    bool Preparing() const { return m_preparing; }
    TFindLayout Layout() const;
    // A range button was clicked; the current client size is stored for the files range when
    // leaving its taller layout.
    void RangeClick(TFindRange range, int32_t clientWidth, int32_t clientHeight);
    void FindBoxChanged(const std::string& text);
    void MaskBoxChanged(const std::string& text);
    TFindNextAction FindNextClick();
    // Closes with result 2; in the files range the size is kept first.
    void CancelClick(int32_t clientWidth, int32_t clientHeight);
    // The files range closes with the chosen files: result 1.
    void OpenClick(int32_t clientWidth, int32_t clientHeight);

private:
    void ApplyRange();
    void UpdateFindNext();
    void StoreLargeSize(int32_t clientWidth, int32_t clientHeight);
    TSearchOptions OptionsFromControls() const;
    TFindRange RangeFromControls() const;

    TSettings& m_settings;
    TSearchDriver& m_driver;
    IDirectorySearch* m_directorySearch;
    std::string m_findText;
    std::string m_mask;
    std::string m_directory;
    TSearchOptions m_options;
    TFindRange m_range = TFindRange::ThisFile;
    bool m_noDocuments = false;
    bool m_searching = false;
    std::string m_openList;
    int m_modalResult = 0;
    bool m_preparing = false;
    bool m_sizesTaken = false; // the compact sizes below are set on the first showing
    int32_t m_compactClientWidth = 0;
    int32_t m_compactClientHeight = 0;
    int32_t m_compactOuterWidth = 0;
    int32_t m_compactOuterHeight = 0;
};

} // namespace wexly
