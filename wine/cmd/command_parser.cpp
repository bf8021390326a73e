#include "command_parser.h"

#include <cwchar>
#include <cwctype>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

size_t SkipBlanks(const std::wstring& text, size_t from)
{
    while (from < text.size() && IsBlank(text[from]))
        ++from;
    return from;
}

std::wstring TrimEnd(std::wstring text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    return text;
}

std::wstring WithoutQuotes(const std::wstring& text)
{
    std::wstring result;
    for (wchar_t c : text)
        if (c != L'"')
            result += c;
    return result;
}

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return i == a.size() && !b[i];
}

// `text` at `at` holds the switch `option` (such as "/d") followed by a
// blank, a quote or the end.
bool HasSwitch(const std::wstring& text, size_t at, const wchar_t* option)
{
    const std::wstring found = text.substr(at, 2);
    if (!EqualsIgnoringCase(found, option))
        return false;
    return at + 2 == text.size() || IsBlank(text[at + 2]) || text[at + 2] == L'"';
}

// "X:" with nothing after it but blanks.
bool IsDriveLine(const std::wstring& text)
{
    return text.size() >= 2 && text[1] == L':' && std::iswalpha(text[0]) && text[0] < 0x80 &&
           SkipBlanks(text, 2) == text.size();
}

// An internal command's name ends where a path or switch may begin without
// a blank, as in "cd..", "cd\" and "cd/d".
size_t InternalNameEnd(const std::wstring& text)
{
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end]) && text[end] != L'\\' && text[end] != L'.' &&
           text[end] != L'/' && text[end] != L'"')
        ++end;
    return end;
}

Command ChangeDirectoryCommand(const std::wstring& arguments)
{
    Command command;
    command.kind = CommandKind::ChangeDirectory;
    size_t at = SkipBlanks(arguments, 0);
    if (HasSwitch(arguments, at, L"/d")) {
        command.switchDrive = true;
        at = SkipBlanks(arguments, at + 2);
    }
    // Blanks inside the path belong to it: "cd C:\Program Files" needs no quotes.
    command.path = TrimEnd(WithoutQuotes(arguments.substr(at)));
    return command;
}

Command ExitCommand(const std::wstring& arguments)
{
    Command command;
    command.kind = CommandKind::Exit;
    size_t at = SkipBlanks(arguments, 0);
    if (HasSwitch(arguments, at, L"/b"))
        at = SkipBlanks(arguments, at + 2);
    command.exitCode = static_cast<int>(std::wcstol(arguments.c_str() + at, nullptr, 10));
    return command;
}

// The first word runs to the first blank outside double quotes.
Command ProgramCommand(const std::wstring& text)
{
    Command command;
    command.kind = CommandKind::RunProgram;
    bool quoted = false;
    size_t end = 0;
    for (; end < text.size(); ++end) {
        if (text[end] == L'"')
            quoted = !quoted;
        else if (!quoted && IsBlank(text[end]))
            break;
    }
    command.word = text.substr(0, end);
    command.program = WithoutQuotes(command.word);
    command.commandLine = text;
    return command;
}

}  // namespace

Command ParseCommand(const std::wstring& line)
{
    const std::wstring text = line.substr(SkipBlanks(line, 0));
    if (text.empty())
        return {};
    if (IsDriveLine(text)) {
        Command command;
        command.kind = CommandKind::SwitchDrive;
        command.drive = static_cast<wchar_t>(std::towupper(text[0]));
        return command;
    }
    const size_t nameEnd = InternalNameEnd(text);
    const std::wstring name = text.substr(0, nameEnd);
    if (EqualsIgnoringCase(name, L"cd") || EqualsIgnoringCase(name, L"chdir"))
        return ChangeDirectoryCommand(text.substr(nameEnd));
    if (EqualsIgnoringCase(name, L"exit") && (nameEnd == text.size() || IsBlank(text[nameEnd])))
        return ExitCommand(text.substr(nameEnd));
    return ProgramCommand(text);
}

std::optional<std::wstring> OneShotLine(const std::wstring& processCommandLine)
{
    // Our own name comes first, quoted or up to the first blank.
    size_t at = 0;
    if (!processCommandLine.empty() && processCommandLine[0] == L'"') {
        const size_t close = processCommandLine.find(L'"', 1);
        at = close == std::wstring::npos ? processCommandLine.size() : close + 1;
    } else {
        while (at < processCommandLine.size() && !IsBlank(processCommandLine[at]))
            ++at;
    }
    at = SkipBlanks(processCommandLine, at);
    if (!HasSwitch(processCommandLine, at, L"/c"))
        return std::nullopt;
    return processCommandLine.substr(SkipBlanks(processCommandLine, at + 2));
}
