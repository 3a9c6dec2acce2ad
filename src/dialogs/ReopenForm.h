// The "Reopen Files..." dialog's logic: its rows (the history lines, in stored or sorted
// order), their flag pictures, the selection, the bounds it remembers, and the command line it
// returns for the selected files. Borrows the history list while shown.
#pragma once

#include "config/Settings.h"

#include <optional>
#include <string>
#include <vector>

namespace wexly {

struct TPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

class TReopenForm
{
public:
    static constexpr const char* Caption = "Reopen Files...";
    static constexpr int kFlagColumnWidth = 12;
    static constexpr int kRowHeight = 16;

    // Fills the rows in stored order, unsorted, with nothing selected and no result.
    void Show(const std::vector<std::string>& history);
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const std::string& RowLine(int row) const { return m_rows[static_cast<size_t>(row)]; }
    std::string RowPath(int row) const; // what the row shows: the path up to the first "|"
    // 4 binary and read-only, 2 read-only, 3 binary, 0 neither.
    int RowFlagImage(int row) const;
    bool Sorted() const { return m_sorted; }

    bool Selected(int row) const { return m_selected[static_cast<size_t>(row)]; }
    void SetSelected(int row, bool selected) { m_selected[static_cast<size_t>(row)] = selected; }
    int FocusedRow() const { return m_focused; }
    void SetFocusedRow(int row) { m_focused = row; }

    // A click on "File Name": sorted copy, or back to the stored order. Selection and focus
    // stay on the same lines.
    void HeaderClick();
    // Open (or a double click): the command line for the selected rows, kept as the result.
    const std::string& Open();
    const std::string& Result() const { return m_result; }

    // The bounds to show the dialog with: ReopenRect moved from main-window client
    // coordinates to the screen, or none (own position) while its Top or Bottom is 0.
    static std::optional<TRect> InitialBounds(const TRect& reopenRect, TPoint clientOrigin);
    // The bounds to store at close, in main-window client coordinates.
    static TRect BoundsToStore(const TRect& screenBounds, TPoint clientOrigin);
    // The "File Name" header section fills the header after the flag column.
    static int FileNameSectionWidth(int headerWidth) { return headerWidth - kFlagColumnWidth; }

private:
    void Refill(std::vector<std::string> rows);

    const std::vector<std::string>* m_history = nullptr;
    std::vector<std::string> m_rows;
    std::vector<bool> m_selected;
    int m_focused = -1;
    bool m_sorted = false;
    std::string m_result;
};

} // namespace wexly
