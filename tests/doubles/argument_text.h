// What an adb call was asked to do: its command line without the program name.
#pragma once

#include <string>

// Skips the program name the way the C runtime does for argv[0] (a leading
// double quote runs to the next one, otherwise the name ends at the first
// space or tab), then any spaces and tabs; the rest is returned unchanged,
// quotes included.
std::string ArgumentText(const char* commandLine);
