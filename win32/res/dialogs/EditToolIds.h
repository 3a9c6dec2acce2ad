// Template and control IDs of "Edit External Tool", shared by its resource fragment and the code.
#pragma once

#define IDD_EDITTOOL 3900
#define IDC_ET_NAME_LABEL 3901
#define IDC_ET_NAME 3902
#define IDC_ET_COMMAND_LABEL 3903
#define IDC_ET_COMMAND 3904
#define IDC_ET_COMMAND_BROWSE 3905
#define IDC_ET_DIR_LABEL 3906
#define IDC_ET_DIR 3907
#define IDC_ET_DIR_BROWSE 3908
#define IDC_ET_RECORD 3909
#define IDC_ET_RELOAD 3910
#define IDC_ET_CURRENT 3911
#define IDC_ET_NAMED 3912
#define IDC_ET_FILENAME 3913
