// Whole-buffer reads and writes on handles, retried until done.
#pragma once

#include <windows.h>

#include <string>

// Reads from the handle's current position to its end.
bool ReadToEnd(HANDLE file, std::string& bytes);

// Reads a whole file that others may be writing at the same time.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes every byte, in one WriteFile call unless the system takes fewer.
bool WriteAll(HANDLE file, const std::string& bytes);
