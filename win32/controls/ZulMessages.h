// Messages the flat buttons exchange with their siblings and with drop targets. Registered
// messages, so they never collide with a control's own WM_USER range.
#pragma once

#include <windows.h>

namespace wexly::win32 {

// Sent to every child of a button's parent when a group button goes down.
// wParam: group index; lParam: HWND of the button that went down.
UINT ZulButtonPressedMessage();

// Sent by a dragged button to the window under the pointer. wParam: HWND of the dragged
// button; lParam: the pointer in the receiver's client coordinates (MAKELPARAM).
// DragOver returns non-zero when the receiver would accept a drop there.
UINT ZulDragOverMessage();
UINT ZulDragDropMessage();

} // namespace wexly::win32
