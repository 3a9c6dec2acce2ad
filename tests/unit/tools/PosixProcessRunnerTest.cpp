// The native runner starts real processes through the shell.
#ifndef _WIN32
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <sys/wait.h>

namespace wexly::test {

namespace {

// Collects the captured output until the process has ended and the pipe is empty.
std::string RunToEnd(IProcess& process)
{
    std::string out;
    char buffer[64];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool running = true;
    while (std::chrono::steady_clock::now() < deadline) {
        while (process.PeekOutput() > 0)
            out.append(buffer, process.ReadOutput(buffer, sizeof buffer));
        if (!running)
            break;
        running = process.Running();
        if (running)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return out;
}

} // namespace

TEST(PosixProcessRunner, CapturesStdoutAndStderrInTheWorkingDirectory)
{
    TProcessStart start;
    start.commandLine = "printf 'a\\r\\n'; pwd; echo err 1>&2; exit 3";
    start.workDir = "/tmp";
    start.captureOutput = true;
    auto process = SystemProcessRunner().Start(start);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(RunToEnd(*process), "a\r\n/tmp\nerr\n");
    EXPECT_EQ(process->ExitCode(), 3);
}

TEST(PosixProcessRunner, MissingWorkingDirectoryFailsTheStart)
{
    TProcessStart start;
    start.commandLine = "true";
    start.workDir = "/no/such/dir/at/all";
    EXPECT_EQ(SystemProcessRunner().Start(start), nullptr);
}

TEST(PosixProcessRunner, WithoutCaptureThereIsNothingToRead)
{
    TProcessStart start;
    start.commandLine = "exit 0";
    auto process = SystemProcessRunner().Start(start);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->PeekOutput(), 0u);
    RunToEnd(*process);
    EXPECT_FALSE(process->Running());
    EXPECT_EQ(process->ExitCode(), 0);
}

} // namespace wexly::test

namespace wexly::test {

TEST(PosixProcessRunner, AProgramLeftRunningIsReapedWhenItEnds)
{
    TProcessStart start;
    start.commandLine = "sleep 0.05";
    auto process = SystemProcessRunner().Start(start);
    ASSERT_NE(process, nullptr);
    process.reset(); // not waited for, as a tool that neither records nor reloads
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // No child of this process is left to reap.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

} // namespace wexly::test

#endif
