// Scanning 64 MiB of prose for a word that is not there, with and without case and as a
// whole word: the worst case of a search, which visits every paragraph.
#include "editor/EdSearch.h"
#include "editor/OvcParaList.h"

#include <benchmark/benchmark.h>

namespace wexly::bench {

// Defined in TextFileBench.cpp.
TOvcParaList& ProseCorpusList();
const TCharSet& FileEditorDelimiters();

namespace {

void RunScan(benchmark::State& state, bool matchCase, bool wholeWord, bool backward)
{
    TOvcParaList& list = ProseCorpusList();
    const TEdSearchPattern pattern("zanzibar", matchCase);
    const TParaPos from { 1, 1 };
    const TParaPos to { list.ParaCount(), list.ParaLength(list.ParaCount()) + 1 };
    for (auto _ : state) {
        auto found = FindInParas(
            list, pattern, from, to, backward, wholeWord ? &FileEditorDelimiters() : nullptr);
        if (found)
            state.SkipWithError("the word should not be there");
    }
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
void BM_SearchBackward(benchmark::State& s)
{
    RunScan(s, true, false, true);
}
BENCHMARK(BM_SearchMatchCase)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SearchNoCase)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SearchWholeWord)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SearchBackward)->Unit(benchmark::kMillisecond)->Iterations(5);

// A common word: the matcher stops at every hit (what replace-all drives).
void BM_FindEveryCommonWord(benchmark::State& state)
{
    TOvcParaList& list = ProseCorpusList();
    const TEdSearchPattern pattern("the", true);
    int64_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const TParaNode* node = list.Head(); node; node = node->Next()) {
            std::string_view text = node->GetS();
            for (size_t at = pattern.Find(text, 0, text.size(), false, &FileEditorDelimiters());
                 at != TEdSearchPattern::npos;
                 at = pattern.Find(text, at + 3, text.size(), false, &FileEditorDelimiters()))
                ++hits;
        }
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_FindEveryCommonWord)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace wexly::bench
