#include "editor/AFViewer.h"

#include "editor/BackupName.h"

#include <array>

namespace wexly {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kRawLineLength = 47;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kAccessDenied = 5;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

TAFViewer::TAFViewer(IFileSystem& fileSystem)
    : TOvcCustomFileViewer(fileSystem)
{
}

void TAFViewer::FailClosed()
{
    CloseFile();
    SetIsOpen(false);
}

void TAFViewer::Open(bool openFirst, bool forWriting)
{
    if (openFirst) {
        OpenForReading();
        CloseFile();
    } else {
        MarkOpen();
    }
    ReOpen(forWriting);
}

void TAFViewer::ReOpen(bool forWriting)
{
    CloseFile();
    IFileSystem& fs = FileSystem();
    auto file = forWriting
        ? fs.Open(
            FileName(), TFileAccess::ReadWrite, TFileShare::DenyWrite, TFileCreate::OpenExisting)
        : fs.Open(FileName(), TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting);
    bool writable = file && forWriting;
    if (file) {
        m_readOnly = false;
    } else {
        TFileError error;
        file = fs.Open(FileName(), TFileAccess::Read, TFileShare::DenyWrite,
            TFileCreate::OpenExisting, &error);
        if (!file) {
            FailClosed();
            throw EInOutError(error.code);
        }
        m_readOnly = true;
    }
    int64_t size = file->Size();
    if (size < 0) {
        uint32_t code = file->LastError();
        FailClosed();
        throw EInOutError(code);
    }
    SetFile(std::move(file));
    if (writable)
        m_writableGeneration = FileGeneration();
    // The file may have changed while no handle was held.
    RefreshSize(size);
    NotifyChange();
}

void TAFViewer::Close()
{
    CloseFile();
}

std::string TAFViewer::GetBinLine(int64_t line)
{
    uint8_t bytes[kBytesPerLine];
    int n = ReadLineBytes(line, bytes);
    std::string raw(kRawLineLength, ' ');
    for (int i = 0; i < n; ++i) {
        raw[static_cast<size_t>(3 * i)] = kHexDigits[bytes[i] >> 4];
        raw[static_cast<size_t>(3 * i + 1)] = kHexDigits[bytes[i] & 15];
    }
    return raw;
}

void TAFViewer::SetBinLine(int64_t offset, const uint8_t* bytes, int count)
{
    if (!IsOpen() || offset < 0 || count <= 0)
        return;
    // A read-only handle cannot take the write: ask for write access, and refuse plainly
    // when it is not granted rather than pretend.
    if (!Writable())
        ReOpen(true);
    if (!Writable())
        throw EInOutError(kAccessDenied);
    int64_t n = std::min<int64_t>(count, FileSize() - offset);
    if (n <= 0)
        return;
    if (m_makeBackup)
        MakeBakFile();
    IFile* file = File();
    bool written = file->Seek(offset) && file->Write(bytes, n);
    // Even a failed write may have changed some bytes: show what the file now holds.
    for (int64_t line = offset / kBytesPerLine; line <= (offset + n - 1) / kBytesPerLine; ++line)
        InvalidateLine(line);
    NotifyChange();
    if (!written)
        throw EInOutError(file->LastError());
}

void TAFViewer::MakeBakFile()
{
    std::string name = BackupFileName(FileName());
    IFileSystem& fs = FileSystem();
    if (name == FileName() || fs.Exists(name))
        return;
    IFile* source = File();
    if (!source)
        throw EInOutError(kInvalidHandle);
    TFileError error;
    auto backup
        = fs.Open(name, TFileAccess::Write, TFileShare::Exclusive, TFileCreate::CreateNew, &error);
    if (!backup)
        throw EInOutError(error.code);
    std::array<uint8_t, 4096> block;
    uint32_t failure = 0;
    if (!source->Seek(0)) {
        failure = source->LastError();
    } else {
        for (;;) {
            int64_t got = source->Read(block.data(), static_cast<int64_t>(block.size()));
            if (got < 0) {
                failure = source->LastError();
                break;
            }
            if (got == 0)
                break;
            if (!backup->Write(block.data(), got)) {
                failure = backup->LastError();
                break;
            }
        }
    }
    if (failure != 0) {
        // A partial backup would never be replaced and would pass for the original later.
        backup.reset();
        fs.Delete(name);
        throw EInOutError(failure);
    }
}

bool TAFViewer::HexTyped(char ch)
{
    if (!IsOpen() || m_readOnly)
        return false;
    int32_t col = 0;
    const int64_t line = GetCaretPosition(col);
    const int32_t hex = HexColumn(), chars = CharColumn();
    const bool inHex = col >= hex && col <= hex + 46 && (col - hex) % 3 != 2;
    const bool inChars = col >= chars && col < chars + kBytesPerLine;
    // Control characters come from keys such as Backspace, Enter and Esc, not from a wish to
    // write those bytes.
    if ((inHex && HexValue(ch) < 0) || (inChars && static_cast<uint8_t>(ch) < 32)
        || (!inHex && !inChars))
        return false;

    std::string raw = GetBinLine(line);
    int count = 0;
    while (count < kBytesPerLine && raw[static_cast<size_t>(3 * count)] != ' ')
        ++count;
    const int index = inHex ? (col - hex) / 3 : col - chars;
    if (index >= count)
        return false; // past the end of the file: an overwrite-only editor does not grow it
    if (inHex)
        raw[static_cast<size_t>(col - hex)] = kHexDigits[HexValue(ch)];
    uint8_t bytes[kBytesPerLine];
    for (int i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(HexValue(raw[static_cast<size_t>(3 * i)]) * 16
            + HexValue(raw[static_cast<size_t>(3 * i + 1)]));
    }
    if (inChars)
        bytes[index] = static_cast<uint8_t>(ch);
    SetBinLine(line * kBytesPerLine, bytes, count);

    const bool hasNext = line + 1 < LineCount();
    if (inHex && col == hex + 46 && hasNext)
        SetCaretPosition(line + 1, hex);
    else if (inChars && col == chars + kBytesPerLine - 1 && hasNext)
        SetCaretPosition(line + 1, chars);
    else if (inHex && (col + 1 - hex) % 3 == 2)
        SetCaretPosition(line, col + 2);
    else
        SetCaretPosition(line, col + 1);
    return true;
}

} // namespace wexly
