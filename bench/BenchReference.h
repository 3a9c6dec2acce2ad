// Simple references measured beside the editor's figures in the same run, so that a ratio and
// not an absolute time (noisy on shared machines) is what a benchmark reports: a library
// search and a plain copy-and-replace over the corpus file's bytes in one buffer.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace wexly::bench {

// The generated prose of bench/gen_corpus.py: 64 MiB, about 1 M lines, "harbour" on nine
// lines in ten and "quixotically" about 100 times. Empty when the script has not run.
const std::string& GeneratedProsePath();
// The bytes of the file, read once per path; empty when it cannot be read.
const std::string& FileBytes(const std::string& path);

// Start of the first occurrence of word in text, or npos: the C library's memmem where there
// is one, else a memchr-and-memcmp loop.
size_t ReferenceFind(std::string_view text, std::string_view word);
// What the reference search is, for the report.
const char* ReferenceFindName();
// text with every occurrence of word replaced by with, copied into a new string.
std::string CopyAndReplace(
    std::string_view text, std::string_view word, std::string_view with, size_t& count);

// The file read whole into a new buffer and split at CR, LF and CR LF into a new table of
// lines: what loading a text file needs at the least. Returns the line count.
size_t ReadAndSplitLines(const std::string& path);

// The fastest of the runs timed so far, in milliseconds: the least disturbed one.
class TBestOf
{
public:
    template <class F> void Time(F&& run)
    {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took
            = std::chrono::steady_clock::now() - start;
        if (took.count() < m_ms)
            m_ms = took.count();
    }
    double Ms() const { return m_ms; }

private:
    double m_ms = 1e300;
};

// Counters "ms" (the best run), "ref_ms" (the best reference run) and "ratio"; the label
// names the reference ("memmem", "copy-and-replace", "one full search").
void ReportAgainst(benchmark::State& state, const TBestOf& ours, const TBestOf& reference,
    const char* referenceName);

} // namespace wexly::bench
