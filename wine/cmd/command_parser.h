// Turns one typed line into the command it asks for. Pure text work: nothing
// here touches the file system or the process.
#pragma once

#include <optional>
#include <string>

enum class CommandKind {
    Empty,            // blank line
    Exit,             // exit [/b] [code]
    SwitchDrive,      // X:
    ChangeDirectory,  // cd [/d] [path], chdir
    RunProgram,       // anything else
};

struct Command {
    CommandKind kind = CommandKind::Empty;
    int exitCode = 0;          // Exit
    wchar_t drive = 0;         // SwitchDrive: the letter, upper case
    std::wstring path;         // ChangeDirectory: quotes removed; empty for plain "cd"
    bool switchDrive = false;  // ChangeDirectory: "/d" was given
    std::wstring word;         // RunProgram: the first word as typed, quotes kept
    std::wstring program;      // RunProgram: the first word without its quotes
    std::wstring commandLine;  // RunProgram: the line from its first word on, unchanged
};

Command ParseCommand(const std::wstring& line);

// The line after "/c" on the interpreter's own command line, when it was
// started to run one line and exit.
std::optional<std::wstring> OneShotLine(const std::wstring& processCommandLine);
