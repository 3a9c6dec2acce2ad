#include "tools/ToolsPage.h"

namespace wexly {

void TToolsPage::Load(const std::vector<TExternalTool>& tools)
{
    m_entries = tools;
    m_selected = m_entries.empty() ? -1 : 0;
}

void TToolsPage::Select(int index)
{
    m_selected = index >= 0 && static_cast<size_t>(index) < m_entries.size() ? index : -1;
}

std::string TToolsPage::CommandLineLabel() const
{
    return m_selected < 0 ? std::string()
                          : m_entries[static_cast<size_t>(m_selected)].Item.CommandLine;
}

void TToolsPage::Add(IEditToolDialog& dialog)
{
    TEditToolForm form;
    form.FillNew();
    if (!dialog.ShowModal(form))
        return;
    m_entries.push_back({ form.name, form.Store() });
    m_selected = static_cast<int>(m_entries.size()) - 1;
}

void TToolsPage::Edit(IEditToolDialog& dialog)
{
    if (m_selected < 0)
        return;
    TExternalTool& tool = m_entries[static_cast<size_t>(m_selected)];
    TEditToolForm form;
    form.Fill(tool.Name, tool.Item);
    if (!dialog.ShowModal(form))
        return;
    tool.Name = form.name;
    tool.Item = form.Store();
}

void TToolsPage::Delete(IAsker& asker)
{
    if (m_selected < 0)
        return;
    TMessage m;
    m.text = "Are you sure you want to\ndelete this entry?";
    m.caption = "Alert!";
    m.buttons = TMsgButtons::YesNo;
    m.icon = TMsgIcon::Question;
    if (asker.Ask(m) != TMsgResult::Yes)
        return;
    m_entries.erase(m_entries.begin() + m_selected);
    m_selected = m_entries.empty() ? -1 : 0;
}

void TToolsPage::Cancel()
{
    m_entries.clear();
    m_selected = -1;
}

} // namespace wexly
