#include "editor/BackupName.h"

#include "platform/Files.h"

namespace wexly {

std::string BackupFileName(std::string_view path)
{
    std::string result(path);
    for (size_t i = result.size(); i > 0; --i) {
        char c = result[i - 1];
        if (IsPathSeparator(c))
            break;
        if (c == '.') {
            result.insert(i, 1, '~');
            return result;
        }
    }
    result += ".~";
    return result;
}

} // namespace wexly
