#include "editor/LineReader.h"

#include <cstring>

namespace wexly {

std::string InOutErrorMessage(uint32_t code)
{
    switch (code) {
    case 2:
        return "Viewer: file not found";
    case 3:
        return "Viewer: path not found or invalid file name";
    case 4:
        return "Viewer: too many open files";
    case 5:
        return "Viewer: file access denied";
    default:
        return "Viewer triggered I/O error " + std::to_string(code);
    }
}

TLineReader::TLineReader(IFile& file)
    : m_file(file)
    , m_buffer(new char[kChunkSize + 1])
{
}

bool TLineReader::Fill()
{
    int64_t n = m_file.Read(m_buffer.get(), kChunkSize);
    if (n < 0)
        throw EInOutError(m_file.LastError());
    m_chunkPos = m_filePos;
    m_filePos += n;
    m_count = n;
    m_buffer[static_cast<size_t>(n)] = '\0';
    m_nextCr = m_nextLf = -1;
    m_next = n > 0 ? 0 : -1;
    return n > 0;
}

int64_t TLineReader::FindLineEnd(int64_t start)
{
    // Each of CR and LF is searched once per stretch of text, not once per line.
    const char* base = m_buffer.get();
    auto find = [&](int64_t& cached, char c) {
        if (cached < start) {
            const void* hit = std::memchr(base + start, c, static_cast<size_t>(m_count - start));
            cached = hit ? static_cast<const char*>(hit) - base : m_count;
        }
        return cached;
    };
    int64_t cr = find(m_nextCr, '\r');
    int64_t lf = find(m_nextLf, '\n');
    return cr < lf ? cr : lf;
}

void TLineReader::Deliver(int64_t start, int64_t end, std::string_view& line)
{
    const char* text = m_buffer.get() + start;
    size_t length = static_cast<size_t>(end - start);
    if (const void* nul = std::memchr(text, '\0', length)) {
        length = static_cast<size_t>(static_cast<const char*>(nul) - text);
        line = std::string_view(text, m_lineCutByNul ? 0 : length);
        m_lineCutByNul = true;
        return;
    }
    line = std::string_view(text, m_lineCutByNul ? 0 : length);
}

bool TLineReader::ReadLine(std::string_view& line, bool& continues)
{
    continues = false;
    for (;;) {
        if (m_next < 0 && !Fill())
            return false;
        const int64_t start = m_next;
        const int64_t end = FindLineEnd(start);
        const bool full = m_count == kChunkSize;
        // A CR that ends a full chunk may be the first half of a CR LF split by the read.
        const bool usableEnd = end < m_count
            && !(full && end == m_count - 1 && m_buffer[static_cast<size_t>(end)] == '\r');
        if (end - start >= kPieceLength) {
            Deliver(start, start + kPieceLength, line);
            m_next = start + kPieceLength;
            continues = true;
            return true;
        }
        if (usableEnd) {
            Deliver(start, end, line);
            m_lineCutByNul = false;
            int64_t after = end + 1;
            if (m_buffer[static_cast<size_t>(end)] == '\r' && after < m_count
                && m_buffer[static_cast<size_t>(after)] == '\n')
                ++after;
            m_next = after < m_count ? after : -1;
            return true;
        }
        if (full) {
            // Read again from the start of this line so that no line is split by a read.
            m_filePos = m_chunkPos + start;
            if (!m_file.Seek(m_filePos))
                throw EInOutError(m_file.LastError());
            m_next = -1;
            continue;
        }
        // The last chunk: what is left is the last line, which has no line end; it counts
        // only when it has text (a NUL at its start leaves none).
        m_next = -1;
        if (start >= m_count)
            return false;
        Deliver(start, m_count, line);
        m_lineCutByNul = false;
        return !line.empty();
    }
}

} // namespace wexly
