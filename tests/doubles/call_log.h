// The log of every call the double received, one argument text a line.
#pragma once

#include <string>

// Every double on the machine takes this mutex to read or append the log.
inline constexpr char kCallLogMutexName[] = "Local\\QuorvixAdbDoubleLog";

// Appends "<argumentText>\n" to the log at `path` and sets `callNumber` to how
// many lines, this one included, now hold that text. Counting and appending
// happen under kCallLogMutexName, so doubles running at once never tear or
// lose a line nor share a number. On failure GetLastError() tells why.
bool RecordCall(const std::string& path, const std::string& argumentText,
                unsigned long long& callNumber);
