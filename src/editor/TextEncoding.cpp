#include "editor/TextEncoding.h"

#include "editor/LineReader.h"

#include <algorithm>
#include <bit>
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

// The multi-byte sequence at p[i] (whose lead byte is above 127): its length with the
// character in c; 0 when the chunk ends inside a sequence that is valid so far; -1 when broken.
int DecodeSequence(const unsigned char* p, size_t i, size_t n, uint32_t& c)
{
    const TLead lead = LeadOf(p[i]);
    if (lead.length == 0)
        return -1;
    const size_t have = n - i < lead.length ? n - i : lead.length;
    if (have > 1 && (p[i + 1] < lead.low || p[i + 1] > lead.high))
        return -1;
    for (size_t k = 2; k < have; ++k)
        if ((p[i + k] & 0xC0) != 0x80)
            return -1;
    if (have < lead.length)
        return 0;
    c = p[i] & (0xFFu >> (lead.length + 1));
    for (size_t k = 1; k < lead.length; ++k)
        c = (c << 6) | (p[i + k] & 0x3Fu);
    return lead.length;
}

// Decodes p[0..n) into out, which has room for n units, validating as it goes; written is
// the number of units put there.
TUtf8Step Utf8ToUtf16(const unsigned char* p, size_t n, char16_t* out, size_t& written)
{
    TUtf8Step step;
    size_t i = 0, j = 0;
    while (i < n) {
        // Plain ASCII is widened eight bytes at a time.
        while (i + 8 <= n && !NotPlain(Load64(p + i))) {
            for (size_t k = 0; k < 8; ++k)
                out[j + k] = p[i + k];
            i += 8;
            j += 8;
        }
        if (i >= n)
            break;
        if (p[i] < 0x80) {
            if (p[i] == 0) {
                step.stop = TStop::Nul;
                break;
            }
            out[j++] = p[i++];
            continue;
        }
        uint32_t c = 0;
        const int length = DecodeSequence(p, i, n, c);
        if (length <= 0) {
            step.stop = length < 0 ? TStop::Invalid : TStop::End;
            break;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out[j++] = static_cast<char16_t>(0xD800 + (c >> 10));
            out[j++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out[j++] = static_cast<char16_t>(c);
        }
        i += static_cast<size_t>(length);
    }
    step.used = i;
    written = j;
    return step;
}

// For a single-byte code page, where each character is one byte: ASCII goes straight to
// bytes, two-byte characters through the table, and the others are gathered in wide (their
// places in at) to be converted together. outside: some character is not in the code page
// (none beyond U+FFFF is in a single-byte one).
struct TSingleByteStep
{
    TUtf8Step step;
    bool outside = false;
    size_t bytes = 0; // written to bytes
    size_t others = 0; // gathered in wide and at
};

// The bytes of the characters U+0080..U+07FF (the two-byte sequences) as they are met:
// kUnknown until asked for, kMissing when the code page lacks it.
struct TTwoByteTable
{
    static constexpr int16_t kUnknown = -1;
    static constexpr int16_t kMissing = -2;
    int16_t byte[0x800];
    TTwoByteTable() { std::fill(std::begin(byte), std::end(byte), kUnknown); }
};

TSingleByteStep Utf8ToSingleByte(const unsigned char* p, size_t n, unsigned char* bytes,
    char16_t* wide, size_t* at, TTwoByteTable& table, ICodePage& codePage)
{
    TSingleByteStep r;
    size_t i = 0, j = 0, w = 0;
    while (i < n) {
        // Eight bytes at a time: the ASCII ones are copied and skipped in one step, so the
        // loop turns only where a character needs decoding.
        if (i + 8 <= n) {
            std::memcpy(bytes + j, p + i, 8);
            const uint64_t notPlain = NotPlain(Load64(p + i));
            if (notPlain == 0) {
                i += 8;
                j += 8;
                continue;
            }
            const auto skip = static_cast<size_t>(std::countr_zero(notPlain) >> 3);
            i += skip;
            j += skip;
        } else if (p[i] != 0 && p[i] < 0x80) {
            bytes[j++] = p[i++];
            continue;
        }
        if (p[i] == 0) {
            r.step.stop = TStop::Nul;
            break;
        }
        // Two bytes, as most accented letters are: from the table, each character asked of
        // the code page once.
        if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
            const auto c = static_cast<char16_t>(((p[i] & 0x1Fu) << 6) | (p[i + 1] & 0x3Fu));
            int16_t b = table.byte[c];
            if (b == TTwoByteTable::kUnknown) {
                std::string one;
                b = codePage.FromWide(&c, 1, one) && one.size() == 1
                    ? static_cast<int16_t>(static_cast<unsigned char>(one[0]))
                    : TTwoByteTable::kMissing;
                table.byte[c] = b;
            }
            if (b == TTwoByteTable::kMissing)
                r.outside = true;
            bytes[j++] = static_cast<unsigned char>(b);
            i += 2;
            continue;
        }
        uint32_t c = 0;
        const int length = DecodeSequence(p, i, n, c);
        if (length <= 0) {
            r.step.stop = length < 0 ? TStop::Invalid : TStop::End;
            break;
        }
        // Broken text found later still counts for more than a missing character.
        if (c >= 0x10000) {
            r.outside = true;
        } else {
            at[w] = j;
            wide[w++] = static_cast<char16_t>(c);
        }
        bytes[j++] = 0;
        i += static_cast<size_t>(length);
    }
    r.step.used = i;
    r.bytes = j;
    r.others = w;
    return r;
}

// ---- the decoding driver -------------------------------------------------------------------

constexpr size_t kDecodeChunk = 256 * 1024;

} // namespace

// Decodes a file one chunk at a time onto an output string. Streaming, plain ASCII goes to the
// output too; otherwise it is left out until the first multi-byte sequence shows that the
// text is converted, and is then read again, so that ASCII and ANSI files cost no copy.
class TDecoder
{
public:
    TDecoder(IFile& file, ICodePage& codePage, bool streaming)
        : m_file(file)
        , m_codePage(codePage)
        , m_streaming(streaming)
    {
        // Small files (find in files reads many) get a buffer of their size.
        const int64_t size = file.Size();
        m_capacity = size >= 0 && static_cast<uint64_t>(size) < kDecodeChunk
            ? static_cast<size_t>(size) + 4
            : kDecodeChunk;
        m_buffer.reset(new unsigned char[m_capacity]);
        m_wide.reset(new char16_t[m_capacity]);
        if (codePage.SingleByte()) {
            m_at.reset(new size_t[m_capacity]);
            m_twoBytes = std::make_unique<TTwoByteTable>();
        }
    }

    // Reads the first chunk and its byte-order mark.
    void Start();
    // Decodes the next chunk onto out.
    TDecodeStep Step(std::string& out);
    // After Done or Failed: the encoding, what the file looked like and why it failed.
    TDecodedText Result() const;

private:
    size_t Fill(size_t keep); // keeps m_buffer[m_pos..m_count), reads more; returns bytes read
    TDecodeStep StepUtf8(std::string& out);
    TDecodeStep StepUtf16(std::string& out);
    // Converts m_wide to the code page onto out; false when it cannot.
    bool Convert(std::string& out);
    // Decodes the chunk's UTF-8 onto out; unmappable when a character is not in the code page.
    TUtf8Step DecodeChunk(const unsigned char* p, size_t n, std::string& out, bool& unmappable);
    // Reads the file's first count bytes onto out, then goes back to where reading was.
    void ReadAgain(int64_t count, std::string& out);
    TDecodeStep Fail(TDecodeNote note);
    TDecodeStep NotUtf8(); // without a note, and found as ANSI

    IFile& m_file;
    ICodePage& m_codePage;
    const bool m_streaming;
    std::unique_ptr<unsigned char[]> m_buffer;
    size_t m_capacity = 0;
    size_t m_pos = 0;
    size_t m_count = 0;
    int64_t m_bufferOffset = 0; // where m_buffer[0] is in the file
    std::unique_ptr<char16_t[]> m_wide; // m_capacity units
    size_t m_wideCount = 0;
    // For single-byte code pages: where the characters of m_wide go in the output, and the
    // two-byte characters met so far.
    std::unique_ptr<size_t[]> m_at;
    std::unique_ptr<TTwoByteTable> m_twoBytes;
    std::string m_converted;

    bool m_utf16 = false, m_bigEndian = false, m_bom = false;
    bool m_converting = false; // without a mark, from the first multi-byte sequence on
    TTextEncoding m_found = TTextEncoding::Ansi;
    TDecodeNote m_note = TDecodeNote::None;
    TDecodeStep m_state = TDecodeStep::More;
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

void TDecoder::ReadAgain(int64_t count, std::string& out)
{
    const int64_t resume = m_bufferOffset + static_cast<int64_t>(m_count);
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(count));
    int64_t done = 0;
    if (!m_file.Seek(0))
        throw EInOutError(m_file.LastError());
    while (done < count) {
        const int64_t n = m_file.Read(out.data() + start + done, count - done);
        if (n <= 0)
            throw EInOutError(n < 0 ? m_file.LastError() : FileErrorCode::HandleEof);
        done += n;
    }
    if (!m_file.Seek(resume))
        throw EInOutError(m_file.LastError());
}

TDecodeStep TDecoder::Fail(TDecodeNote note)
{
    m_note = note;
    return m_state = TDecodeStep::Failed;
}

TDecodeStep TDecoder::NotUtf8()
{
    m_found = TTextEncoding::Ansi;
    return Fail(TDecodeNote::None);
}

TDecodedText TDecoder::Result() const
{
    TDecodedText r;
    r.found = m_found;
    r.note = m_note;
    if (m_state == TDecodeStep::Done)
        r.encoding = m_found;
    return r;
}

bool TDecoder::Convert(std::string& out)
{
    // The code page refuses what would not come back the same, so saving restores the bytes.
    return m_wideCount == 0 || m_codePage.FromWide(m_wide.get(), m_wideCount, out);
}

TUtf8Step TDecoder::DecodeChunk(
    const unsigned char* p, size_t n, std::string& out, bool& unmappable)
{
    if (!m_at) {
        const TUtf8Step step = Utf8ToUtf16(p, n, m_wide.get(), m_wideCount);
        unmappable = step.stop == TStop::End && !Convert(out);
        return step;
    }
    // Straight into out: at most one byte for each byte read.
    const size_t start = out.size();
    out.resize(start + n);
    auto* bytes = reinterpret_cast<unsigned char*>(out.data() + start);
    const TSingleByteStep s
        = Utf8ToSingleByte(p, n, bytes, m_wide.get(), m_at.get(), *m_twoBytes, m_codePage);
    out.resize(start + s.bytes);
    if (s.step.stop != TStop::End)
        return s.step;
    unmappable = s.outside;
    if (unmappable)
        return s.step;
    if (s.others > 0) {
        m_converted.clear();
        if (!m_codePage.FromWide(m_wide.get(), s.others, m_converted)
            || m_converted.size() != s.others) {
            unmappable = true;
            return s.step;
        }
        for (size_t k = 0; k < s.others; ++k)
            bytes[m_at[k]] = static_cast<unsigned char>(m_converted[k]);
    }
    return s.step;
}

void TDecoder::Start()
{
    Fill(0);
    const unsigned char* b = m_buffer.get();
    if (m_count >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        m_pos = 3;
        m_bom = m_converting = true;
        m_found = TTextEncoding::Utf8Bom;
    } else if (m_count >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        m_pos = 2;
        m_utf16 = m_bom = m_converting = true;
        m_bigEndian = b[0] == 0xFE;
        m_found = m_bigEndian ? TTextEncoding::Utf16Be : TTextEncoding::Utf16Le;
    }
}

TDecodeStep TDecoder::Step(std::string& out)
{
    if (m_state != TDecodeStep::More)
        return m_state;
    return m_utf16 ? StepUtf16(out) : StepUtf8(out);
}

TDecodeStep TDecoder::StepUtf8(std::string& out)
{
    const unsigned char* p = m_buffer.get() + m_pos;
    const size_t n = m_count - m_pos;
    if (!m_converting) {
        const size_t plain = PlainAsciiPrefix(p, n);
        if (plain < n && p[plain] == 0)
            return NotUtf8();
        if (m_streaming)
            out.append(reinterpret_cast<const char*>(p), plain);
        if (plain < n) {
            // The ASCII so far is the text's start, the same in the code page.
            if (!m_streaming)
                ReadAgain(m_bufferOffset + static_cast<int64_t>(m_pos + plain), out);
            m_converting = true;
            m_found = TTextEncoding::Utf8;
            m_pos += plain;
            return TDecodeStep::More;
        }
        if (Fill(0) == 0)
            return m_state = TDecodeStep::Done; // plain ASCII to the end: ANSI
        return TDecodeStep::More;
    }
    bool unmappable = false;
    const TUtf8Step step = DecodeChunk(p, n, out, unmappable);
    if (unmappable)
        return Fail(TDecodeNote::Unmappable);
    // Without a mark a file with a broken sequence or a NUL is not taken for UTF-8: it is
    // read as it is, without a note.
    if (step.stop == TStop::Invalid)
        return m_bom ? Fail(TDecodeNote::Invalid) : NotUtf8();
    if (step.stop == TStop::Nul)
        return m_bom ? Fail(TDecodeNote::Nul) : NotUtf8();
    const size_t left = n - step.used;
    if (Fill(left) == 0) {
        if (left > 0)
            return m_bom ? Fail(TDecodeNote::Invalid) : NotUtf8();
        return m_state = TDecodeStep::Done;
    }
    return TDecodeStep::More;
}

TDecodeStep TDecoder::StepUtf16(std::string& out)
{
    const unsigned char* p = m_buffer.get() + m_pos;
    const size_t units = (m_count - m_pos) / 2;
    char16_t* wide = m_wide.get();
    const size_t lo = m_bigEndian ? 1 : 0, hi = 1 - lo;
    for (size_t k = 0; k < units; ++k)
        wide[k] = static_cast<char16_t>(p[2 * k + lo] | (p[2 * k + hi] << 8));
    // A high surrogate that ends the chunk waits for its partner.
    size_t keepUnits = 0;
    for (size_t k = 0; k < units; ++k) {
        const char16_t c = wide[k];
        if (c == 0)
            return Fail(TDecodeNote::Nul);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (k + 1 == units) {
                keepUnits = 1;
                break;
            }
            if (wide[k + 1] < 0xDC00 || wide[k + 1] > 0xDFFF)
                return Fail(TDecodeNote::Invalid);
            ++k;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return Fail(TDecodeNote::Invalid);
        }
    }
    m_wideCount = units - keepUnits;
    if (!Convert(out))
        return Fail(TDecodeNote::Unmappable);
    const size_t left = m_count - m_pos - 2 * (units - keepUnits);
    if (Fill(left) == 0) {
        if (left > 0)
            return Fail(TDecodeNote::Invalid); // an odd byte or a lone high surrogate
        return m_state = TDecodeStep::Done;
    }
    return TDecodeStep::More;
}

TDecodedText DecodeTextFile(IFile& file, ICodePage& codePage)
{
    TDecoder decoder(file, codePage, false);
    decoder.Start();
    std::string text;
    const int64_t size = file.Size();
    bool reserved = false;
    TDecodeStep step = TDecodeStep::More;
    while ((step = decoder.Step(text)) == TDecodeStep::More) {
        if (!reserved && !text.empty() && size > 0) {
            text.reserve(static_cast<size_t>(size)); // converted text is at most as long
            reserved = true;
        }
    }
    TDecodedText r = decoder.Result();
    if (step == TDecodeStep::Done && r.encoding != TTextEncoding::Ansi) {
        r.haveText = true;
        r.text = std::move(text);
    }
    return r;
}

// ---- reading decoded -------------------------------------------------------------------------

TDecodingFile::TDecodingFile(IFile& file, ICodePage& codePage)
    : m_file(file)
    , m_decoder(std::make_unique<TDecoder>(file, codePage, true))
{
    m_decoder->Start();
}

TDecodingFile::~TDecodingFile() = default;

int64_t TDecodingFile::Read(void* buffer, int64_t size)
{
    // Whole requests, as from a file: the line reader takes a short read for the last one.
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < static_cast<size_t>(size)) {
        if (m_pos == m_text.size()) {
            if (m_state == TDecodeStep::Failed)
                return -1;
            if (m_state == TDecodeStep::Done)
                break;
            // Keep the end of what was read, for a reader that goes back to a line's start.
            if (m_text.size() > kKeep) {
                const size_t drop = m_text.size() - kKeep;
                m_text.erase(0, drop);
                m_base += static_cast<int64_t>(drop);
                m_pos -= drop;
            }
            m_state = m_decoder->Step(m_text);
            continue;
        }
        const size_t n = std::min(static_cast<size_t>(size) - done, m_text.size() - m_pos);
        std::memcpy(out + done, m_text.data() + m_pos, n);
        m_pos += n;
        done += n;
    }
    return static_cast<int64_t>(done);
}

bool TDecodingFile::Seek(int64_t offset)
{
    if (offset < m_base || offset > m_base + static_cast<int64_t>(m_text.size()))
        return false;
    m_pos = static_cast<size_t>(offset - m_base);
    return true;
}

int64_t TDecodingFile::Position() const
{
    return m_base + static_cast<int64_t>(m_pos);
}

uint32_t TDecodingFile::LastError() const
{
    return Failed() ? FileErrorCode::ReadFault : m_file.LastError();
}

bool TDecodingFile::Failed() const
{
    return m_state == TDecodeStep::Failed;
}

TDecodedText TDecodingFile::Result() const
{
    return m_decoder->Result();
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
