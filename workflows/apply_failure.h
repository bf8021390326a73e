// Whether what adb and the phone's shell printed for the property writes
// shows that they failed: no phone, a phone that is offline or not
// authorised, a shell without root, or no adb at all.
#pragma once

#include <string>

// `output` is what the reads after the language lines collected;
// `workingDirectory` is left out of the search, since the interpreter's
// prompt repeats it and a folder may be named like a failure.
bool ShowsApplyFailure(std::string output, const std::string& workingDirectory);
