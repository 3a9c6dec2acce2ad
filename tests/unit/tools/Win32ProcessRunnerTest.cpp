// The Windows runner starts real processes with CreateProcess.
#ifdef _WIN32
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace wexly::test {

TEST(Win32ProcessRunner, CapturesOutputAndExitCode)
{
    TProcessStart start;
    start.commandLine = "cmd /c echo hello& echo err>&2& exit 5";
    start.captureOutput = true;
    auto process = SystemProcessRunner().Start(start);
    ASSERT_NE(process, nullptr);
    std::string out;
    char buffer[64];
    bool running = true;
    for (int i = 0; i < 10000; ++i) {
        while (process->PeekOutput() > 0)
            out.append(buffer, process->ReadOutput(buffer, sizeof buffer));
        if (!running)
            break;
        running = process->Running();
        Sleep(1);
    }
    EXPECT_EQ(out, "hello\r\nerr\r\n");
    EXPECT_EQ(process->ExitCode(), 5);
}

TEST(Win32ProcessRunner, MissingProgramOrDirectoryFailsTheStart)
{
    TProcessStart start;
    start.commandLine = "no_such_program_wexly.exe";
    EXPECT_EQ(SystemProcessRunner().Start(start), nullptr);
    start.commandLine = "cmd /c exit 0";
    start.workDir = "C:\\no\\such\\dir\\at\\all";
    EXPECT_EQ(SystemProcessRunner().Start(start), nullptr);
}

} // namespace wexly::test

#endif
