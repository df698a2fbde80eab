#pragma once

// Keyboard navigation of dialogs, as IsDialogMessage does it: Tab and
// Shift+Tab over the WS_TABSTOP controls in template order, the arrow keys
// within a group (from a WS_GROUP control to the next one; radio buttons are
// checked as the focus reaches them), Enter for the default button and
// Escape for Cancel. A control keeps keys it asks for with WM_GETDLGCODE.

#include "platform/controls/ControlDefs.h"

#include <vector>

// The next (or previous) enabled, visible WS_TABSTOP control after control,
// wrapping around; the first one when control is null.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) enabled, visible control of control's group,
// wrapping within the group.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// Handles the message when it is a dialog key for the dialog (or one of its
// controls) and dispatches the other messages meant for it; FALSE for
// messages of other windows, which the caller dispatches.
BOOL IsDialogMessage(HWND dialog, LPMSG msg);

namespace platform {

// A window's children in template (Tab) order.
std::vector<HWND> ChildrenInOrder(HWND parent);
// The controls of the group a control belongs to, in order.
std::vector<HWND> GroupOf(HWND control);
// Moves the focus to a control the way the dialog does: an edit gets its text
// selected, a push button becomes the default look.
void FocusDialogControl(HWND dialog, HWND control);

} // namespace platform
