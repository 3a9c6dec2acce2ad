// The encodings a text file can have on disk, and the conversion between them and the
// editor's 8-bit text in the ANSI code page: detection and decoding on load, encoding on save.
// Free functions that borrow the file and the code page.
#pragma once

#include "platform/CodePage.h"
#include "platform/Files.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace wexly {

enum class TTextEncoding : uint8_t { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };
inline constexpr std::array<TTextEncoding, 5> kTextEncodings { TTextEncoding::Ansi,
    TTextEncoding::Utf8, TTextEncoding::Utf8Bom, TTextEncoding::Utf16Le, TTextEncoding::Utf16Be };

// The status bar's name: "ANSI", "UTF-8", "UTF-8 BOM", "UTF-16", "UTF-16 BE".
std::string_view EncodingName(TTextEncoding encoding);
// The byte-order mark the encoding writes first; empty for ANSI and UTF-8 without one.
std::string_view ByteOrderMark(TTextEncoding encoding);

// Why a file that looked like UTF-8 or UTF-16 was not converted.
enum class TDecodeNote : uint8_t {
    None,
    Unmappable, // some character is not in the code page, or would not come back the same
    Invalid, // broken sequences after a byte-order mark, or a cut surrogate pair
    Nul // a NUL character: the text could not be kept whole
};

struct TDecodedText
{
    // How the text reads: Ansi unless it was converted.
    TTextEncoding encoding = TTextEncoding::Ansi;
    // What the file looked like; it differs from encoding when a note says why.
    TTextEncoding found = TTextEncoding::Ansi;
    TDecodeNote note = TDecodeNote::None;
    // text holds the converted bytes to load; otherwise the caller reads the file as it is.
    bool haveText = false;
    std::string text;
};

// Reads file from its start. A byte-order mark of UTF-8 or UTF-16, or valid UTF-8 with at least
// one multi-byte sequence, is converted to the code page when every character exists there
// and converts back to the same characters. Raises EInOutError when the file cannot be read.
TDecodedText DecodeTextFile(IFile& file, ICodePage& codePage);

class TDecoder;
enum class TDecodeStep : uint8_t { More, Done, Failed };

// The file read as DecodeTextFile would convert it, decoded as it is read, for the line
// reader: nothing is held beyond a chunk. When the file turns out not to convert, Read fails
// and Failed() is set; the caller reads the file as it is instead. Seek goes back at most
// kKeep bytes. Borrows the file and the code page.
class TDecodingFile final : public IFile
{
public:
    static constexpr size_t kKeep = 64 * 1024;

    TDecodingFile(IFile& file, ICodePage& codePage);
    ~TDecodingFile() override;
    int64_t Read(void* buffer, int64_t size) override;
    bool Write(const void*, int64_t) override { return false; }
    bool Seek(int64_t offset) override;
    int64_t Position() const override;
    int64_t Size() const override { return -1; }
    bool Truncate() override { return false; }
    bool Flush() override { return true; }
    uint32_t LastError() const override;

    bool Failed() const;
    // Once read to the end or failed: the encoding, what the file looked like, the note.
    TDecodedText Result() const;

private:
    IFile& m_file;
    std::unique_ptr<TDecoder> m_decoder;
    std::string m_text; // decoded, from file offset m_base on
    int64_t m_base = 0;
    size_t m_pos = 0;
    TDecodeStep m_state = TDecodeStep::More;
};

// "UTF-8: some characters cannot be shown" and the like; empty without a note.
std::string DecodeNoteText(const TDecodedText& decoded);

// Appends text (complete characters of the code page) in encoding, without a byte-order mark.
// scratch is working memory the caller may keep between calls.
void EncodeText(TTextEncoding encoding, std::string_view text, ICodePage& codePage,
    std::string& out, std::u16string& scratch);

// The index of the first byte of text that is NUL or above 127; size when there is none.
size_t PlainAsciiPrefix(const unsigned char* text, size_t size);

} // namespace wexly
