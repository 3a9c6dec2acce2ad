#include "macros/MacroPageModel.h"

#include "dictionary/LineFile.h"
#include "documents/EditFile.h"
#include "editor/LineReader.h"
#include "macros/MacroPlayer.h"
#include "macros/MacroText.h"

#include <algorithm>

namespace wexly {

namespace {

bool StartsWith(const std::string& entry, const std::string& key)
{
    return entry.compare(0, key.size(), key) == 0;
}

bool SameNoCaseAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x))
            == std::toupper(static_cast<unsigned char>(y));
    });
}

} // namespace

TMacroPageModel::TMacroPageModel(
    TSettings& settings, IFileSystem& fs, IAsker& asker, IFileDialogs& dialogs)
    : m_settings(settings)
    , m_fs(fs)
    , m_asker(asker)
    , m_dialogs(dialogs)
{
}

void TMacroPageModel::ShowError(const std::string& text)
{
    m_asker.Ask(ErrorBox(text));
}

void TMacroPageModel::Show()
{
    m_working = m_settings.Macros.Lines();
    m_editing = 0;
    m_text.clear();
    SelectMacro(0);
}

void TMacroPageModel::StoreEditing()
{
    if (m_editing == 0)
        return;
    const std::string key = MacroKeyOf(m_editing);
    auto it = std::find_if(m_working.begin(), m_working.end(),
        [&](const std::string& e) { return StartsWith(e, key); });
    if (it != m_working.end())
        m_working.erase(it);
    m_working.push_back(key + m_text);
}

void TMacroPageModel::SelectMacro(int index)
{
    if (index < 0 || index >= kMacroCount)
        return;
    StoreEditing();
    m_selected = index;
    const std::string key = MacroKeyOf(index + 1);
    m_text.clear();
    for (auto it = m_working.rbegin(); it != m_working.rend(); ++it) {
        if (StartsWith(*it, key)) {
            m_text = it->substr(2);
            break;
        }
    }
    m_editing = index + 1;
}

void TMacroPageModel::Confirm()
{
    SelectMacro(m_selected);
    m_settings.Macros.Clear();
    for (const auto& entry : m_working)
        if (entry.size() > 2)
            m_settings.Macros.Add(entry);
}

TMacroFocus TMacroPageModel::KeyDown(uint8_t key, bool shift, bool ctrl, char layoutChar)
{
    if (key >= MacroKey::F1 && key <= MacroKey::F12) {
        SelectMacro(key - MacroKey::F1);
        return TMacroFocus::Stay;
    }
    if (key == MacroKey::Tab && ctrl)
        return shift ? TMacroFocus::MacroList : TMacroFocus::BeginSelButton;
    if (auto text = RecordedKeyText(key, shift, ctrl, layoutChar))
        Append(*text);
    return TMacroFocus::Stay;
}

void TMacroPageModel::DeleteLastKeypress()
{
    m_text = RemoveLastKeypress(m_text);
}

void TMacroPageModel::ClearAll()
{
    m_working.clear();
    m_text.clear();
}

void TMacroPageModel::Paste(IClipboard& clipboard)
{
    if (!clipboard.HasText())
        return;
    Append(PasteToMacroText(clipboard.GetText()));
}

bool TMacroPageModel::LoadMacroSetFile(const std::string& path)
{
    std::vector<std::string> lines;
    try {
        lines = ReadLineFile(m_fs, path);
    } catch (const EInOutError& e) {
        ShowError(e.what());
        return false;
    }
    if (lines.empty() || !SameNoCaseAscii(lines[0], kMacroSetHeader)) {
        ShowError(kNotMacroFile);
        return false;
    }
    m_working.assign(lines.begin() + 1, lines.end());
    m_editing = 0; // the loaded set replaces what was being edited
    SelectMacro(m_selected);
    m_settings.MacroPath = PathDirectory(path);
    return true;
}

bool TMacroPageModel::SaveMacroSetFile(const std::string& path)
{
    SelectMacro(m_selected);
    std::vector<std::string> lines { kMacroSetHeader };
    lines.insert(lines.end(), m_working.begin(), m_working.end());
    try {
        WriteLineFile(m_fs, path, lines);
    } catch (const EInOutError& e) {
        ShowError(e.what());
        return false;
    }
    m_settings.MacroPath = PathDirectory(path);
    return true;
}

void TMacroPageModel::LoadMacroSet()
{
    TOpenDialogRequest request;
    request.initialDir = m_settings.MacroPath;
    request.filterList = kMacroSetFilter;
    request.filterIndex = 1;
    TOpenDialogResult result = m_dialogs.ShowOpen(request);
    if (result.confirmed && !result.files.empty())
        LoadMacroSetFile(result.files.front());
}

void TMacroPageModel::SaveMacroSet()
{
    TSaveDialogRequest request;
    request.fileName = m_settings.MacroPath;
    request.overwritePrompt = true;
    request.filterList = kMacroSetFilter;
    request.filterIndex = 1;
    TSaveDialogResult result = m_dialogs.ShowSave(request);
    if (!result.confirmed || result.fileName.empty())
        return;
    // The dialog's default extension.
    std::string path = result.fileName;
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        path += ".mrc";
    SaveMacroSetFile(path);
}

} // namespace wexly
