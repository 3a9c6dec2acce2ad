#include "tools/EditToolForm.h"

#include "documents/EditFile.h"
#include "tools/ToolCommandLine.h"

namespace wexly {

void TEditToolForm::FillNew()
{
    *this = TEditToolForm {};
    name = kNewName;
}

void TEditToolForm::Fill(const std::string& toolName, const TExternalItem& item)
{
    name = toolName;
    commandLine = item.CommandLine;
    workDir = item.WorkDir;
    fileName = item.FileName;
    namedFile = (item.Flags & ToolFlag::ReloadNamedFile) != 0;
    reloadOnCompletion = (item.Flags & ToolFlag::ReloadOnCompletion) != 0;
    recordOutput = (item.Flags & ToolFlag::RecordOutput) != 0;
}

TExternalItem TEditToolForm::Store() const
{
    TExternalItem item;
    item.CommandLine = commandLine;
    item.WorkDir = workDir;
    item.FileName = fileName;
    item.Flags = static_cast<uint16_t>((namedFile ? ToolFlag::ReloadNamedFile : 0)
        | (reloadOnCompletion ? ToolFlag::ReloadOnCompletion : 0)
        | (recordOutput ? ToolFlag::RecordOutput : 0));
    return item;
}

TProgramBrowseRequest TEditToolForm::ProgramBrowse(const std::string& lastDir) const
{
    std::string program = ProgramPart(commandLine);
    // A quoted program name is a path, not a name with quotes in it.
    if (program.size() >= 2 && program.front() == '"' && program.back() == '"')
        program = program.substr(1, program.size() - 2);
    TProgramBrowseRequest request;
    request.fileName = program;
    const size_t slash = program.rfind('\\');
    if (slash != std::string::npos)
        request.initialDir = program.substr(0, slash + 1);
    else if (!workDir.empty())
        request.initialDir = workDir;
    else
        request.initialDir = lastDir;
    return request;
}

void TEditToolForm::ProgramChosen(const std::string& path)
{
    commandLine = path;
    workDir = PathDirectory(path);
}

void TEditToolForm::FolderChosen(const std::string& folder)
{
    workDir = folder;
    // A drive root ("C:\") keeps its backslash: "C:" alone means that drive's current folder.
    while (workDir.size() > 1 && (workDir.back() == '\\' || workDir.back() == '/')
        && !(workDir.size() == 3 && workDir[1] == ':'))
        workDir.pop_back();
}

} // namespace wexly
