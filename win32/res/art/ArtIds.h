// Resource IDs and sizes of the generated artwork (gen_art.py). Plain #defines: the resource
// compiler reads this file too.
#pragma once

// Icon number 1 of the executable (the second icon), given to associated document files.
#define IDI_WEXLYDOC 2

// Tool bar pictures: one 40 x 20 two-half glyph per button number 0..32, side by side.
#define IDB_TOOLBAR 2100
#define ART_TOOLBAR_COUNT 33
#define ART_TOOLBAR_WIDTH 40
#define ART_TOOLBAR_HEIGHT 20

// File state marks, two-half glyphs side by side: 0 text, 1 modified text, 2 read-only text,
// 3 binary, 4 read-only binary. 8 x 4 normally, 8 x 6 for the alternate set.
#define IDB_FLAGS4 2101
#define IDB_FLAGS6 2102
#define ART_FLAG_COUNT 5
#define ART_FLAG_WIDTH 8

// Bookmark glyphs 0..9 for the editor margin, side by side.
#define IDB_BOOKMARKS 2103
#define ART_BOOKMARK_WIDTH 12
#define ART_BOOKMARK_HEIGHT 11

// 32 x 16 two-half glyphs for dialog buttons, in this order.
#define IDB_DIALOGGLYPHS 2104
#define ART_DIALOG_GLYPH_WIDTH 32
#define ART_DIALOG_GLYPH_HEIGHT 16
#define ART_GLYPH_UP 0
#define ART_GLYPH_DOWN 1
#define ART_GLYPH_RIGHT 2
#define ART_GLYPH_LEFT 3
#define ART_GLYPH_ADD 4
#define ART_GLYPH_DELETE 5
#define ART_GLYPH_HELP 6
#define ART_GLYPH_BROWSE 7
#define ART_GLYPH_CLEAR 8
#define ART_DIALOG_GLYPH_COUNT 9

// In every picture the bottom-left pixel is the see-through colour; in the tool bar strip it
// is the light blue 0xF0CAA6 (a Windows colour value) that the tool bar fills behind pictures.
#define ART_TRANSPARENT_COLOR 0xF0CAA6
