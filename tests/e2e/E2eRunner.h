// The loop shared by the end-to-end drivers: runs the cases whose names contain the filter,
// ends the processes each case started, prints a line per case (and the case's notes, when its
// context keeps any) and a closing "<label>: N passed, M failed" (", K skipped" when a case
// said it could not run here, with its reason). Returns the exit code.
#pragma once

#include "E2eDriver.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace wexly::e2e {

template <typename TContextT, typename TCases, typename Prepare>
int RunCases(const TCases& cases, const std::wstring& filter, const char* label, Prepare prepare)
{
    int passed = 0, failed = 0, skipped = 0;
    for (const auto& c : cases) {
        std::wstring name(c.name, c.name + std::string(c.name).size());
        if (!filter.empty() && name.find(filter) == std::wstring::npos)
            continue;
        TContextT ctx;
        prepare(ctx);
        DWORD start = GetTickCount();
        c.run(ctx);
        for (TProcess& p : ctx.processes)
            EndProcess(p);
        const auto ms = static_cast<unsigned long>(GetTickCount() - start);
        if constexpr (requires { ctx.notes; }) {
            for (const auto& note : ctx.notes)
                std::printf("  %s\n", note.c_str());
        }
        // Only contexts that can skip a case have the member.
        std::string skipReason;
        if constexpr (requires { ctx.skipped; })
            skipReason = ctx.skipped;
        if (!skipReason.empty() && ctx.failures.empty()) {
            ++skipped;
            std::printf("[ SKIP ] %s: %s\n", c.name, skipReason.c_str());
        } else if (ctx.failures.empty()) {
            ++passed;
            std::printf("[ PASS ] %s (%lu ms)\n", c.name, ms);
        } else {
            ++failed;
            std::printf("[ FAIL ] %s (%lu ms)\n", c.name, ms);
            for (const auto& f : ctx.failures)
                std::printf("         %s\n", f.c_str());
        }
        std::fflush(stdout);
    }
    if (skipped)
        std::printf("%s: %d passed, %d failed, %d skipped\n", label, passed, failed, skipped);
    else
        std::printf("%s: %d passed, %d failed\n", label, passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace wexly::e2e
