// Reading what "adb devices" printed, as the interpreter passed it on.
#pragma once

#include "session/shell_session.h"

inline constexpr char kDeviceListHeader[] = "List of devices attached";

bool HasDeviceListHeader(const OutputBuffer& output);

// Whether a phone is attached and usable: after the header, a line holding a
// serial, a tab and the state word "device" at its end. Everything before
// the header (the echoed command, messages of the server restart) and other
// text after it (the next prompt, whose path may well contain "device") is
// not a device line.
bool ListsReadyPhone(const OutputBuffer& output);
