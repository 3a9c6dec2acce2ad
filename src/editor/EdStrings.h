// Low-level routines on NUL-terminated paragraph text: tab expansion, wrap break search,
// padding, in-place insertion and deletion. Offsets are 0-based unless a name says otherwise.
#pragma once

#include <cstdint>

namespace wexly {

// Space or tab.
bool edWhiteSpace(char ch);

// Whether a tab occurs among the first len characters.
bool edHaveTabs(const char* s, int32_t len);

// Index just after the last blank within the first len characters, or len when there is none.
int32_t edBreakPoint(const char* s, int32_t len);

// Removes count characters at pos from s (which holds len characters and its NUL).
void edDeleteSubString(char* s, int32_t len, int32_t count, int32_t pos);

// Inserts count characters of ins at pos into s (len characters; room for len + count + 1).
// A pos beyond len + 1 does nothing.
void edStrStInsert(char* s, const char* ins, int32_t len, int32_t pos, int32_t count);

// Pads s with spaces up to len characters and terminates it (s must have room for len + 1).
void edPadPrim(char* s, int32_t len);

// Display width of the first len characters with tabs expanded; stops early at a NUL.
int32_t edEffectiveLen(const char* s, int32_t len, int32_t tabSize);

// Characters consumed until the display column reaches col; at a NUL, one more than its index.
int32_t edGetActualCol(const char* s, int32_t col, int32_t tabSize);

// Offset where the wrapped line after the one starting at s begins, given that width
// characters fit on it. Blanks stay at the end of a line; a hyphen stays on its line.
int32_t edFindNextLine(const char* s, int32_t width);

// 1-based number of the last display line whose start offset is <= pos - 1 (pos is 1-based).
int32_t edFindPosInMap(const uint16_t* map, int32_t lines, int32_t pos);

// Length up to and including the first LF, or len when there is none.
int32_t edScanToEnd(const char* s, int32_t len);

} // namespace wexly
