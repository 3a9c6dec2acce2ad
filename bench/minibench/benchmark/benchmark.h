// A small stand-in for Google Benchmark where it is not available (the MinGW build): the part
// of its interface the benchmarks here use, with the same benchmark names, console table and
// JSON output, so that one script can read the figures of both builds.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace benchmark {

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond, kSecond };

class Counter
{
public:
    enum Flags : uint32_t {
        kDefaults = 0,
        kIsRate = 1u << 0, // divided by the measured seconds
        kInvert = 1u << 31, // the reciprocal, after the rate
    };
    Counter(double v = 0.0, Flags f = kDefaults)
        : value(v)
        , flags(f)
    {
    }
    double value;
    Flags flags;
};

inline Counter::Flags operator|(Counter::Flags a, Counter::Flags b)
{
    return static_cast<Counter::Flags>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}

using UserCounters = std::map<std::string, Counter>;

template <class T> inline void DoNotOptimize(T const& value)
{
    asm volatile("" : : "r,m"(value) : "memory");
}
template <class T> inline void DoNotOptimize(T& value)
{
    asm volatile("" : "+r,m"(value) : : "memory");
}
// Makes every write so far count as seen: the compiler may not drop or delay it.
inline void ClobberMemory()
{
    asm volatile("" : : : "memory");
}

class State
{
public:
    // What "for (auto _ : state)" binds; never read.
    struct [[maybe_unused]] Value
    {
    };
    class Iterator
    {
    public:
        explicit Iterator(State* state)
            : m_state(state)
        {
        }
        Value operator*() const { return {}; }
        Iterator& operator++()
        {
            ++m_state->m_done;
            return *this;
        }
        bool operator!=(const Iterator&) const { return m_state->KeepRunning(); }

    private:
        State* m_state;
    };

    explicit State(int64_t maxIterations)
        : m_max(maxIterations)
    {
    }
    Iterator begin();
    Iterator end() { return Iterator(this); }

    void PauseTiming();
    void ResumeTiming();
    void SkipWithError(const char* message);
    int64_t iterations() const { return m_done; }
    void SetBytesProcessed(int64_t bytes) { m_bytes = bytes; }
    void SetLabel(const std::string& label) { m_label = label; }

    UserCounters counters;

    // Read by the runner.
    double RealSeconds() const { return m_real; }
    double CpuSeconds() const { return m_cpu; }
    int64_t Bytes() const { return m_bytes; }
    bool ErrorOccurred() const { return m_error; }
    const std::string& ErrorMessage() const { return m_message; }
    const std::string& Label() const { return m_label; }

private:
    bool KeepRunning();

    int64_t m_max;
    int64_t m_done = 0;
    int64_t m_bytes = -1;
    bool m_running = false;
    bool m_error = false;
    std::string m_message;
    std::string m_label;
    double m_real = 0, m_cpu = 0; // seconds timed so far
    double m_realStart = 0, m_cpuStart = 0;
};

namespace internal {

using Function = void (*)(State&);

class Benchmark
{
public:
    Benchmark(const char* name, Function function)
        : m_name(name)
        , m_function(function)
    {
    }
    Benchmark* Unit(TimeUnit unit)
    {
        m_unit = unit;
        return this;
    }
    Benchmark* Iterations(int64_t n)
    {
        m_iterations = n;
        return this;
    }
    Benchmark* MinTime(double seconds)
    {
        m_minTime = seconds;
        return this;
    }
    Benchmark* UseRealTime()
    {
        m_realTime = true;
        return this;
    }

    std::string FullName() const;
    const std::string& Name() const { return m_name; }
    Function Function_() const { return m_function; }
    TimeUnit TimeUnit_() const { return m_unit; }
    int64_t FixedIterations() const { return m_iterations; }
    double MinTime_() const { return m_minTime; }
    bool RealTime() const { return m_realTime; }

private:
    std::string m_name;
    Function m_function;
    TimeUnit m_unit = kNanosecond;
    int64_t m_iterations = 0; // 0: as many as fill the minimum time
    double m_minTime = 0; // 0: the default
    bool m_realTime = false;
};

Benchmark* RegisterBenchmarkInternal(Benchmark* benchmark);

} // namespace internal

void Initialize(int* argc, char** argv);
bool ReportUnrecognizedArguments(int argc, char** argv);
size_t RunSpecifiedBenchmarks();
void Shutdown();

} // namespace benchmark

#define WEXLY_MINIBENCH_CONCAT2(a, b) a##b
#define WEXLY_MINIBENCH_CONCAT(a, b) WEXLY_MINIBENCH_CONCAT2(a, b)
#define BENCHMARK(function)                                                                        \
    static ::benchmark::internal::Benchmark* WEXLY_MINIBENCH_CONCAT(minibench_, __LINE__)          \
        [[maybe_unused]]                                                                           \
        = ::benchmark::internal::RegisterBenchmarkInternal(                                        \
            new ::benchmark::internal::Benchmark(#function, function))

// Used as BENCHMARK_MAIN(); the trailing declaration takes the semicolon.
#define BENCHMARK_MAIN()                                                                           \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        ::benchmark::Initialize(&argc, argv);                                                      \
        if (::benchmark::ReportUnrecognizedArguments(argc, argv))                                  \
            return 1;                                                                              \
        ::benchmark::RunSpecifiedBenchmarks();                                                     \
        ::benchmark::Shutdown();                                                                   \
        return 0;                                                                                  \
    }                                                                                              \
    int main(int, char**)
