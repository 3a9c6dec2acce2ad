// Starting another program, optionally with its standard output and standard error captured
// through an anonymous pipe that is read without blocking. The Windows build starts the
// command line as CreateProcess does; natively it is run by the shell, for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace wexly {

// A pipe could not be made, peeked at or read: carries the platform's error text.
class EProcessError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TProcessStart
{
    std::string commandLine;
    std::string workDir; // empty: the program starts in the caller's current directory
    bool captureOutput = false; // stdout and stderr into the pipe, window hidden
    bool newConsole = false; // a console window of its own (when not capturing)
};

// A started program. Destroying it closes the handles; it does not stop the program.
class IProcess
{
public:
    virtual ~IProcess() = default;
    // Bytes waiting in the pipe (0 without capture). Throws EProcessError on failure.
    virtual size_t PeekOutput() = 0;
    // Reads up to size bytes that are waiting; throws EProcessError on failure.
    virtual size_t ReadOutput(char* buffer, size_t size) = 0;
    // False when the program has ended or its state cannot be read.
    virtual bool Running() = 0;
    // The exit code once Running() returned false (-1 when it could not be read).
    virtual int64_t ExitCode() const = 0;
};

class IProcessRunner
{
public:
    virtual ~IProcessRunner() = default;
    // Null when the program could not be started. Throws EProcessError when the pipe for
    // capturing could not be made.
    virtual std::unique_ptr<IProcess> Start(const TProcessStart& start) = 0;
};

// The runner of the current build.
IProcessRunner& SystemProcessRunner();

} // namespace wexly
