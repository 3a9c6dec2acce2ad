#include "editor/EdStrings.h"

#include <cstring>

namespace wexly {

namespace {
int32_t NextTabStop(int32_t col, int32_t tabSize)
{
    if (tabSize <= 0)
        return col + 1; // no tab stops: a tab is one cell wide
    return (col / tabSize + 1) * tabSize;
}
} // namespace

bool edWhiteSpace(char ch)
{
    return ch == ' ' || ch == '\t';
}

bool edHaveTabs(const char* s, int32_t len)
{
    return len > 0 && std::memchr(s, '\t', static_cast<size_t>(len)) != nullptr;
}

int32_t edBreakPoint(const char* s, int32_t len)
{
    for (int32_t i = len - 1; i >= 0; --i) {
        if (edWhiteSpace(s[i]))
            return i + 1;
    }
    return len;
}

void edDeleteSubString(char* s, int32_t len, int32_t count, int32_t pos)
{
    if (pos < 0 || pos >= len || count <= 0)
        return;
    if (count > len - pos)
        count = len - pos;
    std::memmove(s + pos, s + pos + count, static_cast<size_t>(len - pos - count + 1));
}

void edStrStInsert(char* s, const char* ins, int32_t len, int32_t pos, int32_t count)
{
    if (pos < 0 || pos > len || count <= 0)
        return;
    std::memmove(s + pos + count, s + pos, static_cast<size_t>(len - pos + 1));
    std::memcpy(s + pos, ins, static_cast<size_t>(count));
}

void edPadPrim(char* s, int32_t len)
{
    auto cur = static_cast<int32_t>(std::strlen(s));
    if (cur < len)
        std::memset(s + cur, ' ', static_cast<size_t>(len - cur));
    if (cur <= len)
        s[len] = '\0';
}

int32_t edEffectiveLen(const char* s, int32_t len, int32_t tabSize)
{
    int32_t col = 0;
    for (int32_t i = 0; i < len && s[i] != '\0'; ++i)
        col = s[i] == '\t' ? NextTabStop(col, tabSize) : col + 1;
    return col;
}

int32_t edGetActualCol(const char* s, int32_t col, int32_t tabSize)
{
    int32_t i = 0;
    int32_t c = 0;
    while (c < col) {
        if (s[i] == '\0')
            return i + 1;
        c = s[i] == '\t' ? NextTabStop(c, tabSize) : c + 1;
        ++i;
    }
    return i;
}

int32_t edFindNextLine(const char* s, int32_t width)
{
    if (s[width] == '\0')
        return width;
    for (int32_t k = width; k >= 0; --k) {
        int32_t from;
        if (edWhiteSpace(s[k]))
            from = k;
        else if (s[k] == '-')
            from = k + 1;
        else
            continue;
        while (edWhiteSpace(s[from]))
            ++from;
        return from;
    }
    return width;
}

int32_t edFindPosInMap(const uint16_t* map, int32_t lines, int32_t pos)
{
    // Binary search for the last start <= pos - 1; map is strictly increasing.
    int32_t lo = 1;
    int32_t hi = lines;
    while (lo < hi) {
        int32_t mid = (lo + hi + 1) / 2;
        if (map[mid - 1] <= pos - 1)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

int32_t edScanToEnd(const char* s, int32_t len)
{
    const void* lf = len > 0 ? std::memchr(s, '\n', static_cast<size_t>(len)) : nullptr;
    return lf ? static_cast<int32_t>(static_cast<const char*>(lf) - s) + 1 : len;
}

} // namespace wexly
