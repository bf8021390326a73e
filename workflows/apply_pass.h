// The apply pass: writes the chosen country and language into the phone's
// persistent properties and reboots the phone.
#pragma once

#include <windows.h>

// Thread procedure. `dialog` is a MainDialogSurface whose reference the
// starter handed over, after calling its BeginApply(); the pass releases
// both. Returns 0.
UINT ApplyThreadProc(LPVOID dialog);
