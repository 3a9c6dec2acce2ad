// The model of the "Dictionary Maintenance" window: a grid of words ("Convert") and their
// replacements ("To"), the file it came from, "Match Case" and the modified flag, with the
// open, save, save-as and close rules. Borrows the settings, file system, asker and dialogs.
#pragma once

#include "config/Settings.h"
#include "dictionary/Dictionary.h"
#include "documents/FileCommands.h"
#include "platform/Files.h"
#include "platform/Ui.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wexly {

inline constexpr const char* kDicUnsavedQuestion
    = "Current Dictionary hasn't been saved!\rSave Now?";

class TDicMaintModel
{
public:
    static constexpr const char* kCaption = "Dictionary Maintenance";
    static constexpr int kDefaultColWidth = 150;
    static constexpr int kDefaultRowHeight = 16;

    TDicMaintModel(TSettings& settings, IFileSystem& fs, IAsker& asker, IFileDialogs& dialogs);

    // ---- what the window shows ----
    // Grid rows: 0 is the header, entries from 1; the last row is the empty one for a new entry.
    int RowCount() const { return static_cast<int>(m_rows.size()) + 1; }
    const std::string& Cell(int row, int col) const; // row 0 gives the header captions
    const std::string& CurrentFile() const { return m_currentFile; }
    const std::string& Label() const { return m_label; }
    bool MatchCase() const { return m_matchCase; }
    bool Modified() const { return m_modified; }
    int CurrentRow() const { return m_curRow; }
    int CurrentCol() const { return m_curCol; }
    // Column widths for a grid client width: half each, rounded down.
    static int ColumnWidth(int clientWidth) { return clientWidth / 2; }

    // ---- events ----
    // Each showing loads LastDic, or starts empty showing "None"; row 1, column 0 selected.
    void Show();
    // A cell's text changed; the trigger characters are removed. Returns the text the cell
    // keeps (the window puts it back when it differs from what was typed).
    std::string SetCell(int row, int col, std::string_view text);
    // A cell was selected; a filled last row gets an empty one after it.
    void SelectCell(int row, int col);
    void SetMatchCase(bool on);
    // Ctrl+Delete: removes the current row unless it is the last one or the only entry.
    // Always consumes the key.
    bool DeleteCurrentRow();

    // ---- buttons ----
    void Open();
    bool Save(); // false when nothing was written
    bool SaveAs();
    // The window is asked to close (also Esc): false keeps it open.
    bool CloseQuery() { return CheckUnsaved(); }

    // ---- the operations under them ----
    // False, with the error shown and nothing changed, on a wrong header or unreadable file.
    bool LoadFile(const std::string& path);
    bool SaveToFile(const std::string& path);

    bool CheckInvariants() const;

private:
    bool CheckUnsaved();
    void ShowError(const std::string& text);
    std::string& CellRef(int row, int col);

    TSettings& m_settings;
    IFileSystem& m_fs;
    IAsker& m_asker;
    IFileDialogs& m_dialogs;

    std::vector<TDicEntry> m_rows { TDicEntry {} }; // grid rows 1..; never empty
    std::string m_currentFile;
    std::string m_label;
    bool m_matchCase = false;
    bool m_modified = false;
    int m_curRow = 1;
    int m_curCol = 0;
};

// The keys the grid's cell editor hands to the grid.
enum class TDicGridKey : uint8_t {
    Up,
    Down,
    PageUp,
    PageDown,
    Tab,
    ShiftTab,
    Enter,
    Left,
    Right,
    CtrlDelete,
    Escape
};
enum class TDicGridAction : uint8_t {
    None, // the key is the cell editor's (Left/Right inside the text)
    Move, // select row, col
    DeleteRow, // remove the current row
    Close // ask to close the window
};
struct TDicGridStep
{
    TDicGridAction action = TDicGridAction::None;
    int row = 0, col = 0;
    bool operator==(const TDicGridStep&) const = default;
};
// What key does in a grid of rowCount rows (the header row 0 included) at row, col.
// caretAtStart/caretAtEnd: the cell editor's caret is there with nothing selected. Tab
// and Shift+Tab run through the cells row by row and stop at the first and last.
TDicGridStep DicGridKeyStep(
    TDicGridKey key, int row, int col, int rowCount, bool caretAtStart, bool caretAtEnd);
// Where the caret goes when removed characters were taken out of a cell just typed into:
// back by the number removed, never before the start.
size_t DicCaretAfterFilter(size_t caret, size_t typedLength, size_t keptLength);

// The trigger characters removed from text.
std::string FilterDicCellText(std::string_view text);
// A name without an extension (no "." after its last separator) gets ".ydc".
std::string WithDictionaryExtension(const std::string& name);

} // namespace wexly
