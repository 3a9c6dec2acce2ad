// Scanning 64 MiB of prose for a word that is not there, with and without case and as a
// whole word: the worst case of a search, which visits every paragraph. Each figure stands
// beside the reference search over the same text in one buffer, timed in the same loop.
#include "BenchReference.h"
#include "editor/EdSearch.h"
#include "editor/OvcParaList.h"
#include "editor/TextFile.h"

#include <benchmark/benchmark.h>

namespace wexly::bench {

// Defined in TextFileBench.cpp.
const std::string& ProseCorpusPath();
TOvcParaList& ProseCorpusList();
const TCharSet& FileEditorDelimiters();

namespace {

constexpr std::string_view kMissingWord = "zanzibar";

// The generated prose when bench/gen_corpus.py has run, else the text file benchmark's own.
struct TSearchCorpus
{
    TOvcParaList* list;
    const std::string* bytes;
};

const TSearchCorpus& Corpus()
{
    static const TSearchCorpus corpus = [] {
        if (GeneratedProsePath().empty())
            return TSearchCorpus { &ProseCorpusList(), &FileBytes(ProseCorpusPath()) };
        static TOvcParaList list;
        LoadTextFile(list, RealFileSystem(), GeneratedProsePath(), true);
        return TSearchCorpus { &list, &FileBytes(GeneratedProsePath()) };
    }();
    return corpus;
}

void RunScan(benchmark::State& state, bool matchCase, bool wholeWord, bool backward)
{
    const TSearchCorpus& corpus = Corpus();
    const TOvcParaList& list = *corpus.list;
    const TEdSearchPattern pattern(kMissingWord, matchCase);
    const TParaPos from { 1, 1 };
    const TParaPos to { list.ParaCount(), list.ParaLength(list.ParaCount()) + 1 };
    TBestOf ours, reference;
    for (auto _ : state) {
        std::optional<TParaPos> found;
        ours.Time([&] {
            found = FindInParas(
                list, pattern, from, to, backward, wholeWord ? &FileEditorDelimiters() : nullptr);
        });
        if (found)
            state.SkipWithError("the word should not be there");
        state.PauseTiming();
        reference.Time(
            [&] { benchmark::DoNotOptimize(ReferenceFind(*corpus.bytes, kMissingWord)); });
        state.ResumeTiming();
    }
    ReportAgainst(state, ours, reference, ReferenceFindName());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(corpus.bytes->size()));
}

void BM_SearchMatchCase(benchmark::State& s)
{
    RunScan(s, true, false, false);
}
void BM_SearchNoCase(benchmark::State& s)
{
    RunScan(s, false, false, false);
}
void BM_SearchWholeWord(benchmark::State& s)
{
    RunScan(s, true, true, false);
}
void BM_SearchNoCaseWholeWord(benchmark::State& s)
{
    RunScan(s, false, true, false);
}
void BM_SearchBackward(benchmark::State& s)
{
    RunScan(s, true, false, true);
}
void BM_SearchBackwardNoCase(benchmark::State& s)
{
    RunScan(s, false, false, true);
}
BENCHMARK(BM_SearchMatchCase)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchNoCase)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchWholeWord)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchNoCaseWholeWord)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchBackward)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchBackwardNoCase)->Unit(benchmark::kMillisecond)->Iterations(20);

// A common word: the matcher stops at every hit (what replace-all drives).
void BM_FindEveryCommonWord(benchmark::State& state)
{
    const TOvcParaList& list = *Corpus().list;
    const std::string_view word = GeneratedProsePath().empty() ? "the" : "harbour";
    const TEdSearchPattern pattern(word, true);
    int64_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const TParaNode* node = list.Head(); node; node = node->Next()) {
            std::string_view text = node->GetS();
            for (size_t at = pattern.Find(text, 0, text.size(), false, &FileEditorDelimiters());
                 at != TEdSearchPattern::npos; at = pattern.Find(text, at + word.size(),
                                                   text.size(), false, &FileEditorDelimiters()))
                ++hits;
        }
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_FindEveryCommonWord)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace wexly::bench
