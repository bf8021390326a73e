// Starts a program the way cmd.exe does: the typed line is its command line,
// it shares the interpreter's standard handles and environment, and the
// interpreter waits until it has ended.
#pragma once

#include <windows.h>

#include <string>

// Runs `applicationPath` with `commandLine` and sets `exitCode`. False when
// the program could not be started; GetLastError() then tells why.
bool RunProgram(const std::wstring& applicationPath, const std::wstring& commandLine,
                DWORD& exitCode);
