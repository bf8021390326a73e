// Writes adb and its two USB libraries, carried as resources of this
// executable, into the working directory.
#pragma once

#include "workflows/working_directory.h"

// Creates the directory and writes the three files unless the marker "1" and
// all three are already there. Reports nothing: a file that cannot be written
// (adb still running from there, say) keeps its earlier copy, and a file that
// was written only in part is deleted rather than left damaged.
void DeployTools(const WorkingDirectory& directory);
