// The case registry and the start of the program with a case's files and settings.
#include "E2eSupport.h"

namespace wexly::e2e {

std::vector<TCase>& RegisteredCases()
{
    static std::vector<TCase> cases;
    return cases;
}

bool RegisterCase(const char* name, void (*run)(TContext&))
{
    RegisteredCases().push_back({ name, run });
    return true;
}

TLaunched TContext::Launch(const std::wstring& tag, const std::vector<TFile>& files,
    const std::wstring& args, const std::string& settings)
{
    TLaunched launched;
    launched.dir = MakeTempDir(tag);
    for (const TFile& file : files) {
        if (!WriteTextFile(launched.dir + file.name, file.content)) {
            Fail(__LINE__, "could not write " + Narrow(launched.dir + file.name));
            return launched;
        }
    }
    if (!settings.empty() && !WriteTextFile(SettingsPath(), settings)) {
        Fail(__LINE__, "could not write the settings file");
        return launched;
    }
    launched.process = Start(args, launched.dir);
    launched.main = WaitForWindow(MainClass, MainCaption, launched.process.pid, StartTimeoutMs);
    return launched;
}

} // namespace wexly::e2e
