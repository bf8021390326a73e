// Carries out parsed commands and prints what cmd.exe prints for them:
// normal output on standard output, error messages on standard error.
#pragma once

#include "command_parser.h"

#include <windows.h>

#include <string>

class Interpreter {
public:
    Interpreter();

    // Runs one command. False when it was "exit"; ExitCode() then holds the
    // code to end with.
    bool Execute(const Command& command);

    // The current directory followed by '>'.
    std::string Prompt() const;

    // What the last command left behind, like cmd.exe's ERRORLEVEL.
    int ExitCode() const { return exitCode_; }

private:
    void ExecuteCd(const Command& command);
    void ExecuteDrive(wchar_t drive);
    void ExecuteProgram(const Command& command);
    void Print(const std::string& bytes) const;
    void PrintError(const std::string& bytes) const;

    HANDLE output_;
    HANDLE errors_;
    UINT codePage_;
    int exitCode_ = 0;
};
