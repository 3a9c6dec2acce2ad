// Find in files over two generated trees in the temporary folder, seeded so that every run
// walks the same bytes: 5,000 prose files of about 10 KiB in 50 folders (50 MiB; a few with
// binary heads, a rare word on some lines) and 5,000 small source files of about 1.5 KiB.
// Natively each figure stands beside grep -rlF over the same tree, timed in the same loop.
#include "BenchReference.h"
#include "platform/CodePage.h"
#include "search/FindInFiles.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace wexly::bench {
namespace {

namespace fs = std::filesystem;

std::string Numbered(const char* prefix, int n)
{
    return prefix + std::to_string(n);
}

// Writes 10 folders of 5 subfolders of 100 files each under base, from makeFile(rng, index).
template <class F> std::string MakeTree(const char* name, uint32_t seed, F makeFile)
{
    const fs::path base = fs::temp_directory_path() / name;
    fs::remove_all(base);
    std::mt19937 rng(seed);
    int index = 0;
    for (int top = 0; top < 10; ++top) {
        for (int sub = 0; sub < 5; ++sub) {
            const fs::path dir = base / Numbered("d", top) / Numbered("s", sub);
            fs::create_directories(dir);
            for (int f = 0; f < 100; ++f, ++index) {
                const auto [file, text] = makeFile(rng, index);
                std::ofstream(dir / file, std::ios::binary)
                    .write(text.data(), static_cast<std::streamsize>(text.size()));
            }
        }
    }
    return base.string();
}

const std::string& ProseTree()
{
    static const std::string root = MakeTree("wexly_fif_prose", 20261208, [](auto& rng, int i) {
        static const char* const words[] = { "the", "editor", "line", "of", "search", "files",
            "and", "window", "text", "a", "paragraph", "byte", "tree", "mask", "harbour" };
        std::string text;
        if (i % 100 == 99)
            text += '\xC3'; // looks binary: skipped after its head is read
        const size_t size = 6000 + rng() % 8000;
        while (text.size() < size) {
            for (int w = 0, n = 4 + static_cast<int>(rng() % 12); w < n; ++w) {
                text += words[rng() % std::size(words)];
                text += ' ';
            }
            if (rng() % 500 == 0)
                text += "zanzibar";
            text += "\r\n";
        }
        return std::pair(Numbered("f", i % 100) + ".txt", text);
    });
    return root;
}

const std::string& SourceTree()
{
    static const std::string root = MakeTree("wexly_fif_source", 20261209, [](auto& rng, int i) {
        static const char* const names[] = { "count", "index", "buffer", "node", "length", "result",
            "paragraph", "window", "line", "offset" };
        auto name = [&] { return names[rng() % std::size(names)]; };
        std::string text = "#include \"module.h\"\n\nnamespace wexly {\n\n";
        const size_t size = 800 + rng() % 1400;
        while (text.size() < size) {
            text += "int ";
            text += name();
            text += "(int ";
            text += name();
            text += ")\n{\n    return ";
            text += name();
            text += rng() % 400 == 0 ? " + zanzibar" : " + 1";
            text += ";\n}\n\n";
        }
        text += "} // namespace wexly\n";
        return std::pair(Numbered("m", i % 100) + ".cpp", text);
    });
    return root;
}

class TNoPump final : public IFindInFilesHost
{
public:
    void StatusChanged(const std::string&) override { }
    void FileFound(size_t) override { }
    void ProcessMessages() override { }
};

// grep -rlF with the same options over the same tree; false where there is no grep.
bool RunGrep(const std::string& root, const char* mask, TSearchOptions options)
{
#if defined(_WIN32)
    (void)root;
    (void)mask;
    (void)options;
    return false;
#else
    std::string command = "grep -rlF";
    if (!options.Has(soMatchCase))
        command += 'i';
    if (options.Has(soWholeWord))
        command += 'w';
    command += std::string(" --include='") + mask + "' zanzibar '" + root + "' >/dev/null";
    return std::system(command.c_str()) == 0;
#endif
}

void RunWalk(benchmark::State& state, const std::string& root, const char* mask,
    TSearchOptions options, ICodePage* decodeWith = nullptr)
{
    const std::string walkMask = root + "/" + mask;
    TNoPump host;
    const bool running = true;
    int64_t files = 0, bytes = 0;
    size_t found = 0;
    TBestOf ours, reference;
    bool haveReference = false;
    for (auto _ : state) {
        ours.Time([&] {
            TFindResultTree tree;
            const TFindInFilesMatcher matcher("zanzibar", options);
            TFindInFilesWalk walk(
                RealFileSystem(), host, tree, running, matcher, false, decodeWith);
            const TFindInFilesOutcome outcome = walk.Run(walkMask, true);
            files += outcome.filesSearched;
            bytes += outcome.bytesSearched;
            found = tree.files.size();
        });
        state.PauseTiming();
        reference.Time([&] { haveReference = RunGrep(root, mask, options); });
        state.ResumeTiming();
    }
    if (found == 0)
        state.SkipWithError("the rare word should be found");
    state.counters["files/s"] = benchmark::Counter(double(files), benchmark::Counter::kIsRate);
    state.counters["MiB/s"]
        = benchmark::Counter(double(bytes) / (1024.0 * 1024.0), benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(found);
    if (haveReference)
        ReportAgainst(state, ours, reference, "grep -rlF");
    else
        state.counters["ms"] = ours.Ms();
}

void BM_FindInFilesMatchCase(benchmark::State& s)
{
    RunWalk(s, ProseTree(), "*.txt", soMatchCase);
}
void BM_FindInFilesNoCase(benchmark::State& s)
{
    RunWalk(s, ProseTree(), "*.txt", {});
}
void BM_FindInFilesWholeWord(benchmark::State& s)
{
    RunWalk(s, ProseTree(), "*.txt", soMatchCase | soWholeWord);
}
void BM_FindInFilesSourceMatchCase(benchmark::State& s)
{
    RunWalk(s, SourceTree(), "*.cpp", soMatchCase);
}
void BM_FindInFilesSourceNoCase(benchmark::State& s)
{
    RunWalk(s, SourceTree(), "*.cpp", {});
}
// With the switch that searches UTF-8 and UTF-16 files as the editor shows them.
void BM_FindInFilesConvertUnicode(benchmark::State& s)
{
    RunWalk(s, ProseTree(), "*.txt", soMatchCase, &ActiveCodePage());
}
BENCHMARK(BM_FindInFilesMatchCase)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FindInFilesNoCase)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FindInFilesWholeWord)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FindInFilesConvertUnicode)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_FindInFilesSourceMatchCase)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_FindInFilesSourceNoCase)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
} // namespace wexly::bench
