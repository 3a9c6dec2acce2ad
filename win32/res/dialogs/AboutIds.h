// Template and control IDs of the About dialog, shared by its resource fragment and the code.
#pragma once

#define IDD_ABOUT 102
#define IDC_ABOUT_VERSION 1001
