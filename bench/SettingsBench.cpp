// Loading and saving the settings file with every history full, on the real file system.
#include "config/SettingsFile.h"
#include "config/UtilsBox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace wexly {
namespace {

TSettingsEnv BenchEnv()
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/wexly-settings-bench-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    TSettingsEnv env;
    env.ExePath = dir + "/wexly.exe";
    env.Design.MainWindow = { 100, 100, 740, 580 };
    return env;
}

std::string Path(int i)
{
    return "C:\\Users\\someone\\Documents\\Projects\\project" + std::to_string(i)
        + "\\source\\module" + std::to_string(i * 7) + ".cpp";
}

// Every list at the size the program lets it grow to, and generous piles and tools.
TSettings FullSettings()
{
    TSettings s;
    LoadSettings(s, BenchEnv());
    for (int i = 0; i < 10; ++i) {
        s.DirHistory.push_back("C:\\Users\\someone\\dir" + std::to_string(i));
        s.DirFavourites.push_back("D:\\favourites\\place" + std::to_string(i));
        s.FindHistory.push_back(EscapeText("search\ttext \\ number " + std::to_string(i)));
        s.ReplaceHistory.push_back("replacement " + std::to_string(i));
        s.MaskHistory.push_back("*.cpp;*.h;*.txt;*.ini;*" + std::to_string(i));
    }
    for (int i = 0; i < 50; ++i)
        s.FileHistory.push_back("00" + Path(i) + "|" + std::to_string(i * 13) + " 1");
    for (int i = 0; i < 100; ++i) {
        std::string id(1, static_cast<char>('!' + i % 90));
        s.Piles.Add("!" + id + "Pile number " + std::to_string(i));
    }
    for (int i = 0; i < 500; ++i)
        s.PileFiles.Add(std::string(1, static_cast<char>('!' + i % 90)) + "0" + Path(i));
    for (int i = 1; i <= 12; ++i)
        s.Macros.Add((i < 10 ? "0" : "") + std::to_string(i)
            + "Some text<ENTER><HOME><DOWN>more text<TAB>and so on<BACKSP>");
    for (int i = 0; i < 30; ++i)
        s.Tools.push_back({ "Tool " + std::to_string(i),
            { "C:\\tools\\tool" + std::to_string(i) + ".exe \"%c\"", "C:\\work", 6, "" } });
    return s;
}

void BM_SettingsLoadAndSave(benchmark::State& state)
{
    TSettingsEnv env = BenchEnv();
    TSettings full = FullSettings();
    if (!SaveSettings(full, env).Ok) {
        state.SkipWithError("cannot write the settings file");
        return;
    }
    for (auto _ : state) {
        TSettings s;
        LoadSettings(s, env);
        TSettingsFileResult saved = SaveSettings(s, env);
        benchmark::DoNotOptimize(saved.Ok);
    }
    std::remove(IniFileName(env.ExePath).c_str());
}
BENCHMARK(BM_SettingsLoadAndSave)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// The two halves: loading is all CPU; saving includes flushing the new file to the disk
// before it replaces the old one, which is what its wall time mostly measures.
void BM_SettingsLoad(benchmark::State& state)
{
    TSettingsEnv env = BenchEnv();
    if (!SaveSettings(FullSettings(), env).Ok) {
        state.SkipWithError("cannot write the settings file");
        return;
    }
    for (auto _ : state) {
        TSettings s;
        LoadSettings(s, env);
        benchmark::DoNotOptimize(s.PileFiles.Count());
    }
    std::remove(IniFileName(env.ExePath).c_str());
}
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMillisecond)->MinTime(0.5);

void BM_SettingsSave(benchmark::State& state)
{
    TSettingsEnv env = BenchEnv();
    TSettings full = FullSettings();
    for (auto _ : state) {
        TSettingsFileResult saved = SaveSettings(full, env);
        benchmark::DoNotOptimize(saved.Ok);
    }
    std::remove(IniFileName(env.ExePath).c_str());
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace
} // namespace wexly

// The benchmark executable is made of several files and none of them owns main; a weak one
// here steps aside for any other main that the build links in.
__attribute__((weak)) int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
