#include "search/FindInFilesOpen.h"

namespace wexly {

int OpenFindInFilesResults(TFileCommands& commands, TSettings& settings, IFileCommandHost& host,
    const std::string& baseDir, const std::string& openList, const std::string& directory)
{
    const int added = commands.OpenCommandLine(baseDir, openList);
    if (!directory.empty()) {
        settings.LastDir = directory;
        commands.AddRecentDir(directory);
    }
    host.RefreshDocumentBars();
    return added;
}

std::string SearchDirMask(const std::string& directory)
{
    return directory + "*.*";
}

} // namespace wexly
