#include "command_parser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// One line of text per command, so a table row states the whole result.
std::wstring Describe(const Command& command)
{
    switch (command.kind) {
    case CommandKind::Empty:
        return L"empty";
    case CommandKind::Exit:
        return L"exit " + std::to_wstring(command.exitCode);
    case CommandKind::SwitchDrive:
        return std::wstring(L"drive ") + command.drive;
    case CommandKind::ChangeDirectory:
        return std::wstring(command.switchDrive ? L"cd /d [" : L"cd [") + command.path + L"]";
    case CommandKind::RunProgram:
        return L"run [" + command.program + L"] word [" + command.word + L"] line [" +
               command.commandLine + L"]";
    }
    return L"?";
}

struct ParseCase {
    const wchar_t* line;
    const wchar_t* expected;
};

const ParseCase kParseCases[] = {
    // Blank lines.
    {L"", L"empty"},
    {L" \t ", L"empty"},
    // A drive letter and a colon, any case, blanks around it.
    {L"C:", L"drive C"},
    {L"z:  ", L"drive Z"},
    {L"\tc:", L"drive C"},
    {L"1:", L"run [1:] word [1:] line [1:]"},
    {L"C:\\x", L"run [C:\\x] word [C:\\x] line [C:\\x]"},
    // cd: the rest of the line is the path, blanks and all, quotes removed.
    {L"cd", L"cd []"},
    {L"cd   ", L"cd []"},
    {L"cd C:\\Program Files\\x", L"cd [C:\\Program Files\\x]"},
    {L"cd   C:\\x\\ice\\  ", L"cd [C:\\x\\ice\\]"},
    {L"cd \"C:\\a&b\\ice\\\"", L"cd [C:\\a&b\\ice\\]"},
    {L"cd /d Z:\\tmp", L"cd /d [Z:\\tmp]"},
    {L"CD /D \"Z:\\a b\"", L"cd /d [Z:\\a b]"},
    {L"cd/d Z:\\", L"cd /d [Z:\\]"},
    {L"cd /d\"Z:\\a b\"", L"cd /d [Z:\\a b]"},
    {L"cd /data", L"cd [/data]"},
    {L"cd..", L"cd [..]"},
    {L"cd\\", L"cd [\\]"},
    {L"chdir C:\\x", L"cd [C:\\x]"},
    {L"cdrom x", L"run [cdrom] word [cdrom] line [cdrom x]"},
    // exit with an optional code.
    {L"exit", L"exit 0"},
    {L"EXIT 3", L"exit 3"},
    {L"exit /b 5", L"exit 5"},
    {L"exited", L"run [exited] word [exited] line [exited]"},
    {L"exit.exe", L"run [exit.exe] word [exit.exe] line [exit.exe]"},
    // Programs: the first word ends at a blank outside quotes; the line
    // reaches the program unchanged from its first word on.
    {L"adb devices", L"run [adb] word [adb] line [adb devices]"},
    {L"  adb shell \"echo CN > /data/property/persist.sys.country\"",
     L"run [adb] word [adb] line [adb shell \"echo CN > /data/property/persist.sys.country\"]"},
    {L"adb\tdevices", L"run [adb] word [adb] line [adb\tdevices]"},
    {L"\"C:\\Program Files\\adb.exe\" devices",
     L"run [C:\\Program Files\\adb.exe] word [\"C:\\Program Files\\adb.exe\"] "
     L"line [\"C:\\Program Files\\adb.exe\" devices]"},
    {L"C:\\\"Program Files\"\\adb.exe devices",
     L"run [C:\\Program Files\\adb.exe] word [C:\\\"Program Files\"\\adb.exe] "
     L"line [C:\\\"Program Files\"\\adb.exe devices]"},
    {L"a&b x", L"run [a&b] word [a&b] line [a&b x]"},
};

TEST(ParseCommand, TurnsEachLineIntoItsCommand)
{
    for (const ParseCase& row : kParseCases)
        EXPECT_EQ(Describe(ParseCommand(row.line)), row.expected) << "line: " << ::testing::PrintToString(std::wstring(row.line));
}

struct OneShotCase {
    const wchar_t* processCommandLine;
    std::optional<std::wstring> expected;
};

TEST(OneShotLine, IsTheRestAfterSlashC)
{
    const OneShotCase cases[] = {
        {L"cmd.exe", std::nullopt},
        {L"\"C:\\windows\\system32\\cmd.exe\"", std::nullopt},
        {L"\"C:\\windows\\system32\\cmd.exe\" /c adb devices", L"adb devices"},
        {L"cmd /C  x \"a > b\" ", L"x \"a > b\" "},
        {L"\"C:\\a b\\cmd.exe\" /c cd", L"cd"},
        {L"cmd /c", L""},
        {L"cmd /k x", std::nullopt},
        {L"cmd /cx", std::nullopt},
    };
    for (const OneShotCase& row : cases)
        EXPECT_EQ(OneShotLine(row.processCommandLine), row.expected)
            << ::testing::PrintToString(std::wstring(row.processCommandLine));
}

}  // namespace
