#include "editor/TextEncoding.h"

#include "editor/LineReader.h"

#include <cstring>
#include <memory>

namespace wexly {

std::string_view EncodingName(TTextEncoding encoding)
{
    switch (encoding) {
    case TTextEncoding::Utf8:
        return "UTF-8";
    case TTextEncoding::Utf8Bom:
        return "UTF-8 BOM";
    case TTextEncoding::Utf16Le:
        return "UTF-16";
    case TTextEncoding::Utf16Be:
        return "UTF-16 BE";
    case TTextEncoding::Ansi:
        break;
    }
    return "ANSI";
}

std::string_view ByteOrderMark(TTextEncoding encoding)
{
    switch (encoding) {
    case TTextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF";
    case TTextEncoding::Utf16Le:
        return "\xFF\xFE";
    case TTextEncoding::Utf16Be:
        return "\xFE\xFF";
    default:
        return {};
    }
}

std::string DecodeNoteText(const TDecodedText& decoded)
{
    const bool utf16
        = decoded.found == TTextEncoding::Utf16Le || decoded.found == TTextEncoding::Utf16Be;
    const std::string family = utf16 ? "UTF-16: " : "UTF-8: ";
    switch (decoded.note) {
    case TDecodeNote::Unmappable:
        return family + "some characters cannot be shown";
    case TDecodeNote::Invalid:
        return family + "the file holds broken characters";
    case TDecodeNote::Nul:
        return family + "the file holds NUL characters";
    case TDecodeNote::None:
        break;
    }
    return {};
}

// ---- the ASCII skip ------------------------------------------------------------------------

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr uint64_t kOnes = 0x0101010101010101ull;

inline uint64_t Load64(const unsigned char* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A high bit in the result: some byte is above 127 or is 0 (a borrow from a 0 byte may flag
// its neighbours too, which only sends them the slow way).
inline uint64_t NotPlain(uint64_t v)
{
    return (v | (v - kOnes)) & kHighBits;
}

} // namespace

size_t PlainAsciiPrefix(const unsigned char* text, size_t size)
{
    size_t i = 0;
    while (i + 16 <= size && !(NotPlain(Load64(text + i)) | NotPlain(Load64(text + i + 8))))
        i += 16;
    while (i < size && text[i] != 0 && text[i] < 0x80)
        ++i;
    return i;
}

// ---- UTF-8 to UTF-16 -----------------------------------------------------------------------

namespace {

enum class TStop : uint8_t { End, Invalid, Nul };

struct TUtf8Step
{
    size_t used = 0; // bytes decoded; an incomplete sequence at the end is left over
    TStop stop = TStop::End;
};

// The length of the sequence a lead byte starts and the range its second byte must lie in;
// 0 for bytes that cannot start one.
struct TLead
{
    uint8_t length, low, high;
};

inline TLead LeadOf(unsigned char b)
{
    if (b >= 0xC2 && b <= 0xDF)
        return { 2, 0x80, 0xBF };
    if (b == 0xE0)
        return { 3, 0xA0, 0xBF };
    if (b == 0xED)
        return { 3, 0x80, 0x9F }; // no surrogates
    if (b >= 0xE1 && b <= 0xEF)
        return { 3, 0x80, 0xBF };
    if (b == 0xF0)
        return { 4, 0x90, 0xBF };
    if (b >= 0xF1 && b <= 0xF3)
        return { 4, 0x80, 0xBF };
    if (b == 0xF4)
        return { 4, 0x80, 0x8F }; // nothing above U+10FFFF
    return { 0, 0, 0 };
}

// Decodes p[0..n) into out (room for n units), validating as it goes.
TUtf8Step Utf8ToUtf16(const unsigned char* p, size_t n, std::u16string& out)
{
    TUtf8Step step;
    size_t i = 0;
    for (;;) {
        // Runs of plain ASCII are widened 16 bytes at a time.
        const size_t run = PlainAsciiPrefix(p + i, n - i);
        const size_t at = out.size();
        out.resize(at + run);
        char16_t* w = out.data() + at;
        for (size_t k = 0; k < run; ++k)
            w[k] = p[i + k];
        i += run;
        if (i >= n)
            break;
        const unsigned char b = p[i];
        if (b == 0) {
            step.stop = TStop::Nul;
            break;
        }
        const TLead lead = LeadOf(b);
        if (lead.length == 0) {
            step.stop = TStop::Invalid;
            break;
        }
        if (i + lead.length > n) {
            // Cut by the end of the chunk, unless what is there is already wrong.
            if (i + 1 < n && (p[i + 1] < lead.low || p[i + 1] > lead.high))
                step.stop = TStop::Invalid;
            for (size_t k = i + 2; k < n && step.stop == TStop::End; ++k)
                if ((p[k] & 0xC0) != 0x80)
                    step.stop = TStop::Invalid;
            break;
        }
        if (p[i + 1] < lead.low || p[i + 1] > lead.high) {
            step.stop = TStop::Invalid;
            break;
        }
        uint32_t c = b & (0xFFu >> (lead.length + 1));
        bool ok = true;
        for (size_t k = 1; k < lead.length; ++k) {
            ok = ok && (p[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (p[i + k] & 0x3Fu);
        }
        if (!ok) {
            step.stop = TStop::Invalid;
            break;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += lead.length;
    }
    step.used = i;
    return step;
}

// ---- the decoding driver -------------------------------------------------------------------

constexpr size_t kDecodeChunk = 256 * 1024;

class TDecoder
{
public:
    TDecoder(IFile& file, ICodePage& codePage)
        : m_file(file)
        , m_codePage(codePage)
    {
        // Small files (find in files reads many) get a buffer of their size.
        const int64_t size = file.Size();
        m_capacity = size >= 0 && static_cast<uint64_t>(size) < kDecodeChunk
            ? static_cast<size_t>(size) + 4
            : kDecodeChunk;
        m_buffer.reset(new unsigned char[m_capacity]);
    }

    TDecodedText Run();

private:
    size_t Fill(size_t keep); // keeps m_buffer[m_pos..m_count), reads more; returns bytes read
    TDecodedText RunUtf8(bool bom);
    TDecodedText RunUtf16(bool bigEndian);
    // Converts m_wide to the code page onto the text; false when it cannot.
    bool Convert(TDecodedText& r);
    // Reads the file's first count bytes into text, then goes back to where reading was.
    void ReadAgain(int64_t count, std::string& text);
    static TDecodedText Fail(const TDecodedText& r, TDecodeNote note);

    IFile& m_file;
    ICodePage& m_codePage;
    std::unique_ptr<unsigned char[]> m_buffer;
    size_t m_capacity = 0;
    size_t m_pos = 0;
    size_t m_count = 0;
    int64_t m_bufferOffset = 0; // where m_buffer[0] is in the file
    std::u16string m_wide;
    std::u16string m_check;
};

size_t TDecoder::Fill(size_t keep)
{
    m_bufferOffset += static_cast<int64_t>(m_count - keep);
    if (keep > 0)
        std::memmove(m_buffer.get(), m_buffer.get() + m_count - keep, keep);
    m_count = keep;
    m_pos = 0;
    // Whole chunks, so that only the last one is short.
    size_t got = 0;
    while (m_count < m_capacity) {
        const int64_t n
            = m_file.Read(m_buffer.get() + m_count, static_cast<int64_t>(m_capacity - m_count));
        if (n < 0)
            throw EInOutError(m_file.LastError());
        if (n == 0)
            break;
        m_count += static_cast<size_t>(n);
        got += static_cast<size_t>(n);
    }
    return got;
}

void TDecoder::ReadAgain(int64_t count, std::string& text)
{
    const int64_t resume = m_bufferOffset + static_cast<int64_t>(m_count);
    text.resize(static_cast<size_t>(count));
    int64_t done = 0;
    if (!m_file.Seek(0))
        throw EInOutError(m_file.LastError());
    while (done < count) {
        const int64_t n = m_file.Read(text.data() + done, count - done);
        if (n <= 0)
            throw EInOutError(n < 0 ? m_file.LastError() : FileErrorCode::HandleEof);
        done += n;
    }
    if (!m_file.Seek(resume))
        throw EInOutError(m_file.LastError());
}

TDecodedText TDecoder::Fail(const TDecodedText& r, TDecodeNote note)
{
    TDecodedText failed;
    failed.found = r.found;
    failed.note = note;
    return failed;
}

bool TDecoder::Convert(TDecodedText& r)
{
    if (m_wide.empty())
        return true;
    const size_t start = r.text.size();
    if (!m_codePage.FromWide(m_wide.data(), m_wide.size(), r.text))
        return false;
    // Saving converts back; a character that would come back as another is not taken.
    m_check.clear();
    m_codePage.ToWide(r.text.data() + start, r.text.size() - start, m_check);
    return m_check == m_wide;
}

TDecodedText TDecoder::Run()
{
    Fill(0);
    const unsigned char* b = m_buffer.get();
    if (m_count >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        m_pos = 3;
        return RunUtf8(true);
    }
    if (m_count >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        m_pos = 2;
        return RunUtf16(b[0] == 0xFE);
    }
    return RunUtf8(false);
}

TDecodedText TDecoder::RunUtf8(bool bom)
{
    TDecodedText r;
    r.found = bom ? TTextEncoding::Utf8Bom : TTextEncoding::Ansi;
    const int64_t size = m_file.Size();
    if (size > 0)
        r.text.reserve(static_cast<size_t>(size));
    bool converting = bom; // without a mark, from the first multi-byte sequence on
    for (;;) {
        const unsigned char* p = m_buffer.get() + m_pos;
        const size_t n = m_count - m_pos;
        if (!converting) {
            // Plain ASCII needs no conversion. It is not kept meanwhile: most files are ASCII
            // or ANSI and are read as they are, so a copy would only double the memory.
            const size_t plain = PlainAsciiPrefix(p, n);
            if (plain < n && p[plain] == 0)
                return {};
            if (plain < n) {
                // The ASCII read so far is the text's start, the same in the code page.
                ReadAgain(m_bufferOffset + static_cast<int64_t>(m_pos + plain), r.text);
                converting = true;
                r.found = TTextEncoding::Utf8;
                m_pos += plain;
                continue;
            }
            if (Fill(0) == 0)
                return {}; // plain ASCII to the end
            continue;
        }
        m_wide.clear();
        m_wide.reserve(n);
        const TUtf8Step step = Utf8ToUtf16(p, n, m_wide);
        // Without a mark a file with a broken sequence or a NUL is not taken for UTF-8: it
        // is read as it is, without a note.
        if (step.stop == TStop::Invalid)
            return bom ? Fail(r, TDecodeNote::Invalid) : TDecodedText {};
        if (step.stop == TStop::Nul)
            return bom ? Fail(r, TDecodeNote::Nul) : TDecodedText {};
        if (!Convert(r))
            return Fail(r, TDecodeNote::Unmappable);
        const size_t left = n - step.used;
        if (Fill(left) == 0) {
            if (left > 0)
                return bom ? Fail(r, TDecodeNote::Invalid) : TDecodedText {};
            break;
        }
    }
    r.encoding = r.found;
    r.haveText = true;
    return r;
}

TDecodedText TDecoder::RunUtf16(bool bigEndian)
{
    TDecodedText r;
    r.found = bigEndian ? TTextEncoding::Utf16Be : TTextEncoding::Utf16Le;
    const int64_t size = m_file.Size();
    if (size > 0)
        r.text.reserve(static_cast<size_t>(size / 2));
    for (;;) {
        const unsigned char* p = m_buffer.get() + m_pos;
        const size_t units = (m_count - m_pos) / 2;
        m_wide.resize(units);
        for (size_t k = 0; k < units; ++k) {
            const auto lo = p[2 * k + (bigEndian ? 1 : 0)];
            const auto hi = p[2 * k + (bigEndian ? 0 : 1)];
            m_wide[k] = static_cast<char16_t>(lo | (hi << 8));
        }
        // A high surrogate that ends the chunk waits for its partner.
        size_t keepUnits = 0;
        for (size_t k = 0; k < units; ++k) {
            const char16_t c = m_wide[k];
            if (c == 0)
                return Fail(r, TDecodeNote::Nul);
            if (c >= 0xD800 && c <= 0xDBFF) {
                if (k + 1 == units) {
                    keepUnits = 1;
                    break;
                }
                if (m_wide[k + 1] < 0xDC00 || m_wide[k + 1] > 0xDFFF)
                    return Fail(r, TDecodeNote::Invalid);
                ++k;
            } else if (c >= 0xDC00 && c <= 0xDFFF) {
                return Fail(r, TDecodeNote::Invalid);
            }
        }
        m_wide.resize(units - keepUnits);
        if (!Convert(r))
            return Fail(r, TDecodeNote::Unmappable);
        const size_t left = m_count - m_pos - 2 * (units - keepUnits);
        if (Fill(left) == 0) {
            if (left > 0)
                return Fail(r, TDecodeNote::Invalid); // an odd byte or a lone high surrogate
            break;
        }
    }
    r.encoding = r.found;
    r.haveText = true;
    return r;
}

} // namespace

TDecodedText DecodeTextFile(IFile& file, ICodePage& codePage)
{
    TDecoder decoder(file, codePage);
    return decoder.Run();
}

// ---- encoding ------------------------------------------------------------------------------

namespace {

void AppendUtf8(const std::u16string& wide, std::string& out)
{
    const size_t start = out.size();
    out.resize(start + wide.size() * 3);
    auto* o = reinterpret_cast<unsigned char*>(out.data() + start);
    size_t j = 0;
    for (size_t i = 0; i < wide.size(); ++i) {
        uint32_t c = wide[i];
        if (c < 0x80) {
            o[j++] = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            o[j++] = static_cast<unsigned char>(0xC0 | (c >> 6));
            o[j++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00
            && wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00u);
            o[j++] = static_cast<unsigned char>(0xF0 | (c >> 18));
            o[j++] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            o[j++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            o[j++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            // A lone surrogate cannot come from a code page; written as the three bytes
            // anyway rather than lost.
            o[j++] = static_cast<unsigned char>(0xE0 | (c >> 12));
            o[j++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            o[j++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(start + j);
}

void AppendUtf16(const std::u16string& wide, bool bigEndian, std::string& out)
{
    const size_t start = out.size();
    out.resize(start + wide.size() * 2);
    auto* o = reinterpret_cast<unsigned char*>(out.data() + start);
    for (size_t i = 0; i < wide.size(); ++i) {
        const auto lo = static_cast<unsigned char>(wide[i] & 0xFF);
        const auto hi = static_cast<unsigned char>(wide[i] >> 8);
        o[2 * i] = bigEndian ? hi : lo;
        o[2 * i + 1] = bigEndian ? lo : hi;
    }
}

} // namespace

void EncodeText(TTextEncoding encoding, std::string_view text, ICodePage& codePage,
    std::string& out, std::u16string& scratch)
{
    if (encoding == TTextEncoding::Ansi) {
        out.append(text);
        return;
    }
    const bool utf8 = encoding == TTextEncoding::Utf8 || encoding == TTextEncoding::Utf8Bom;
    if (utf8) {
        // ASCII, NUL included, is the same in UTF-8.
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        size_t plain = PlainAsciiPrefix(p, text.size());
        while (plain < text.size() && p[plain] == 0)
            plain += 1 + PlainAsciiPrefix(p + plain + 1, text.size() - plain - 1);
        if (plain == text.size()) {
            out.append(text);
            return;
        }
    }
    scratch.clear();
    codePage.ToWide(text.data(), text.size(), scratch);
    if (utf8)
        AppendUtf8(scratch, out);
    else
        AppendUtf16(scratch, encoding == TTextEncoding::Utf16Be, out);
}

} // namespace wexly
