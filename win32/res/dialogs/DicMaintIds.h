// Template and control IDs of the Dictionary Maintenance window, shared by its resource fragment and the code.
#pragma once

#define IDD_DICMAINT 106
#define IDC_DICMAINT_GRID 1040
#define IDC_DICMAINT_LABEL 1041
#define IDC_DICMAINT_MATCHCASE 1042
#define IDC_DICMAINT_OPEN 1043
#define IDC_DICMAINT_SAVE 1044
#define IDC_DICMAINT_SAVEAS 1045
#define IDC_DICMAINT_EDITOR 1046
