// Template and control IDs of the Window List, shared by its resource fragment and the code.
#pragma once

#define IDD_WINDOWLIST 104
#define IDC_WINDOWLIST_LIST 1020
