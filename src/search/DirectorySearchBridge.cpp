#include "search/DirectorySearchBridge.h"

#include "search/FindInFilesOpen.h"

namespace wexly {

TDirectorySearchBridge::TDirectorySearchBridge(TFindInFilesModel& panel, IFileSystem& fs,
    TFileCommands& commands, TSettings& settings, IFileCommandHost& host)
    : m_panel(panel)
    , m_fs(fs)
    , m_commands(commands)
    , m_settings(settings)
    , m_host(host)
{
}

void TDirectorySearchBridge::SearchFiles(TFindForm& form)
{
    if (!m_view || m_panel.Running())
        return;
    m_panel.SetFindText(form.findBox);
    m_panel.SetMask(form.Mask());
    // The find and mask boxes stay as they are while the walk pumps messages.
    form.SetSearching(true);
    m_panel.SetDecoding(m_settings.ConvertUnicode ? &ActiveCodePage() : nullptr);
    m_panel.Search(form.FindText(), form.Options(), m_fs, *m_view);
    form.SetSearching(false);
    form.SetDirectory(m_panel.Directory());
    form.MaskBoxChanged(form.maskBox); // Find Next is re-evaluated
}

void TDirectorySearchBridge::OpenChosenFiles(TFindForm& form)
{
    if (form.OpenList().empty())
        return;
    OpenFindInFilesResults(
        m_commands, m_settings, m_host, form.Directory(), form.OpenList(), form.Directory());
}

} // namespace wexly
