#include "tools/ToolCommandLine.h"

#include "documents/EditFile.h"

namespace wexly {

std::string ExpandToolCommandLine(const std::string& commandLine, const std::string& path)
{
    // Both places are found in the tool's own text, so a path that itself contains "%f" is
    // passed as it is.
    const size_t c = commandLine.find("%c");
    const size_t f = commandLine.find("%f");
    std::string result = commandLine;
    const std::string name = PathNamePart(path);
    if (c != std::string::npos && f != std::string::npos && f > c) {
        result.replace(f, 2, name);
        result.replace(c, 2, path);
        return result;
    }
    if (c != std::string::npos)
        result.replace(c, 2, path);
    if (f != std::string::npos)
        result.replace(f, 2, name);
    return result;
}

bool NeedsDocument(const std::string& commandLine)
{
    return commandLine.find("%c") != std::string::npos
        || commandLine.find("%f") != std::string::npos;
}

std::string ProgramPart(const std::string& commandLine)
{
    bool quoted = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        if (commandLine[i] == '"')
            quoted = !quoted;
        else if (commandLine[i] == ' ' && !quoted)
            return commandLine.substr(0, i);
    }
    return commandLine;
}

} // namespace wexly
