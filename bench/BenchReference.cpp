#include "BenchReference.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

namespace wexly::bench {

const std::string& GeneratedProsePath()
{
    static const std::string path
        = std::filesystem::exists("bench/corpus/prose64.txt") ? "bench/corpus/prose64.txt" : "";
    return path;
}

const std::string& FileBytes(const std::string& path)
{
    static std::map<std::string, std::string> cache;
    auto [it, added] = cache.try_emplace(path);
    if (added) {
        std::ifstream in(path, std::ios::binary);
        it->second.assign(std::istreambuf_iterator<char>(in), {});
    }
    return it->second;
}

size_t ReferenceFind(std::string_view text, std::string_view word)
{
#if defined(__GLIBC__)
    const void* at = memmem(text.data(), text.size(), word.data(), word.size());
    return at ? static_cast<size_t>(static_cast<const char*>(at) - text.data())
              : std::string_view::npos;
#else
    if (word.empty() || word.size() > text.size())
        return std::string_view::npos;
    const char* s = text.data();
    const char* last = s + (text.size() - word.size());
    for (const char* p = s; p <= last; ++p) {
        p = static_cast<const char*>(std::memchr(p, word[0], static_cast<size_t>(last - p) + 1));
        if (!p)
            break;
        if (std::memcmp(p, word.data(), word.size()) == 0)
            return static_cast<size_t>(p - s);
    }
    return std::string_view::npos;
#endif
}

const char* ReferenceFindName()
{
#if defined(__GLIBC__)
    return "glibc memmem";
#else
    return "memchr + memcmp";
#endif
}

std::string CopyAndReplace(
    std::string_view text, std::string_view word, std::string_view with, size_t& count)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    count = 0;
    size_t from = 0;
    for (;;) {
        const size_t at = ReferenceFind(text.substr(from), word);
        if (at == std::string_view::npos)
            break;
        out.append(text, from, at);
        out.append(with);
        from += at + word.size();
        ++count;
    }
    out.append(text, from);
    return out;
}

size_t ReadAndSplitLines(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    std::string bytes;
    char chunk[1 << 16];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        bytes.append(chunk, got);
    std::fclose(f);
    std::vector<std::string_view> lines;
    const char* s = bytes.data();
    const size_t n = bytes.size();
    for (size_t start = 0; start < n;) {
        const void* lf = std::memchr(s + start, '\n', n - start);
        size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - s) : n;
        // A lone CR ends a line too.
        if (const void* cr = std::memchr(s + start, '\r', end - start))
            end = static_cast<size_t>(static_cast<const char*>(cr) - s);
        lines.emplace_back(s + start, end - start);
        start = end + (end + 1 < n && s[end] == '\r' && s[end + 1] == '\n' ? 2 : 1);
    }
    return lines.size();
}

void ReportAgainst(benchmark::State& state, const TBestOf& ours, const TBestOf& reference,
    const char* referenceName)
{
    state.SetLabel(std::string("ref: ") + referenceName);
    state.counters["ms"] = ours.Ms();
    state.counters["ref_ms"] = reference.Ms();
    state.counters["ratio"] = ours.Ms() / reference.Ms();
}

} // namespace wexly::bench
