#include "tools/ToolRunner.h"

#include "tools/ToolCommandLine.h"

#include <array>

namespace wexly {

TToolRunner::TToolRunner(TDocumentSet& set, TDocumentServices& services, TFileCommands& commands,
    IProcessRunner& runner, IToolHost& host)
    : m_set(set)
    , m_services(services)
    , m_commands(commands)
    , m_runner(runner)
    , m_host(host)
{
}

TEditFile* TToolRunner::Find(const std::string& path) const
{
    return path.empty() ? nullptr : m_set.FindByPath(path);
}

void TToolRunner::Error(const char* text, const char* caption)
{
    TMessage m;
    m.text = text;
    m.caption = caption;
    m.icon = TMsgIcon::Warning;
    m_services.asker.Ask(m);
}

void TToolRunner::Run(const std::vector<TExternalTool>& tools, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= tools.size())
        return;
    // A copy: the list may be replaced while the tool is waited for.
    const TExternalItem tool = tools[static_cast<size_t>(index)].Item;
    Run(tool);
}

void TToolRunner::RunFromList(const std::vector<TExternalTool>& tools, const TRect& toolListRect,
    TToolListForm& form, IToolListDialog& dialog)
{
    form.Show(tools, toolListRect);
    if (dialog.ShowModal(form))
        Run(tools, form.LastChosen());
}

TEditFile* TToolRunner::PrepareConsole()
{
    if (TEditFile* console = m_set.FindByPath(kConsoleName)) {
        console->SelectAll();
        console->Clear();
        return console;
    }
    std::unique_ptr<TEditFile> doc;
    try {
        doc = std::make_unique<TEditFile>(m_services, kConsoleName, false, false, false, false);
    } catch (const std::bad_alloc&) {
        Error("Danger: No memory to open file", "Error");
        return nullptr;
    }
    TEditFile& added = m_set.Insert(std::move(doc));
    m_set.SelectFile(added);
    m_host.RefreshDocumentBars();
    return &added;
}

bool TToolRunner::BuildCommandLine(
    const std::string& toolLine, const TEditFile* focus, std::string& commandLine)
{
    commandLine = toolLine;
    if (!NeedsDocument(toolLine))
        return true;
    if (!focus) {
        Error("Command requires file to be open", "Error!");
        return false;
    }
    commandLine = ExpandToolCommandLine(toolLine, focus->FileName());
    return true;
}

void TToolRunner::Run(const TExternalItem& tool)
{
    const bool bottomWasActive = m_set.FocusFile() && m_set.FocusFile() == m_set.BottomView();
    const bool record = (tool.Flags & ToolFlag::RecordOutput) != 0;
    const bool reload = (tool.Flags & ToolFlag::ReloadOnCompletion) != 0;
    // The active and current documents are taken before the Console document, which may
    // become current now, so that "%c" and the reload mean the user's document on the first
    // run as on every later one. The current one is remembered by path: it may be closed
    // while the tool runs. Making the Console current only inserts; focus stays valid.
    const TEditFile* focus = m_set.CurFile() ? m_set.FocusFile() : nullptr;
    if (focus && focus->IsBottomView())
        focus = focus->Source();
    const std::string currentPath = m_set.CurFile() ? m_set.CurFile()->FileName() : "";
    if (record)
        PrepareConsole();
    std::string commandLine;
    if (!BuildCommandLine(tool.CommandLine, focus, commandLine))
        return;
    if (TEditFile* named = Find(tool.FileName))
        named->SetToolBusy(true);

    TProcessStart start;
    start.commandLine = commandLine;
    start.workDir = tool.WorkDir;
    start.captureOutput = record;
    start.newConsole = !record;
    std::unique_ptr<IProcess> process;
    try {
        process = m_runner.Start(start);
        if (process && (reload || record))
            Wait(*process, record);
    } catch (...) {
        if (TEditFile* named = Find(tool.FileName))
            named->SetToolBusy(false);
        throw;
    }
    if (!process) {
        if (TEditFile* named = Find(tool.FileName))
            named->SetToolBusy(false);
        Error("Error creating process", "Error!");
        return;
    }
    if (reload)
        ReloadAfter(tool, currentPath, bottomWasActive);
    // The disk-change check is skipped only while the tool may still write the file.
    if (TEditFile* named = Find(tool.FileName))
        named->SetToolBusy(false);
    process.reset();
    m_host.ShowStatusMessage("Execution Complete");
}

void TToolRunner::Wait(IProcess& process, bool record)
{
    // Local: a second tool may be started from the message loop while this one runs.
    std::string pending;
    for (;;) {
        m_host.ProcessMessages();
        if (record)
            TakeOutput(process, pending);
        if (!process.Running())
            break;
    }
    if (!record)
        return;
    // What the tool wrote just before it ended is still in the pipe.
    while (TakeOutput(process, pending) > 0) { }
    if (!pending.empty())
        AppendConsoleLine(pending);
}

size_t TToolRunner::TakeOutput(IProcess& process, std::string& pending)
{
    if (process.PeekOutput() == 0)
        return 0;
    std::array<char, kToolReadChunk> buffer {};
    const size_t n = process.ReadOutput(buffer.data(), buffer.size());
    pending.append(buffer.data(), n);
    for (size_t at = pending.find("\r\n"); at != std::string::npos; at = pending.find("\r\n")) {
        AppendConsoleLine(pending.substr(0, at));
        pending.erase(0, at + 2);
    }
    return n;
}

void TToolRunner::AppendConsoleLine(const std::string& line)
{
    // Looked up each time: the user may close the Console document while the tool runs.
    if (TEditFile* console = m_set.FindByPath(kConsoleName))
        console->AppendPara(line);
}

void TToolRunner::Reload(TEditFile& doc)
{
    // A document never saved has nothing on disk; a reload would only empty it.
    if (!doc.Named())
        return;
    doc.Reload();
    if (m_set.SplitOn() && m_set.BottomFile() == &doc)
        m_host.RefreshBottomPane();
}

void TToolRunner::ReloadAfter(
    const TExternalItem& tool, const std::string& currentPath, bool bottomWasActive)
{
    if ((tool.Flags & ToolFlag::ReloadNamedFile) == 0) {
        // The document that was current when the tool started: reloading whichever is
        // current now could throw away edits made meanwhile in another document.
        if (TEditFile* doc = Find(currentPath))
            Reload(*doc);
        return;
    }
    if (TEditFile* named = Find(tool.FileName)) {
        Reload(*named);
        named->SetToolBusy(false);
        m_host.FocusPane(bottomWasActive && m_set.BottomView());
        return;
    }
    if (m_commands.OpenFile(tool.FileName, false, false))
        m_host.RefreshDocumentBars();
}

} // namespace wexly
