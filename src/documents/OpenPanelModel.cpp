#include "documents/OpenPanelModel.h"

#include "documents/DocumentSet.h"

#include <cstddef>

namespace wexly {

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

bool IsDrivePath(const std::string& path)
{
    const char d = LowerAscii(path.empty() ? '\0' : path[0]);
    return path.size() >= 3 && d >= 'a' && d <= 'z' && path[1] == ':' && path[2] == '\\';
}

bool IsNetworkPath(const std::string& path)
{
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

const char* SystemFolderMessage(TPanelAction action)
{
    switch (action) {
    case TPanelAction::AddFavourite:
        return "Cannot add system folders";
    case TPanelAction::Clean:
        return "Cannot clean system folders";
    case TPanelAction::Search:
        break;
    }
    return "Cannot search system folders";
}

} // namespace

void AddRecentDir(std::vector<std::string>& dirs, const std::string& directory)
{
    if (directory.empty())
        return;
    for (auto it = dirs.begin(); it != dirs.end(); ++it) {
        if (SameTextNoCase(*it, directory)) {
            dirs.erase(it);
            break;
        }
    }
    dirs.insert(dirs.begin(), directory);
    if (dirs.size() > static_cast<size_t>(TOpenPanelModel::kMaxRecentDirs))
        dirs.resize(static_cast<size_t>(TOpenPanelModel::kMaxRecentDirs));
}

std::optional<std::string> DialogDirectory(const std::string& filePath, const std::string& boxText)
{
    if (filePath.empty())
        return std::nullopt;
    std::string dir = filePath;
    // The dialog reports its folder followed by the box's text, so the text is cut from the
    // end; the first occurrence could lie inside a folder name of the same spelling.
    if (!boxText.empty()) {
        size_t at = std::string::npos;
        if (dir.size() >= boxText.size()
            && dir.compare(dir.size() - boxText.size(), boxText.size(), boxText) == 0)
            at = dir.size() - boxText.size();
        else
            at = dir.rfind(boxText);
        if (at != std::string::npos)
            dir.erase(at);
    }
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    if (!IsDrivePath(dir) && !IsNetworkPath(dir))
        return std::nullopt;
    return dir;
}

TDialogControls FindDialogControls(const std::vector<TDialogChild>& children)
{
    TDialogControls found;
    auto byId = [&](int id) {
        for (size_t i = 0; i < children.size(); ++i)
            if (children[i].direct && children[i].id == id)
                return static_cast<int>(i);
        return -1;
    };
    found.fileNameBox = byId(1152);
    if (found.fileNameBox < 0)
        found.fileNameBox = byId(1148);
    found.okButton = byId(1);
    found.cancelButton = byId(2);
    found.jumpBox = found.fileNameBox;
    for (size_t i = 0; i < children.size() && found.jumpBox < 0; ++i)
        if (SameNoCase(children[i].className, "Edit"))
            found.jumpBox = static_cast<int>(i);
    for (size_t i = 0; i < children.size() && found.okButton < 0; ++i)
        if (children[i].text == "&Open")
            found.okButton = static_cast<int>(i);
    return found;
}

void TOpenPanelModel::Show(bool isSaveDialog, std::vector<std::string> recentDirs,
    std::vector<std::string> favouriteDirs, bool openBinary)
{
    m_isSaveDialog = isSaveDialog;
    m_recentDirs = std::move(recentDirs);
    m_favouriteDirs = std::move(favouriteDirs);
    m_favouritesChanged = false;
    m_openBinary = openBinary;
    m_searchDir.clear();
}

std::optional<std::string> TOpenPanelModel::JumpTarget(
    const std::vector<std::string>& lines, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= lines.size())
        return std::nullopt;
    std::string dir = lines[static_cast<size_t>(index)];
    if (dir.empty())
        return std::nullopt;
    if (dir.back() != '\\' && dir.back() != '/')
        dir += '\\';
    return dir;
}

void TOpenPanelModel::Error(const std::string& text)
{
    m_asker.Ask(ErrorBox(text));
}

void TOpenPanelModel::ReportMissingControl()
{
    Error("Unable to find control");
}

std::optional<std::string> TOpenPanelModel::CurrentDir(
    TPanelAction action, const std::string& filePath, const std::string& boxText)
{
    if (filePath.empty()) {
        Error(SystemFolderMessage(action));
        return std::nullopt;
    }
    return DialogDirectory(filePath, boxText);
}

std::optional<std::string> TOpenPanelModel::AddFavourite(
    const std::string& filePath, const std::string& boxText)
{
    auto dir = CurrentDir(TPanelAction::AddFavourite, filePath, boxText);
    if (!dir)
        return std::nullopt;
    m_favouriteDirs.insert(m_favouriteDirs.begin(), *dir);
    m_favouritesChanged = true;
    return dir;
}

std::vector<std::string> TOpenPanelModel::CleanDir(
    const std::string& filePath, const std::string& boxText)
{
    TMessage m;
    m.text = "Are you sure?";
    m.caption = "Delete Backups";
    m.buttons = TMsgButtons::OkCancel;
    m.icon = TMsgIcon::Question;
    if (m_asker.Ask(m) != TMsgResult::Ok)
        return {};
    auto dir = CurrentDir(TPanelAction::Clean, filePath, boxText);
    if (!dir)
        return {};
    std::vector<std::string> backups;
    for (const TDirEntry& entry : m_fs.List(*dir, kBackupMask))
        if (!entry.isDirectory)
            backups.push_back(*dir + entry.name);
    return backups;
}

bool TOpenPanelModel::SearchDirectory(const std::string& filePath, const std::string& boxText)
{
    if (m_isSaveDialog)
        return false;
    auto dir = CurrentDir(TPanelAction::Search, filePath, boxText);
    if (!dir)
        return false;
    m_searchDir = *dir;
    return true;
}

} // namespace wexly
