// The process: start directory and command line, the hidden application window that carries
// the hand-over text, the single-instance hand-over, the windows and the message loop.
#pragma once

#include "win32/Win32Window.h"

#include <memory>
#include <string>

namespace wexly::win32 {

class TWexlyMainForm;

// Hidden top-level window whose title is the application title, or the hand-over text while a
// second start hands over.
class TApplicationWindow final : public TWin32Window
{
public:
    bool Create();
    void SetTitle(const std::string& title);
};

class TWexlyApp
{
public:
    TWexlyApp();
    ~TWexlyApp();

    // Runs the program; returns the process exit code.
    int Run(int showCommand);

    const std::string& StartDir() const { return m_startDir; }
    const std::string& CmdLine() const { return m_cmdLine; }
    void SetStartDir(std::string dir) { m_startDir = std::move(dir); }
    void SetCmdLine(std::string text) { m_cmdLine = std::move(text); }
    HWND ApplicationWindow() const { return m_appWindow.Handle(); }

private:
    void RecordStartState();
    bool HandOverToRunningInstance();
    int MessageLoop();

    std::string m_startDir;
    std::string m_cmdLine;
    TApplicationWindow m_appWindow;
    std::unique_ptr<TWexlyMainForm> m_mainForm;
    HACCEL m_accelerators = nullptr;
};

} // namespace wexly::win32
