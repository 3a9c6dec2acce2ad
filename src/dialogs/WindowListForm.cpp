#include "dialogs/WindowListForm.h"

namespace wexly {

int WindowListMark(TEditFile& doc)
{
    if (doc.Binary())
        return doc.ReadOnly() ? giReadOnlyBinary : giBinary;
    if (doc.ReadOnly())
        return giReadOnlyText;
    return doc.IsModified() ? giModified : giText;
}

void TWindowListForm::Show(const TDocumentSet& set, const TRect& windowListRect)
{
    m_set = &set;
    m_bounds = windowListRect;
    m_rows.clear();
    m_chosen = -1;
    m_caption = "Window List";
    if (set.Empty())
        return;
    for (int i = 0; i < set.Count(); ++i)
        m_rows.push_back(set.At(i).FileName());
    m_caption += " - " + std::to_string(set.Count()) + " file(s)";
}

int TWindowListForm::RowMark(int row) const
{
    // The list may have changed under the dialog (a tool run pumps messages); a row without
    // a document shows the plain mark.
    if (!m_set || row < 0 || row >= m_set->Count())
        return giText;
    return WindowListMark(m_set->At(row));
}

void TWindowListForm::Choose(int selectedRow)
{
    m_chosen = selectedRow < 0 ? -1 : selectedRow;
}

void TWindowListForm::Hide(const TRect& currentBounds, TRect& windowListRect)
{
    windowListRect = currentBounds;
}

bool WindowList1Click(
    TDocumentSet& set, TWindowListForm& form, IWindowListDialog& dialog, const TSettings& settings)
{
    if (set.Empty())
        return false;
    form.Show(set, settings.WindowListRect);
    if (!dialog.ShowModal(form))
        return false;
    const int chosen = form.Chosen();
    if (chosen < 0 || chosen >= set.Count())
        return false;
    set.SelectFile(set.At(chosen));
    return true;
}

} // namespace wexly
