// Template and control IDs of the Find dialog; the Replace dialog shares the find box, options and ranges, shared by its resource fragment and the code.
#pragma once

#define IDD_FIND 3001
#define IDC_FIND_TEXT 3100
#define IDC_FIND_WHOLEWORD 3101
#define IDC_FIND_MATCHCASE 3102
#define IDC_FIND_UP 3103
#define IDC_FIND_DOWN 3104
#define IDC_FIND_GLOBAL 3105
#define IDC_FIND_FROMCURSOR 3106
#define IDC_FIND_THISFILE 3107
#define IDC_FIND_OPENFILES 3108
#define IDC_FIND_SPECIFYFILES 3109
#define IDC_FIND_NEXT 3110
#define IDC_FIND_MASK 3111
#define IDC_FIND_UPPERPANEL 3112
#define IDC_FIND_MASKLABEL 3113
#define IDC_FIND_BROWSE 3114
#define IDC_FIND_SUBDIRS 3115
#define IDC_FIND_EXPANDALL 3116
#define IDC_FIND_TREE 3117
#define IDC_FIND_STATUS 3118
#define IDC_FIND_HALT 3119
#define IDC_FIND_OPEN 3120
