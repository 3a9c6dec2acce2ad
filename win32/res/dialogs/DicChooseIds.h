// Template and control IDs of the dictionary chooser, shared by its resource fragment and the code.
#pragma once

#define IDD_DICCHOOSE 105
#define IDC_DICCHOOSE_PATH 1030
#define IDC_DICCHOOSE_BROWSE 1031
