// Writes adb and its two USB libraries, carried as resources of this
// executable, into the working directory.
#pragma once

#include "workflows/working_directory.h"

// Creates the directory and writes the three files unless the marker "1" and
// all three are already there. Reports nothing: a file that cannot be written
// (adb still running from there, say) keeps its earlier copy, and a file that
// was written only in part is deleted rather than left damaged.
void DeployTools(const WorkingDirectory& directory);

// Creates (or truncates) the file and writes all `size` bytes with one
// write. A file that cannot be written whole is deleted again; returns
// whether the file now holds the bytes.
bool WritePayloadFile(const std::string& path, const void* bytes, DWORD size);
