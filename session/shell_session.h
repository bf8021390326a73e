// A hidden command interpreter driven over two anonymous pipes: lines are
// typed into its standard input and its output is read back until the prompt
// character shows that it is waiting for the next line.
#pragma once

#include <windows.h>

#include <string>

// What the interpreter printed, byte for byte. Each read contributes its
// bytes up to the first NUL; the caller decides when to empty it.
using OutputBuffer = std::string;

struct ShellSession {
    HANDLE outputRead = nullptr;   // we read the interpreter's stdout and stderr here
    HANDLE outputWrite = nullptr;  // the interpreter's stdout and stderr
    HANDLE inputRead = nullptr;    // the interpreter's stdin
    HANDLE inputWrite = nullptr;   // we type command lines here
    HANDLE process = nullptr;      // the interpreter, kept only to end it
    HANDLE job = nullptr;          // ends the interpreter should this program end first
};

// The interpreter every session runs; fixed, never taken from the environment.
inline constexpr char kInterpreterPath[] = "C:\\Windows\\System32\\cmd.exe";

// Creates both pipes and starts the interpreter hidden. On failure nothing
// stays open and GetLastError() tells why.
bool OpenShell(ShellSession& session);
// The same with another interpreter; lets tests start a missing program.
bool OpenShellWith(ShellSession& session, const char* interpreterPath);

// Writes `text` followed by CR LF in one write.
bool SendLine(ShellSession& session, const std::string& text);

// Appends output to `buffer`, pausing a second before every read, until a
// read ends with '>' (the prompt's last character).
bool ReadUntilPrompt(ShellSession& session, OutputBuffer& buffer);

// Closes the four pipe ends, ends the interpreter and releases its handles.
void CloseShell(ShellSession& session);

// A failed session call ends the whole program at once, with the system's
// last error as its exit code.
void ExitIfShellFailed(bool succeeded);
