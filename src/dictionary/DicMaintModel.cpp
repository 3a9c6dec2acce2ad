#include "dictionary/DicMaintModel.h"

#include "config/TextCompare.h"
#include "dictionary/LineFile.h"
#include "documents/EditFile.h"
#include "editor/LineReader.h"

#include <algorithm>

namespace wexly {

std::string FilterDicCellText(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (!IsDicTrigger(c))
            out += c;
    return out;
}

std::string WithDictionaryExtension(const std::string& name)
{
    size_t slash = name.find_last_of("\\/");
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name;
    return name + ".ydc";
}

TDicMaintModel::TDicMaintModel(
    TSettings& settings, IFileSystem& fs, IAsker& asker, IFileDialogs& dialogs)
    : m_settings(settings)
    , m_fs(fs)
    , m_asker(asker)
    , m_dialogs(dialogs)
{
}

const std::string& TDicMaintModel::Cell(int row, int col) const
{
    static const std::string kHeaders[2] = { "Convert", "To" };
    if (row <= 0)
        return kHeaders[col == 0 ? 0 : 1];
    const TDicEntry& e = m_rows.at(static_cast<size_t>(row - 1));
    return col == 0 ? e.word : e.replacement;
}

std::string& TDicMaintModel::CellRef(int row, int col)
{
    TDicEntry& e = m_rows.at(static_cast<size_t>(row - 1));
    return col == 0 ? e.word : e.replacement;
}

void TDicMaintModel::ShowError(const std::string& text)
{
    m_asker.Ask(ErrorBox(text));
}

void TDicMaintModel::Show()
{
    // A failed load keeps the grid as it was; the user has been told why.
    if (!m_settings.LastDic.empty()) {
        LoadFile(m_settings.LastDic);
    } else {
        m_label = "None";
        m_rows.assign(1, TDicEntry {});
        m_modified = false;
    }
    SelectCell(1, 0);
}

bool TDicMaintModel::LoadFile(const std::string& path)
{
    std::vector<std::string> lines;
    try {
        lines = ReadLineFile(m_fs, path);
    } catch (const EInOutError& e) {
        ShowError(e.what());
        return false;
    }
    if (lines.empty() || lines[0] != kDictionaryHeader) {
        ShowError(kDictionaryCorrupt);
        return false;
    }
    // A header without an options line is still a dictionary here: its entries are none.
    TDicFileContents contents;
    if (lines.size() >= 2)
        contents = *ParseDicFile(lines);
    m_matchCase = (contents.options & kDicMatchCase) != 0;
    m_label = path;
    m_currentFile = path;
    m_rows = std::move(contents.entries);
    if (m_rows.empty())
        m_rows.emplace_back();
    m_modified = false;
    m_curRow = std::min(m_curRow, RowCount() - 1);
    return true;
}

bool TDicMaintModel::SaveToFile(const std::string& path)
{
    std::vector<TDicEntry> entries;
    for (const auto& e : m_rows)
        if (!e.word.empty())
            entries.push_back(e);
    std::stable_sort(entries.begin(), entries.end(), [](const TDicEntry& a, const TDicEntry& b) {
        return CompareTextLocale(a.word + ".." + a.replacement, b.word + ".." + b.replacement) < 0;
    });
    try {
        WriteLineFile(m_fs, path, DicFileLines(m_matchCase ? 1 : 0, entries));
    } catch (const EInOutError& e) {
        ShowError(e.what());
        return false;
    }
    m_label = path;
    m_currentFile = path;
    m_modified = false;
    return true;
}

std::string TDicMaintModel::SetCell(int row, int col, std::string_view text)
{
    if (row < 1 || row >= RowCount())
        return std::string(text);
    std::string filtered = FilterDicCellText(text);
    CellRef(row, col) = filtered;
    m_modified = true;
    return filtered;
}

void TDicMaintModel::SelectCell(int row, int col)
{
    if (row >= 1 && row < RowCount()) {
        m_curRow = row;
        m_curCol = col == 0 ? 0 : 1;
    }
    if (!m_rows.back().word.empty())
        m_rows.emplace_back();
}

void TDicMaintModel::SetMatchCase(bool on)
{
    m_matchCase = on;
    m_modified = true;
}

bool TDicMaintModel::DeleteCurrentRow()
{
    if (RowCount() >= 3 && m_curRow < RowCount() - 1) {
        m_rows.erase(m_rows.begin() + (m_curRow - 1));
        m_modified = true;
    }
    return true;
}

bool TDicMaintModel::CheckUnsaved()
{
    if (!m_modified)
        return true;
    TMessage m;
    m.text = kDicUnsavedQuestion;
    m.caption = "Attention!";
    m.buttons = TMsgButtons::YesNoCancel;
    m.icon = TMsgIcon::Warning;
    switch (m_asker.Ask(m)) {
    case TMsgResult::Yes:
        // Going on after a failed or cancelled save would lose the changes.
        return Save();
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

void TDicMaintModel::Open()
{
    if (!CheckUnsaved())
        return;
    TOpenDialogRequest request;
    request.initialDir = m_settings.DicDir;
    request.filterList = kDictionaryFilter;
    request.filterIndex = 1;
    TOpenDialogResult result = m_dialogs.ShowOpen(request);
    if (!result.confirmed || result.files.empty())
        return;
    const std::string& path = result.files.front();
    if (LoadFile(path))
        m_settings.DicDir = PathDirectory(path);
}

bool TDicMaintModel::Save()
{
    if (m_currentFile.empty())
        return SaveAs();
    return SaveToFile(m_currentFile);
}

bool TDicMaintModel::SaveAs()
{
    TSaveDialogRequest request;
    request.fileName = m_currentFile;
    request.overwritePrompt = true;
    request.filterList = kDictionaryFilter;
    request.filterIndex = 1;
    TSaveDialogResult result = m_dialogs.ShowSave(request);
    if (!result.confirmed || result.fileName.empty())
        return false;
    std::string path = WithDictionaryExtension(result.fileName);
    if (!SaveToFile(path))
        return false;
    m_settings.DicDir = PathDirectory(path);
    return true;
}

bool TDicMaintModel::CheckInvariants() const
{
    return !m_rows.empty() && m_curRow >= 1 && m_curRow < RowCount()
        && (m_curCol == 0 || m_curCol == 1);
}

TDicGridStep DicGridKeyStep(
    TDicGridKey key, int row, int col, int rowCount, bool caretAtStart, bool caretAtEnd)
{
    const int last = rowCount - 1;
    const auto move = [](int r, int c) { return TDicGridStep { TDicGridAction::Move, r, c }; };
    switch (key) {
    case TDicGridKey::Up:
        return move(std::max(1, row - 1), col);
    case TDicGridKey::Down:
        return move(std::min(last, row + 1), col);
    case TDicGridKey::PageUp:
        return move(std::max(1, row - 10), col);
    case TDicGridKey::PageDown:
        return move(std::min(last, row + 10), col);
    case TDicGridKey::Tab:
        if (col == 0)
            return move(row, 1);
        return row < last ? move(row + 1, 0) : move(row, 1);
    case TDicGridKey::ShiftTab:
        if (col == 1)
            return move(row, 0);
        return row > 1 ? move(row - 1, 1) : move(row, 0);
    case TDicGridKey::Enter:
        return col == 0 ? move(row, 1) : move(std::min(last, row + 1), 0);
    case TDicGridKey::Left:
        return col == 1 && caretAtStart ? move(row, 0) : TDicGridStep {};
    case TDicGridKey::Right:
        return col == 0 && caretAtEnd ? move(row, 1) : TDicGridStep {};
    case TDicGridKey::CtrlDelete:
        return { TDicGridAction::DeleteRow, row, col };
    case TDicGridKey::Escape:
        return { TDicGridAction::Close, row, col };
    }
    return {};
}

size_t DicCaretAfterFilter(size_t caret, size_t typedLength, size_t keptLength)
{
    const size_t removed = typedLength > keptLength ? typedLength - keptLength : 0;
    return caret >= removed ? caret - removed : 0;
}

} // namespace wexly
