#include "platform/CodePage.h"
#include "platform/Windows1252.h"

namespace wexly {

ICodePage& ActiveCodePage()
{
    static TWindows1252CodePage codePage;
    return codePage;
}

} // namespace wexly
