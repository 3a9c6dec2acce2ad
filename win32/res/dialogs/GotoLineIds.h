// Template and control IDs of "Goto Line", shared by its resource fragment and the code.
#pragma once

#define IDD_GOTOLINE 3003
#define IDC_GOTO_LINE 3300
