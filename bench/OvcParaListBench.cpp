// The text buffer on the corpora of bench/gen_corpus.py: loading, random and typing inserts,
// full re-wrap, line lookups, undo and redo. Run the script first.
#include "editor/OvcParaList.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace wexly::bench {

namespace {

// The corpus file split into lines (CR LF or LF) in memory, so that timings exclude disk.
struct TCorpus
{
    std::string text;
    std::vector<std::pair<size_t, int32_t>> lines; // offset, length
};

const TCorpus* Corpus(const std::string& name)
{
    static std::map<std::string, TCorpus> cache;
    auto it = cache.find(name);
    if (it != cache.end())
        return &it->second;
    std::ifstream in("bench/corpus/" + name, std::ios::binary);
    if (!in)
        return nullptr;
    TCorpus& c = cache[name];
    c.text.assign(std::istreambuf_iterator<char>(in), {});
    size_t start = 0;
    while (start < c.text.size()) {
        size_t lf = c.text.find('\n', start);
        if (lf == std::string::npos)
            lf = c.text.size();
        size_t end = lf > start && c.text[lf - 1] == '\r' ? lf - 1 : lf;
        c.lines.emplace_back(start, static_cast<int32_t>(end - start));
        start = lf + 1;
    }
    return &c;
}

void Load(TOvcParaList& list, const TCorpus& c)
{
    for (auto [offset, len] : c.lines)
        list.AppendPara(c.text.data() + offset, len, true);
}

double ResidentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// A loaded buffer kept between benchmarks.
TOvcParaList* Loaded(const std::string& name)
{
    static std::map<std::string, std::unique_ptr<TOvcParaList>> lists;
    auto& list = lists[name];
    if (!list) {
        const TCorpus* c = Corpus(name);
        if (!c)
            return nullptr;
        list = std::make_unique<TOvcParaList>();
        Load(*list, *c);
    }
    list->SetWordWrap(false);
    return list.get();
}

} // namespace

static void BM_ParaListLoad(benchmark::State& state)
{
    const TCorpus* c = Corpus("prose64.txt");
    if (!c)
        return state.SkipWithError("run bench/gen_corpus.py first");
    double before = ResidentMiB();
    double after = 0;
    for (auto _ : state) {
        auto list = std::make_unique<TOvcParaList>();
        Load(*list, *c);
        state.PauseTiming();
        after = ResidentMiB();
        benchmark::DoNotOptimize(list->ParaCount());
        list.reset(); // freeing is not part of loading
        state.ResumeTiming();
    }
    double textMiB = static_cast<double>(c->text.size()) / (1 << 20);
    state.counters["lines"] = static_cast<double>(c->lines.size());
    state.counters["process_MiB"] = after;
    state.counters["list_MiB"] = after - before;
    state.counters["process_x_text"] = after / textMiB;
    state.counters["list_x_text"] = (after - before) / textMiB;
}
BENCHMARK(BM_ParaListLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

// Closing a document: only the destruction of a loaded list is timed.
static void BM_ParaListFree(benchmark::State& state)
{
    const TCorpus* c = Corpus("prose64.txt");
    if (!c)
        return state.SkipWithError("run bench/gen_corpus.py first");
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<TOvcParaList>();
        Load(*list, *c);
        state.ResumeTiming();
        list.reset();
    }
    state.counters["lines"] = static_cast<double>(c->lines.size());
}
BENCHMARK(BM_ParaListFree)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reloading into the same list: Reset drops the old text, then the file is read again.
static void BM_ParaListResetAndReload(benchmark::State& state)
{
    const TCorpus* c = Corpus("prose64.txt");
    if (!c)
        return state.SkipWithError("run bench/gen_corpus.py first");
    TOvcParaList list;
    Load(list, *c);
    for (auto _ : state) {
        list.Reset();
        Load(list, *c);
    }
    benchmark::DoNotOptimize(list.ParaCount());
}
BENCHMARK(BM_ParaListResetAndReload)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_ParaListLoadAndFree(benchmark::State& state)
{
    const TCorpus* c = Corpus("prose64.txt");
    if (!c)
        return state.SkipWithError("run bench/gen_corpus.py first");
    for (auto _ : state) {
        TOvcParaList list;
        Load(list, *c);
        benchmark::DoNotOptimize(list.ParaCount());
    }
}
BENCHMARK(BM_ParaListLoadAndFree)->Unit(benchmark::kMillisecond)->Iterations(3);

static void RandomInserts(benchmark::State& state, const char* name)
{
    TOvcParaList* list = Loaded(name);
    if (!list)
        return state.SkipWithError("run bench/gen_corpus.py first");
    std::mt19937 rng(7);
    constexpr int kInserts = 10000;
    for (auto _ : state) {
        for (int i = 0; i < kInserts; ++i) {
            auto para = static_cast<int32_t>(rng() % static_cast<unsigned>(list->ParaCount()) + 1);
            auto pos = static_cast<int32_t>(
                rng() % static_cast<unsigned>(list->ParaLength(para) + 1) + 1);
            list->InsertTextPrim(para, pos, "x", 1);
        }
    }
    state.counters["us_per_insert"] = benchmark::Counter(
        static_cast<double>(kInserts) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

static void BM_ParaListRandomInsert8MiB(benchmark::State& state)
{
    RandomInserts(state, "prose8.txt");
}
static void BM_ParaListRandomInsert64MiB(benchmark::State& state)
{
    RandomInserts(state, "prose64.txt");
}
BENCHMARK(BM_ParaListRandomInsert8MiB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ParaListRandomInsert64MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_ParaListTypingInsert(benchmark::State& state)
{
    TOvcParaList* list = Loaded("prose64.txt");
    if (!list)
        return state.SkipWithError("run bench/gen_corpus.py first");
    std::mt19937 rng(11);
    constexpr int kInserts = 10000;
    int32_t para = list->ParaCount() / 2;
    for (auto _ : state) {
        int32_t pos = 1;
        for (int i = 0; i < kInserts; ++i) {
            if (list->ParaLength(para) > 30000) { // keep well inside the paragraph limit
                ++para;
                pos = 1;
            }
            list->InsertTextPrim(para, pos, "e", 1);
            pos += 1 + static_cast<int32_t>(rng() % 8 == 0 ? rng() % 5 : 0); // drift now and then
            pos = std::min<int32_t>(pos, list->ParaLength(para) + 1);
        }
    }
    state.counters["us_per_insert"] = benchmark::Counter(
        static_cast<double>(kInserts) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParaListTypingInsert)->Unit(benchmark::kMicrosecond)->Iterations(20);

static void BM_ParaListRecalculateWrap80(benchmark::State& state)
{
    TOvcParaList* list = Loaded("prose64.txt");
    if (!list)
        return state.SkipWithError("run bench/gen_corpus.py first");
    list->SetWrapColumn(80);
    for (auto _ : state) {
        state.PauseTiming();
        list->SetWordWrap(false);
        state.ResumeTiming();
        list->SetWordWrap(true); // re-wraps every paragraph
    }
    state.counters["display_lines"] = list->LineCount();
    list->SetWordWrap(false);
}
BENCHMARK(BM_ParaListRecalculateWrap80)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_ParaListRandomLineLookupWrapped(benchmark::State& state)
{
    TOvcParaList* list = Loaded("prose64.txt");
    if (!list)
        return state.SkipWithError("run bench/gen_corpus.py first");
    list->SetWrapColumn(80);
    list->SetWordWrap(true);
    std::mt19937 rng(3);
    constexpr int kLookups = 10000;
    int64_t sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < kLookups; ++i) {
            auto line = static_cast<int32_t>(rng() % static_cast<unsigned>(list->LineCount()) + 1);
            int32_t offset = 0;
            sum += list->FindParaByLine(line, offset);
            sum += static_cast<int64_t>(list->NthLine(line + (i & 1)).size());
        }
    }
    benchmark::DoNotOptimize(sum);
    state.counters["us_per_lookup"] = benchmark::Counter(
        static_cast<double>(kLookups) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    list->SetWordWrap(false);
}
BENCHMARK(BM_ParaListRandomLineLookupWrapped)->Unit(benchmark::kMillisecond);

static void BM_ParaListUndoRedoWords(benchmark::State& state)
{
    TOvcParaList* list = Loaded("prose8.txt");
    if (!list)
        return state.SkipWithError("run bench/gen_corpus.py first");
    list->SetUndoSize(65535);
    constexpr int kRounds = 10;
    constexpr int kWords = 1000; // fits the largest block; ten rounds make 10,000 of each
    int32_t para = 0, pos = 0;
    for (auto _ : state) {
        for (int r = 0; r < kRounds; ++r) {
            state.PauseTiming();
            for (int w = 0; w < kWords; ++w) // each word a separate action: a new paragraph
                list->InsertTextPrim(1000 + w * 7, 1, "word ", 5);
            state.ResumeTiming();
            for (int w = 0; w < kWords; ++w)
                list->Undo(para, pos);
            for (int w = 0; w < kWords; ++w)
                list->Redo(para, pos);
        }
    }
    list->SetUndoSize(kDefaultUndoSize);
}
BENCHMARK(BM_ParaListUndoRedoWords)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace wexly::bench
