// The hex viewer on huge files: opening a 4 GiB file and showing its first and last screens,
// and scrolling through 1 GiB row by row. The files are sparse (made with ftruncate, a few
// bytes written), created on first use in /tmp and removed at exit.
#include "editor/AFViewer.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

using namespace wexly;

class TSparseFile
{
public:
    explicit TSparseFile(int64_t size)
        : m_path("/tmp/wexly-viewer-bench-" + std::to_string(size) + "-"
            + std::to_string(::getpid()) + ".bin")
    {
        int fd = ::open(m_path.c_str(), O_CREAT | O_TRUNC | O_RDWR, 0644);
        bool ok = fd >= 0 && ::ftruncate(fd, size) == 0;
        // Some data at both ends and every 64 MiB, so not every page is the same zeros.
        for (int64_t at = 0; ok && at < size; at += int64_t(64) << 20)
            ok = ::pwrite(fd, "Wexly viewer bench", 18, at) == 18;
        ok = ok && ::pwrite(fd, "end", 3, size - 3) == 3;
        if (fd >= 0)
            ::close(fd);
        m_ok = ok;
    }
    ~TSparseFile() { ::unlink(m_path.c_str()); }
    TSparseFile(const TSparseFile&) = delete;
    TSparseFile& operator=(const TSparseFile&) = delete;

    const std::string& Path() const { return m_path; }
    bool Ok() const { return m_ok; }

private:
    std::string m_path;
    bool m_ok = false;
};

const TSparseFile& FourGiB()
{
    static TSparseFile file(int64_t(4) << 30);
    return file;
}

const TSparseFile& OneGiB()
{
    static TSparseFile file(int64_t(1) << 30);
    return file;
}

constexpr int kRows = 50; // a tall window

void BM_ViewerOpenFourGiBFirstAndLastScreens(benchmark::State& state)
{
    const TSparseFile& file = FourGiB();
    if (!file.Ok()) {
        state.SkipWithError("cannot create the sparse file");
        return;
    }
    size_t shown = 0;
    for (auto _ : state) {
        TAFViewer viewer(RealFileSystem());
        viewer.SetFileName(file.Path());
        viewer.SetVisibleRows(kRows);
        viewer.Open(true, true);
        for (int64_t row = 0; row < kRows; ++row)
            shown += viewer.GetLine(row).size();
        viewer.ProcessCommand(ccLastPage, 0);
        for (int64_t row = viewer.GetTopLine(); row < viewer.LineCount(); ++row)
            shown += viewer.GetLine(row).size();
        viewer.Close();
    }
    benchmark::DoNotOptimize(shown);
}
BENCHMARK(BM_ViewerOpenFourGiBFirstAndLastScreens)->Unit(benchmark::kMillisecond);

void BM_ViewerScrollOneGiBRowByRow(benchmark::State& state)
{
    const TSparseFile& file = OneGiB();
    if (!file.Ok()) {
        state.SkipWithError("cannot create the sparse file");
        return;
    }
    TAFViewer viewer(RealFileSystem());
    viewer.SetFileName(file.Path());
    viewer.Open(true, false);
    size_t shown = 0;
    for (auto _ : state) {
        for (int64_t row = 0, rows = viewer.LineCount(); row < rows; ++row)
            shown += viewer.GetLine(row).size();
    }
    benchmark::DoNotOptimize(shown);
    state.SetBytesProcessed(state.iterations() * viewer.FileSize());
}
BENCHMARK(BM_ViewerScrollOneGiBRowByRow)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
