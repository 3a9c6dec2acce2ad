// Fuzzes the line reader and the load/save round trip: any bytes must load into a consistent
// list, save, and load back to the same paragraphs (but for control bytes saved as spaces);
// without split lines the saved bytes are the input's lines with CR LF ends.
#include "editor/OvcParaList.h"
#include "editor/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace wexly;

class TMemoryFile final : public IFile
{
public:
    explicit TMemoryFile(std::string data)
        : m_data(std::move(data))
    {
    }
    int64_t Read(void* buffer, int64_t size) override
    {
        int64_t n = std::min<int64_t>(size, static_cast<int64_t>(m_data.size()) - m_pos);
        if (n <= 0)
            return 0;
        std::memcpy(buffer, m_data.data() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    bool Write(const void*, int64_t) override { return false; }
    bool Seek(int64_t offset) override
    {
        m_pos = offset;
        return true;
    }
    int64_t Position() const override { return m_pos; }
    int64_t Size() const override { return static_cast<int64_t>(m_data.size()); }
    bool Truncate() override { return false; }
    bool Flush() override { return true; }
    uint32_t LastError() const override { return 0; }

private:
    std::string m_data;
    int64_t m_pos = 0;
};

std::vector<std::string> Paras(const TOvcParaList& list)
{
    std::vector<std::string> out;
    for (const TParaNode* n = list.Head(); n; n = n->Next())
        out.emplace_back(n->GetS());
    return out;
}

// What saving must write for input whose lines were not split.
std::string Expected(const std::string& data, bool trim)
{
    std::string out, line;
    bool cut = false;
    auto endLine = [&] {
        if (trim)
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
        for (char& c : line)
            if (c >= 1 && c <= 8)
                c = ' ';
        out += line + "\r\n";
        line.clear();
        cut = false;
    };
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            endLine();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
        } else if (c == '\0') {
            cut = true;
        } else if (!cut) {
            line += c;
        }
    }
    if (!line.empty())
        endLine();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool trim = data[0] & 1;
    // Small paragraph limits make splits reachable with small inputs.
    const int32_t maxLen = (data[0] & 2) ? 1 + (data[0] >> 2) : kMaxParaLen;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    TOvcParaList list;
    list.SetMaxParaLen(maxLen);
    TMemoryFile file(input);
    TLoadResult r = ReadTextFile(file, list, trim);
    list.CheckInvariants();
    std::string saved = TextFileBytes(list);
    if (!r.linesSplit && saved != Expected(input, trim))
        std::abort();

    TOvcParaList again;
    again.SetMaxParaLen(maxLen);
    TMemoryFile savedFile(saved);
    ReadTextFile(savedFile, again, trim);
    again.CheckInvariants();
    // Bytes 1 to 8 are saved as spaces, which trimming may then remove.
    std::vector<std::string> want = Paras(list);
    for (auto& p : want) {
        for (char& c : p)
            if (c >= 1 && c <= 8)
                c = ' ';
        if (trim)
            while (!p.empty() && (p.back() == ' ' || p.back() == '\t'))
                p.pop_back();
    }
    if (Paras(again) != want)
        std::abort();
    return 0;
}
