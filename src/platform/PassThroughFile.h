// A file that hands every call on to another one; filters derive from it and override what
// they watch (reads, seeks). Borrows the file.
#pragma once

#include "platform/Files.h"

namespace wexly {

class TPassThroughFile : public IFile
{
public:
    explicit TPassThroughFile(IFile& file)
        : m_file(file)
    {
    }
    TPassThroughFile(const TPassThroughFile&) = delete;
    TPassThroughFile& operator=(const TPassThroughFile&) = delete;

    int64_t Read(void* buffer, int64_t size) override { return m_file.Read(buffer, size); }
    bool Write(const void* buffer, int64_t size) override { return m_file.Write(buffer, size); }
    bool Seek(int64_t offset) override { return m_file.Seek(offset); }
    int64_t Position() const override { return m_file.Position(); }
    int64_t Size() const override { return m_file.Size(); }
    bool Truncate() override { return m_file.Truncate(); }
    bool Flush() override { return m_file.Flush(); }
    uint32_t LastError() const override { return m_file.LastError(); }

protected:
    IFile& m_file;
};

} // namespace wexly
