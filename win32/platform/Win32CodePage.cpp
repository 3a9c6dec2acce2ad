// The ANSI code page through MultiByteToWideChar and WideCharToMultiByte.
#include "platform/CodePage.h"

#include <windows.h>

namespace wexly {

namespace {

class TWin32CodePage final : public ICodePage
{
public:
    TWin32CodePage()
        : m_id(GetACP())
    {
        CPINFO info {};
        if (GetCPInfo(m_id, &info) && info.MaxCharSize > 0)
            m_maxCharSize = info.MaxCharSize;
    }

    bool FromWide(const char16_t* text, size_t count, std::string& out) override
    {
        if (count == 0)
            return true;
        const size_t start = out.size();
        out.resize(start + count * m_maxCharSize);
        const auto* wide = reinterpret_cast<const wchar_t*>(text);
        BOOL usedDefault = FALSE;
        int n = 0;
        if (m_id == CP_UTF8) {
            // A system whose ANSI code page is UTF-8 has every character; only broken UTF-16
            // fails, and the default-character check is not allowed for it.
            n = WideCharToMultiByte(m_id, WC_ERR_INVALID_CHARS, wide, static_cast<int>(count),
                out.data() + start, static_cast<int>(out.size() - start), nullptr, nullptr);
        } else {
            // No near matches (an "a" for an "ä" from another script) and no default character:
            // either would change the file when it is saved again.
            n = WideCharToMultiByte(m_id, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(count),
                out.data() + start, static_cast<int>(out.size() - start), nullptr, &usedDefault);
        }
        if (n <= 0 || usedDefault) {
            out.resize(start);
            return false;
        }
        out.resize(start + static_cast<size_t>(n));
        return true;
    }

    void ToWide(const char* text, size_t count, std::u16string& out) override
    {
        if (count == 0)
            return;
        const size_t start = out.size();
        out.resize(start + count);
        const int n = MultiByteToWideChar(m_id, 0, text, static_cast<int>(count),
            reinterpret_cast<wchar_t*>(out.data() + start), static_cast<int>(count));
        out.resize(start + static_cast<size_t>(n > 0 ? n : 0));
    }

    bool SingleByte() const override { return m_maxCharSize == 1; }
    uint32_t Id() const override { return m_id; }

private:
    UINT m_id;
    size_t m_maxCharSize = 2;
};

} // namespace

ICodePage& ActiveCodePage()
{
    static TWin32CodePage codePage;
    return codePage;
}

} // namespace wexly
