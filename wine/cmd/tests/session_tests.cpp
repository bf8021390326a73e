// The built interpreter driven over real pipes, as Quorvix drives cmd.exe:
// every test compares the whole transcript, byte for byte.
#include "interpreter_process.h"

#include "gbk_messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kBanner = "Quorvix command interpreter for Wine [Version 1.0]\r\n\r\n";

// The Chinese messages below are what the interpreter prints under 936;
// wine-run gives every process that code page.
void RequireChineseCodePage()
{
    ASSERT_EQ(GetACP(), 936u) << "run under wine-run, which sets LANG=zh_CN.UTF-8";
}

struct TranscriptCase {
    const char* name;
    std::vector<std::string> input;  // each piece written with one WriteFile
    const char* directory;           // where the interpreter starts
    std::string transcript;          // everything after the banner
    DWORD exitCode;
};

const TranscriptCase kTranscripts[] = {
    {"prompt at a drive's root", {}, "C:\\", "C:\\>", 0},
    {"prompt in a subdirectory", {}, "C:\\windows\\system32\\", "C:\\windows\\system32>", 0},
    {"lines arriving in one write all run",
     {"C:\r\ncd C:\\windows\r\ncd\r\n"}, "C:\\",
     "C:\\>C:\r\n\r\n"
     "C:\\>cd C:\\windows\r\n\r\n"
     "C:\\windows>cd\r\nC:\\windows\r\n\r\n"
     "C:\\windows>", 0},
    {"lines split across writes",
     {"C:\r\ncd C:\\win", "dows\r", "\ncd\r\n"}, "C:\\",
     "C:\\>C:\r\n\r\n"
     "C:\\>cd C:\\windows\r\n\r\n"
     "C:\\windows>cd\r\nC:\\windows\r\n\r\n"
     "C:\\windows>", 0},
    {"LF-only lines and an unterminated last line",
     {"cd C:\\windows\ncd"}, "C:\\",
     "C:\\>cd C:\\windows\r\n\r\n"
     "C:\\windows>cd\r\nC:\\windows\r\n\r\n"
     "C:\\windows>", 0},
    {"empty lines print the prompt again",
     {"\r\n  \r\ncd\r\n"}, "C:\\",
     "C:\\>\r\nC:\\>\r\nC:\\>cd\r\nC:\\\r\n\r\nC:\\>", 0},
    {"cd with blanks and no quotes",
     {"cd C:\\Program Files\r\n"}, "C:\\",
     "C:\\>cd C:\\Program Files\r\n\r\nC:\\Program Files>", 0},
    {"cd with quotes and a trailing backslash",
     {"cd \"C:\\Program Files\\\"\r\n"}, "C:\\",
     "C:\\>cd \"C:\\Program Files\\\"\r\n\r\nC:\\Program Files>", 0},
    {"cd .. and cd \\",
     {"cd C:\\windows\\system32\\\r\ncd..\r\ncd\\\r\n"}, "C:\\",
     "C:\\>cd C:\\windows\\system32\\\r\n\r\n"
     "C:\\windows\\system32>cd..\r\n\r\n"
     "C:\\windows>cd\\\r\n\r\n"
     "C:\\>", 0},
    {"cd to another drive keeps the current drive",
     {"cd Z:\\tmp\\\r\ncd Z:\r\nZ:\r\n"}, "C:\\windows",
     "C:\\windows>cd Z:\\tmp\\\r\n\r\n"
     "C:\\windows>cd Z:\r\nZ:\\tmp\r\n\r\n"
     "C:\\windows>Z:\r\n\r\n"
     "Z:\\tmp>", 0},
    {"cd /d switches drive",
     {"cd /d Z:\\tmp\\\r\n"}, "C:\\",
     "C:\\>cd /d Z:\\tmp\\\r\n\r\nZ:\\tmp>", 0},
    {"each drive keeps its own directory",
     {"cd C:\\windows\r\nz:\r\ncd \\tmp\r\nC:  \r\nZ:\r\ncd C:\\users\r\nc:\r\n"}, "C:\\",
     "C:\\>cd C:\\windows\r\n\r\n"
     "C:\\windows>z:\r\n\r\n"
     "Z:\\>cd \\tmp\r\n\r\n"
     "Z:\\tmp>C:  \r\n\r\n"
     "C:\\windows>Z:\r\n\r\n"
     "Z:\\tmp>cd C:\\users\r\n\r\n"
     "Z:\\tmp>c:\r\n\r\n"
     "C:\\users>", 0},
    {"a missing directory",
     {"cd C:\\no\\such\\dir\r\ncd\r\n"}, "C:\\windows",
     "C:\\windows>cd C:\\no\\such\\dir\r\n" + kPathNotFound936 + "\r\n"
     "C:\\windows>cd\r\nC:\\windows\r\n\r\nC:\\windows>", 0},
    {"a missing drive",
     {"Q:\r\n"}, "C:\\",
     "C:\\>Q:\r\n" + kDriveNotFound936 + "\r\nC:\\>", 0},
    {"an unknown program",
     {"adb devices\r\n"}, "C:\\",
     "C:\\>adb devices\r\n" + NotRecognized936("adb") + "\r\nC:\\>", 0},
    {"an unknown program given with quotes",
     {"\"C:\\no such\\adb.exe\" devices\r\n"}, "C:\\",
     "C:\\>\"C:\\no such\\adb.exe\" devices\r\n" +
         NotRecognized936("\"C:\\no such\\adb.exe\"") + "\r\nC:\\>", 0},
    {"exit ends it and later lines do not run",
     {"exit\r\ncd C:\\windows\r\n"}, "C:\\", "C:\\>exit\r\n", 0},
    {"exit with a code", {"EXIT 3\r\n"}, "C:\\", "C:\\>EXIT 3\r\n", 3},
};

TEST(InterpreterSession, PrintsTheTranscriptCmdPrints)
{
    RequireChineseCodePage();
    for (const TranscriptCase& row : kTranscripts) {
        InterpreterStart start;
        start.directory = row.directory;
        const InterpreterRun run = RunInterpreter(row.input, start);
        ASSERT_TRUE(run.finished) << row.name;
        EXPECT_EQ(run.output, kBanner + row.transcript) << row.name;
        EXPECT_EQ(run.exitCode, row.exitCode) << row.name;
    }
}

// cmd.exe prints its error messages on standard error.
TEST(InterpreterSession, PrintsErrorsOnStandardError)
{
    RequireChineseCodePage();
    InterpreterStart start;
    start.separateErrors = true;
    const InterpreterRun run = RunInterpreter({"cd C:\\no\\such\r\nQ:\r\nadb\r\n"}, start);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.output, kBanner +
                              "C:\\>cd C:\\no\\such\r\n\r\n"
                              "C:\\>Q:\r\n\r\n"
                              "C:\\>adb\r\n\r\n"
                              "C:\\>");
    EXPECT_EQ(run.errors, kPathNotFound936 + kDriveNotFound936 + NotRecognized936("adb"));
}

// A folder with a blank in its name holding a copy of show_command_line.exe
// in "tools", and "a&b\ice" for a path that needs quotes.
class InterpreterWithPrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        RequireChineseCodePage();
        root_ = (fs::temp_directory_path() / ("quorvix cmd " + std::to_string(GetCurrentProcessId())))
                    .string();
        fs::create_directories(root_ + "\\tools");
        fs::create_directories(root_ + "\\a&b\\ice");
        fs::copy_file(BuildDirectory() + "\\show_command_line.exe",
                      root_ + "\\tools\\show_command_line.exe");
    }

    void TearDown() override { fs::remove_all(root_); }

    std::string root_;  // no trailing backslash
};

TEST_F(InterpreterWithPrograms, RunsAProgramInTheCurrentDirectoryWithItsLineUnchanged)
{
    const std::string tools = root_ + "\\tools";
    const std::string line = "show_command_line shell \"echo CN > /data/property/persist.sys.country\" x";
    const InterpreterRun run = RunInterpreter({"cd " + tools + "\r\n" + line + "\r\n"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.output, kBanner +
                              "C:\\>cd " + tools + "\r\n\r\n" +
                              tools + ">" + line + "\r\n" + line + "\r\n\r\n" +
                              tools + ">");
    EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(InterpreterWithPrograms, RunsProgramsFoundOnPathWithTheEnvironment)
{
    const ScopedVariable path("PATH", "C:\\windows;" + root_ + "\\tools");
    const ScopedVariable probe("QUORVIX_PROBE", "Tom&Jerry");
    const std::string first = "show_command_line \"a b\"  \"x > y\"";
    const std::string second = "\"show_command_line.exe\" devices";
    const InterpreterRun run = RunInterpreter({first + "\r\n" + second + "\r\n"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.output, kBanner +
                              "C:\\>" + first + "\r\n" + first + "\r\nQUORVIX_PROBE=Tom&Jerry\r\n\r\n" +
                              "C:\\>" + second + "\r\n" + second + "\r\nQUORVIX_PROBE=Tom&Jerry\r\n\r\n" +
                              "C:\\>");
}

TEST_F(InterpreterWithPrograms, ChangesIntoAQuotedDirectoryWithAnAmpersand)
{
    const std::string ice = root_ + "\\a&b\\ice";
    const InterpreterRun run = RunInterpreter({"C:\r\ncd \"" + ice + "\\\"\r\ncd\r\n"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.output, kBanner +
                              "C:\\>C:\r\n\r\n"
                              "C:\\>cd \"" + ice + "\\\"\r\n\r\n" +
                              ice + ">cd\r\n" + ice + "\r\n\r\n" +
                              ice + ">");
}

// A file that exists but is no program: the system's reason, naming the
// file, on standard error, and the session goes on.
TEST_F(InterpreterWithPrograms, ReportsAFileThatCannotBeStarted)
{
    const std::string tools = root_ + "\\tools";
    std::ofstream(tools + "\\notes.txt") << "not a program";
    InterpreterStart start;
    start.directory = tools;
    start.separateErrors = true;
    const InterpreterRun run = RunInterpreter({"notes.txt\r\ncd\r\n"}, start);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.output, kBanner +
                              tools + ">notes.txt\r\n\r\n" +
                              tools + ">cd\r\n" + tools + "\r\n\r\n" +
                              tools + ">");
    EXPECT_NE(run.errors.find(tools + "\\notes.txt"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("%1"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.substr(run.errors.size() - 2), "\r\n") << run.errors;
}

TEST_F(InterpreterWithPrograms, SlashCRunsOneLineAndPassesTheExitCodeOn)
{
    InterpreterStart start;
    start.directory = root_ + "\\tools";
    start.arguments = "/c show_command_line \"x > y\"";
    const InterpreterRun run = RunInterpreter({}, start);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.output, "show_command_line \"x > y\"\r\n");
    EXPECT_EQ(run.exitCode, 7u);
}

}  // namespace
