// The reopen history: files the user closed, newest first, kept in the settings as lines of
// two flag characters (binary, read-only), the path, and "|line|column". Also the File menu's
// entries for it and what clicking one of them opens. Borrows the settings' list.
#pragma once

#include "platform/Files.h"
#include "platform/Ui.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wexly {

struct THistoryEntry
{
    bool binary = false;
    bool readOnly = false;
    std::string path;
    int32_t line = 0;
    int32_t column = 0;
};

// A line without "|" is flags and path alone.
THistoryEntry ParseHistoryLine(const std::string& line);
std::string MakeHistoryLine(const THistoryEntry& entry);
// Characters 3 up to the first "|".
std::string HistoryPath(const std::string& line);

class TReopenHistory
{
public:
    TReopenHistory(std::vector<std::string>& lines, const int32_t& reopenCount);

    // The File menu's entries need rebuilding.
    std::function<void()> OnChanged;

    // At the top; the oldest lines beyond the limit go. An older line for the same path stays.
    void Add(const std::string& path, bool binary, bool readOnly, int32_t line, int32_t column);
    // The first line with this path, compared ignoring case.
    void Remove(const std::string& path);
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    void Changed();

    std::vector<std::string>& m_lines;
    const int32_t& m_reopenCount;
};

struct TReopenMenuEntry
{
    std::string caption; // "&1 " and the path with "&" doubled
    int tag = 0; // 1: open as binary
    std::string hint;
};

struct TReopenMenu
{
    bool postSeparatorVisible = false;
    std::vector<TReopenMenuEntry> entries; // the four newest at most
};

TReopenMenu RebuildReopenMenu(const std::vector<std::string>& lines);

// The path a reopen or pile menu item stands for: a leading "&n " dropped, "&&" back to "&".
std::string PileFileItemPath(const std::string& caption);

// A reopen or pile menu item was clicked: a missing file is reported ("File not found!"),
// else open(path, binary) runs. True when the file was opened.
bool PileFileClick(const std::string& caption, int tag, IFileSystem& fs, IAsker& asker,
    const std::function<void(const std::string& path, bool binary)>& open);

} // namespace wexly
