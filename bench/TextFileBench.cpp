// Loading, saving, word count and the binary test on 64 MiB of generated prose.
#include "BenchReference.h"
#include "editor/OvcParaList.h"
#include "editor/TextFile.h"

#include <benchmark/benchmark.h>
#include <memory>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace wexly::bench {

// Shared with SearchBench.cpp.
const std::string& ProseCorpusPath();
TOvcParaList& ProseCorpusList();
const TCharSet& FileEditorDelimiters();

namespace {

constexpr size_t kCorpusBytes = 64u << 20;

// Seeded prose: words of a small vocabulary with a skewed frequency, lines of 40 to 100
// characters, now and then an empty line; CR LF line ends.
std::string GenerateProse()
{
    static const char* const words[] = { "the", "of", "and", "to", "a", "in", "that", "is", "was",
        "he", "for", "it", "with", "as", "his", "on", "be", "at", "by", "had", "this", "not", "but",
        "from", "have", "they", "which", "one", "you", "were", "her", "all", "she", "there",
        "would", "their", "we", "him", "been", "has", "when", "who", "will", "more", "no", "if",
        "out", "so", "said", "what", "up", "its", "about", "into", "than", "them", "can", "only",
        "other", "new", "some", "could", "time", "these", "two", "may", "then", "do", "first",
        "any", "my", "now", "such", "like", "our", "over", "man", "me", "even", "most", "made",
        "after", "also", "did", "many", "before", "must", "through", "back", "years", "where",
        "much", "your", "way", "well", "down", "should", "because", "each", "just", "those",
        "people", "how", "too", "little", "state", "good", "very", "make", "world", "still", "own",
        "see", "men", "work", "long", "get", "here", "between", "both", "life", "being", "under",
        "never", "day", "same", "another", "know", "while", "last", "might", "us", "great", "old",
        "year", "off", "come", "since", "against", "go", "came", "right", "used", "take", "three",
        "river", "lantern", "harbour", "quietly", "window", "morning", "letter", "garden" };
    constexpr size_t n = sizeof words / sizeof words[0];
    std::mt19937 rng(20240607);
    // Skewed choice: the square of a uniform number favours the front of the list.
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::uniform_int_distribution<int> lineLen(40, 100);
    std::string text;
    text.reserve(kCorpusBytes + 256);
    while (text.size() < kCorpusBytes) {
        if (u(rng) < 0.08) {
            text += "\r\n";
            continue;
        }
        const size_t target = text.size() + static_cast<size_t>(lineLen(rng));
        bool first = true;
        while (text.size() < target) {
            if (!first)
                text += u(rng) < 0.07 ? ", " : " ";
            double x = u(rng);
            text += words[static_cast<size_t>(x * x * static_cast<double>(n))];
            first = false;
        }
        text += u(rng) < 0.3 ? ".\r\n" : "\r\n";
    }
    return text;
}

} // namespace

const std::string& ProseCorpusPath()
{
    static const std::string path = [] {
        namespace fs = std::filesystem;
        fs::path dir = fs::path("bench") / "corpus";
        if (!fs::is_directory(dir))
            dir = fs::temp_directory_path();
        fs::path file = dir / "prose_64m_textfile.txt";
        std::error_code ec;
        if (!fs::exists(file) || fs::file_size(file, ec) < kCorpusBytes) {
            std::string text = GenerateProse();
            std::ofstream(file, std::ios::binary)
                .write(text.data(), static_cast<std::streamsize>(text.size()));
        }
        return file.string();
    }();
    return path;
}

TOvcParaList& ProseCorpusList()
{
    static TOvcParaList list;
    static bool loaded = false;
    if (!loaded) {
        LoadTextFile(list, RealFileSystem(), ProseCorpusPath(), true);
        loaded = true;
    }
    return list;
}

const TCharSet& FileEditorDelimiters()
{
    static const TCharSet set("\t\r\n ,./?;:\"<>[]{}-=\\+|()%@&^$!~*");
    return set;
}

namespace {

void BM_LoadFromFile(benchmark::State& state)
{
    const std::string& path = ProseCorpusPath();
    int32_t paras = 0;
    {
        TOvcParaList warm;
        LoadTextFile(warm, RealFileSystem(), path, true); // warm the cache
    }
    TBestOf ours, reference;
    size_t lines = 0;
    for (auto _ : state) {
        // A document is loaded into a fresh buffer; freeing the old one is not loading.
        auto list = std::make_unique<TOvcParaList>();
        ours.Time([&] {
            TLoadResult r = LoadTextFile(*list, RealFileSystem(), path, true);
            benchmark::DoNotOptimize(r);
        });
        state.PauseTiming();
        paras = list->ParaCount();
        list.reset();
        reference.Time([&] { lines = ReadAndSplitLines(path); });
        state.ResumeTiming();
    }
    ReportAgainst(state, ours, reference, "read + line split");
    state.counters["paras"] = paras;
    state.counters["lines"] = static_cast<double>(lines);
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kCorpusBytes));
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->Iterations(5);

// Revert and reload: the old text is freed inside the timing.
void BM_ReloadIntoLoadedBuffer(benchmark::State& state)
{
    const std::string& path = ProseCorpusPath();
    TOvcParaList list;
    LoadTextFile(list, RealFileSystem(), path, true);
    for (auto _ : state) {
        TLoadResult r = LoadTextFile(list, RealFileSystem(), path, true);
        benchmark::DoNotOptimize(r);
    }
    state.counters["paras"] = list.ParaCount();
}
BENCHMARK(BM_ReloadIntoLoadedBuffer)->Unit(benchmark::kMillisecond)->Iterations(3);

// The line reader alone, to tell its share of the load from the buffer's.
void BM_ReadLinesOnly(benchmark::State& state)
{
    const std::string& path = ProseCorpusPath();
    int64_t lines = 0;
    for (auto _ : state) {
        auto file = OpenTextFileForLoad(RealFileSystem(), path);
        TLineReader reader(*file);
        std::string_view line;
        bool continues = false;
        lines = 0;
        while (reader.ReadLine(line, continues))
            ++lines;
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

// Only producing the saved bytes, without the file system.
void BM_SaveBytesOnly(benchmark::State& state)
{
    TOvcParaList& list = ProseCorpusList();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextFileBytes(list).size());
}
BENCHMARK(BM_SaveBytesOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveToFile(benchmark::State& state)
{
    TOvcParaList& list = ProseCorpusList();
    std::string out = ProseCorpusPath() + ".saved";
    for (auto _ : state)
        SaveTextFile(list, RealFileSystem(), out, false);
    std::remove(out.c_str());
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WordCount(benchmark::State& state)
{
    TOvcParaList& list = ProseCorpusList();
    int32_t words = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(words = WordCount(list, FileEditorDelimiters()));
    state.counters["words"] = words;
}
BENCHMARK(BM_WordCount)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LooksBinary(benchmark::State& state)
{
    const std::string& path = ProseCorpusPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(LooksBinary(RealFileSystem(), path));
}
BENCHMARK(BM_LooksBinary)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace wexly::bench
