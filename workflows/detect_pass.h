// The detection pass: is a phone attached and usable through adb?
#pragma once

#include <windows.h>

// Thread procedure. `dialog` is a MainDialogSurface whose reference the
// starter handed over; the pass releases it. Returns 0, or (UINT)-1 when
// the device list never showed up within five seconds.
UINT DetectThreadProc(LPVOID dialog);

// Longest wait for the device list once the first list has been read.
inline constexpr DWORD kDeviceListTimeLimitMs = 5000;
