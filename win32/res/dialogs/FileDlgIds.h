// Template and control IDs of the panel docked into the open and save dialogs.
#pragma once

#define IDD_OPENPANEL 3850

#define IDC_OPENPANEL_RECENT 3851
#define IDC_OPENPANEL_FAVS 3852
#define IDC_OPENPANEL_FAVADD 3853
#define IDC_OPENPANEL_CLEAN 3854
#define IDC_OPENPANEL_SEARCH 3855
#define IDC_OPENPANEL_READONLY 3856
#define IDC_OPENPANEL_BINARY 3857
#define IDC_OPENPANEL_LINE 3858
