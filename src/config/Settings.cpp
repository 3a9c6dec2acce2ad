#include "config/Settings.h"

namespace wexly {

TSettings Settings;

const TColourTable& DefaultColours()
{
    static const TColourTable colours = {
        0xC0C0C0,
        0x800000, // normal text
        0x000000,
        0xC0C0C0, // selected text
        0x000000,
        0xC0C0C0, // file name bar
        0x000000,
        0xC0C0C0, // status bar
        0x000000,
        0xC0C0C0, // file button bar
        0x80000012,
        0x8000000F, // system button text and face
        0xC0C0C0,
        0xC0C0C0,
    };
    return colours;
}

} // namespace wexly
