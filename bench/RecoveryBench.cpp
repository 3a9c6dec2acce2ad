// The recovery journal on 64 MiB of generated prose: the copy the window's thread makes (the
// stall while typing), beside a plain copy of as many bytes into fresh memory; the writer
// thread's work (checksum, write, flush, rename); and reading a record back at start-up.
#include "editor/JoinedText.h"
#include "editor/OvcParaList.h"
#include "recovery/JournalWriter.h"
#include "recovery/RecoveryFolder.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace wexly::bench {

TOvcParaList& ProseCorpusList(); // TextFileBench.cpp

namespace {

std::string BenchFolderRoot()
{
    namespace fs = std::filesystem;
    fs::path dir = fs::path("bench") / "corpus";
    if (!fs::is_directory(dir))
        dir = fs::temp_directory_path();
    return (dir / ("wexly_recovery_bench_" + std::to_string(::getpid()))).string();
}

// The reference: as many bytes copied into fresh memory as the snapshot copies, so the page
// faults of a new block count on both sides.
void BM_JournalReferenceMemcpy(benchmark::State& state)
{
    const size_t size = JoinedTextSize(ProseCorpusList());
    std::unique_ptr<char[]> source(new char[size]);
    std::memset(source.get(), 'x', size);
    for (auto _ : state) {
        std::unique_ptr<char[]> copy(new char[size]);
        std::memcpy(copy.get(), source.get(), size);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_JournalReferenceMemcpy)->Unit(benchmark::kMillisecond)->Iterations(10);

// The reference for later snapshots: the same copy into memory written before.
void BM_JournalReferenceMemcpyWarm(benchmark::State& state)
{
    const size_t size = JoinedTextSize(ProseCorpusList());
    std::unique_ptr<char[]> source(new char[size]);
    std::unique_ptr<char[]> copy(new char[size]);
    std::memset(source.get(), 'x', size);
    std::memset(copy.get(), 'y', size);
    for (auto _ : state) {
        std::memcpy(copy.get(), source.get(), size);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_JournalReferenceMemcpyWarm)->Unit(benchmark::kMillisecond)->Iterations(10);

// What the window's thread waits for when a 64 MiB document's first record is due: the
// copy into a fresh block.
void BM_JournalSnapshotOnUiThreadFirst(benchmark::State& state)
{
    const TOvcParaList& list = ProseCorpusList();
    for (auto _ : state) {
        TJournalText text = SnapshotText(list);
        benchmark::DoNotOptimize(text.data.get());
        benchmark::ClobberMemory();
    }
    state.counters["paras"] = list.ParaCount();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * JoinedTextSize(list)));
}
BENCHMARK(BM_JournalSnapshotOnUiThreadFirst)->Unit(benchmark::kMillisecond)->Iterations(10);

// Every later record: the writer hands the block of the last write back.
void BM_JournalSnapshotOnUiThreadLater(benchmark::State& state)
{
    const TOvcParaList& list = ProseCorpusList();
    TJournalText text = SnapshotText(list);
    for (auto _ : state) {
        text = SnapshotText(list, std::move(text));
        benchmark::DoNotOptimize(text.data.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * JoinedTextSize(list)));
}
BENCHMARK(BM_JournalSnapshotOnUiThreadLater)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first record of a document that became modified: the writer's thread readied the block
// when the document was first seen modified, a few seconds earlier.
void BM_JournalSnapshotOnUiThreadReserved(benchmark::State& state)
{
    const TOvcParaList& list = ProseCorpusList();
    const size_t size = JoinedTextSize(list);
    TRecoveryFolder folder(RealFileSystem(), BenchFolderRoot(), "reserve");
    TJournalWriter writer(folder, true);
    for (auto _ : state) {
        state.PauseTiming();
        writer.Reserve(size + size / 16 + (64u << 10));
        writer.WaitIdle();
        TJournalText spare = writer.TakeSpare();
        state.ResumeTiming();
        TJournalText text = SnapshotText(list, std::move(spare));
        benchmark::DoNotOptimize(text.data.get());
        benchmark::ClobberMemory();
        state.PauseTiming();
        text = {};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_JournalSnapshotOnUiThreadReserved)->Unit(benchmark::kMillisecond)->Iterations(10);

// The writer thread's share: header with checksum, the write, the flush to the device, the
// rename over the old record.
void BM_JournalWriteRecord(benchmark::State& state)
{
    const TJournalText text = SnapshotText(ProseCorpusList());
    TRecoveryFolder folder(RealFileSystem(), BenchFolderRoot(), "bench");
    if (!folder.Open()) {
        state.SkipWithError("no folder for the records");
        return;
    }
    TRecordInfo info;
    info.name = "C:\\bench\\prose.txt";
    info.named = true;
    for (auto _ : state)
        if (!folder.WriteRecord(1, info, text.View()))
            state.SkipWithError("write failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size));
    folder.RemoveAll();
}
BENCHMARK(BM_JournalWriteRecord)->Unit(benchmark::kMillisecond)->Iterations(5);

// Start-up with a 64 MiB record left behind: reading and checking it, then rebuilding the
// paragraphs.
void BM_JournalRecoverRecord(benchmark::State& state)
{
    const TJournalText text = SnapshotText(ProseCorpusList());
    const std::string root = BenchFolderRoot();
    std::string file;
    {
        TRecoveryFolder ended(RealFileSystem(), root, "ended");
        TRecordInfo info;
        info.name = "C:\\bench\\prose.txt";
        if (!ended.Open() || !ended.WriteRecord(1, info, text.View())) {
            state.SkipWithError("no record");
            return;
        }
        file = ended.RecordPath(1);
    }
    auto claimed = ClaimOrphanFolders(RealFileSystem(), root, "own");
    if (claimed.size() != 1) {
        state.SkipWithError("record not found");
        return;
    }
    for (auto _ : state) {
        TRecordParse parse = claimed[0].Read(file);
        auto list = std::make_unique<TOvcParaList>();
        benchmark::DoNotOptimize(LoadJoinedText(*list, parse.record.text));
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size));
    claimed[0].Discard();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_JournalRecoverRecord)->Unit(benchmark::kMillisecond)->Iterations(3);

// Start-up without recovery data: looking for ended instances' folders.
void BM_JournalStartWithoutRecords(benchmark::State& state)
{
    const std::string root = BenchFolderRoot();
    TRecoveryFolder own(RealFileSystem(), root, "own");
    own.Open();
    for (auto _ : state)
        benchmark::DoNotOptimize(ClaimOrphanFolders(RealFileSystem(), root, own.Name()).size());
    own.RemoveAll();
}
BENCHMARK(BM_JournalStartWithoutRecords)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace wexly::bench
