// What the message panel says while a long text file is read: nothing for a load that ends
// soon, then "Reading <name>... <n>%" a few times a second, and the hint again once it is done.
#pragma once

#include <cstdint>
#include <string>

namespace wexly {

struct TLoadProgressStep
{
    enum class TKind { Nothing, Show, Done } kind = TKind::Nothing;
    std::string text; // for Show
};

class TLoadProgressText
{
public:
    // A load shorter than this shows nothing; shown texts are at least repeatMs apart.
    explicit TLoadProgressText(uint64_t quietMs = 300, uint64_t repeatMs = 100)
        : m_quietMs(quietMs)
        , m_repeatMs(repeatMs)
    {
    }

    // One report of a load: name's done bytes of total, at nowMs. A report for another name,
    // or one that went back (the file is read again), begins a new load.
    TLoadProgressStep Report(const std::string& name, int64_t done, int64_t total, uint64_t nowMs);

private:
    uint64_t m_quietMs;
    uint64_t m_repeatMs;
    bool m_loading = false;
    bool m_shown = false;
    std::string m_name;
    int64_t m_done = 0;
    uint64_t m_startMs = 0;
    uint64_t m_shownMs = 0;
};

} // namespace wexly
