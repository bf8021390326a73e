// Runs the interpreter built beside the tests as a child process with real
// anonymous pipes, the way Quorvix runs cmd.exe, and collects what it prints.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct InterpreterStart {
    std::string arguments;           // after the program's own name
    std::string directory = "C:\\";  // the directory it starts in
    bool separateErrors = false;     // standard error on a pipe of its own
};

struct InterpreterRun {
    bool finished = false;  // ended by itself within the time limit
    DWORD exitCode = 0;
    std::string output;     // standard output, with standard error unless kept apart
    std::string errors;     // standard error when kept apart
};

// Writes each piece of input with a single WriteFile, pausing between pieces
// so that they reach the interpreter as separate reads, then closes its input
// and collects its output until it exits.
InterpreterRun RunInterpreter(const std::vector<std::string>& inputPieces,
                              const InterpreterStart& start = {});

// The folder holding the test executables, cmd.exe and show_command_line.exe.
std::string BuildDirectory();

// Sets an environment variable of this process (which children inherit) and
// restores its old value when it goes out of scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::string oldValue_;
    bool hadValue_ = false;
};

// The current value of an environment variable, or empty.
std::string EnvironmentValue(const char* name);
