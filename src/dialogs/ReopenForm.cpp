#include "dialogs/ReopenForm.h"

#include "documents/ReopenHistory.h"
#include "platform/Ui.h"

#include <algorithm>
#include <set>

namespace wexly {

namespace {

bool LessNoCase(const std::string& a, const std::string& b)
{
    const TUpperTable& up = SystemUpperTable();
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [&up](char x, char y) {
            return up[static_cast<uint8_t>(x)] < up[static_cast<uint8_t>(y)];
        });
}

} // namespace

void TReopenForm::Show(const std::vector<std::string>& history)
{
    m_history = &history;
    m_sorted = false;
    m_result.clear();
    m_focused = -1;
    m_rows = history;
    m_selected.assign(m_rows.size(), false);
}

std::string TReopenForm::RowPath(int row) const
{
    return HistoryPath(RowLine(row));
}

int TReopenForm::RowFlagImage(int row) const
{
    const THistoryEntry e = ParseHistoryLine(RowLine(row));
    if (e.binary && e.readOnly)
        return 4;
    if (e.readOnly)
        return 2;
    return e.binary ? 3 : 0;
}

void TReopenForm::Refill(std::vector<std::string> rows)
{
    std::multiset<std::string> selected;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_selected[i])
            selected.insert(m_rows[i]);
    const std::string focused = m_focused >= 0 && m_focused < RowCount() ? RowLine(m_focused) : "";
    const bool hadFocus = m_focused >= 0 && m_focused < RowCount();
    m_rows = std::move(rows);
    m_selected.assign(m_rows.size(), false);
    m_focused = -1;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        auto it = selected.find(m_rows[i]);
        if (it != selected.end()) {
            m_selected[i] = true;
            selected.erase(it);
        }
        if (hadFocus && m_focused < 0 && m_rows[i] == focused)
            m_focused = static_cast<int>(i);
    }
}

void TReopenForm::HeaderClick()
{
    if (!m_history)
        return;
    std::vector<std::string> rows = *m_history;
    if (!m_sorted)
        std::sort(rows.begin(), rows.end(), LessNoCase);
    m_sorted = !m_sorted;
    Refill(std::move(rows));
}

const std::string& TReopenForm::Open()
{
    m_result.clear();
    bool binary = false, readOnly = false;
    for (int row = 0; row < RowCount(); ++row) {
        if (!Selected(row))
            continue;
        const THistoryEntry e = ParseHistoryLine(RowLine(row));
        if ((!e.readOnly && readOnly) || (!e.binary && binary)) {
            m_result += "/n ";
            readOnly = binary = false;
        }
        if (e.readOnly && !readOnly) {
            m_result += "/r ";
            readOnly = true;
        }
        if (e.binary && !binary) {
            m_result += "/b ";
            binary = true;
        }
        m_result += "\"" + e.path + "\" ";
    }
    return m_result;
}

std::optional<TRect> TReopenForm::InitialBounds(const TRect& r, TPoint origin)
{
    if (r.Top == 0 || r.Bottom == 0)
        return std::nullopt;
    return TRect { r.Left + origin.x, r.Top + origin.y, r.Right + origin.x, r.Bottom + origin.y };
}

TRect TReopenForm::BoundsToStore(const TRect& r, TPoint origin)
{
    return { r.Left - origin.x, r.Top - origin.y, r.Right - origin.x, r.Bottom - origin.y };
}

} // namespace wexly
