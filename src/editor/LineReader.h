// Splits a text file into lines, one 32767-byte chunk at a time, at CR, LF or CR LF. Owns the
// chunk buffer; borrows the open file. Also the input/output error of file reading and writing.
#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wexly {

// The message for a system error code: 2, 3, 4 and 5 have their own, others carry the number.
std::string InOutErrorMessage(uint32_t code);

// A file could not be read, created or written.
class EInOutError : public std::runtime_error
{
public:
    explicit EInOutError(uint32_t code)
        : std::runtime_error(InOutErrorMessage(code))
        , m_code(code)
    {
    }
    EInOutError(uint32_t code, const std::string& message)
        : std::runtime_error(message)
        , m_code(code)
    {
    }
    uint32_t Code() const { return m_code; }

private:
    uint32_t m_code;
};

class TLineReader
{
public:
    static constexpr int64_t kChunkSize = 32767; // one read; a NUL follows it in the buffer
    // A line this long or longer is handed out in pieces of this length.
    static constexpr int64_t kPieceLength = 32765;

    explicit TLineReader(IFile& file);

    // The next line, or piece of an over-long line, without its line end and cut at its first
    // NUL. continues is set when the line goes on in the next piece (a NUL in an earlier piece
    // leaves the rest of the line's pieces empty). The view is valid until the next call.
    // Returns false at end of file; raises EInOutError when the file cannot be read.
    bool ReadLine(std::string_view& line, bool& continues);

private:
    bool Fill(); // reads a chunk at m_filePos; false at end of file
    int64_t FindLineEnd(int64_t start);
    void Deliver(int64_t start, int64_t end, std::string_view& line);

    IFile& m_file;
    std::unique_ptr<char[]> m_buffer;
    int64_t m_filePos = 0; // where the next chunk is read
    int64_t m_chunkPos = 0; // file offset of the chunk in the buffer
    int64_t m_count = 0; // bytes in the chunk
    int64_t m_next = -1; // where the next line starts; -1: read a chunk first
    int64_t m_nextCr = -1; // cached positions of the next CR and LF at or after a start
    int64_t m_nextLf = -1;
    bool m_lineCutByNul = false; // the current over-long line has had a NUL
};

} // namespace wexly
