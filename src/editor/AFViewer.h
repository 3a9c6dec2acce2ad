// The program's binary viewer: the file viewer holding the file open for writing where it can,
// with typed hex digits and characters written straight into the file (after a one-time backup
// when asked). Nothing is ever inserted, deleted or appended.
#pragma once

#include "editor/OvcCustomFileViewer.h"

#include <string>

namespace wexly {

class TAFViewer final : public TOvcCustomFileViewer
{
public:
    explicit TAFViewer(IFileSystem& fileSystem);

    // openFirst: read the file afresh (size, empty cache, caret at the start); otherwise only
    // take the handle again, keeping the view. Then ReOpen(forWriting). Throws
    // EInOutError, after which the viewer is closed.
    void Open(bool openFirst, bool forWriting);
    // forWriting: read and write, others may only read; otherwise read with all sharing.
    // When that fails the file is opened for reading, others may only read, and the viewer
    // becomes read-only.
    void ReOpen(bool forWriting);
    // Releases the handle; the view and its state stay for a later Open(false, ...).
    void Close();

    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // The handle held now was opened with write access.
    bool Writable() const { return File() && m_writableGeneration == FileGeneration(); }
    bool MakeBackup() const { return m_makeBackup; }
    void SetMakeBackup(bool on) { m_makeBackup = on; }

    // A row's bytes as 47 characters: two hex digits each, single blanks between, blanks for
    // bytes past the end of the file.
    std::string GetBinLine(int64_t line);
    // Overwrites bytes at offset; bytes that would lie past the end of the file are dropped.
    // Throws EInOutError.
    void SetBinLine(int64_t offset, const uint8_t* bytes, int count);
    // Copies the file to its backup name unless that file exists already.
    void MakeBakFile();
    // A character typed at the caret: a hex digit over a hex digit, or any printable character
    // over the character column. Returns false when it was ignored.
    bool HexTyped(char ch);

private:
    void FailClosed();

    bool m_readOnly = false; // typing is ignored
    uint64_t m_writableGeneration = UINT64_MAX; // FileGeneration() of a writable handle
    bool m_makeBackup = false;
};

} // namespace wexly
