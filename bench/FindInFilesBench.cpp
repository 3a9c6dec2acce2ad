// Find in files over two generated trees in the temporary folder, seeded so that every run
// walks the same bytes: 5,000 prose files of about 10 KiB in 50 folders (50 MiB; a few with
// binary heads, a rare word on some lines) and 5,000 small source files of about 1.5 KiB.
// Natively each figure stands beside grep -rlF over the same tree, timed in the same loop.
#include "BenchReference.h"
#include "platform/CodePage.h"
#include "search/FindInFiles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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

// 500 prose files of about 10 KiB and one log of 64 MiB: the large file is where the window
// would go without running for longest.
const std::string& MixedTree()
{
    static const std::string root = [] {
        const fs::path base = fs::temp_directory_path() / "wexly_fif_mixed";
        fs::remove_all(base);
        fs::create_directories(base);
        std::mt19937 rng(20261209);
        std::string line = "2026-12-09 12:00:00 request served from the editor's cache\r\n";
        for (int f = 0; f < 500; ++f) {
            std::string text;
            while (text.size() < 10000)
                text += rng() % 300 == 0 ? "zanzibar\r\n" : line;
            std::ofstream(base / Numbered("f", f).append(".log"), std::ios::binary)
                .write(text.data(), static_cast<std::streamsize>(text.size()));
        }
        std::string block;
        while (block.size() < 1024 * 1024)
            block += line;
        std::ofstream big(base / "big.log", std::ios::binary);
        for (int mib = 0; mib < 64; ++mib)
            big.write(block.data(), static_cast<std::streamsize>(block.size()));
        big << "zanzibar\r\n";
        return base.string();
    }();
    return root;
}

// Notes the longest stretch between two runs of the window, and asks for a halt at one of them.
class TPumpClock final : public IFindInFilesHost
{
public:
    using TClock = std::chrono::steady_clock;

    bool running = true;
    int haltAt = -1; // the pump inside the large file that clears running; -1 never
    double longestGapMs = 0;
    TClock::time_point last = TClock::now(), halted {};

    void StatusChanged(const std::string& path) override
    {
        inBig = path.size() >= 7 && path.compare(path.size() - 7, 7, "big.log") == 0;
        pumpsInBig = 0;
    }
    void FileFound(size_t) override { }
    void ProcessMessages() override
    {
        const TClock::time_point now = TClock::now();
        longestGapMs = std::max(longestGapMs, Ms(last, now));
        last = now;
        if (inBig && ++pumpsInBig == haltAt) {
            running = false;
            halted = now;
        }
    }
    static double Ms(TClock::time_point a, TClock::time_point b)
    {
        return std::chrono::duration<double, std::milli>(b - a).count();
    }

private:
    bool inBig = false;
    int pumpsInBig = 0;
};

// The longest time the window would wait for its messages during a walk that meets a 64 MiB
// file, and how soon a halt asked for in the middle of that file ends the walk, beside the
// whole walk's time.
void BM_FindInFilesResponsiveness(benchmark::State& state)
{
    const std::string mask = MixedTree() + "/*.log";
    const TFindInFilesMatcher matcher("zanzibar", soMatchCase);
    double walkMs = 0, gapMs = 0, haltMs = 0;
    for (auto _ : state) {
        TPumpClock host;
        TFindResultTree tree;
        const auto start = TPumpClock::TClock::now();
        host.last = start;
        TFindInFilesWalk(RealFileSystem(), host, tree, host.running, matcher, false)
            .Run(mask, false);
        const auto end = TPumpClock::TClock::now();
        host.longestGapMs = std::max(host.longestGapMs, TPumpClock::Ms(host.last, end));
        walkMs = std::max(walkMs, TPumpClock::Ms(start, end));
        gapMs = std::max(gapMs, host.longestGapMs);

        // The same walk, halted at a pump in the middle of the large file.
        TPumpClock halting;
        halting.haltAt = 33;
        TFindResultTree partial;
        TFindInFilesWalk(RealFileSystem(), halting, partial, halting.running, matcher, false)
            .Run(mask, false);
        if (halting.running)
            state.SkipWithError("the walk never ran the window inside the large file");
        else
            haltMs = std::max(haltMs, TPumpClock::Ms(halting.halted, TPumpClock::TClock::now()));
    }
    state.counters["walk_ms"] = walkMs;
    state.counters["longest_gap_ms"] = gapMs;
    state.counters["halt_ms"] = haltMs;
}
BENCHMARK(BM_FindInFilesResponsiveness)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

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
