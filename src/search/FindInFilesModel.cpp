#include "search/FindInFilesModel.h"

#include <algorithm>

namespace wexly {

namespace {
bool SameNoCase(std::string_view a, std::string_view b)
{
    const TUpperTable& up = SystemUpperTable();
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
        return up[static_cast<uint8_t>(x)] == up[static_cast<uint8_t>(y)];
    });
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}
}

// ---- the boxes ---------------------------------------------------------------------------

void TFindInFilesModel::SetFindText(const std::string& text)
{
    if (m_searching)
        return;
    m_findText = text;
    UpdateFindNext();
}

void TFindInFilesModel::SetMask(const std::string& mask)
{
    if (m_searching)
        return;
    m_mask = mask;
    UpdateFindNext();
}

void TFindInFilesModel::UpdateFindNext()
{
    m_findNextEnabled = !m_searching && !m_findText.empty() && !m_mask.empty();
}

void TFindInFilesModel::SetExpandAll(bool on, IFindInFilesView* view)
{
    // Also during a search: the files found so far follow at once, later ones when found.
    m_expandAll = on;
    for (TFoundFile& file : m_tree.files)
        file.expanded = on;
    if (view)
        view->TreeRefreshed();
}

// ---- searching ---------------------------------------------------------------------------

void TFindInFilesModel::ClearTree(IFindInFilesView& view)
{
    m_tree.files.clear();
    m_selection.clear();
    m_openEnabled = false;
    view.TreeCleared();
}

TFindInFilesOutcome TFindInFilesModel::Search(const std::string& findText, TSearchOptions options,
    IFileSystem& fs, IFindInFilesView& view, const TUpperTable& upper)
{
    if (m_searching)
        return {};
    const TFindMask parts = SplitFindMask(m_mask);
    m_directory = parts.directory;

    m_searching = true;
    m_running = true;
    m_findNextEnabled = false;
    m_openEnabled = false;
    view.SetWaitCursor(true);
    ClearTree(view);

    // The status line follows the walk; the view hears of every change.
    struct TRelay final : IFindInFilesHost
    {
        TFindInFilesModel& model;
        IFindInFilesView& view;
        TRelay(TFindInFilesModel& m, IFindInFilesView& v)
            : model(m)
            , view(v)
        {
        }
        void StatusChanged(const std::string& text) override
        {
            model.m_status = text;
            view.StatusChanged(text);
        }
        void FileFound(size_t file) override
        {
            model.m_tree.files[file].expanded = model.m_expandAll;
            view.FileFound(file);
        }
        void ProcessMessages() override { view.ProcessMessages(); }
    } relay(*this, view);

    TFindInFilesOutcome outcome;
    try {
        const TFindInFilesMatcher matcher(findText, options, upper);
        TFindInFilesWalk walk(fs, relay, m_tree, m_running, matcher, m_expandAll, m_decodeWith);
        outcome = walk.Run(m_mask, m_subdirectories);
    } catch (...) {
        // Out of memory or a failing view: the dialog must not stay locked in the running state.
        m_searching = m_running = false;
        view.SetWaitCursor(false);
        UpdateFindNext();
        throw;
    }

    if (m_tree.files.empty())
        m_tree.files.push_back({ kNoFilesFound, 0, {}, false });
    view.SetWaitCursor(false);
    m_searching = m_running = false;
    if (!outcome.directoryMissing)
        relay.StatusChanged(kFinishedSearch);
    UpdateFindNext();
    m_openEnabled = false; // the new tree has no selection yet
    view.TreeRefreshed();
    return outcome;
}

void TFindInFilesModel::Halt()
{
    m_running = false;
}

TEscapeAction TFindInFilesModel::Escape() const
{
    return m_searching ? TEscapeAction::PressHalt : TEscapeAction::PressCancel;
}

void TFindInFilesModel::TreeSelectionChanged(
    const std::vector<TFindNodeRef>& selection, std::optional<TFindNodeRef> focused)
{
    if (m_searching)
        return;
    m_selection = selection;
    m_openEnabled = !selection.empty() && focused
        && !SameNoCase(FindNodeText(m_tree, *focused), kNoFilesFound);
}

// ---- browse and open ---------------------------------------------------------------------

std::string BrowseStartFolder(const std::string& maskText, const std::string& lastDir)
{
    std::string dir = maskText.empty() ? lastDir : maskText;
    while (!dir.empty() && !IsSeparator(dir.back()))
        dir.pop_back();
    if (!dir.empty())
        dir.pop_back();
    return dir;
}

std::string FolderMask(const std::string& folder)
{
    std::string mask = folder;
    if (mask.empty() || !IsSeparator(mask.back())) {
        const size_t slash = mask.find_last_of("\\/");
        mask += slash == std::string::npos ? '\\' : mask[slash];
    }
    return mask + "*.*";
}

bool TFindInFilesModel::Browse(IFolderBrowser& browser, const std::string& lastDir)
{
    if (m_searching)
        return false;
    const auto folder
        = browser.BrowseForFolder(kSelectFolderTitle, BrowseStartFolder(m_mask, lastDir));
    if (!folder)
        return false;
    SetMask(FolderMask(*folder));
    return true;
}

std::string BuildFindOpenList(
    const TFindResultTree& tree, const std::vector<TFindNodeRef>& selection)
{
    std::string list;
    std::vector<const std::string*> listed;
    for (const TFindNodeRef& node : selection) {
        if (node.file >= tree.files.size())
            continue;
        const TFoundFile& file = tree.files[node.file];
        // Whole paths are compared: one path inside another ("a.txt" in "a.txt.bak") is not
        // the same file.
        const bool already = std::any_of(listed.begin(), listed.end(),
            [&](const std::string* p) { return SameNoCase(*p, file.path); });
        if (already || SameNoCase(file.path, kNoFilesFound))
            continue;
        int64_t line = file.firstLine;
        if (!node.IsFile() && static_cast<size_t>(node.line) < file.lines.size())
            line = file.lines[static_cast<size_t>(node.line)].number;
        list += '/' + std::to_string(line) + " \"" + file.path + "\" ";
        listed.push_back(&file.path);
    }
    if (!list.empty())
        list.pop_back();
    return list;
}

std::string TFindInFilesModel::Open(
    TSettings& settings, int32_t clientWidth, int32_t clientHeight) const
{
    StoreFindLargeSize(settings, clientWidth, clientHeight);
    return BuildFindOpenList(m_tree, m_selection);
}

// ---- layout ------------------------------------------------------------------------------

TFindInFilesLayout FindInFilesLayout(int32_t compactOuterWidth, int32_t compactClientHeight,
    int32_t panelWidth, int32_t maskLeft, int32_t browseWidth)
{
    TFindInFilesLayout layout;
    layout.minWidth = compactOuterWidth;
    layout.minHeight = compactClientHeight + 150;
    layout.browseLeft = panelWidth - browseWidth - 2;
    layout.maskWidth = panelWidth - maskLeft - browseWidth - 4;
    return layout;
}

void EnsureFindLargeSize(TSettings& settings, int32_t clientWidth, int32_t upperPanelHeight)
{
    if (settings.FindLargeWidth != 0)
        return;
    settings.FindLargeWidth = clientWidth;
    settings.FindLargeHeight = upperPanelHeight + 150;
}

void StoreFindLargeSize(TSettings& settings, int32_t clientWidth, int32_t clientHeight)
{
    settings.FindLargeWidth = clientWidth;
    settings.FindLargeHeight = clientHeight;
}

} // namespace wexly
