// Paginating 64 MiB of prose for printing and the preview: counting the pages (every line read
// once when wrapping) and finding the last page's start, as the preview does when it is asked
// for the last page first.
#include "editor/TFEditor.h"
#include "print/PagePrinter.h"

#include <benchmark/benchmark.h>

#include <string>

namespace wexly::bench {

// Defined in TextFileBench.cpp.
const std::string& ProseCorpusPath();

namespace {

class TEditorSource final : public IPrintSource
{
public:
    explicit TEditorSource(TTFEditor& editor)
        : m_editor(editor)
    {
    }
    int64_t LineCount() override { return m_editor.GetLineCount(); }
    std::string PrintableLine(int64_t line) override
    {
        return m_editor.GetPrintableLine(static_cast<int32_t>(line + 1));
    }
    bool HasSelection() override { return false; }
    TPrintPos SelectionStart() override { return {}; }
    int64_t SelectionEndLine() override { return 0; }

private:
    TTFEditor& m_editor;
};

TTFEditor& Editor()
{
    static TTFEditor* editor = [] {
        auto* e = new TTFEditor;
        e->LoadFromFile(ProseCorpusPath());
        return e;
    }();
    return *editor;
}

// A Letter page at 300 dpi in a 10-point font: 84 characters and 71 rows under the header.
TPrintOptions Letter(bool wrap)
{
    return { ComputePageGeometry({ 2550, 3300, 300 }, 42, 25, true), wrap, true, "prose.txt" };
}

void BM_PrintPageCountWrapped(benchmark::State& state)
{
    TEditorSource source(Editor());
    const TPrintRange range = *MakePrintRange(source, false);
    int pages = 0;
    for (auto _ : state) {
        TPagePrinter printer(source, range, Letter(true));
        pages = printer.PageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.counters["lines"] = static_cast<double>(range.endLine + 1);
}
BENCHMARK(BM_PrintPageCountWrapped)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintLastPageStartWrapped(benchmark::State& state)
{
    TEditorSource source(Editor());
    const TPrintRange range = *MakePrintRange(source, false);
    const int last = TPagePrinter(source, range, Letter(true)).PageCount();
    for (auto _ : state) {
        TPagePrinter printer(source, range, Letter(true));
        benchmark::DoNotOptimize(printer.PageStart(last));
        // Shown again: from the cache.
        benchmark::DoNotOptimize(printer.PageStart(last));
    }
}
BENCHMARK(BM_PrintLastPageStartWrapped)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintPageCountUnwrapped(benchmark::State& state)
{
    TEditorSource source(Editor());
    const TPrintRange range = *MakePrintRange(source, false);
    for (auto _ : state) {
        TPagePrinter printer(source, range, Letter(false));
        benchmark::DoNotOptimize(printer.PageStart(printer.PageCount()));
    }
}
BENCHMARK(BM_PrintPageCountUnwrapped)->Unit(benchmark::kMicrosecond)->Iterations(3);

} // namespace
} // namespace wexly::bench
