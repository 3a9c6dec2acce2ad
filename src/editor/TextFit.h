// Whether a text file's text can be held by a paragraph list, judged before it is read: from
// the file's size and a sample of its start, against the list's byte limit and the address
// space the process has left. A file judged to fit may still fail while loading (its start was
// not typical, or memory went elsewhere); the load reports that as the same too-large case.
#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <optional>
#include <string>

namespace wexly {

// What the first bytes of a file show about its lines.
struct TTextSample
{
    int64_t bytes = 0; // bytes sampled
    int64_t lines = 0; // line ends among them (CR LF, CR or LF)
    int64_t lineEndBytes = 0; // bytes those line ends take
};

inline constexpr int64_t kTextSampleBytes = 64 * 1024;

// Counts the line ends in the first maxBytes of file, read from where it is.
TTextSample SampleText(IFile& file, int64_t maxBytes = kTextSampleBytes);

// The estimate for a whole file of fileSize bytes whose start is sample.
struct TTextEstimate
{
    int64_t paragraphs = 0;
    int64_t byteCount = 0; // what the list counts against its byte limit (each line end is 2)
    int64_t memory = 0; // bytes of paragraphs, text blocks and index
};
TTextEstimate EstimateText(int64_t fileSize, const TTextSample& sample);

// Address space kept free beyond the text, so that the program can still paint, search and
// undo with a huge document open.
inline constexpr int64_t kTextMemoryReserve = 64 * 1024 * 1024;

// True when the text cannot be held: more bytes than byteLimit, more paragraphs than
// paraLimit, or (when freeAddressSpace is known, i.e. >= 0) more memory, with extraMemory
// needed beside it while loading, than freeAddressSpace minus the reserve.
bool TextTooLarge(const TTextEstimate& estimate, int32_t byteLimit, int32_t paraLimit,
    int64_t freeAddressSpace, int64_t extraMemory = 0);

// The question when a file is too large to edit as text; "Yes" opens it in the hex viewer.
std::string TooLargeForTextMessage(int64_t fileSize);
// Said after a reload found the file on disk too large; the document keeps what it had
// (kept) or is left empty and read-only.
std::string TooLargeToReloadMessage(bool kept);

} // namespace wexly
