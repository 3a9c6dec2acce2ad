// The "Window List" dialog's logic: one row per open document (its path and state mark), the
// caption with the count, the chosen index, the bounds it remembers, and what the main
// window's command does with the choice. Borrows the document set while shown.
#pragma once

#include "config/Settings.h"
#include "documents/DocumentSet.h"

#include <string>

namespace wexly {

class TWindowListForm
{
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kTextLeft = 12;
    static constexpr int kTextTop = 2;
    static constexpr int kMarkLeft = 4;
    static constexpr int kMarkWidth = 4;

    // The mark is 6 pixels high with the alternate icons, else 4; centred in the row.
    static int MarkHeight(bool alternateIcons) { return alternateIcons ? 6 : 4; }
    static int MarkTop(int rowTop, bool alternateIcons)
    {
        return rowTop + (kRowHeight - MarkHeight(alternateIcons)) / 2;
    }

    // FormShow: rows filled from the documents in order, nothing chosen yet.
    void Show(const TDocumentSet& set, const TRect& windowListRect);
    const TRect& Bounds() const { return m_bounds; }
    const std::string& Caption() const { return m_caption; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const std::string& RowText(int row) const { return m_rows[static_cast<size_t>(row)]; }
    // The state mark of the row's document (giText ... giReadOnlyBinary).
    int RowMark(int row) const;

    // Button1Click (Enter, double click): the selected row (-1 for none) becomes the choice.
    void Choose(int selectedRow);
    int Chosen() const { return m_chosen; }
    // FormHide: the bounds go back to WindowListRect however the dialog closed.
    static void Hide(const TRect& currentBounds, TRect& windowListRect);

private:
    const TDocumentSet* m_set = nullptr;
    std::vector<std::string> m_rows;
    std::string m_caption;
    TRect m_bounds;
    int m_chosen = -1;
};

// The mark of a document: 4 read-only binary, 3 binary, 2 read-only text, 1 modified, 0 else.
int WindowListMark(TEditFile& doc);

// What the dialog shows the user and gives back: true (and a choice) when it closed with OK.
class IWindowListDialog
{
public:
    virtual ~IWindowListDialog() = default;
    virtual bool ShowModal(TWindowListForm& form) = 0;
};

// WindowList1Click: nothing with no document; otherwise show the dialog and make the chosen
// document current. True when a document was selected.
bool WindowList1Click(
    TDocumentSet& set, TWindowListForm& form, IWindowListDialog& dialog, const TSettings& settings);

} // namespace wexly
