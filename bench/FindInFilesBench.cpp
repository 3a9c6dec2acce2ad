// Find in files over a generated tree under /tmp: 16 directories in two levels, 30 prose files
// each (about 21 MiB in all), a few with binary heads and a rare word in some lines. Seeded, so
// every run walks the same tree. Reports files and bytes searched per second.
#include "search/FindInFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace wexly::bench {
namespace {

std::string Numbered(const char* prefix, int n)
{
    std::string name = prefix;
    name += std::to_string(n);
    return name;
}

const std::string& TreeRoot()
{
    static const std::string root = [] {
        namespace fs = std::filesystem;
        const fs::path base = fs::temp_directory_path() / "wexly_fif_bench";
        fs::remove_all(base);
        std::mt19937 rng(20261208);
        const char* words[] = { "the", "editor", "line", "of", "search", "files", "and", "window",
            "text", "a", "paragraph", "byte", "tree", "mask" };
        for (int top = 0; top < 4; ++top) {
            for (int sub = 0; sub < 4; ++sub) {
                const fs::path dir = base / Numbered("d", top) / Numbered("s", sub);
                fs::create_directories(dir);
                for (int f = 0; f < 30; ++f) {
                    std::ofstream out(dir / (Numbered("f", f) + ".txt"), std::ios::binary);
                    if (f == 29)
                        out << '\xC3'; // looks binary: skipped after 32 bytes
                    const int lines = 200 + static_cast<int>(rng() % 1400);
                    for (int l = 0; l < lines; ++l) {
                        for (int w = 0, n = 4 + static_cast<int>(rng() % 12); w < n; ++w)
                            out << words[rng() % std::size(words)] << ' ';
                        if (rng() % 500 == 0)
                            out << "zanzibar";
                        out << "\r\n";
                    }
                }
            }
        }
        return base.string() + "/";
    }();
    return root;
}

class TNoPump final : public IFindInFilesHost
{
public:
    void StatusChanged(const std::string&) override { }
    void FileFound(size_t) override { }
    void ProcessMessages() override { }
};

void RunWalk(benchmark::State& state, TSearchOptions options)
{
    const std::string mask = TreeRoot() + "*.txt";
    TNoPump host;
    const bool running = true;
    int64_t files = 0, bytes = 0;
    size_t found = 0;
    for (auto _ : state) {
        TFindResultTree tree;
        const TFindInFilesMatcher matcher("zanzibar", options);
        TFindInFilesWalk walk(RealFileSystem(), host, tree, running, matcher, false);
        const TFindInFilesOutcome outcome = walk.Run(mask, true);
        files += outcome.filesSearched;
        bytes += outcome.bytesSearched;
        found = tree.files.size();
    }
    if (found == 0)
        state.SkipWithError("the rare word should be found");
    state.counters["files/s"] = benchmark::Counter(double(files), benchmark::Counter::kIsRate);
    state.counters["MiB/s"]
        = benchmark::Counter(double(bytes) / (1024.0 * 1024.0), benchmark::Counter::kIsRate);
}

void BM_FindInFilesMatchCase(benchmark::State& s)
{
    RunWalk(s, soMatchCase);
}
void BM_FindInFilesNoCase(benchmark::State& s)
{
    RunWalk(s, {});
}
void BM_FindInFilesWholeWord(benchmark::State& s)
{
    RunWalk(s, soWholeWord);
}
BENCHMARK(BM_FindInFilesMatchCase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FindInFilesNoCase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FindInFilesWholeWord)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
} // namespace wexly::bench
