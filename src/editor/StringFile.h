// A read-only IFile over text held in memory, so that decoded text goes through the same line
// readers as a file on disk. Owns the text.
#pragma once

#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace wexly {

class TStringFile final : public IFile
{
public:
    explicit TStringFile(std::string text)
        : m_text(std::move(text))
    {
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        const int64_t n = std::min<int64_t>(size, Size() - m_pos);
        if (n <= 0)
            return 0;
        std::memcpy(buffer, m_text.data() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    bool Write(const void*, int64_t) override { return false; }
    bool Seek(int64_t offset) override
    {
        if (offset < 0 || offset > Size())
            return false;
        m_pos = offset;
        return true;
    }
    int64_t Position() const override { return m_pos; }
    int64_t Size() const override { return static_cast<int64_t>(m_text.size()); }
    bool Truncate() override { return false; }
    bool Flush() override { return true; }
    uint32_t LastError() const override { return FileErrorCode::AccessDenied; }

private:
    std::string m_text;
    int64_t m_pos = 0;
};

} // namespace wexly
