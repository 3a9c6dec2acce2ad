// Native process runner: the command line goes to /bin/sh, the pipe's read end is
// non-blocking and asked for its waiting bytes with FIONREAD.
#include "platform/ProcessRunner.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace wexly {

namespace {

std::string ErrorText(int error)
{
    return std::strerror(error);
}

class TPosixProcess final : public IProcess
{
public:
    TPosixProcess(pid_t pid, int readFd)
        : m_pid(pid)
        , m_readFd(readFd)
    {
    }
    ~TPosixProcess() override
    {
        if (m_readFd >= 0)
            close(m_readFd);
        // A program left running is reaped when it ends, so it leaves no zombie behind.
        if (!m_ended && waitpid(m_pid, nullptr, WNOHANG) == 0) {
            const pid_t pid = m_pid;
            std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
        }
    }
    TPosixProcess(const TPosixProcess&) = delete;
    TPosixProcess& operator=(const TPosixProcess&) = delete;

    size_t PeekOutput() override
    {
        if (m_readFd < 0)
            return 0;
        int waiting = 0;
        if (ioctl(m_readFd, FIONREAD, &waiting) != 0)
            throw EProcessError(ErrorText(errno));
        return waiting > 0 ? static_cast<size_t>(waiting) : 0;
    }

    size_t ReadOutput(char* buffer, size_t size) override
    {
        if (m_readFd < 0 || size == 0)
            return 0;
        const ssize_t n = read(m_readFd, buffer, size);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                return 0;
            throw EProcessError(ErrorText(errno));
        }
        return static_cast<size_t>(n);
    }

    bool Running() override
    {
        if (m_ended)
            return false;
        int status = 0;
        const pid_t r = waitpid(m_pid, &status, WNOHANG);
        if (r == 0)
            return true;
        m_ended = true;
        if (r == m_pid && WIFEXITED(status))
            m_exitCode = WEXITSTATUS(status);
        else if (r == m_pid && WIFSIGNALED(status))
            m_exitCode = 128 + WTERMSIG(status);
        return false;
    }

    int64_t ExitCode() const override { return m_exitCode; }

private:
    pid_t m_pid;
    int m_readFd;
    bool m_ended = false;
    int64_t m_exitCode = -1;
};

class TPosixProcessRunner final : public IProcessRunner
{
public:
    std::unique_ptr<IProcess> Start(const TProcessStart& start) override
    {
        // Like the Windows call, a working directory that is not there fails the start.
        struct stat info
        {
        };
        if (!start.workDir.empty()
            && (stat(start.workDir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)))
            return nullptr;
        int fds[2] = { -1, -1 };
        if (start.captureOutput && pipe(fds) != 0)
            throw EProcessError(ErrorText(errno));
        const pid_t pid = fork();
        if (pid == 0)
            RunChild(start, fds[0], fds[1]);
        if (start.captureOutput)
            close(fds[1]);
        if (pid < 0) {
            if (start.captureOutput)
                close(fds[0]);
            return nullptr;
        }
        if (start.captureOutput)
            fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
        return std::make_unique<TPosixProcess>(pid, fds[0]);
    }

private:
    // In the child: only async-signal-safe calls until exec.
    [[noreturn]] static void RunChild(const TProcessStart& start, int readFd, int writeFd)
    {
        if (readFd >= 0)
            close(readFd);
        if (writeFd >= 0) {
            dup2(writeFd, STDOUT_FILENO);
            dup2(writeFd, STDERR_FILENO);
            close(writeFd);
        }
        if (!start.workDir.empty() && chdir(start.workDir.c_str()) != 0)
            _exit(127);
        execl("/bin/sh", "sh", "-c", start.commandLine.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
};

} // namespace

IProcessRunner& SystemProcessRunner()
{
    static TPosixProcessRunner runner;
    return runner;
}

} // namespace wexly
