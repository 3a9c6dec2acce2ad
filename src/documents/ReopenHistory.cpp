#include "documents/ReopenHistory.h"

#include <cstdlib>

namespace wexly {

namespace {

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    const TUpperTable& up = SystemUpperTable();
    for (size_t i = 0; i < a.size(); ++i)
        if (up[static_cast<uint8_t>(a[i])] != up[static_cast<uint8_t>(b[i])])
            return false;
    return true;
}

int32_t ToInt(const std::string& text)
{
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

} // namespace

std::string HistoryPath(const std::string& line)
{
    if (line.size() <= 2)
        return {};
    const size_t bar = line.find('|', 2);
    return line.substr(2, bar == std::string::npos ? std::string::npos : bar - 2);
}

THistoryEntry ParseHistoryLine(const std::string& line)
{
    THistoryEntry e;
    e.binary = !line.empty() && line[0] == '1';
    e.readOnly = line.size() > 1 && line[1] == '1';
    e.path = HistoryPath(line);
    const size_t bar = line.find('|', 2);
    if (bar != std::string::npos) {
        const size_t bar2 = line.find('|', bar + 1);
        e.line = ToInt(line.substr(bar + 1, bar2 == std::string::npos ? bar2 : bar2 - bar - 1));
        if (bar2 != std::string::npos)
            e.column = ToInt(line.substr(bar2 + 1));
    }
    return e;
}

std::string MakeHistoryLine(const THistoryEntry& e)
{
    return std::string(e.binary ? "1" : "0") + (e.readOnly ? "1" : "0") + e.path + "|"
        + std::to_string(e.line) + "|" + std::to_string(e.column);
}

TReopenHistory::TReopenHistory(std::vector<std::string>& lines, const int32_t& reopenCount)
    : m_lines(lines)
    , m_reopenCount(reopenCount)
{
}

void TReopenHistory::Changed()
{
    if (OnChanged)
        OnChanged();
}

void TReopenHistory::Add(
    const std::string& path, bool binary, bool readOnly, int32_t line, int32_t column)
{
    m_lines.insert(m_lines.begin(), MakeHistoryLine({ binary, readOnly, path, line, column }));
    const size_t limit = static_cast<size_t>(m_reopenCount > 0 ? m_reopenCount : 0);
    if (m_lines.size() > limit)
        m_lines.resize(limit);
    Changed();
}

void TReopenHistory::Remove(const std::string& path)
{
    for (auto it = m_lines.begin(); it != m_lines.end(); ++it) {
        if (SameNoCase(HistoryPath(*it), path)) {
            m_lines.erase(it);
            break;
        }
    }
    Changed();
}

TReopenMenu RebuildReopenMenu(const std::vector<std::string>& lines)
{
    TReopenMenu menu;
    menu.postSeparatorVisible = !lines.empty();
    for (size_t n = 0; n < lines.size() && n < 4; ++n) {
        std::string path;
        for (char c : HistoryPath(lines[n])) {
            path += c;
            if (c == '&')
                path += '&';
        }
        menu.entries.push_back({ "&" + std::to_string(n + 1) + " " + path,
            lines[n].empty() || lines[n][0] != '1' ? 0 : 1, "Open this file" });
    }
    return menu;
}

std::string PileFileItemPath(const std::string& caption)
{
    std::string text = caption;
    if (!text.empty() && text[0] == '&')
        text.erase(0, std::min<size_t>(3, text.size()));
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&')
            ++i;
    }
    return out;
}

bool PileFileClick(const std::string& caption, int tag, IFileSystem& fs, IAsker& asker,
    const std::function<void(const std::string& path, bool binary)>& open)
{
    const std::string path = PileFileItemPath(caption);
    if (!fs.Exists(path)) {
        TMessage m;
        m.text = path;
        m.caption = "File not found!";
        m.icon = TMsgIcon::Warning;
        asker.Ask(m);
        return false;
    }
    open(path, tag != 0);
    return true;
}

} // namespace wexly
