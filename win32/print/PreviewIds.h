// Control IDs of the print preview window, shared with the tests that drive it.
#pragma once

#define IDC_PREVIEW_PRINT 100
#define IDC_PREVIEW_CLOSE 101
#define IDC_PREVIEW_PREV 102
#define IDC_PREVIEW_PAGE 103
#define IDC_PREVIEW_NEXT 104
#define IDC_PREVIEW_OF 105
#define IDC_PREVIEW_ZOOMIN 106
#define IDC_PREVIEW_ZOOMOUT 107
#define IDC_PREVIEW_STATUS 108
#define IDC_PREVIEW_IMAGE 109
