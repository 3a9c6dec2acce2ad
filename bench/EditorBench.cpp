// The editor model on 64 MiB of generated prose: caret movement through the command entry
// with word wrap on, search through the editor, and replace-all with undo recording.
#include "BenchReference.h"
#include "editor/TFEditor.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace wexly::bench {

// Defined in TextFileBench.cpp.
const std::string& ProseCorpusPath();

namespace {

// The buffer's generated prose (bench/gen_corpus.py) with its common word "harbour" on about
// nine lines in ten; without it, the text file benchmark's own prose and one of its words.
struct TCorpus
{
    std::string path;
    const char* commonWord;
};

const TCorpus& Corpus()
{
    static const TCorpus corpus = [] {
        const std::string generated = "bench/corpus/prose64.txt";
        if (std::filesystem::exists(generated))
            return TCorpus { generated, "harbour" };
        return TCorpus { ProseCorpusPath(), "that" };
    }();
    return corpus;
}

// One wrapped editor over the corpus, as a document window of 40 rows and 82 columns shows
// it (wrap column 80).
TTFEditor& WrappedEditor()
{
    static TTFEditor* editor = [] {
        auto* e = new TTFEditor;
        e->LoadFromFile(Corpus().path);
        e->SetWrapToWindow(true);
        e->SetVisibleSize(40, 82);
        e->SetWordWrap(true);
        return e;
    }();
    return *editor;
}

void RunMoves(benchmark::State& state, std::initializer_list<TCommandCode> cycle)
{
    TTFEditor& e = WrappedEditor();
    constexpr int kMoves = 100000;
    for (auto _ : state) {
        e.ProcessCommand(ccFirstPage, 0);
        int done = 0;
        while (done < kMoves) {
            for (TCommandCode c : cycle) {
                e.ProcessCommand(c, 0);
                ++done;
            }
            if (e.CaretLine() >= e.GetLineCount() - 1)
                e.ProcessCommand(ccFirstPage, 0);
        }
        benchmark::DoNotOptimize(e.CaretLine());
    }
    state.counters["lines"] = static_cast<double>(e.GetLineCount());
}

void BM_EditorDown(benchmark::State& s)
{
    RunMoves(s, { ccDown });
}
void BM_EditorPageDown(benchmark::State& s)
{
    RunMoves(s, { ccNextPage });
}
void BM_EditorWordRight(benchmark::State& s)
{
    RunMoves(s, { ccWordRight });
}
void BM_EditorMixedMoves(benchmark::State& s)
{
    RunMoves(s, { ccDown, ccNextPage, ccWordRight });
}
BENCHMARK(BM_EditorDown)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EditorPageDown)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EditorWordRight)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_EditorMixedMoves)->Unit(benchmark::kMillisecond)->Iterations(5);

// A search for a word that is not there from the top, beside the reference search over the
// file's bytes.
void RunSearch(benchmark::State& state, TSearchOptions options)
{
    TTFEditor& e = WrappedEditor();
    const std::string& bytes = FileBytes(Corpus().path);
    TBestOf ours, reference;
    for (auto _ : state) {
        bool found = false;
        ours.Time([&] {
            e.ProcessCommand(ccFirstPage, 0);
            found = e.Search("zanzibar", options);
        });
        if (found)
            state.SkipWithError("the word should not be there");
        state.PauseTiming();
        reference.Time([&] { benchmark::DoNotOptimize(ReferenceFind(bytes, "zanzibar")); });
        state.ResumeTiming();
    }
    ReportAgainst(state, ours, reference, ReferenceFindName());
}
void BM_EditorSearchMatchCase(benchmark::State& s)
{
    RunSearch(s, soMatchCase);
}
void BM_EditorSearchNoCase(benchmark::State& s)
{
    RunSearch(s, soFind);
}
void BM_EditorSearchWholeWord(benchmark::State& s)
{
    RunSearch(s, soMatchCase | soWholeWord);
}
BENCHMARK(BM_EditorSearchMatchCase)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_EditorSearchNoCase)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_EditorSearchWholeWord)->Unit(benchmark::kMillisecond)->Iterations(10);

// Find next (F3) from the top over every hit of the rare word, about 100 spread through the
// text, beside one search of the whole text for a word of the same length that is missing:
// the hits should add next to nothing.
void BM_EditorFindNextEveryRareWord(benchmark::State& state)
{
    if (Corpus().commonWord != std::string_view("harbour"))
        return state.SkipWithError("run bench/gen_corpus.py first");
    TTFEditor& e = WrappedEditor();
    TBestOf ours, reference;
    int hits = 0;
    for (auto _ : state) {
        ours.Time([&] {
            e.ProcessCommand(ccFirstPage, 0);
            hits = 0;
            while (e.Search("quixotically", soMatchCase))
                ++hits;
        });
        state.PauseTiming();
        reference.Time([&] {
            e.ProcessCommand(ccFirstPage, 0);
            benchmark::DoNotOptimize(e.Search("quixoticaldy", soMatchCase));
        });
        state.ResumeTiming();
    }
    ReportAgainst(state, ours, reference, "one full search");
    state.counters["hits"] = hits;
}
BENCHMARK(BM_EditorFindNextEveryRareWord)->Unit(benchmark::kMillisecond)->Iterations(10);

// Every occurrence of a common word replaced, undo recording on, beside a plain copy of the
// file's bytes with the same replacements into a new buffer.
void BM_EditorReplaceAll(benchmark::State& state)
{
    const std::string& bytes = FileBytes(Corpus().path);
    int32_t count = 0;
    size_t referenceCount = 0;
    std::unique_ptr<TTFEditor> e;
    TBestOf ours, reference;
    for (auto _ : state) {
        state.PauseTiming();
        e.reset(); // freeing the last round's text is not part of the figure
        e = std::make_unique<TTFEditor>();
        e->LoadFromFile(Corpus().path);
        reference.Time([&] {
            benchmark::DoNotOptimize(
                CopyAndReplace(bytes, Corpus().commonWord, "harbor", referenceCount).size());
        });
        state.ResumeTiming();
        ours.Time([&] {
            count
                = e->Replace(Corpus().commonWord, "harbor", soReplaceAll | soGlobal | soMatchCase);
        });
    }
    if (static_cast<size_t>(count) != referenceCount)
        state.SkipWithError("the editor and the copy replaced different counts");
    ReportAgainst(state, ours, reference, "copy-and-replace");
    state.counters["replacements"] = count;
}
BENCHMARK(BM_EditorReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace wexly::bench
