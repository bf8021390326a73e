// Finds the file a typed program name stands for, the way cmd.exe looks:
// first in the current directory, then in each directory on PATH, trying
// the name with .com and .exe added (and as given when it has an
// extension). A name holding a path is looked for only where it points.
#pragma once

#include <string>
#include <vector>

// The file names to try in each directory, in order.
std::vector<std::wstring> ProgramFileNames(const std::wstring& name);

// PATH's directories in order; quotes around an entry (which may hold ';')
// are removed and empty entries dropped.
std::vector<std::wstring> SplitSearchPath(const std::wstring& pathVariable);

// The full path of the program, or empty when there is none.
std::wstring FindProgram(const std::wstring& name);
