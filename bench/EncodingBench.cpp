// UTF-8 files on load and save beside the same text in the ANSI code page: 64 MiB of French-like
// prose with accented letters, generated once per run into the corpus folder.
#include "editor/OvcParaList.h"
#include "editor/StringFile.h"
#include "editor/TextEncoding.h"
#include "editor/TextFile.h"
#include "platform/Windows1252.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace wexly::bench {
namespace {

constexpr size_t kCorpusBytes = 64u << 20;

// Prose in code page 1252: about one letter in twenty is accented.
std::string GenerateAnsiProse()
{
    static const char* const words[] = { "le", "de", "la", "et", "les", "des", "en", "un", "du",
        "une", "que", "est", "pour", "qui", "dans", "par", "plus", "pas", "sur", "sont", "avec",
        "\xE9t\xE9", "\xE0", "o\xF9", "tr\xE8s", "d\xE9j\xE0", "apr\xE8s", "m\xEAme", "for\xEAt",
        "caf\xE9", "\xE9l\xE8ve", "fen\xEAtre", "na\xEFve", "gar\xE7on", "c\x9Cur", "No\xEBl",
        "premi\xE8re",
        "fran\xE7"
        "ais",
        "lumi\xE8re", "matin", "lettre", "jardin", "rivi\xE8re",
        "ann\xE9"
        "e",
        "soir", "temps", "monde", "vie", "jour", "homme",
        "\xAB"
        "bien\xBB" };
    constexpr size_t n = sizeof words / sizeof words[0];
    std::mt19937 rng(20261209);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::uniform_int_distribution<int> lineLen(40, 100);
    std::string text;
    text.reserve(kCorpusBytes + 256);
    while (text.size() < kCorpusBytes) {
        const size_t target = text.size() + static_cast<size_t>(lineLen(rng));
        bool first = true;
        while (text.size() < target) {
            if (!first)
                text += u(rng) < 0.07 ? ", " : " ";
            const double x = u(rng);
            text += words[static_cast<size_t>(x * x * static_cast<double>(n))];
            first = false;
        }
        text += ".\r\n";
    }
    return text;
}

struct TCorpus
{
    std::string ansi, utf8, ascii;
};

const TCorpus& Corpus()
{
    static const TCorpus corpus = [] {
        namespace fs = std::filesystem;
        fs::path dir = fs::path("bench") / "corpus";
        if (!fs::is_directory(dir))
            dir = fs::temp_directory_path();
        TCorpus c { (dir / "prose_64m_1252.txt").string(), (dir / "prose_64m_utf8.txt").string(),
            (dir / "prose_64m_ascii.txt").string() };
        const std::string ansi = GenerateAnsiProse();
        TWindows1252CodePage cp;
        std::string utf8, ascii = ansi;
        std::u16string scratch;
        EncodeText(TTextEncoding::Utf8, ansi, cp, utf8, scratch);
        for (char& ch : ascii)
            if (static_cast<unsigned char>(ch) >= 0x80)
                ch = 'e';
        auto write = [](const std::string& path, const std::string& bytes) {
            std::ofstream(path, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        };
        write(c.ansi, ansi);
        write(c.utf8, utf8);
        write(c.ascii, ascii);
        return c;
    }();
    return corpus;
}

TWindows1252CodePage& CodePage()
{
    static TWindows1252CodePage cp;
    return cp;
}

// Loads path into a fresh list per iteration (freeing it outside the timing); decode selects
// the conversion on load, as the editor has it by default.
void Load(benchmark::State& state, const std::string& path, bool decode, TTextEncoding expected)
{
    {
        TOvcParaList warm; // the file in the cache
        LoadTextFile(warm, RealFileSystem(), path, true);
    }
    for (auto _ : state) {
        auto list = std::make_unique<TOvcParaList>();
        const TLoadResult r
            = LoadTextFile(*list, RealFileSystem(), path, true, decode ? &CodePage() : nullptr);
        if (r.encoding != expected)
            state.SkipWithError("wrong encoding");
        benchmark::DoNotOptimize(list->ParaCount());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCorpusBytes));
}

void BM_EncodingLoadAnsiAsBytes(benchmark::State& state)
{
    Load(state, Corpus().ansi, false, TTextEncoding::Ansi);
}
BENCHMARK(BM_EncodingLoadAnsiAsBytes)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodingLoadAnsiDetected(benchmark::State& state)
{
    Load(state, Corpus().ansi, true, TTextEncoding::Ansi);
}
BENCHMARK(BM_EncodingLoadAnsiDetected)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodingLoadAsciiDetected(benchmark::State& state)
{
    Load(state, Corpus().ascii, true, TTextEncoding::Ansi);
}
BENCHMARK(BM_EncodingLoadAsciiDetected)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodingLoadUtf8(benchmark::State& state)
{
    Load(state, Corpus().utf8, true, TTextEncoding::Utf8);
}
BENCHMARK(BM_EncodingLoadUtf8)->Unit(benchmark::kMillisecond)->Iterations(5);

// The whole-file scan alone: a plain ASCII file is read to its end before it is known.
void BM_EncodingDetectAscii(benchmark::State& state)
{
    for (auto _ : state) {
        auto file = OpenTextFileForLoad(RealFileSystem(), Corpus().ascii);
        benchmark::DoNotOptimize(DecodeTextFile(*file, CodePage()).haveText);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCorpusBytes));
}
BENCHMARK(BM_EncodingDetectAscii)->Unit(benchmark::kMillisecond)->Iterations(5);

// Detection and conversion of the UTF-8 file, without building the paragraphs.
void BM_EncodingDecodeUtf8(benchmark::State& state)
{
    for (auto _ : state) {
        auto file = OpenTextFileForLoad(RealFileSystem(), Corpus().utf8);
        benchmark::DoNotOptimize(DecodeTextFile(*file, CodePage()).text.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCorpusBytes));
}
BENCHMARK(BM_EncodingDecodeUtf8)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reading through the decoder from memory, in the line reader's 64 KiB requests: the
// decoding alone, beside the same requests over the ANSI text (no decoder) as its reference.
std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int64_t Drain(IFile& file)
{
    std::unique_ptr<char[]> buffer(new char[64 * 1024]);
    int64_t total = 0, n = 0;
    while ((n = file.Read(buffer.get(), 64 * 1024)) > 0)
        total += n;
    return total;
}

void BM_EncodingReadAnsiFromMemory(benchmark::State& state)
{
    const std::string text = ReadWhole(Corpus().ansi);
    for (auto _ : state) {
        TStringFile file(text);
        benchmark::DoNotOptimize(Drain(file));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCorpusBytes));
}
BENCHMARK(BM_EncodingReadAnsiFromMemory)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodingDecodeUtf8FromMemory(benchmark::State& state)
{
    const std::string text = ReadWhole(Corpus().utf8);
    for (auto _ : state) {
        TStringFile file(text);
        TDecodingFile decoding(file, CodePage());
        benchmark::DoNotOptimize(Drain(decoding));
        if (decoding.Result().encoding != TTextEncoding::Utf8)
            state.SkipWithError("not decoded");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kCorpusBytes));
}
BENCHMARK(BM_EncodingDecodeUtf8FromMemory)->Unit(benchmark::kMillisecond)->Iterations(5);

void Save(benchmark::State& state, TTextEncoding encoding)
{
    TOvcParaList list;
    LoadTextFile(list, RealFileSystem(), Corpus().ansi, true);
    const std::string out = Corpus().ansi + ".saved";
    for (auto _ : state)
        SaveTextFile(list, RealFileSystem(), out, false, encoding, &CodePage());
    std::filesystem::remove(out);
}

void BM_EncodingSaveAnsi(benchmark::State& state)
{
    Save(state, TTextEncoding::Ansi);
}
BENCHMARK(BM_EncodingSaveAnsi)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodingSaveUtf8(benchmark::State& state)
{
    Save(state, TTextEncoding::Utf8);
}
BENCHMARK(BM_EncodingSaveUtf8)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace wexly::bench
