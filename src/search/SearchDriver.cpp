#include "search/SearchDriver.h"

namespace wexly {

bool IsAllDocumentsKind(TSearchKind kind)
{
    return kind == TSearchKind::FindInOpenFiles || kind == TSearchKind::ReplaceInOpenFiles
        || kind == TSearchKind::ReplaceAllInOpenFiles;
}

bool IsReplaceKind(TSearchKind kind)
{
    return static_cast<uint8_t>(kind) > static_cast<uint8_t>(TSearchKind::FindInFiles);
}

TSearchDriver::TSearchDriver(TDocumentSet& set, IAsker& asker)
    : m_set(set)
    , m_asker(asker)
{
}

int32_t TSearchDriver::SearchIn(TEditFile& doc, TSearchKind kind, const std::string& text,
    TSearchOptions options, const std::string& replacement)
{
    if (!IsReplaceKind(kind))
        return doc.Search(text, options) ? 1 : -1;
    const int32_t result = doc.Replace(text, replacement, options);
    doc.IsModified(); // the button picture follows the new modified state
    return result;
}

// The walk ends when it comes back to the document the command started in. A start document
// that has been closed since (or was never set) would never come round again, so the walk then
// ends where it began instead.
TEditFile* TSearchDriver::StopDocument() const
{
    if (m_startDocument && m_set.IndexOf(m_startDocument) >= 0)
        return m_startDocument;
    return m_set.CurFile();
}

bool TSearchDriver::RunSearch(TSearchKind kind, const std::string& text, TSearchOptions options,
    const std::string& replacement)
{
    m_last.kind = kind;
    m_last.text = text;
    m_last.options = options;
    if (kind == TSearchKind::None || !m_set.FocusFile() || !m_set.CurFile())
        return false;
    TEditFile* const stop = StopDocument();
    TSearchOptions working = options;
    int32_t result = -1;
    // Each document is visited at most once per walk, whatever happens to the list.
    for (int visits = 0; visits <= m_set.Count(); ++visits) {
        result = SearchIn(*m_set.FocusFile(), kind, text, working, replacement);
        if (!IsAllDocumentsKind(kind))
            break;
        if (result != -1 && kind != TSearchKind::ReplaceAllInOpenFiles)
            break;
        TEditFile& cur = *m_set.CurFile();
        TEditFile& next = working.Has(soBackward) ? *m_set.Previous(cur) : *m_set.Next(cur);
        m_set.SelectFile(next);
        working = working | soGlobal;
        if (&next == stop)
            break;
    }
    if (result == -1 && kind != TSearchKind::ReplaceAllInOpenFiles) {
        TMessage msg;
        msg.text = kNoMoreMatchesText;
        msg.caption = kSearchCaption;
        msg.buttons = TMsgButtons::Ok;
        msg.icon = TMsgIcon::Warning;
        msg.taskModal = true;
        m_asker.Ask(msg);
    }
    return result != -1;
}

} // namespace wexly
