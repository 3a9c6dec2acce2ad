// One document's recovery record and its file format: a versioned header of "Key: value" lines
// naming the document, its caret, and its file as it was when loaded; then the text, whose
// length and checksum the header gives, so that a cut or damaged record is told from a good one.
#pragma once

#include "editor/TextEncoding.h"
#include "platform/Files.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wexly {

inline constexpr std::string_view kRecordMagic = "Wexly recovery record";
inline constexpr int kRecordVersion = 1;

// Binary documents are edited in their file in place: nothing of them lives only in memory.
// Every decision about which documents get a record goes through here.
bool NeedsJournal(bool binary);

// A file's time stamp and size; known is false when there was no file (or it could not be
// examined).
struct TFileStamp
{
    bool known = false;
    TFileTime time = 0;
    int64_t size = 0;
    bool operator==(const TFileStamp&) const = default;
};

// The stamp of the file at path now.
TFileStamp StampOf(IFileSystem& fs, const std::string& path);

struct TRecordInfo
{
    std::string name; // the full path, or the untitled name
    bool named = false;
    bool binary = false;
    TTextEncoding encoding = TTextEncoding::Ansi;
    int32_t caretPara = 1; // 1-based
    int32_t caretPos = 1;
    TFileStamp loaded; // the file when the document was loaded or last saved
    bool operator==(const TRecordInfo&) const = default;
};

// The header that goes before text (the paragraphs joined by CR LF) in a record file.
std::string RecordHeader(const TRecordInfo& info, std::string_view text);

struct TRecoveryRecord
{
    TRecordInfo info;
    std::string text; // the paragraphs joined by CR LF
};

// What reading a record file found: the record, or why it cannot be used.
struct TRecordParse
{
    bool ok = false;
    std::string problem; // "cut short", "checksum does not match", ...
    TRecoveryRecord record; // when not ok, info.name may still tell whose record it was
};

// Parses the bytes of a record file (taken over, so a large text is not copied).
TRecordParse ParseRecord(std::string bytes);

} // namespace wexly
