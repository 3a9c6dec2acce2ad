// End-to-end tests of wexly.exe, run under Wine on the test display. Usage:
//   wexly_e2e.exe [path\to\wexly.exe] [test-name-substring]
// Prints one line per test and ends with "e2e: N passed, M failed"; exit code 1 on failure.
#include "E2eRunner.h"
#include "E2eSupport.h"

namespace {

std::wstring BesideThisProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + name;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    using namespace wexly::e2e;
    std::wstring wexly = argc > 1 && argv[1][0] ? argv[1] : BesideThisProgram(L"wexly.exe");
    std::wstring filter = argc > 2 ? argv[2] : L"";
    // Every case starts from the default settings, whatever ran before it, and without the
    // unsaved work of a case whose program was ended by force.
    std::wstring recoveryRoot;
    const int result = RunCases<TContext>(RegisteredCases(), filter, "e2e", [&](TContext& ctx) {
        ctx.wexly = wexly;
        DeleteFileW(ctx.SettingsPath().c_str());
        recoveryRoot = ctx.RecoveryRoot();
        RemoveDirectoryTree(recoveryRoot);
    });
    // The next start of the program by hand must not be asked about a test's typing.
    if (!recoveryRoot.empty())
        RemoveDirectoryTree(recoveryRoot);
    return result;
}
