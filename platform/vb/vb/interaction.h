// The run time's DoEvents and its clock as text.
#pragma once
#include <windows.h>

#include <string>

namespace vb {

// Handles one window message of this thread's loop: through IsDialogMessage when it is for a
// dialog box or a control in one, else translated and dispatched.
void HandleMessage(MSG& msg);

// DoEvents: handles every window message pending for this thread, and returns when none is
// left. A message for a dialog box (or a control in one) goes through IsDialogMessage first, so
// that Tab, Enter and Escape act on it as in its own loop.
void DoEvents();

// CStr(Time): the system clock's time of day in the user's time format ("4:05:09 PM").
std::wstring TimeText();

}  // namespace vb
