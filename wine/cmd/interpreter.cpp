#include "interpreter.h"

#include "drive_directories.h"
#include "messages.h"
#include "program_runner.h"
#include "program_search.h"
#include "text_io.h"

namespace {

// cmd.exe's ERRORLEVEL for a name that is no program.
constexpr int kNotRecognizedCode = 9009;

bool IsDriveOnly(const std::wstring& path)
{
    return path.size() == 2 && path[1] == L':';
}

// The system's text for `error`, with `subject` for its "%1", in the ANSI
// code page and ending with CR LF.
std::string SystemMessage(DWORD error, const std::wstring& subject)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    LocalFree(text);
    for (size_t at = message.find(L"%1"); at != std::wstring::npos; at = message.find(L"%1", at + subject.size()))
        message.replace(at, 2, subject);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n'))
        message.pop_back();
    return ToAnsi(message) + "\r\n";
}

}  // namespace

Interpreter::Interpreter()
    : output_(GetStdHandle(STD_OUTPUT_HANDLE)),
      errors_(GetStdHandle(STD_ERROR_HANDLE)),
      codePage_(GetACP())
{
    RememberCurrentDirectory();
}

bool Interpreter::Execute(const Command& command)
{
    switch (command.kind) {
    case CommandKind::Empty:
        break;
    case CommandKind::Exit:
        exitCode_ = command.exitCode;
        return false;
    case CommandKind::SwitchDrive:
        ExecuteDrive(command.drive);
        break;
    case CommandKind::ChangeDirectory:
        ExecuteCd(command);
        break;
    case CommandKind::RunProgram:
        ExecuteProgram(command);
        break;
    }
    return true;
}

std::string Interpreter::Prompt() const
{
    return ToAnsi(CurrentDirectory()) + ">";
}

void Interpreter::ExecuteCd(const Command& command)
{
    exitCode_ = 0;
    if (command.path.empty()) {
        Print(ToAnsi(CurrentDirectory()) + "\r\n");
    } else if (IsDriveOnly(command.path) && !command.switchDrive) {
        // "cd Z:" tells drive Z's directory and changes nothing.
        Print(ToAnsi(DriveDirectory(command.path[0])) + "\r\n");
    } else if (!ChangeDirectory(command.path, command.switchDrive)) {
        exitCode_ = 1;
        PrintError(MessageText(Message::PathNotFound, codePage_));
    }
}

void Interpreter::ExecuteDrive(wchar_t drive)
{
    exitCode_ = 0;
    if (!SwitchToDrive(drive)) {
        exitCode_ = 1;
        PrintError(MessageText(Message::DriveNotFound, codePage_));
    }
}

void Interpreter::ExecuteProgram(const Command& command)
{
    const std::wstring path = FindProgram(command.program);
    if (path.empty()) {
        exitCode_ = kNotRecognizedCode;
        PrintError(NotRecognizedText(ToAnsi(command.word), codePage_));
        return;
    }
    DWORD exitCode = 0;
    if (!RunProgram(path, command.commandLine, exitCode)) {
        exitCode_ = 1;
        PrintError(SystemMessage(GetLastError(), path));
        return;
    }
    exitCode_ = static_cast<int>(exitCode);
}

void Interpreter::Print(const std::string& bytes) const
{
    WriteAll(output_, bytes);
}

void Interpreter::PrintError(const std::string& bytes) const
{
    WriteAll(errors_, bytes);
}
