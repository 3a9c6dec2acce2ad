// The main window's search driver: one find or replace on the active pane's document and, for
// the all-documents kinds, the walk from document to document. Holds LastSearch and the
// document the current command started in; borrows the document set and the asker.
#pragma once

#include "documents/DocumentSet.h"
#include "editor/EdSearch.h"
#include "platform/Ui.h"

#include <cstdint>
#include <string>

namespace wexly {

enum class TSearchKind : uint8_t {
    None = 0,
    FindInFile = 1,
    FindInOpenFiles = 2,
    FindInFiles = 3, // the directory search; never run by the driver
    ReplaceInFile = 4,
    ReplaceInOpenFiles = 5,
    ReplaceAllInFile = 6,
    ReplaceAllInOpenFiles = 7,
};

bool IsAllDocumentsKind(TSearchKind kind);
bool IsReplaceKind(TSearchKind kind);

struct TLastSearch
{
    TSearchKind kind = TSearchKind::None;
    std::string text; // unescaped
    std::string replacement; // unescaped
    TSearchOptions options;
    std::string mask; // of the last directory search
};

inline constexpr const char* kNoMoreMatchesText = "No more matches found";
inline constexpr const char* kSearchCaption = "Search";

class TSearchDriver
{
public:
    TSearchDriver(TDocumentSet& set, IAsker& asker);

    TLastSearch& LastSearch() { return m_last; }
    const TLastSearch& LastSearch() const { return m_last; }
    TEditFile* StartDocument() const { return m_startDocument; }
    // Every Find, Replace and Repeat Last Find command records where it began.
    void SetStartDocument(TEditFile* doc) { m_startDocument = doc; }

    // Runs one search; reports "not found" itself. True when the last document searched had a
    // match (for Replace All: when any replacement pass found something in the last one).
    bool RunSearch(TSearchKind kind, const std::string& text, TSearchOptions options,
        const std::string& replacement);

private:
    int32_t SearchIn(TEditFile& doc, TSearchKind kind, const std::string& text,
        TSearchOptions options, const std::string& replacement);
    TEditFile* StopDocument() const;

    TDocumentSet& m_set;
    IAsker& m_asker;
    TLastSearch m_last;
    TEditFile* m_startDocument = nullptr; // borrowed; may have been closed since
};

} // namespace wexly
