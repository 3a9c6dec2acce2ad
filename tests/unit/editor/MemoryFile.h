// An IFile over a string, for reader tests; reads can be made to fail after a byte count.
#pragma once

#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace wexly::test {

class TMemoryFile final : public IFile
{
public:
    explicit TMemoryFile(std::string data, int64_t failReadsAt = -1)
        : m_data(std::move(data))
        , m_failReadsAt(failReadsAt)
    {
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        if (m_failReadsAt >= 0 && m_pos + size > m_failReadsAt)
            return -1;
        int64_t n = std::min<int64_t>(size, static_cast<int64_t>(m_data.size()) - m_pos);
        if (n <= 0)
            return 0;
        std::memcpy(buffer, m_data.data() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        ++reads;
        return n;
    }
    bool Write(const void* buffer, int64_t size) override
    {
        m_data.replace(static_cast<size_t>(m_pos), static_cast<size_t>(size),
            static_cast<const char*>(buffer), static_cast<size_t>(size));
        m_pos += size;
        return true;
    }
    bool Seek(int64_t offset) override
    {
        m_pos = offset;
        return true;
    }
    int64_t Position() const override { return m_pos; }
    int64_t Size() const override { return static_cast<int64_t>(m_data.size()); }
    bool Truncate() override
    {
        m_data.resize(static_cast<size_t>(m_pos));
        return true;
    }
    bool Flush() override { return true; }
    uint32_t LastError() const override { return 30; }

    int reads = 0;

private:
    std::string m_data;
    int64_t m_pos = 0;
    int64_t m_failReadsAt;
};

} // namespace wexly::test
