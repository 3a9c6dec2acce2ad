#include "benchmark/benchmark.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <regex>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace benchmark {

namespace {

double RealNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Processor time of the whole process, as Google Benchmark measures it by default.
double CpuNow()
{
#if defined(_WIN32)
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](const FILETIME& t) {
        return static_cast<double>(
            (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 1e-7;
#else
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
#endif
}

struct TOptions
{
    std::string filter;
    std::string format = "console";
    std::string out;
    std::string outFormat = "json";
    double minTime = 0.5;
    bool list = false;
};

TOptions& Options()
{
    static TOptions options;
    return options;
}

std::vector<std::unique_ptr<internal::Benchmark>>& Registry()
{
    static std::vector<std::unique_ptr<internal::Benchmark>> registry;
    return registry;
}

std::string& ExecutableName()
{
    static std::string name;
    return name;
}

struct TRun
{
    std::string name;
    int64_t iterations = 0;
    double realTime = 0, cpuTime = 0; // per iteration, in unit
    const char* unit = "ns";
    bool error = false;
    std::string message;
    std::string label;
    std::vector<std::pair<std::string, double>> counters; // bytes_per_second first, if any
};

double UnitMultiplier(TimeUnit unit)
{
    switch (unit) {
    case kNanosecond:
        return 1e9;
    case kMicrosecond:
        return 1e6;
    case kMillisecond:
        return 1e3;
    case kSecond:
        return 1;
    }
    return 1e9;
}

const char* UnitName(TimeUnit unit)
{
    switch (unit) {
    case kNanosecond:
        return "ns";
    case kMicrosecond:
        return "us";
    case kMillisecond:
        return "ms";
    case kSecond:
        return "s";
    }
    return "ns";
}

bool Matches(const std::string& name, const std::string& filter)
{
    if (filter.empty() || filter == "all" || filter == ".")
        return true;
    if (filter[0] == '-')
        return !std::regex_search(name, std::regex(filter.substr(1)));
    return std::regex_search(name, std::regex(filter));
}

TRun Finish(const internal::Benchmark& b, const State& state)
{
    TRun run;
    run.name = b.FullName();
    run.iterations = state.iterations();
    run.unit = UnitName(b.TimeUnit_());
    run.error = state.ErrorOccurred();
    run.message = state.ErrorMessage();
    run.label = state.Label();
    const double n = static_cast<double>(std::max<int64_t>(run.iterations, 1));
    const double m = UnitMultiplier(b.TimeUnit_());
    run.realTime = state.RealSeconds() * m / n;
    run.cpuTime = state.CpuSeconds() * m / n;
    const double seconds = b.RealTime() ? state.RealSeconds() : state.CpuSeconds();
    if (state.Bytes() >= 0)
        run.counters.emplace_back("bytes_per_second", static_cast<double>(state.Bytes()) / seconds);
    for (const auto& [key, counter] : state.counters) {
        double v = counter.value;
        if (counter.flags & Counter::kIsRate)
            v /= seconds;
        if (counter.flags & Counter::kInvert)
            v = 1.0 / v;
        run.counters.emplace_back(key, v);
    }
    return run;
}

TRun RunOne(const internal::Benchmark& b)
{
    if (b.FixedIterations() > 0) {
        State state(b.FixedIterations());
        b.Function_()(state);
        return Finish(b, state);
    }
    const double minTime = b.MinTime_() > 0 ? b.MinTime_() : Options().minTime;
    for (int64_t n = 1;;) {
        State state(n);
        b.Function_()(state);
        const double seconds = b.RealTime() ? state.RealSeconds() : state.CpuSeconds();
        if (state.ErrorOccurred() || seconds >= minTime || n >= 1000000000)
            return Finish(b, state);
        // Aim a little past the minimum, at most ten times as many at once.
        const double factor = seconds / minTime > 0.1 ? 1.4 * minTime / seconds : 10.0;
        n = std::max(n + 1, static_cast<int64_t>(std::ceil(static_cast<double>(n) * factor)));
    }
}

std::string Human(double v)
{
    static const char* const prefixes[] = { "", "k", "M", "G", "T" };
    size_t i = 0;
    while (std::fabs(v) >= 1000 && i + 1 < 5) {
        v /= 1000;
        ++i;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.6g%s", v, prefixes[i]);
    return text;
}

void PrintHeader(std::FILE* f, size_t width)
{
    const std::string rule(width + 44, '-');
    std::fprintf(f, "%s\n%-*s %13s %15s %12s\n%s\n", rule.c_str(), static_cast<int>(width),
        "Benchmark", "Time", "CPU", "Iterations", rule.c_str());
}

void PrintRow(std::FILE* f, size_t width, const TRun& r)
{
    if (r.error) {
        std::fprintf(f, "%-*s ERROR OCCURRED: '%s'\n", static_cast<int>(width), r.name.c_str(),
            r.message.c_str());
        return;
    }
    std::fprintf(f, "%-*s %10.3g %-2s %12.3g %-2s %12lld", static_cast<int>(width), r.name.c_str(),
        r.realTime, r.unit, r.cpuTime, r.unit, static_cast<long long>(r.iterations));
    for (const auto& [key, v] : r.counters)
        std::fprintf(
            f, " %s=%s%s", key.c_str(), Human(v).c_str(), key == "bytes_per_second" ? "/s" : "");
    std::fprintf(f, "\n");
    std::fflush(f);
}

size_t NameWidth(const std::vector<TRun>& runs)
{
    size_t width = 10;
    for (const TRun& r : runs)
        width = std::max(width, r.name.size());
    return width;
}

std::string Quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Number(double v)
{
    if (!std::isfinite(v))
        return "null";
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

void PrintJson(std::FILE* f, const std::vector<TRun>& runs)
{
    char date[64] = "";
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", std::localtime(&now));
    std::fprintf(f,
        "{\n  \"context\": {\n    \"date\": %s,\n    \"executable\": %s,\n"
        "    \"library\": \"minibench\"\n  },\n  \"benchmarks\": [",
        Quoted(date).c_str(), Quoted(ExecutableName()).c_str());
    for (size_t i = 0; i < runs.size(); ++i) {
        const TRun& r = runs[i];
        std::fprintf(f,
            "%s\n    {\n      \"name\": %s,\n      \"run_name\": %s,\n"
            "      \"run_type\": \"iteration\",\n",
            i ? "," : "", Quoted(r.name).c_str(), Quoted(r.name).c_str());
        if (r.error) {
            std::fprintf(f, "      \"error_occurred\": true,\n      \"error_message\": %s\n    }",
                Quoted(r.message).c_str());
            continue;
        }
        std::fprintf(f,
            "      \"iterations\": %lld,\n      \"real_time\": %s,\n"
            "      \"cpu_time\": %s,\n      \"time_unit\": \"%s\"",
            static_cast<long long>(r.iterations), Number(r.realTime).c_str(),
            Number(r.cpuTime).c_str(), r.unit);
        if (!r.label.empty())
            std::fprintf(f, ",\n      \"label\": %s", Quoted(r.label).c_str());
        for (const auto& [key, v] : r.counters)
            std::fprintf(f, ",\n      %s: %s", Quoted(key).c_str(), Number(v).c_str());
        std::fprintf(f, "\n    }");
    }
    std::fprintf(f, "\n  ]\n}\n");
    std::fflush(f);
}

void Print(std::FILE* f, const std::string& format, const std::vector<TRun>& runs)
{
    if (format == "json")
        PrintJson(f, runs);
    else {
        PrintHeader(f, NameWidth(runs));
        for (const TRun& r : runs)
            PrintRow(f, NameWidth(runs), r);
    }
}

// The value of --name=value in arg, or null.
const char* Flag(const char* arg, const char* name)
{
    const size_t n = std::strlen(name);
    if (std::strncmp(arg, "--", 2) != 0 || std::strncmp(arg + 2, name, n) != 0)
        return nullptr;
    if (arg[2 + n] == '=')
        return arg + 3 + n;
    return arg[2 + n] == '\0' ? "" : nullptr;
}

} // namespace

State::Iterator State::begin()
{
    m_running = true;
    m_realStart = RealNow();
    m_cpuStart = CpuNow();
    return Iterator(this);
}

bool State::KeepRunning()
{
    if (!m_error && m_done < m_max)
        return true;
    if (m_running)
        PauseTiming();
    return false;
}

void State::PauseTiming()
{
    m_real += RealNow() - m_realStart;
    m_cpu += CpuNow() - m_cpuStart;
    m_running = false;
}

void State::ResumeTiming()
{
    m_running = true;
    m_realStart = RealNow();
    m_cpuStart = CpuNow();
}

void State::SkipWithError(const char* message)
{
    if (!m_error)
        m_message = message;
    m_error = true;
}

namespace internal {

std::string Benchmark::FullName() const
{
    std::string name = m_name;
    char part[64];
    if (m_minTime > 0) {
        std::snprintf(part, sizeof part, "/min_time:%.3f", m_minTime);
        name += part;
    }
    if (m_iterations > 0)
        name += "/iterations:" + std::to_string(m_iterations);
    if (m_realTime)
        name += "/real_time";
    return name;
}

Benchmark* RegisterBenchmarkInternal(Benchmark* benchmark)
{
    Registry().emplace_back(benchmark);
    return benchmark;
}

} // namespace internal

void Initialize(int* argc, char** argv)
{
    if (*argc > 0)
        ExecutableName() = argv[0];
    TOptions& o = Options();
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        const char* arg = argv[i];
        if (const char* v = Flag(arg, "benchmark_filter"))
            o.filter = v;
        else if (const char* v2 = Flag(arg, "benchmark_format"))
            o.format = v2;
        else if (const char* v3 = Flag(arg, "benchmark_out"))
            o.out = v3;
        else if (const char* v4 = Flag(arg, "benchmark_out_format"))
            o.outFormat = v4;
        else if (const char* v5 = Flag(arg, "benchmark_min_time"))
            o.minTime = std::atof(v5);
        else if (const char* v6 = Flag(arg, "benchmark_list_tests"))
            o.list = std::strcmp(v6, "false") != 0 && std::strcmp(v6, "0") != 0;
        else
            argv[kept++] = argv[i];
    }
    *argc = kept;
}

bool ReportUnrecognizedArguments(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        std::fprintf(stderr, "%s: error: unrecognized command-line flag: %s\n",
            ExecutableName().c_str(), argv[i]);
    return argc > 1;
}

size_t RunSpecifiedBenchmarks()
{
    const TOptions& o = Options();
    std::vector<const internal::Benchmark*> chosen;
    size_t width = 10;
    for (const auto& b : Registry()) {
        if (Matches(b->FullName(), o.filter)) {
            chosen.push_back(b.get());
            width = std::max(width, b->FullName().size());
        }
    }
    if (o.list) {
        for (const internal::Benchmark* b : chosen)
            std::printf("%s\n", b->FullName().c_str());
        return chosen.size();
    }
    const bool console = o.format != "json";
    if (console)
        PrintHeader(stdout, width);
    std::vector<TRun> runs;
    for (const internal::Benchmark* b : chosen) {
        runs.push_back(RunOne(*b));
        if (console)
            PrintRow(stdout, width, runs.back());
    }
    if (!console)
        PrintJson(stdout, runs);
    if (!o.out.empty()) {
        if (std::FILE* f = std::fopen(o.out.c_str(), "w")) {
            Print(f, o.outFormat, runs);
            std::fclose(f);
        } else {
            std::fprintf(stderr, "error: cannot write %s\n", o.out.c_str());
        }
    }
    return runs.size();
}

void Shutdown()
{
    Registry().clear();
}

} // namespace benchmark
