// Windows process runner: CreateProcessW with the command line as given, output captured
// through an anonymous pipe whose write end the child inherits; the parent peeks at the pipe
// so that reading never blocks, and polls the exit code.
#include "platform/ProcessRunner.h"

#include "win32/platform/WinStrings.h"

#include <windows.h>

#include <vector>

namespace wexly {

namespace {

std::string LastErrorText()
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result;
    if (n && text) {
        std::wstring w(text, n);
        while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n' || w.back() == L' '))
            w.pop_back();
        result = WideToUtf8(w);
    }
    if (text)
        LocalFree(text);
    if (result.empty())
        result = "System error " + std::to_string(code);
    return result;
}

class TWin32Process final : public IProcess
{
public:
    TWin32Process(const PROCESS_INFORMATION& info, HANDLE readPipe, HANDLE writePipe)
        : m_info(info)
        , m_read(readPipe)
        , m_write(writePipe)
    {
    }
    ~TWin32Process() override
    {
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
        if (m_read)
            CloseHandle(m_read);
        if (m_write)
            CloseHandle(m_write);
    }
    TWin32Process(const TWin32Process&) = delete;
    TWin32Process& operator=(const TWin32Process&) = delete;

    size_t PeekOutput() override
    {
        if (!m_read)
            return 0;
        DWORD waiting = 0;
        if (!PeekNamedPipe(m_read, nullptr, 0, nullptr, &waiting, nullptr))
            throw EProcessError(LastErrorText());
        return waiting;
    }

    size_t ReadOutput(char* buffer, size_t size) override
    {
        if (!m_read || size == 0)
            return 0;
        // Only what is waiting, so that ReadFile returns at once.
        const size_t waiting = PeekOutput();
        if (waiting == 0)
            return 0;
        const DWORD want = static_cast<DWORD>(size < waiting ? size : waiting);
        DWORD got = 0;
        if (!ReadFile(m_read, buffer, want, &got, nullptr))
            throw EProcessError(LastErrorText());
        return got;
    }

    bool Running() override
    {
        if (m_ended)
            return false;
        DWORD code = 0;
        if (!GetExitCodeProcess(m_info.hProcess, &code)) {
            m_ended = true;
            return false;
        }
        if (code == STILL_ACTIVE)
            return true;
        m_ended = true;
        m_exitCode = code;
        return false;
    }

    int64_t ExitCode() const override { return m_exitCode; }

private:
    PROCESS_INFORMATION m_info;
    HANDLE m_read;
    HANDLE m_write;
    bool m_ended = false;
    int64_t m_exitCode = -1;
};

class TWin32ProcessRunner final : public IProcessRunner
{
public:
    std::unique_ptr<IProcess> Start(const TProcessStart& start) override
    {
        HANDLE readPipe = nullptr;
        HANDLE writePipe = nullptr;
        STARTUPINFOW si {};
        si.cb = sizeof si;
        if (start.captureOutput) {
            SECURITY_ATTRIBUTES sa {};
            sa.nLength = sizeof sa;
            sa.bInheritHandle = TRUE;
            if (!CreatePipe(&readPipe, &writePipe, &sa, 0))
                throw EProcessError(LastErrorText());
            // The child must not inherit the read end, or the pipe never reports its end.
            SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
            si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
            si.hStdOutput = writePipe;
            si.hStdError = writePipe;
            si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
            si.wShowWindow = SW_HIDE;
        }
        // CreateProcessW may write into the command line buffer.
        std::wstring cmd = Utf8ToWide(start.commandLine);
        std::vector<wchar_t> cmdBuffer(cmd.begin(), cmd.end());
        cmdBuffer.push_back(L'\0');
        const std::wstring dir = Utf8ToWide(start.workDir);
        PROCESS_INFORMATION info {};
        const DWORD flags = start.captureOutput || !start.newConsole ? 0 : CREATE_NEW_CONSOLE;
        const BOOL ok = CreateProcessW(nullptr, cmdBuffer.data(), nullptr, nullptr,
            start.captureOutput ? TRUE : FALSE, flags, nullptr, dir.empty() ? nullptr : dir.c_str(),
            &si, &info);
        if (!ok) {
            if (readPipe)
                CloseHandle(readPipe);
            if (writePipe)
                CloseHandle(writePipe);
            return nullptr;
        }
        return std::make_unique<TWin32Process>(info, readPipe, writePipe);
    }
};

} // namespace

IProcessRunner& SystemProcessRunner()
{
    static TWin32ProcessRunner runner;
    return runner;
}

} // namespace wexly
