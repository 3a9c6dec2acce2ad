// The settings' colours and fonts as GDI wants them, and the bounds of windows kept in the
// settings.
#pragma once

#include "config/Settings.h"

#include <windows.h>

#include <cstdint>

namespace wexly::win32 {

// A stored colour; a system-colour value gives the system's colour now.
COLORREF ColourOf(uint32_t value);
// A stored font at the screen's resolution; without a face name "MS Sans Serif" is used.
LOGFONTW LogFontOf(const TFontSet& set);

// Moves a window to stored bounds, unless they are empty (never stored).
void ApplyStoredBounds(HWND window, const TRect& bounds);
TRect WindowBounds(HWND window);

} // namespace wexly::win32
