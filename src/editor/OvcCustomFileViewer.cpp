#include "editor/OvcCustomFileViewer.h"

#include <cassert>
#include <cstring>
#include <new>

namespace wexly {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr uint32_t kInvalidHandle = 6; // what Windows reports for a closed handle
constexpr int kMaxOffsetDigits = 16;

// Two hex digits per byte, built once so formatting a row is a handful of copies.
struct THexPairs
{
    char pairs[256][2];
    constexpr THexPairs()
        : pairs {}
    {
        for (int b = 0; b < 256; ++b) {
            pairs[b][0] = kHexDigits[b >> 4];
            pairs[b][1] = kHexDigits[b & 15];
        }
    }
};
constexpr THexPairs kHexPairs;

} // namespace

// ---- page cache ----------------------------------------------------------

TFileViewerPageCache::TFileViewerPageCache(uint32_t clockLimit)
    : m_pages(kDefaultPages)
    , m_clockLimit(clockLimit)
{
}

void TFileViewerPageCache::SetPageCount(int count)
{
    if (count < kMinPages || count > kMaxPages || count == PageCount())
        return;
    try {
        m_pages.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        // keep the table we have
    }
}

void TFileViewerPageCache::Clear()
{
    for (auto& page : m_pages) {
        page.pageNo = TViewerPage::kEmpty;
        page.byteCount = 0;
        page.lastUse = 0;
    }
}

void TFileViewerPageCache::Invalidate(int64_t pageNo)
{
    for (auto& page : m_pages) {
        if (page.pageNo == pageNo) {
            page.pageNo = TViewerPage::kEmpty;
            page.byteCount = 0;
            page.lastUse = 0;
        }
    }
}

void TFileViewerPageCache::Tick(TViewerPage& page)
{
    if (++m_useClock >= m_clockLimit) {
        m_useClock = 1;
        for (auto& p : m_pages)
            p.lastUse = 0;
    }
    page.lastUse = m_useClock;
}

const TViewerPage& TFileViewerPageCache::Get(IFile& file, int64_t pageNo)
{
    assert(pageNo >= 0);
    // Rows are read in runs of 256 from one page: try the page of the last access first.
    if (m_lastHit < m_pages.size() && m_pages[m_lastHit].pageNo == pageNo) {
        Tick(m_pages[m_lastHit]);
        return m_pages[m_lastHit];
    }
    TViewerPage* victim = &m_pages.front();
    for (auto& page : m_pages) {
        if (page.pageNo == pageNo) {
            Tick(page);
            m_lastHit = static_cast<size_t>(&page - m_pages.data());
            return page;
        }
        if (page.lastUse < victim->lastUse)
            victim = &page;
    }
    // Forget the victim first so a failed read never leaves stale data under a new number.
    victim->pageNo = TViewerPage::kEmpty;
    victim->byteCount = 0;
    victim->lastUse = 0;
    if (!file.Seek(pageNo * kPageSize))
        throw EInOutError(file.LastError());
    victim->data.fill(0);
    int64_t n = file.Read(victim->data.data(), kPageSize);
    if (n < 0)
        throw EInOutError(file.LastError());
    ++m_reads;
    victim->pageNo = pageNo;
    victim->byteCount = static_cast<int32_t>(n);
    Tick(*victim);
    m_lastHit = static_cast<size_t>(victim - m_pages.data());
    return *victim;
}

void TFileViewerPageCache::CheckInvariants() const
{
    assert(PageCount() >= kMinPages && PageCount() <= kMaxPages);
    assert(m_useClock < m_clockLimit);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        const auto& page = m_pages[i];
        assert(page.lastUse <= m_useClock);
        assert(page.byteCount >= 0 && page.byteCount <= kPageSize);
        if (page.pageNo == TViewerPage::kEmpty)
            continue;
        for (size_t j = i + 1; j < m_pages.size(); ++j)
            assert(m_pages[j].pageNo != page.pageNo);
    }
}

// ---- opening and closing ---------------------------------------------------

TOvcCustomFileViewer::TOvcCustomFileViewer(IFileSystem& fileSystem)
    : m_fileSystem(fileSystem)
{
    m_lineBuf.fill(' ');
    BuildCharMap();
}

TOvcCustomFileViewer::~TOvcCustomFileViewer() = default;

void TOvcCustomFileViewer::SetFileName(const std::string& name)
{
    if (name == m_fileName)
        return;
    SetIsOpen(false);
    m_fileName = name;
}

void TOvcCustomFileViewer::SetIsOpen(bool open)
{
    if (open == m_isOpen)
        return;
    if (open) {
        OpenForReading();
        return;
    }
    CloseFile();
    m_isOpen = false;
    ResetLineState(0);
    m_caret = m_anchor = {};
    m_topLine = 0;
    m_leftColumn = 0;
    NotifyChange();
}

void TOvcCustomFileViewer::OpenForReading()
{
    CloseFile();
    m_isOpen = false;
    TFileError error;
    auto file = m_fileSystem.Open(
        m_fileName, TFileAccess::Read, TFileShare::DenyWrite, TFileCreate::OpenExisting, &error);
    if (!file)
        throw EInOutError(error.code);
    int64_t size = file->Size();
    if (size < 0)
        throw EInOutError(file->LastError());
    SetFile(std::move(file));
    m_cache.Clear();
    ResetLineState(size);
    m_caret = m_anchor = {};
    m_topLine = 0;
    m_leftColumn = 0;
    m_markers = {};
    m_isOpen = true;
    NotifyChange();
    NotifyStatus();
}

void TOvcCustomFileViewer::ResetLineState(int64_t size)
{
    m_fileSize = size;
    m_lastLine = size > 0 ? (size - 1) / kBytesPerLine : 0;
    // The offset column widens only for rows that start beyond 4 GiB.
    auto lastStart = static_cast<uint64_t>(m_lastLine) * kBytesPerLine;
    m_offsetDigits = 8;
    while (m_offsetDigits < kMaxOffsetDigits && (lastStart >> (4 * m_offsetDigits)) != 0)
        ++m_offsetDigits;
    // Columns may have moved: start again from blanks.
    m_lineBuf.fill(' ');
    m_lineNo = -1;
}

void TOvcCustomFileViewer::RefreshSize(int64_t size)
{
    m_cache.Clear();
    ResetLineState(size);
    m_caret = Clamp(m_caret);
    m_anchor = Clamp(m_anchor);
    SetTopLine(m_topLine);
}

void TOvcCustomFileViewer::SetBufferPageCount(int count)
{
    m_cache.SetPageCount(count);
}

// ---- display options -------------------------------------------------------

void TOvcCustomFileViewer::BuildCharMap()
{
    for (int b = 0; b < 256; ++b) {
        bool dot = b == 0 || (b == '\t' && m_expandTabs) || (m_filterChars && (b < 32 || b >= 128));
        m_charMap[static_cast<size_t>(b)] = dot ? '.' : static_cast<char>(b);
    }
    m_lineNo = -1;
}

void TOvcCustomFileViewer::SetFilterChars(bool on)
{
    if (on == m_filterChars)
        return;
    m_filterChars = on;
    BuildCharMap();
    NotifyChange();
}

void TOvcCustomFileViewer::SetExpandTabs(bool on)
{
    if (on == m_expandTabs)
        return;
    m_expandTabs = on;
    BuildCharMap();
    NotifyChange();
}

void TOvcCustomFileViewer::SetTabSize(int size)
{
    if (size < 1 || size == m_tabSize)
        return;
    m_tabSize = size;
    NotifyChange();
}

void TOvcCustomFileViewer::SetShowBookmarks(bool on)
{
    if (on == m_showBookmarks)
        return;
    m_showBookmarks = on;
    NotifyChange();
}

// ---- rows ------------------------------------------------------------------

const uint8_t* TOvcCustomFileViewer::LineBytes(int64_t line, int& count)
{
    count = 0;
    if (!m_isOpen || line < 0 || line > m_lastLine)
        return nullptr;
    int64_t pos = line * kBytesPerLine;
    int64_t wanted = std::min<int64_t>(kBytesPerLine, m_fileSize - pos);
    if (wanted <= 0)
        return nullptr;
    if (!m_file)
        throw EInOutError(kInvalidHandle);
    const TViewerPage& page = m_cache.Get(*m_file, pos / TFileViewerPageCache::kPageSize);
    auto inPage = static_cast<int32_t>(pos % TFileViewerPageCache::kPageSize);
    // A file shortened behind our back yields fewer bytes; the rest show as missing.
    count = std::max(0, std::min(static_cast<int32_t>(wanted), page.byteCount - inPage));
    return page.data.data() + inPage;
}

int TOvcCustomFileViewer::ReadLineBytes(int64_t line, uint8_t* bytes)
{
    int n = 0;
    const uint8_t* from = LineBytes(line, n);
    if (n > 0)
        std::memcpy(bytes, from, static_cast<size_t>(n));
    return n;
}

void TOvcCustomFileViewer::FormatLine(int64_t line)
{
    m_lineNo = -1;
    int n = 0;
    const uint8_t* bytes = LineBytes(line, n);
    char* buf = m_lineBuf.data();
    auto offset = static_cast<uint64_t>(line) * kBytesPerLine;
    for (int i = m_offsetDigits - 1; i >= 0; --i, offset >>= 4)
        buf[i] = kHexDigits[offset & 15];
    char* hex = buf + HexColumn();
    char* chars = buf + CharColumn();
    for (int i = 0; i < n; ++i, hex += 3) {
        std::memcpy(hex, kHexPairs.pairs[bytes[i]], 2);
        chars[i] = m_charMap[bytes[i]];
    }
    for (int i = n; i < kBytesPerLine; ++i, hex += 3)
        std::memcpy(hex, "  ", 2);
    m_lineLen = GetLineLength(line);
    m_lineNo = line;
}

std::string_view TOvcCustomFileViewer::GetLine(int64_t line)
{
    if (!m_isOpen || line < 0 || line > m_lastLine)
        return {};
    if (line != m_lineNo)
        FormatLine(line);
    return { m_lineBuf.data(), static_cast<size_t>(m_lineLen) };
}

int32_t TOvcCustomFileViewer::GetLineLength(int64_t line)
{
    if (!m_isOpen || line < 0 || line > m_lastLine)
        return 0;
    int64_t bytes = std::min<int64_t>(kBytesPerLine, m_fileSize - line * kBytesPerLine);
    // A row without bytes (the empty file) shows only its offset.
    return bytes <= 0 ? m_offsetDigits : CharColumn() + static_cast<int32_t>(bytes);
}

std::string TOvcCustomFileViewer::GetPrintableLine(int64_t line)
{
    std::string out;
    for (char c : GetLine(line)) {
        if (c == '\t') {
            out.append(
                static_cast<size_t>(m_tabSize - static_cast<int>(out.size()) % m_tabSize), ' ');
        } else {
            out += c;
        }
    }
    return out;
}

void TOvcCustomFileViewer::InvalidateLine(int64_t line)
{
    m_cache.Invalidate(line * kBytesPerLine / TFileViewerPageCache::kPageSize);
    m_lineNo = -1;
}

void TOvcCustomFileViewer::NotifyChange()
{
    if (m_observer)
        m_observer->OnChange();
}

void TOvcCustomFileViewer::NotifyStatus()
{
    if (m_observer)
        m_observer->OnShowStatus(m_caret.line, m_caret.col);
}

void TOvcCustomFileViewer::CheckInvariants() const
{
    m_cache.CheckInvariants();
    assert(m_fileSize >= 0);
    assert(m_lastLine == (m_fileSize > 0 ? (m_fileSize - 1) / kBytesPerLine : 0));
    assert(m_offsetDigits >= 8 && m_offsetDigits <= kMaxOffsetDigits);
    assert(m_caret.line >= 0 && m_caret.col >= 0 && m_anchor.line >= 0 && m_anchor.col >= 0);
    assert(m_caret.line <= m_lastLine && m_anchor.line <= m_lastLine);
    assert(m_caret.col <= FullLineLength() && m_anchor.col <= FullLineLength());
    assert(m_topLine >= 0 && m_topLine <= std::max<int64_t>(0, LineCount() - m_visibleRows));
    assert(m_leftColumn >= 0 && m_visibleRows >= 1 && m_visibleColumns >= 1);
    assert(m_isOpen || (m_caret == TViewerPos {} && m_anchor == TViewerPos {}));
}

} // namespace wexly
