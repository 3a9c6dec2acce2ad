// Text files in and out of a paragraph list: loading through the chunked line reader, saving
// with CR LF line ends through a temporary file, the binary test, and the word helpers that
// the text editor, statistics, auto-replace and pane comparison use. Free functions that
// borrow the list and the file system.
#pragma once

#include "editor/EdSearch.h"
#include "editor/LineReader.h"
#include "editor/TextEncoding.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wexly {

class TOvcParaList;

// The message for a limit error code while loading: 265, 267 and 268 have their own; any
// other code is reported as lack of memory.
const char* LoadLimitMessage(uint16_t code);

// Loading stopped at a buffer limit (too many paragraphs, text or paragraph too large).
class ELoadLimitError : public std::runtime_error
{
public:
    explicit ELoadLimitError(uint16_t code)
        : std::runtime_error(LoadLimitMessage(code))
        , m_code(code)
    {
    }
    uint16_t Code() const { return m_code; }

private:
    uint16_t m_code;
};

struct TLoadResult
{
    bool opened = false; // false: the file could not be opened and the list is untouched
    // Some line was longer than the paragraph limit and became several paragraphs, so saving
    // will write line ends that were not in the file. The document tells the user once.
    bool linesSplit = false;
    // The encoding the text was read in and, when a UTF-8 or UTF-16 file stayed bytes, why.
    TTextEncoding encoding = TTextEncoding::Ansi;
    TTextEncoding found = TTextEncoding::Ansi;
    TDecodeNote note = TDecodeNote::None;
};

// Told now and then while a file loads: bytes read so far of the whole. Reading may start over
// (a file that did not convert is read again as it is), so done can go back to zero. Once
// anything was told, the last report has done == total, also when an error cut the load short.
using TLoadProgress = std::function<void(int64_t done, int64_t total)>;

// Opens a file for loading, with exclusive sharing; null when it cannot be opened.
std::unique_ptr<IFile> OpenTextFileForLoad(IFileSystem& fs, const std::string& name);

// Appends the file's lines to list before its end-of-file paragraph (trailing blanks removed
// when trim is set). Raises EInOutError on a read error and ELoadLimitError at a limit; the
// list then holds what was read so far (callers clear it).
TLoadResult ReadTextFile(IFile& file, TOvcParaList& list, bool trimWhiteSpace);

// Open, clear the list (Reset) and read. Nothing happens when the file cannot be opened. On an
// error the list is cleared again and the error raised. With a code page, UTF-8 and UTF-16
// files are converted to it where they can be (DecodeTextFile); without, every file is bytes.
TLoadResult LoadTextFile(TOvcParaList& list, IFileSystem& fs, const std::string& name,
    bool trimWhiteSpace, ICodePage* decodeWith = nullptr, const TLoadProgress& progress = {});

// The same with the file already read and decoded by the caller (an opener that had to look
// at it first): its text when it has one, else the file as it is.
TLoadResult LoadDecodedTextFile(TOvcParaList& list, IFileSystem& fs, const std::string& name,
    bool trimWhiteSpace, TDecodedText decoded, const TLoadProgress& progress = {});

// Opens and decodes a file for LoadDecodedTextFile or a search; none when it cannot be opened.
// Raises EInOutError when it cannot be read.
std::optional<TDecodedText> DecodeTextFileAt(IFileSystem& fs, const std::string& name,
    ICodePage& codePage, TFileShare share = TFileShare::Exclusive);

// The bytes SaveTextFile writes: every paragraph followed by CR LF, except an empty last one;
// bytes 1 to 8 become spaces. In another encoding than ANSI its byte-order mark comes first
// and the text is converted from codePage (the active one when null).
std::string TextFileBytes(const TOvcParaList& list, TTextEncoding encoding = TTextEncoding::Ansi,
    ICodePage* codePage = nullptr);

// Writes list to name (nothing when name is empty), through ReplaceFileContents: the text goes
// to a temporary file in the same folder, is flushed and only then takes the file's place;
// with makeBackup an existing file is first renamed to its backup name. A read-only file is
// refused before anything is written. On success the modified flag is cleared. On failure
// the old file is as it was, the temporary file is gone, the flag is kept and EInOutError is
// raised.
void SaveTextFile(TOvcParaList& list, IFileSystem& fs, const std::string& name, bool makeBackup,
    TTextEncoding encoding = TTextEncoding::Ansi, ICodePage* codePage = nullptr);

// Removes one trailing dot from a name of at least two characters.
std::string teFixFileName(std::string_view name);

// The binary test before opening: -1 cannot be opened (exclusively), 1 a NUL or a byte above
// 128 among the first and last 16 bytes, else 0.
int LooksBinary(IFileSystem& fs, const std::string& name);
// The same test on a file already open (exclusively, for the same meaning) at its start,
// whose size is size: 1 or 0. The file is left after the bytes read.
int LooksBinary(IFile& file, int64_t size);
// What the test looks for in the bytes it reads: a NUL or a byte above 128.
bool HasBinaryBytes(const void* bytes, int64_t count);

// Runs of non-delimiters over all paragraphs; a run never continues into the next paragraph.
int32_t WordCount(const TOvcParaList& list, const TCharSet& delimiters);

// Bracket matching for the character right of (para, pos). notBracket: that character is not
// one of ( ) [ ] { } (the caller does nothing); else the matching bracket's position, or none
// when the text ends first (the caller beeps).
struct TBracketResult
{
    bool notBracket = true;
    std::optional<TParaPos> match;
};
TBracketResult Bracket(const TOvcParaList& list, TParaPos caret);

// The word at or just before position pos (1-based) of a paragraph: 0-based start of the
// run of non-delimiters, or -1 when there is none.
int32_t LastWordStartInPara(std::string_view text, int32_t pos, const TCharSet& delimiters);
// That whole word, including any part right of pos; empty when there is none.
std::string GetLastWord(std::string_view text, int32_t pos, const TCharSet& delimiters);

// The next word after the one (para, pos) lies in: word, para and pos are set to it. At the
// end of the text: word empty, para the last paragraph, pos its length, false.
bool GetNextWord(const TOvcParaList& list, const TCharSet& delimiters, std::string& word,
    int32_t& para, int32_t& pos);

} // namespace wexly
