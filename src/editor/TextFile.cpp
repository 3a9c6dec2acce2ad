#include "editor/TextFile.h"

#include "editor/BackupName.h"
#include "editor/EdStrings.h"
#include "editor/OvcParaList.h"
#include "editor/StringFile.h"
#include "platform/FileReplace.h"
#include "platform/PassThroughFile.h"

#include <algorithm>
#include <array>

namespace wexly {

const char* LoadLimitMessage(uint16_t code)
{
    switch (code) {
    case 265:
        return "Current operation will exceed the maximum number of allowed paragraphs";
    case 267:
        return "Current operation will exceed the maximum text size";
    case 268:
        return "Current operation will exceed the maximum paragraph size";
    default:
        return "insufficient memory for requested operation";
    }
}

// ---- Loading ---------------------------------------------------------------------------

std::unique_ptr<IFile> OpenTextFileForLoad(IFileSystem& fs, const std::string& name)
{
    return fs.Open(name, TFileAccess::Read, TFileShare::Exclusive, TFileCreate::OpenExisting);
}

namespace {

void Append(TOvcParaList& list, const char* s, size_t len, bool trim)
{
    if (uint16_t code = list.AppendPara(s, static_cast<int32_t>(len), trim))
        throw ELoadLimitError(code);
}

} // namespace

TLoadResult ReadTextFile(IFile& file, TOvcParaList& list, bool trimWhiteSpace)
{
    TLoadResult result;
    result.opened = true;
    TLineReader reader(file);
    const auto limit = static_cast<size_t>(list.MaxParaLen());
    // Pieces of an over-long line are gathered here and handed on one paragraph at a time, so
    // that the split falls at blanks across piece boundaries too.
    std::string carry;
    std::string_view piece;
    bool continues = false;
    bool more = reader.ReadLine(piece, continues);
    while (more) {
        if (!continues && carry.empty()) {
            if (piece.size() > limit)
                result.linesSplit = true;
            Append(list, piece.data(), piece.size(), trimWhiteSpace);
        } else {
            carry.append(piece);
            while (carry.size() > limit) {
                result.linesSplit = true;
                auto cut
                    = static_cast<size_t>(edBreakPoint(carry.data(), static_cast<int32_t>(limit)));
                Append(list, carry.data(), cut, trimWhiteSpace);
                carry.erase(0, cut);
            }
            if (!continues) {
                Append(list, carry.data(), carry.size(), trimWhiteSpace);
                carry.clear();
            }
        }
        more = reader.ReadLine(piece, continues);
    }
    // A file that ends inside a long line (no line end after it).
    if (!carry.empty())
        Append(list, carry.data(), carry.size(), trimWhiteSpace);
    return result;
}

namespace {

// Passes reads through and reports how far they have come, every few megabytes and at the end.
class TProgressFile final : public TPassThroughFile
{
public:
    TProgressFile(IFile& file, const TLoadProgress& progress)
        : TPassThroughFile(file)
        , m_progress(progress)
        , m_total(file.Size())
        , m_at(file.Position())
        , m_reported(m_at)
    {
    }
    // A load cut short by an error still ends its reports, so that no figure of it stays shown.
    ~TProgressFile() override
    {
        if (!m_progress || !m_reportedAny || m_reported >= m_total)
            return;
        try {
            m_progress(m_total, m_total);
        } catch (...) {
            // Unwinding already, or about to return: nothing more can be done about it.
        }
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        const int64_t n = m_file.Read(buffer, size);
        if (n <= 0)
            return n;
        m_at += n;
        if (m_progress && (m_at - m_reported >= kStep || m_at >= m_total)) {
            m_reported = m_at;
            m_reportedAny = true;
            m_progress(m_at, m_total);
        }
        return n;
    }
    bool Seek(int64_t offset) override
    {
        if (!m_file.Seek(offset))
            return false;
        // The line reader steps back to the start of a cut line; only going back to the start
        // again (a second reading) makes the reports start over.
        m_at = offset;
        m_reported = std::min(m_reported, offset);
        return true;
    }
    int64_t Position() const override { return m_at; }
    int64_t Size() const override { return m_total; }

private:
    static constexpr int64_t kStep = 4 << 20;
    const TLoadProgress& m_progress;
    int64_t m_total;
    int64_t m_at;
    int64_t m_reported;
    bool m_reportedAny = false;
};

TLoadResult ReadInto(TOvcParaList& list, IFile& file, bool trimWhiteSpace)
{
    list.Reset();
    try {
        return ReadTextFile(file, list, trimWhiteSpace);
    } catch (...) {
        list.Reset();
        throw;
    }
}

TLoadResult ReadDecoded(TOvcParaList& list, IFile& file, bool trimWhiteSpace, TDecodedText decoded,
    const TLoadProgress& progress)
{
    TLoadResult result;
    if (decoded.haveText) {
        TStringFile text(std::move(decoded.text));
        TProgressFile reported(text, progress);
        result = ReadInto(list, reported, trimWhiteSpace);
    } else {
        if (!file.Seek(0))
            throw EInOutError(file.LastError());
        TProgressFile reported(file, progress);
        result = ReadInto(list, reported, trimWhiteSpace);
    }
    result.encoding = decoded.encoding;
    result.found = decoded.found;
    result.note = decoded.note;
    return result;
}

} // namespace

TLoadResult LoadTextFile(TOvcParaList& list, IFileSystem& fs, const std::string& name,
    bool trimWhiteSpace, ICodePage* decodeWith, const TLoadProgress& progress)
{
    auto opened = OpenTextFileForLoad(fs, name);
    if (!opened)
        return {};
    TProgressFile reported(*opened, progress);
    IFile* file = &reported;
    if (!decodeWith)
        return ReadInto(list, *file, trimWhiteSpace);
    // Decoded as it is read; a file that turns out not to convert is read again as it is.
    TDecodingFile decoding(*file, *decodeWith);
    TLoadResult result;
    try {
        result = ReadInto(list, decoding, trimWhiteSpace);
    } catch (const EInOutError&) {
        if (!decoding.Failed())
            throw;
    }
    const TDecodedText decoded = decoding.Result();
    if (decoding.Failed()) {
        if (!file->Seek(0))
            throw EInOutError(file->LastError());
        result = ReadInto(list, *file, trimWhiteSpace);
    }
    result.encoding = decoded.encoding;
    result.found = decoded.found;
    result.note = decoded.note;
    return result;
}

TLoadResult LoadDecodedTextFile(TOvcParaList& list, IFileSystem& fs, const std::string& name,
    bool trimWhiteSpace, TDecodedText decoded, const TLoadProgress& progress)
{
    auto file = OpenTextFileForLoad(fs, name);
    if (!file)
        return {};
    return ReadDecoded(list, *file, trimWhiteSpace, std::move(decoded), progress);
}

std::optional<TDecodedText> DecodeTextFileAt(
    IFileSystem& fs, const std::string& name, ICodePage& codePage, TFileShare share)
{
    auto file = fs.Open(name, TFileAccess::Read, share, TFileCreate::OpenExisting);
    if (!file)
        return std::nullopt;
    return DecodeTextFile(*file, codePage);
}

// ---- Saving ----------------------------------------------------------------------------

namespace {

constexpr size_t kWriteBuffer = 1 << 20;

// Copies text, writing bytes 1 to 8 as spaces (they would be control codes to other
// programs); written so that the compiler can vectorise it.
char* CopySaved(char* dst, const char* src, size_t n)
{
    const auto* in = reinterpret_cast<const unsigned char*>(src);
    auto* out = reinterpret_cast<unsigned char*>(dst);
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = in[i];
        out[i] = static_cast<unsigned char>(c - 1u) < 8u ? static_cast<unsigned char>(' ') : c;
    }
    return dst + n;
}

// Calls sink(data, size) with the saved bytes in blocks of about kWriteBuffer.
template <typename Sink> void ProduceSavedBytes(const TOvcParaList& list, Sink&& sink)
{
    constexpr size_t capacity = kWriteBuffer + kMaxParaLen + 2;
    std::unique_ptr<char[]> buffer(new char[capacity]);
    char* const begin = buffer.get();
    char* at = begin;
    for (const TParaNode* node = list.Head(); node; node = node->Next()) {
        if (!node->Next() && node->Len() == 0)
            break; // the empty end-of-file paragraph
        at = CopySaved(at, node->Text(), node->Len());
        *at++ = '\r';
        *at++ = '\n';
        if (static_cast<size_t>(at - begin) >= kWriteBuffer) {
            sink(begin, static_cast<size_t>(at - begin));
            at = begin;
        }
    }
    if (at != begin)
        sink(begin, static_cast<size_t>(at - begin));
}

// Calls sink with the saved bytes in encoding: its byte-order mark, then the text converted
// block by block (each block ends with a line end, so it holds whole characters).
template <typename Sink>
void ProduceEncodedBytes(
    const TOvcParaList& list, TTextEncoding encoding, ICodePage* codePage, Sink&& sink)
{
    if (encoding == TTextEncoding::Ansi) {
        ProduceSavedBytes(list, sink);
        return;
    }
    ICodePage& cp = codePage ? *codePage : ActiveCodePage();
    const std::string_view bom = ByteOrderMark(encoding);
    if (!bom.empty())
        sink(bom.data(), bom.size());
    std::string encoded;
    std::u16string scratch;
    ProduceSavedBytes(list, [&](const char* data, size_t size) {
        encoded.clear();
        EncodeText(encoding, std::string_view(data, size), cp, encoded, scratch);
        sink(encoded.data(), encoded.size());
    });
}

} // namespace

std::string TextFileBytes(const TOvcParaList& list, TTextEncoding encoding, ICodePage* codePage)
{
    std::string all;
    ProduceEncodedBytes(
        list, encoding, codePage, [&](const char* data, size_t size) { all.append(data, size); });
    return all;
}

void SaveTextFile(TOvcParaList& list, IFileSystem& fs, const std::string& name, bool makeBackup,
    TTextEncoding encoding, ICodePage* codePage)
{
    if (name.empty())
        return;
    TReplaceOptions options;
    if (makeBackup)
        options.backup = BackupFileName(name);
    TFileError error;
    if (!ReplaceFileContents(
            fs, name,
            [&](const TContentsSink& sink) { ProduceEncodedBytes(list, encoding, codePage, sink); },
            options, &error))
        throw EInOutError(error.code);
    list.SetModified(false);
}

// ---- Names and the binary test -------------------------------------------------------

std::string teFixFileName(std::string_view name)
{
    if (name.size() >= 2 && name.back() == '.')
        name.remove_suffix(1);
    return std::string(name);
}

int LooksBinary(IFileSystem& fs, const std::string& name)
{
    auto file = fs.Open(name, TFileAccess::Read, TFileShare::Exclusive, TFileCreate::OpenExisting);
    if (!file)
        return -1;
    return LooksBinary(*file, file->Size());
}

int LooksBinary(IFile& file, int64_t size)
{
    unsigned char head[16], tail[16];
    int64_t headCount = file.Read(head, 16);
    int64_t tailCount = 0;
    if (headCount == 16 && size > 16 && file.Seek(size - 16))
        tailCount = file.Read(tail, 16);
    return HasBinaryBytes(head, headCount) || HasBinaryBytes(tail, tailCount) ? 1 : 0;
}

bool HasBinaryBytes(const void* bytes, int64_t count)
{
    const auto* b = static_cast<const unsigned char*>(bytes);
    for (int64_t i = 0; i < count; ++i)
        if (b[i] == 0 || b[i] > 128)
            return true;
    return false;
}

// ---- Word helpers -------------------------------------------------------------------------

int32_t WordCount(const TOvcParaList& list, const TCharSet& delimiters)
{
    std::array<uint8_t, 256> isWord {};
    for (size_t c = 0; c < 256; ++c)
        isWord[c] = delimiters.Contains(static_cast<char>(c)) ? 0 : 1;
    int64_t count = 0;
    for (const TParaNode* node = list.Head(); node; node = node->Next()) {
        const auto* s = reinterpret_cast<const uint8_t*>(node->Text());
        const uint16_t len = node->Len();
        uint8_t prev = 0;
        uint32_t starts = 0; // a paragraph holds at most 32767 characters
        for (uint16_t i = 0; i < len; ++i) {
            const uint8_t word = isWord[s[i]];
            starts += word & (prev ^ 1u);
            prev = word;
        }
        count += starts;
    }
    return static_cast<int32_t>(std::min<int64_t>(count, kNoLimit));
}

namespace {

// Which bracket a character is: kind 0..2 and whether it opens; -1 for other characters.
int BracketKind(char c, bool& opens)
{
    static constexpr char kOpen[] = "([{";
    static constexpr char kClose[] = ")]}";
    for (int k = 0; k < 3; ++k) {
        if (c == kOpen[k]) {
            opens = true;
            return k;
        }
        if (c == kClose[k]) {
            opens = false;
            return k;
        }
    }
    return -1;
}

} // namespace

TBracketResult Bracket(const TOvcParaList& list, TParaPos caret)
{
    TBracketResult result;
    const TParaNode* node = list.NthPara(caret.para);
    if (!node || caret.pos < 1 || caret.pos > node->Len())
        return result;
    bool opens = false;
    const int kind = BracketKind(node->Text()[caret.pos - 1], opens);
    if (kind < 0)
        return result;
    result.notBracket = false;
    static constexpr char kOpen[] = "([{";
    static constexpr char kClose[] = ")]}";
    const char open = kOpen[kind], close = kClose[kind];
    int32_t depth = opens ? 1 : -1;
    int32_t para = caret.para;
    int32_t index = caret.pos - 1; // 0-based
    for (;;) {
        if (opens) {
            ++index;
            while (index >= node->Len()) {
                node = node->Next();
                if (!node)
                    return result;
                ++para;
                index = 0;
            }
        } else {
            --index;
            while (index < 0) {
                node = node->Prev();
                if (!node)
                    return result;
                --para;
                index = node->Len() - 1;
            }
        }
        const char c = node->Text()[index];
        depth += c == open ? 1 : c == close ? -1 : 0;
        if (depth == 0) {
            result.match = TParaPos { para, index + 1 };
            return result;
        }
    }
}

int32_t LastWordStartInPara(std::string_view text, int32_t pos, const TCharSet& delimiters)
{
    const auto len = static_cast<int32_t>(text.size());
    int32_t i = pos - 1;
    if (i < 0 || i >= len || delimiters.Contains(text[static_cast<size_t>(i)]))
        --i;
    if (i < 0 || i >= len || delimiters.Contains(text[static_cast<size_t>(i)]))
        return -1;
    while (i > 0 && !delimiters.Contains(text[static_cast<size_t>(i - 1)]))
        --i;
    return i;
}

std::string GetLastWord(std::string_view text, int32_t pos, const TCharSet& delimiters)
{
    const int32_t start = LastWordStartInPara(text, pos, delimiters);
    if (start < 0)
        return std::string();
    auto end = static_cast<size_t>(start);
    while (end < text.size() && !delimiters.Contains(text[end]))
        ++end;
    return std::string(text.substr(static_cast<size_t>(start), end - static_cast<size_t>(start)));
}

bool GetNextWord(const TOvcParaList& list, const TCharSet& delimiters, std::string& word,
    int32_t& para, int32_t& pos)
{
    const TParaNode* node = list.NthPara(para);
    if (!node) {
        node = list.Tail();
        para = list.ParaCount();
        pos = node->Len() + 1;
    }
    auto i = static_cast<int32_t>(std::max(pos, 1) - 1);
    // Past the rest of the word the start lies in.
    while (i < node->Len() && !delimiters.Contains(node->Text()[i]))
        ++i;
    // Past delimiters and paragraph ends to the next word's start.
    for (;;) {
        while (i < node->Len() && delimiters.Contains(node->Text()[i]))
            ++i;
        if (i < node->Len())
            break;
        if (!node->Next()) {
            word.clear();
            pos = node->Len();
            return false;
        }
        node = node->Next();
        ++para;
        i = 0;
    }
    int32_t end = i;
    while (end < node->Len() && !delimiters.Contains(node->Text()[end]))
        ++end;
    word.assign(node->Text() + i, static_cast<size_t>(end - i));
    pos = i + 1;
    return true;
}

} // namespace wexly
