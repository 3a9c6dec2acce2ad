#include "tools/ToolListForm.h"

namespace wexly {

void TToolListForm::Show(const std::vector<TExternalTool>& tools, const TRect& toolListRect)
{
    m_bounds = toolListRect;
    m_names.clear();
    for (const TExternalTool& tool : tools)
        m_names.push_back(tool.Name);
    Select(m_lastChosen);
}

void TToolListForm::Select(int index)
{
    m_selected = index >= 0 && static_cast<size_t>(index) < m_names.size() ? index : -1;
}

bool TToolListForm::Choose()
{
    if (m_selected < 0)
        return false;
    m_lastChosen = m_selected;
    return true;
}

} // namespace wexly
