// Resource identifiers shared by the resource script and the code, and the commands. Plain
// #defines because the resource compiler reads this file too.
#pragma once

#define IDI_WEXLY 1
#define IDR_MAINMENU 100
#define IDR_MAINACCEL 101
#define IDD_ABOUT 102
#define IDC_ABOUT_VERSION 1001
#define IDD_REOPEN 103
#define IDC_REOPEN_LIST 1010
#define IDC_REOPEN_SORT 1011
#define IDD_WINDOWLIST 104
#define IDC_WINDOWLIST_LIST 1020
#define IDD_DICCHOOSE 105
#define IDC_DICCHOOSE_PATH 1030
#define IDC_DICCHOOSE_BROWSE 1031
#define IDD_DICMAINT 106
#define IDC_DICMAINT_GRID 1040
#define IDC_DICMAINT_LABEL 1041
#define IDC_DICMAINT_MATCHCASE 1042
#define IDC_DICMAINT_OPEN 1043
#define IDC_DICMAINT_SAVE 1044
#define IDC_DICMAINT_SAVEAS 1045
#define IDC_DICMAINT_EDITOR 1046

#include "app/CommandIds.h"
