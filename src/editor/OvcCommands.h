// Editor command codes (16-bit). Codes 0..75 are numbered in the alphabetical order of their
// names; the processor produces a few more; 256 and up are user commands for the main window.
#pragma once

#include <cstdint>

namespace wexly {

using TCommandCode = uint16_t;

enum : TCommandCode {
    ccNone = 0,
    ccBack = 1,
    ccBotOfPage = 2,
    ccBotRightCell = 3,
    ccCompleteDate = 4,
    ccCompleteTime = 5,
    ccCopy = 6,
    ccCtrlChar = 7,
    ccCut = 8,
    ccDec = 9,
    ccDel = 10,
    ccDelBol = 11,
    ccDelEol = 12,
    ccDelLine = 13,
    ccDelWord = 14,
    ccDown = 15,
    ccEnd = 16,
    ccExtendDown = 17,
    ccExtendEnd = 18,
    ccExtendHome = 19,
    ccExtendLeft = 20,
    ccExtendPgDn = 21,
    ccExtendPgUp = 22,
    ccExtendRight = 23,
    ccExtendUp = 24,
    ccExtBotOfPage = 25,
    ccExtFirstPage = 26,
    ccExtLastPage = 27,
    ccExtTopOfPage = 28,
    ccExtWordLeft = 29,
    ccExtWordRight = 30,
    ccFirstPage = 31,
    ccGotoMarker0 = 32, // .. ccGotoMarker9 = 41
    ccGotoMarker9 = 41,
    ccHome = 42,
    ccInc = 43,
    ccIns = 44,
    ccLastPage = 45,
    ccLeft = 46,
    ccNewLine = 47,
    ccNextPage = 48,
    ccPageLeft = 49,
    ccPageRight = 50,
    ccPaste = 51,
    ccPrevPage = 52,
    ccRedo = 53,
    ccRestore = 54,
    ccRight = 55,
    ccScrollDown = 56,
    ccScrollUp = 57,
    ccSetMarker0 = 58, // .. ccSetMarker9 = 67
    ccSetMarker9 = 67,
    ccTab = 68,
    ccTableEdit = 69,
    ccTopLeftCell = 70,
    ccTopOfPage = 71,
    ccUndo = 72,
    ccUp = 73,
    ccWordLeft = 74,
    ccWordRight = 75,

    ccTypedChar = 249,
    ccNoCommand = 252,
    ccUnknownSecondKey = 254,
    ccPartialKey = 255,
    ccUserFirst = 256,
};

// Error codes returned by the text buffer's primitives (0 = success).
enum : uint16_t {
    oeOutOfMemory = 263,
    oeRegionTooLarge = 264,
    oeTooManyParas = 265,
    oeParaTooLong = 266, // joining would exceed the paragraph limit
    oeTextTooLarge = 267,
    oeParaTooLongInsert = 268,
};

} // namespace wexly
