#include "platform/Ui.h"

namespace wexly {

const TUpperTable& Windows1252UpperTable()
{
    static const TUpperTable table = [] {
        TUpperTable t {};
        for (int c = 0; c < 256; ++c)
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
        for (int c = 'a'; c <= 'z'; ++c)
            t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 32);
        // Windows-1252 letters above 127: s/z/oe carons, y diaeresis, and the Latin-1 block
        // except the division sign (0xF7) and sharp s (0xDF, no single upper case).
        t[0x9A] = 0x8A;
        t[0x9C] = 0x8C;
        t[0x9E] = 0x8E;
        t[0xFF] = 0x9F;
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7)
                t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 32);
        return t;
    }();
    return table;
}

} // namespace wexly
