#include "editor/EditorTypes.h"

namespace wexly {

const char* EditorErrorMessage(uint16_t code)
{
    switch (code) {
    case 263:
        return "insufficient memory for requested operation";
    case 264:
        return "Region is too large (> 64K)";
    case 265:
        return "Current operation will exceed the maximum number of allowed paragraphs";
    case 266:
        return "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size";
    case 267:
        return "Current operation will exceed the maximum text size";
    case 268:
        return "Current operation will exceed the maximum paragraph size";
    default:
        return "Unknown Error condition";
    }
}

} // namespace wexly
