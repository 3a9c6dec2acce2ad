// Template and control IDs of the Replace dialog, shared by its resource fragment and the code.
#pragma once

#include "win32/res/dialogs/FindIds.h" // the controls it shares with Find

#define IDD_REPLACE 3002
#define IDC_REPLACE_TEXT 3200
#define IDC_REPLACE_ONE 3201
#define IDC_REPLACE_ALL 3202
