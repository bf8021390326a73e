// Output straight to a handle, and conversion between the ANSI code page the
// caller types and prints in and the UTF-16 the interpreter works in (paths
// in code page 936 may hold bytes that look like '\' inside a character).
#pragma once

#include <windows.h>

#include <string>

// Writes every byte with WriteFile: nothing waits in a buffer, so a caller
// reading up to the prompt sees it at once.
bool WriteAll(HANDLE handle, const std::string& bytes);

std::wstring FromAnsi(const std::string& bytes);
std::string ToAnsi(const std::wstring& text);
