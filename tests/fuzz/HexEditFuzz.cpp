// Fuzzes typing into the binary viewer: a file of any bytes, then caret moves, viewer commands
// and typed characters in any order. Each typed character must change exactly the byte under
// the caret (a hex digit one half of it, a character in the character column all of it) or
// nothing, the file never grows or shrinks, the caret advances as the rules say, and the
// backup, when asked for, holds the file as it was before the first change.
#include "FuzzSupport.h"
#include "editor/AFViewer.h"
#include "editor/BackupName.h"
#include "editor/OvcCommands.h"
#include "support/FakeFileSystem.h"

namespace {

using namespace wexly;

const char* const kFile = "C:\\b\\f.bin";

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct TTyping
{
    TAFViewer& viewer;
    test::TFakeFileSystem& fs;
    std::string model; // what the file must hold
    bool failingWrites = false;

    void Type(char ch)
    {
        int32_t col = 0;
        const int64_t line = viewer.GetCaretPosition(col);
        const int32_t hex = viewer.HexColumn(), chars = viewer.CharColumn();
        const bool inHex = col >= hex && col < hex + 47 && (col - hex) % 3 != 2;
        const bool inChars = col >= chars && col < chars + 16;
        const int64_t index = line * 16 + (inHex ? (col - hex) / 3 : col - chars);
        const bool accepted = !viewer.GetReadOnly() && (inHex || inChars)
            && index < static_cast<int64_t>(model.size())
            && (inHex ? HexDigitValue(ch) >= 0 : static_cast<uint8_t>(ch) >= 32);
        bool typed = false;
        try {
            typed = viewer.HexTyped(ch);
        } catch (const EInOutError&) {
            // Only a write that was made to fail may fail; the bytes around the row stay.
            FUZZ_CHECK(failingWrites && accepted);
            const std::string now = fs.Contents(kFile);
            FUZZ_CHECK(now.size() == model.size());
            const size_t row = static_cast<size_t>(line) * 16;
            FUZZ_CHECK(now.compare(0, row, model, 0, row) == 0);
            FUZZ_CHECK(
                row + 16 >= now.size() || now.compare(row + 16, now.npos, model, row + 16) == 0);
            model = now;
            return;
        }
        FUZZ_CHECK(typed == accepted);
        if (!accepted) {
            FUZZ_CHECK(fs.Contents(kFile) == model);
            return;
        }
        auto& byte = reinterpret_cast<uint8_t&>(model[static_cast<size_t>(index)]);
        if (inChars)
            byte = static_cast<uint8_t>(ch);
        else if ((col - hex) % 3 == 0)
            byte = static_cast<uint8_t>((HexDigitValue(ch) << 4) | (byte & 0x0F));
        else
            byte = static_cast<uint8_t>((byte & 0xF0) | HexDigitValue(ch));
        FUZZ_CHECK(fs.Contents(kFile) == model);
        CheckAdvance(line, col, inHex);
    }

    void CheckAdvance(int64_t line, int32_t col, bool inHex)
    {
        const int32_t hex = viewer.HexColumn(), chars = viewer.CharColumn();
        const bool hasNext = line + 1 < viewer.LineCount();
        int64_t wantLine = line;
        int32_t wantCol = col + 1;
        if (inHex && col == hex + 46 && hasNext) {
            wantLine = line + 1;
            wantCol = hex;
        } else if (!inHex && col == chars + 15 && hasNext) {
            wantLine = line + 1;
            wantCol = chars;
        } else if (inHex && (col - hex) % 3 == 1) {
            wantCol = col + 2;
        }
        int32_t gotCol = 0;
        const int64_t gotLine = viewer.GetCaretPosition(gotCol);
        // The caret cannot go past the end of a row; it stays on the last column then.
        FUZZ_CHECK(gotLine == wantLine);
        FUZZ_CHECK(gotCol == wantCol || (wantCol >= viewer.FullLineLength() && gotCol <= wantCol));
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::TFuzzInput in(data, size);
    const uint8_t options = in.Byte();
    const size_t fileSize = in.Word() % 9000;
    std::string original(in.Rest().substr(0, fileSize));
    in.Until('\0');
    if (original.size() < fileSize)
        in.SkipAll();

    test::TFakeFileSystem fs;
    fs.SetFile(kFile, original);
    TAFViewer viewer(fs);
    viewer.SetBufferPageCount(2 + (options & 3));
    viewer.SetMakeBackup(options & 4);
    viewer.SetVisibleRows(1 + (options >> 5));
    viewer.SetFileName(kFile);
    try {
        viewer.Open(true, true);
    } catch (const EInOutError&) {
        return 0;
    }
    viewer.SetReadOnly(options & 8);
    TTyping typing { viewer, fs, original, false };
    if (options & 16) {
        typing.failingWrites = true;
        fs.FailWritesAfter(kFile, in.Byte(), FileErrorCode::DiskFull);
    }

    // Each step compares the whole file; a bounded number keeps the fuzzer fast.
    for (int step = 0; step < 256 && !in.Empty(); ++step) {
        const uint8_t op = in.Byte();
        if (op < 16) {
            const int64_t line = in.Word() % (viewer.LineCount() + 2);
            viewer.SetCaretPosition(line, in.Byte() % 90);
        } else if (op < 48) {
            viewer.ProcessCommand(static_cast<TCommandCode>(in.Byte() % 76), 0);
        } else {
            typing.Type(static_cast<char>(in.Byte()));
        }
        viewer.CheckInvariants();
    }
    FUZZ_CHECK(fs.Contents(kFile).size() == original.size());
    const std::string backup = BackupFileName(kFile);
    if ((options & 4) && !typing.failingWrites && fs.Contents(kFile) != original)
        FUZZ_CHECK(fs.Exists(backup) && fs.Contents(backup) == original);
    if (!(options & 4))
        FUZZ_CHECK(!fs.Exists(backup));
    return 0;
}
