#include "search/FindInFiles.h"

#include "editor/LineReader.h"
#include "editor/StringFile.h"
#include "editor/TextEncoding.h"
#include "editor/TextFile.h"
#include "platform/PassThroughFile.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace wexly {

const std::string_view kFindInFilesWordDelimiters = "\t'\r\n ,./?;:\"<>[]{}-=\\+|()%@&^$!~*";

namespace {

// Reads through to a file, letting the window run every so often; a read after a Halt fails,
// which ends what was reading (a whole-file decode) at once.
template <class KeepGoing> class TResponsiveFile final : public TPassThroughFile
{
public:
    TResponsiveFile(IFile& file, KeepGoing keepGoing)
        : TPassThroughFile(file)
        , m_keepGoing(keepGoing)
    {
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        const int64_t n = m_file.Read(buffer, size);
        if (n > 0 && !m_keepGoing(static_cast<size_t>(n)))
            return -1;
        return n;
    }

private:
    KeepGoing m_keepGoing;
};

} // namespace

// ---- the line matcher -------------------------------------------------------------------

TFindInFilesMatcher::TFindInFilesMatcher(
    std::string_view findText, TSearchOptions options, const TUpperTable& upper)
    : m_text(findText)
    , m_matchCase(options.Has(soMatchCase))
    , m_wholeWord(options.Has(soWholeWord))
    , m_upper(upper)
    , m_delimiters(kFindInFilesWordDelimiters)
{
    if (!m_text.empty() && m_text.size() <= kMaxSearchLength)
        m_pattern = std::make_unique<TEdSearchPattern>(m_text, m_matchCase, upper);
    auto comparesAsLineEnd = [&](char c) {
        for (char end : { '\r', '\n' }) {
            if (m_matchCase ? c == end
                            : upper[static_cast<uint8_t>(c)] == upper[static_cast<uint8_t>(end)])
                return true;
        }
        return false;
    };
    m_searchesBlocks = m_pattern && std::none_of(m_text.begin(), m_text.end(), comparesAsLineEnd);
}

size_t TFindInFilesMatcher::FindCandidate(std::string_view block, size_t from) const
{
    return m_pattern->Find(block, from, block.size(), false);
}

bool TFindInFilesMatcher::Matches(std::string_view line) const
{
    if (m_text.empty())
        return false;
    if (!m_pattern)
        return MatchesSlowly(line);
    return m_pattern->Find(line, 0, line.size(), false, m_wholeWord ? &m_delimiters : nullptr)
        != TEdSearchPattern::npos;
}

// Every start position in turn: first character, then the whole text, then the word bounds.
bool TFindInFilesMatcher::MatchesSlowly(std::string_view line) const
{
    const size_t n = m_text.size();
    auto same = [&](char a, char b) {
        return m_matchCase ? a == b
                           : m_upper[static_cast<uint8_t>(a)] == m_upper[static_cast<uint8_t>(b)];
    };
    for (size_t p = 0; p + n <= line.size(); ++p) {
        if (!same(line[p], m_text[0]))
            continue;
        size_t i = 1;
        while (i < n && same(line[p + i], m_text[i]))
            ++i;
        if (i < n)
            continue;
        if (m_wholeWord
            && ((p > 0 && !m_delimiters.Contains(line[p - 1]))
                || (p + n < line.size() && !m_delimiters.Contains(line[p + n]))))
            continue;
        return true;
    }
    return false;
}

// ---- masks and the tree ------------------------------------------------------------------

TFindMask SplitFindMask(std::string_view mask)
{
    TFindMask result;
    const size_t slash = mask.find_last_of("\\/");
    if (slash != std::string_view::npos) {
        result.directory = std::string(mask.substr(0, slash + 1));
        result.pattern = std::string(mask.substr(slash + 1));
    } else {
        result.pattern = std::string(mask);
    }
    if (result.pattern.empty())
        result.pattern = "*.*";
    return result;
}

bool TFindResultTree::IsNoFilesNode(size_t file) const
{
    return file < files.size() && files[file].lines.empty() && files[file].path == kNoFilesFound;
}

std::string FoundLineText(int64_t number, std::string_view line)
{
    std::string text = std::to_string(number);
    text += ':';
    text.reserve(text.size() + line.size() + 8);
    for (char c : line) {
        if (c == '\t')
            text += "  ";
        else
            text += c;
    }
    return text;
}

std::string FindNodeText(const TFindResultTree& tree, TFindNodeRef node)
{
    if (node.file >= tree.files.size())
        return {};
    const TFoundFile& file = tree.files[node.file];
    if (node.IsFile())
        return file.path;
    const auto line = static_cast<size_t>(node.line);
    return line < file.lines.size() ? file.lines[line].text : std::string();
}

// ---- reading lines -----------------------------------------------------------------------

namespace {
constexpr size_t kChunk = 64 * 1024;
// About a millisecond of searching between two runs of the window natively, a few under Wine.
constexpr size_t kPumpEvery = 1024 * 1024;

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Line ends in s[from, to), which ends at a line start: LF, CR LF and a lone CR count once.
int64_t CountLineEnds(const char* s, size_t from, size_t to)
{
    int64_t n = 0;
    for (size_t i = from; i < to; ++i)
        n += (s[i] == '\n') | (s[i] == '\r' && (i + 1 == to || s[i + 1] != '\n'));
    return n;
}

// Where the complete lines of s[0, n) end: after the last line end, but not after a CR at the
// very end, whose LF may still come; 0 when no line is complete.
size_t CompleteLines(const char* s, size_t n)
{
    size_t end = n;
    if (end > 0 && s[end - 1] == '\r')
        --end;
    while (end > 0 && !IsLineEnd(s[end - 1]))
        --end;
    return end;
}
} // namespace

TFileLineSplitter::TFileLineSplitter(IFile& file)
    : m_file(file)
    , m_buffer(kChunk)
{
}

// Keeps the unread bytes, makes room and reads one more chunk. False when nothing more came.
bool TFileLineSplitter::Fill()
{
    if (m_eof)
        return false;
    if (m_start > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_start, m_end - m_start);
        m_end -= m_start;
        m_start = 0;
    }
    if (m_buffer.size() - m_end < kChunk)
        m_buffer.resize(std::max(m_buffer.size() * 2, m_end + kChunk));
    const int64_t got = m_file.Read(m_buffer.data() + m_end, static_cast<int64_t>(kChunk));
    if (got <= 0) {
        m_eof = true;
        m_readFailed = got < 0;
        return false;
    }
    m_end += static_cast<size_t>(got);
    return true;
}

bool TFileLineSplitter::Next(std::string_view& line)
{
    size_t scanFrom = m_start;
    for (;;) {
        if (m_skipLf && m_start < m_end) {
            if (m_buffer[m_start] == '\n')
                ++m_start;
            m_skipLf = false;
            scanFrom = m_start;
        }
        const char* data = m_buffer.data();
        size_t i = scanFrom;
        while (i < m_end && data[i] != '\r' && data[i] != '\n')
            ++i;
        if (i < m_end) {
            line = std::string_view(data + m_start, i - m_start);
            m_start = i + 1;
            if (data[i] == '\r') {
                if (m_start < m_end) {
                    if (data[m_start] == '\n')
                        ++m_start;
                } else {
                    m_skipLf = true; // the LF, if any, is in the next chunk
                }
            }
            return true;
        }
        const size_t scanned = i - m_start;
        if (!Fill()) {
            // After a failed read the bytes left over are only the start of a line.
            if (m_start >= m_end || m_readFailed)
                return false;
            line = std::string_view(m_buffer.data() + m_start, m_end - m_start);
            m_start = m_end;
            return true;
        }
        scanFrom = m_start + scanned;
    }
}

// ---- the walk ----------------------------------------------------------------------------

TFindInFilesWalk::TFindInFilesWalk(IFileSystem& fs, IFindInFilesHost& host, TFindResultTree& tree,
    const bool& running, const TFindInFilesMatcher& matcher, bool expandNew, ICodePage* decodeWith)
    : m_fs(fs)
    , m_host(host)
    , m_tree(tree)
    , m_running(running)
    , m_matcher(matcher)
    , m_expandNew(expandNew)
    , m_decodeWith(decodeWith)
{
}

TFindInFilesOutcome TFindInFilesWalk::Run(std::string_view mask, bool recurse)
{
    m_outcome = {};
    m_outcome.directoryMissing = !Walk(std::string(mask), recurse);
    return m_outcome;
}

bool TFindInFilesWalk::Walk(const std::string& mask, bool recurse)
{
    const TFindMask parts = SplitFindMask(mask);
    // A mask without a directory part would search wherever the process happens to stand.
    if (parts.directory.empty() || !m_fs.IsDirectory(parts.directory)) {
        m_host.StatusChanged(kDirectoryDoesNotExist);
        return false;
    }
    for (const TDirEntry& entry : m_fs.List(parts.directory, parts.pattern)) {
        if (entry.isDirectory || entry.isHidden || entry.isSystem)
            continue;
        const std::string path = parts.directory + entry.name;
        m_host.StatusChanged(path);
        m_host.ProcessMessages();
        m_sincePump = 0;
        SearchFile(path);
        if (!m_running) {
            m_outcome.halted = true;
            return true;
        }
    }
    if (!recurse)
        return true;
    const char separator = parts.directory.back();
    for (const TDirEntry& entry : m_fs.List(parts.directory, "*.*")) {
        if (!entry.isDirectory || entry.isHidden || entry.isSystem || entry.name.empty()
            || entry.name[0] == '.')
            continue;
        Walk(parts.directory + entry.name + separator + parts.pattern, true);
        m_host.ProcessMessages();
        if (!m_running || m_outcome.halted) {
            m_outcome.halted = true;
            break;
        }
    }
    return true;
}

void TFindInFilesWalk::SearchFile(const std::string& path)
{
    // The binary test's exclusive open serves the search as well: a second open of every
    // file is most of the cost of a small one.
    auto file
        = m_fs.Open(path, TFileAccess::Read, TFileShare::Exclusive, TFileCreate::OpenExisting);
    if (!file)
        return;
    const int64_t size = file->Size();
    TFoundFile found;
    if (!m_decodeWith && m_matcher.SearchesBlocks()) {
        size_t have = 0;
        if (!ReadHead(*file, size, have))
            return;
        ++m_outcome.filesSearched;
        SearchBlocks(*file, found, have);
    } else if (!SearchLines(*file, size, found)) {
        return;
    }
    if (!found.lines.empty())
        found.firstLine = found.lines.front().number;
    m_outcome.bytesSearched += size > 0 ? size : 0;
    if (found.lines.empty())
        return;
    found.path = path;
    found.expanded = m_expandNew;
    m_tree.files.push_back(std::move(found));
    m_host.FileFound(m_tree.files.size() - 1);
}

bool TFindInFilesWalk::SearchLines(IFile& file, int64_t size, TFoundFile& found)
{
    const int looks = LooksBinary(file, size);
    if ((looks > 0 && !m_decodeWith) || !file.Seek(0))
        return false;
    // A converted file is searched as the editor would show it; one that stays bytes is
    // searched as before, unless it looks binary.
    std::optional<TStringFile> decoded;
    if (m_decodeWith) {
        TDecodedText d;
        try {
            // The whole file is decoded before it is searched: the window runs meanwhile too.
            TResponsiveFile responsive(file, [this](size_t n) { return KeepResponsive(n); });
            d = DecodeTextFile(responsive, *m_decodeWith);
        } catch (const EInOutError&) {
            return false;
        }
        if (d.haveText)
            decoded.emplace(std::move(d.text));
        else if (looks > 0 || !file.Seek(0))
            return false;
    }
    ++m_outcome.filesSearched;
    IFile& source = decoded ? static_cast<IFile&>(*decoded) : file;
    if (m_matcher.SearchesBlocks()) {
        SearchBlocks(source, found, 0);
        return true;
    }
    TFileLineSplitter lines(source);
    std::string_view line;
    int64_t number = 0;
    while (lines.Next(line)) {
        ++number;
        if (m_matcher.Matches(line))
            found.lines.push_back({ number, FoundLineText(number, line) });
        if (!KeepResponsive(line.size() + 1))
            break;
    }
    return true;
}

bool TFindInFilesWalk::KeepResponsive(size_t searched)
{
    m_sincePump += searched;
    if (m_sincePump < kPumpEvery)
        return true;
    m_sincePump = 0;
    m_host.ProcessMessages();
    return m_running;
}

bool TFindInFilesWalk::ReadHead(IFile& file, int64_t size, size_t& have)
{
    if (m_buffer.size() < kChunk)
        m_buffer.resize(kChunk);
    const int64_t got = file.Read(m_buffer.data(), static_cast<int64_t>(kChunk));
    have = got > 0 ? static_cast<size_t>(got) : 0;
    // The test's 16 bytes at each end, the last ones from the chunk when it holds them.
    const int64_t headCount = std::min<int64_t>(got, 16);
    if (HasBinaryBytes(m_buffer.data(), headCount))
        return false;
    if (headCount < 16 || size <= 16)
        return true;
    if (got >= size)
        return !HasBinaryBytes(m_buffer.data() + size - 16, 16);
    char tail[16];
    const int64_t tailCount = file.Seek(size - 16) ? file.Read(tail, 16) : 0;
    return !HasBinaryBytes(tail, tailCount) && file.Seek(got);
}

// have: bytes already read into the buffer from the start of the file.
void TFindInFilesWalk::SearchBlocks(IFile& file, TFoundFile& found, size_t have)
{
    std::vector<char>& buffer = m_buffer;
    int64_t lines = 0; // lines before buffer[0]
    for (;;) {
        if (buffer.size() - have < kChunk)
            buffer.resize(std::max(buffer.size() * 2, have + kChunk));
        const int64_t got = file.Read(buffer.data() + have, static_cast<int64_t>(kChunk));
        if (got < 0)
            return; // what is left is only the start of a line
        have += static_cast<size_t>(got);
        const bool end = got == 0;
        const size_t complete = end ? have : CompleteLines(buffer.data(), have);
        SearchBlock(std::string_view(buffer.data(), complete), lines, found);
        if (end || !KeepResponsive(complete))
            return;
        std::memmove(buffer.data(), buffer.data() + complete, have - complete);
        have -= complete;
    }
}

// block starts at a line start and ends at one, or at the end of the file.
void TFindInFilesWalk::SearchBlock(std::string_view block, int64_t& lines, TFoundFile& found) const
{
    const char* s = block.data();
    const size_t n = block.size();
    size_t pos = 0; // a line start; lines counts the lines before it
    while (pos < n) {
        const size_t at = m_matcher.FindCandidate(block, pos);
        if (at == TEdSearchPattern::npos)
            break;
        size_t start = at;
        while (start > pos && !IsLineEnd(s[start - 1]))
            --start;
        size_t stop = at;
        while (stop < n && !IsLineEnd(s[stop]))
            ++stop;
        lines += CountLineEnds(s, pos, start) + 1;
        const std::string_view line(s + start, stop - start);
        if (m_matcher.Matches(line))
            found.lines.push_back({ lines, FoundLineText(lines, line) });
        pos = stop;
        if (pos < n)
            pos += s[pos] == '\r' && pos + 1 < n && s[pos + 1] == '\n' ? 2 : 1;
    }
    lines += CountLineEnds(s, pos, n);
}

} // namespace wexly
