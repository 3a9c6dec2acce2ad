#include "app/HandOver.h"

namespace wexly {

std::string WithTrailingBackslash(std::string dir)
{
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    return dir;
}

std::string MakeHandOverText(std::string_view startDir, std::string_view cmdLine)
{
    std::string text(startDir);
    text += '|';
    text += cmdLine;
    return text;
}

THandOverOutcome ReceiveHandOver(uintptr_t key, bool closing, std::string_view title,
    std::string& startDir, std::string& cmdLine)
{
    if (key != HandOverKey || closing)
        return THandOverOutcome::Refused;
    size_t bar = title.find('|');
    if (bar == std::string_view::npos)
        return THandOverOutcome::Ignored;
    startDir = std::string(title.substr(0, bar));
    cmdLine = std::string(title.substr(bar + 1));
    return cmdLine.empty() ? THandOverOutcome::Taken : THandOverOutcome::TakenToOpen;
}

} // namespace wexly
