// Quorvix's command interpreter, installed into the project's Wine prefix as
// cmd.exe. It reads its input line by line from its own buffer, so lines
// that arrive together on a pipe are all run, and otherwise answers the way
// Windows cmd.exe does for the lines Quorvix types.
#include "command_parser.h"
#include "interpreter.h"
#include "line_reader.h"
#include "text_io.h"

#include <windows.h>

#include <string>

namespace {

constexpr char kBanner[] = "Quorvix command interpreter for Wine [Version 1.0]\r\n\r\n";

// A console shows what is typed; any other input is echoed after the prompt.
bool InputIsConsole(HANDLE input)
{
    DWORD mode = 0;
    return GetConsoleMode(input, &mode) != FALSE;
}

int RunOneLine(const std::wstring& line)
{
    Interpreter interpreter;
    interpreter.Execute(ParseCommand(line));
    return interpreter.ExitCode();
}

int RunSession()
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const bool echo = !InputIsConsole(input);
    Interpreter interpreter;
    LineReader reader(input);

    WriteAll(output, kBanner + interpreter.Prompt());
    std::string line;
    while (reader.ReadLine(line)) {
        const Command command = ParseCommand(FromAnsi(line));
        if (command.kind == CommandKind::Empty) {
            WriteAll(output, (echo ? "\r\n" : "") + interpreter.Prompt());
            continue;
        }
        if (echo)
            WriteAll(output, line + "\r\n");
        if (!interpreter.Execute(command))
            return interpreter.ExitCode();
        WriteAll(output, "\r\n" + interpreter.Prompt());
    }
    return 0;
}

}  // namespace

int main()
{
    if (const auto line = OneShotLine(GetCommandLineW()))
        return RunOneLine(*line);
    return RunSession();
}
