#include "editor/TextFit.h"

#include "editor/OvcParaList.h"
#include "editor/ParaPool.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wexly {

TTextSample SampleText(IFile& file, int64_t maxBytes)
{
    TTextSample sample;
    std::vector<char> buffer(static_cast<size_t>(std::max<int64_t>(maxBytes, 0)));
    int64_t got = buffer.empty() ? 0 : file.Read(buffer.data(), maxBytes);
    if (got <= 0)
        return sample;
    sample.bytes = got;
    for (int64_t i = 0; i < got; ++i) {
        const char c = buffer[static_cast<size_t>(i)];
        if (c == '\n') {
            ++sample.lines;
            ++sample.lineEndBytes;
        } else if (c == '\r') {
            ++sample.lines;
            ++sample.lineEndBytes;
            if (i + 1 < got && buffer[static_cast<size_t>(i + 1)] == '\n') {
                ++sample.lineEndBytes;
                ++i;
            }
        }
    }
    return sample;
}

namespace {

// Per paragraph beyond its characters: the node's pool slot, the text block's NUL and
// rounding (on average under 8) with the slot's guard bytes when there are any, and its entry
// in the index (a pointer, with the slack of the vectors that hold them).
constexpr int64_t kSlabSlack = int64_t { 1 } << 20;

int64_t PerParagraph()
{
    const auto node = static_cast<int64_t>(TParaPool::SlotBytes(sizeof(TParaNode)));
    const auto guard = static_cast<int64_t>(TParaPool::SlotBytes(8)) - 8;
    return node + 8 + guard + 2 * static_cast<int64_t>(sizeof(void*));
}

} // namespace

TTextEstimate EstimateText(int64_t fileSize, const TTextSample& sample)
{
    TTextEstimate e;
    if (fileSize <= 0)
        return e;
    int64_t lines = 0;
    int64_t lineEndBytes = 0;
    if (sample.bytes > 0 && sample.lines > 0) {
        // Scaled in long double: a file of terabytes times a sample count must not overflow.
        const long double scale
            = static_cast<long double>(fileSize) / static_cast<long double>(sample.bytes);
        lines = static_cast<int64_t>(std::ceil(static_cast<long double>(sample.lines) * scale));
        lineEndBytes = std::min<int64_t>(
            static_cast<int64_t>(static_cast<long double>(sample.lineEndBytes) * scale), fileSize);
    }
    const int64_t text = fileSize - lineEndBytes;
    // Lines longer than a paragraph holds are split: at least one paragraph per 32767 bytes.
    const int64_t paragraphs = std::max(lines, text / kMaxParaLen + 1);
    e.paragraphs = paragraphs;
    // Every paragraph read counts its length and two for its line end.
    e.byteCount = text + 2 * paragraphs;
    // The newest slab of the pool may be nearly unused.
    e.memory = text + paragraphs * PerParagraph() + kSlabSlack;
    return e;
}

bool TextTooLarge(const TTextEstimate& estimate, int32_t byteLimit, int32_t paraLimit,
    int64_t freeAddressSpace, int64_t extraMemory)
{
    if (estimate.byteCount > byteLimit)
        return true;
    // The end-of-file paragraph comes on top of the file's own.
    if (estimate.paragraphs + 1 > paraLimit)
        return true;
    if (freeAddressSpace < 0)
        return false;
    return estimate.memory + extraMemory > freeAddressSpace - kTextMemoryReserve;
}

namespace {

std::string Megabytes(int64_t bytes)
{
    const int64_t mb = (bytes + 512 * 1024) / (1024 * 1024);
    return std::to_string(std::max<int64_t>(mb, 1)) + " MB";
}

} // namespace

std::string TooLargeForTextMessage(int64_t fileSize)
{
    return "This file (" + Megabytes(fileSize)
        + ") is too large to edit as text.\r"
          "Open it in the hex viewer instead? It shows files of any size.";
}

std::string TooLargeToReloadMessage(bool kept)
{
    if (kept)
        return "The file on the disk is now too large to edit as text.\r"
               "The text here is as it was when it was last loaded.";
    return "The file on the disk is now too large to edit as text.\r"
           "The document is left empty and read-only, so that saving cannot replace the file.";
}

} // namespace wexly
