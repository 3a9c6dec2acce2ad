// The main window's command identifiers, shared by the command table, the window and the
// resource script. Plain #defines because the resource compiler reads this file too.
#pragma once

// File
#define IDM_FILE_NEW 40001
#define IDM_FILE_OPENTEXT 40002
#define IDM_FILE_OPENBINARY 40003
#define IDM_FILE_REOPEN 40004
#define IDM_FILE_REVERT 40005
#define IDM_FILE_SAVE 40006
#define IDM_FILE_SAVEAS 40007
#define IDM_FILE_SAVECOPYAS 40008
#define IDM_FILE_SAVEALL 40009
#define IDM_FILE_PRINT 40010
#define IDM_FILE_PRINTSETUP 40011
#define IDM_FILE_PREVIEW 40012
#define IDM_FILE_CLOSE 40013
#define IDM_FILE_CLOSEALL 40014
#define IDM_FILE_CLOSEDELETE 40015
#define IDM_FILE_EXIT 40016
// Reopen history entries take IDM_FILE_HISTORY_FIRST + n, n = 0..3.
#define IDM_FILE_HISTORY_FIRST 40020

// Edit
#define IDM_EDIT_UNDO 40101
#define IDM_EDIT_REDO 40102
#define IDM_EDIT_CUT 40103
#define IDM_EDIT_COPY 40104
#define IDM_EDIT_PASTE 40105
#define IDM_EDIT_CLEAR 40106
#define IDM_EDIT_SELECTALL 40107

// Search
#define IDM_SEARCH_FIND 40201
#define IDM_SEARCH_REPEAT 40202
#define IDM_SEARCH_REPLACE 40203
#define IDM_SEARCH_GOTOLINE 40204
// Reached by its key only: the item is kept out of the menu.
#define IDM_SEARCH_NEXTDIFFWORD 40205

// Tools
#define IDM_JUSTIFY_LEFT 40301
#define IDM_JUSTIFY_CENTRE 40302
#define IDM_JUSTIFY_RIGHT 40303
#define IDM_JUSTIFY_INDENT 40304
#define IDM_JUSTIFY_UNINDENT 40305
#define IDM_TOOLS_STATISTICS 40306
#define IDM_DIC_CURRENT 40310
#define IDM_DIC_ACTIVE 40311
#define IDM_DIC_MAINTAIN 40312
#define IDM_TOOLS_LIST 40320
// External tools 0..9 take IDM_TOOLS_EXTERNAL_FIRST + index.
#define IDM_TOOLS_EXTERNAL_FIRST 40330
// Macros 1..12 take IDM_MACRO_FIRST + number.
#define IDM_MACRO_FIRST 40350

// Piles
#define IDM_PILES_STICK 40401
// Dynamic pile items take ids from IDM_PILES_DYNAMIC_FIRST on.
#define IDM_PILES_DYNAMIC_FIRST 41000
// Every item built from the settings (piles, macros, tools) takes an id from this range.
#define IDM_DYNAMIC_FIRST 41000
#define IDM_DYNAMIC_LAST 41999

// Options
#define IDM_OPTIONS_WORDWRAP 40501
#define IDM_OPTIONS_HEXMASK 40502
#define IDM_OPTIONS_SETTINGS 40503

// Window
#define IDM_WINDOW_HORIZONTAL 40601
#define IDM_WINDOW_VERTICAL 40602
#define IDM_WINDOW_UNSPLIT 40603
#define IDM_WINDOW_SWITCHPANES 40604
#define IDM_WINDOW_SYNCPANES 40605
#define IDM_WINDOW_SORTPATH 40606
#define IDM_WINDOW_SORTNAME 40607
#define IDM_WINDOW_SORTEXT 40608
#define IDM_WINDOW_HIDEBARS 40609
#define IDM_WINDOW_PREVFILE 40610
#define IDM_WINDOW_NEXTFILE 40611
#define IDM_WINDOW_LIST 40612
// Document entries 0..9 take IDM_WINDOW_FILE_FIRST + position.
#define IDM_WINDOW_FILE_FIRST 40620

// Help
#define IDM_HELP_CONTENTS 40701
#define IDM_HELP_ABOUT 40702

// The Window List command at the end of the menu bar.
#define IDM_WINDOWLIST_BAR 40801

// The menu a drop with Alt held shows.
#define IDM_DROP_TEXT 6001
#define IDM_DROP_BINARY 6002
