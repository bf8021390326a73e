// Strings from the program's string table, in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

// Empty when the string is missing or empty.
std::string AfxLoadString(UINT nID);
