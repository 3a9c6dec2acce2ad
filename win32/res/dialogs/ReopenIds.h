// Template and control IDs of the Reopen dialog, shared by its resource fragment and the code.
#pragma once

#define IDD_REOPEN 103
#define IDC_REOPEN_LIST 1010
#define IDC_REOPEN_SORT 1011
