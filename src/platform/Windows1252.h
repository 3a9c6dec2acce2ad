// The Western European code page, 1252, from its table: the native build's active code page
// and the stand-in for Windows' conversion in tests. Every byte has one character and back.
#pragma once

#include "platform/CodePage.h"

namespace wexly {

class TWindows1252CodePage final : public ICodePage
{
public:
    TWindows1252CodePage();
    bool FromWide(const char16_t* text, size_t count, std::string& out) override;
    void ToWide(const char* text, size_t count, std::u16string& out) override;
    bool SingleByte() const override { return true; }
    uint32_t Id() const override { return 1252; }

private:
    static constexpr size_t kFromSize = 0x2200; // past the highest character, U+2122
    char16_t m_toWide[256];
    // The byte of each character below kFromSize; 0 for none (U+0000 itself is handled apart).
    unsigned char m_from[kFromSize];
};

} // namespace wexly
