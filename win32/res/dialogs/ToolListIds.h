// Template and control IDs of the "Tools" list window, shared by its resource fragment and the code.
#pragma once

#define IDD_TOOLLIST 3950
#define IDC_TL_LIST 3951
