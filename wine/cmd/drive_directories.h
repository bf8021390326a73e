// The current drive and one current directory per drive, kept the way
// cmd.exe keeps them: the process's current directory for the current drive,
// and hidden environment variables "=C:", "=Z:" for every drive visited.
// GetFullPathName reads those variables for a path such as "Z:tmp", and
// programs started from here inherit them.
#pragma once

#include <string>

// The current directory, with a trailing backslash only at a drive's root.
std::wstring CurrentDirectory();

// Records the current directory as its drive's; called once at start.
void RememberCurrentDirectory();

// The remembered directory of drive `letter`, or its root.
std::wstring DriveDirectory(wchar_t letter);

// Makes drive `letter` current, in its remembered directory. False when the
// drive does not exist.
bool SwitchToDrive(wchar_t letter);

// Makes `path` the directory of its drive. The current drive changes only
// when `switchDrive` is set or the path is on the current drive. False when
// the path is no existing directory.
bool ChangeDirectory(const std::wstring& path, bool switchDrive);
