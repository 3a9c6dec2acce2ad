// The preferences dialog's tools page: a working copy of the tools list with a selection, the
// label of the selected tool's command line, "Add", "Edit" and "Delete", and the replacement
// of the real list when the dialog is confirmed.
#pragma once

#include "tools/EditToolForm.h"

#include "platform/Ui.h"

#include <vector>

namespace wexly {

// Shows the edit dialog modally; true when it closed with "OK".
class IEditToolDialog
{
public:
    virtual ~IEditToolDialog() = default;
    virtual bool ShowModal(TEditToolForm& form) = 0;
};

class TToolsPage
{
public:
    // The buttons' hints.
    static constexpr const char* kAddHint = "Add";
    static constexpr const char* kEditHint = "Edit";
    static constexpr const char* kDeleteHint = "Delete";

    // The dialog is shown: copies of every tool, the first selected.
    void Load(const std::vector<TExternalTool>& tools);
    const std::vector<TExternalTool>& Entries() const { return m_entries; }
    int Selected() const { return m_selected; }
    void Select(int index);
    // The selected tool's command line; empty with nothing selected.
    std::string CommandLineLabel() const;
    bool EditEnabled() const { return m_selected >= 0; }
    bool DeleteEnabled() const { return m_selected >= 0; }

    void Add(IEditToolDialog& dialog);
    void Edit(IEditToolDialog& dialog);
    void Delete(IAsker& asker);

    // OK: the tools list becomes the page's entries, in page order.
    void Confirm(std::vector<TExternalTool>& tools) const { tools = m_entries; }
    void Cancel();

private:
    std::vector<TExternalTool> m_entries;
    int m_selected = -1;
};

} // namespace wexly
