#include "controls/ZulColors.h"

namespace wexly {

namespace {

TColorRef ToRgb(TColorRef c, const TColorResolver& resolve)
{
    if (IsSystemColor(c) && resolve)
        c = resolve(c);
    return c & 0x00FFFFFF;
}

template <typename F> TColorRef MapChannels(TColorRef c, F f)
{
    return Rgb(f(RedOf(c)), f(GreenOf(c)), f(BlueOf(c)));
}

} // namespace

TColorRef Lighter(TColorRef c, const TColorResolver& resolve)
{
    if (c == clBtnFace)
        return clBtnHighlight;
    return MapChannels(
        ToRgb(c, resolve), [](uint8_t v) { return static_cast<uint8_t>((v + 255) / 2); });
}

TColorRef Darker(TColorRef c, const TColorResolver& resolve)
{
    if (c == clBtnFace)
        return clBtnShadow;
    return MapChannels(ToRgb(c, resolve), [](uint8_t v) { return static_cast<uint8_t>(v / 2); });
}

} // namespace wexly
