// Running an external tool on the document set: the command line with the active document
// put in, the "Console" document that captures the output, the wait that keeps the window
// alive, and the reload of the current or a named file afterwards. Borrows the document set,
// its services, the file commands, the process runner and the main window's hooks.
#pragma once

#include "config/Settings.h"
#include "documents/FileCommands.h"
#include "platform/ProcessRunner.h"
#include "tools/ToolListForm.h"

#include <string>
#include <vector>

namespace wexly {

// Shows the "Tools" list window modally; true when it closed with "OK".
class IToolListDialog
{
public:
    virtual ~IToolListDialog() = default;
    virtual bool ShowModal(TToolListForm& form) = 0;
};

class IToolHost
{
public:
    virtual ~IToolHost() = default;
    // Lets pending window messages run while a tool is waited for.
    virtual void ProcessMessages() = 0;
    // UpdateMenus, LayoutFileButtons and RebuildWindowMenu.
    virtual void RefreshDocumentBars() = 0;
    // The second pane shows a document that was reloaded.
    virtual void RefreshBottomPane() = 0;
    // The input focus back to the bottom pane's view, or else to the current document.
    virtual void FocusPane(bool bottom) = 0;
    // In the first status panel, cleared later by the status timer.
    virtual void ShowStatusMessage(const std::string& text) = 0;
};

inline constexpr const char* kConsoleName = "Console";
inline constexpr size_t kToolReadChunk = 1023;

class TToolRunner
{
public:
    TToolRunner(TDocumentSet& set, TDocumentServices& services, TFileCommands& commands,
        IProcessRunner& runner, IToolHost& host);

    // ExternalClick: runs tools[index]; an index outside the list does nothing. Pipe errors
    // (EProcessError) propagate after the handles are closed.
    void Run(const std::vector<TExternalTool>& tools, int index);
    void Run(const TExternalItem& tool);
    // "List..." (F9): the list window over every tool; "OK" runs the chosen one.
    void RunFromList(const std::vector<TExternalTool>& tools, const TRect& toolListRect,
        TToolListForm& form, IToolListDialog& dialog);

private:
    TEditFile* PrepareConsole();
    // False (and the error shown) when the line names the active document and there is none.
    bool BuildCommandLine(
        const std::string& toolLine, const TEditFile* focus, std::string& commandLine);
    void Wait(IProcess& process, bool record);
    // Reads what is waiting (one chunk at most) and appends the complete lines; bytes read.
    size_t TakeOutput(IProcess& process, std::string& pending);
    void AppendConsoleLine(const std::string& line);
    void ReloadAfter(
        const TExternalItem& tool, const std::string& currentPath, bool bottomWasActive);
    void Reload(TEditFile& doc);
    TEditFile* Find(const std::string& path) const; // null for an empty path
    void Error(const char* text, const char* caption);

    TDocumentSet& m_set;
    TDocumentServices& m_services;
    TFileCommands& m_commands;
    IProcessRunner& m_runner;
    IToolHost& m_host;
};

} // namespace wexly
