// Runs the built adb double as a child process, the way the command
// interpreter runs adb.exe, and checks what it prints, returns and logs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "call_log.h"
#include "double_process.h"
#include "file_io.h"
#include "support/scratch_dir.h"

namespace {

using Chunks = std::vector<std::string>;

std::string FolderOfThisProgram()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

class AdbDouble : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.Created());
        ASSERT_TRUE(CopyFileA((FolderOfThisProgram() + "\\adb_double.exe").c_str(),
                              Adb().c_str(), FALSE));
        SetEnvironmentVariableA("QUORVIX_ADB_SCENARIO", nullptr);
        SetEnvironmentVariableA("QUORVIX_ADB_LOG", Log().c_str());
    }

    void TearDown() override
    {
        SetEnvironmentVariableA("QUORVIX_ADB_SCENARIO", nullptr);
        SetEnvironmentVariableA("QUORVIX_ADB_LOG", nullptr);
    }

    std::string Adb() const { return dir_.Path() + "adb.exe"; }
    std::string Log() const { return dir_.Path() + "calls.log"; }
    std::string ScenarioPath() const { return dir_.Path() + "scenario.txt"; }
    std::string ErrFile() { return dir_.Path() + "err" + std::to_string(++runs_) + ".txt"; }

    void UseScenario(const std::string& text)
    {
        const std::string path = ScenarioPath();
        UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file && WriteAll(file.Get(), text));
        SetEnvironmentVariableA("QUORVIX_ADB_SCENARIO", path.c_str());
    }

    // `adb <arguments>`, as the interpreter starts it for a typed line.
    DoubleRun Run(const std::string& arguments, DWORD pauseMs = 0)
    {
        return RunLine("adb " + arguments, pauseMs);
    }

    DoubleRun RunLine(const std::string& commandLine, DWORD pauseMs = 0)
    {
        return RunDouble(Adb(), commandLine, ErrFile(), pauseMs);
    }

    std::string LogText() const
    {
        std::string text;
        ReadWholeFile(Log(), text);
        return text;
    }

private:
    ScratchDir dir_{"quorvix adb "};
    int runs_ = 0;
};

TEST_F(AdbDouble, PicksNthThenExactThenFirstPrefixThenFallback)
{
    // Written with CR LF line ends, as an editor on Windows would save it.
    UseScenario(
        "# the header comes only with the third devices call\r\n"
        "when-prefix shell\r\n"
        "out shell prefix\r\n"
        "when devices\r\n"
        "out plain\r\n"
        "\r\n"
        "when-prefix sh\r\n"
        "  out sh prefix\r\n"
        "when shell getprop\r\n"
        "out exact\r\n"
        "when-nth 3 devices\r\n"
        "out List of devices attached\\r\\n\r\n"
        "when-nth 2 start-server\r\n"
        "out second start\r\n"
        "when *\r\n"
        "out fallback\r\n");

    const struct {
        const char* arguments;
        const char* out;
    } calls[] = {
        {"devices", "plain"},
        {"devices", "plain"},
        {"devices -l", "fallback"},  // another text: neither matched nor counted as devices
        {"devices", "List of devices attached\r\n"},
        {"devices", "plain"},
        {"shell getprop", "exact"},  // beats the prefix block above it
        {"shell ls", "shell prefix"},
        {"shutdown", "sh prefix"},
        {"start-server", "fallback"},
        {"start-server", "second start"},
        {"reboot", "fallback"},
    };
    for (const auto& call : calls) {
        const DoubleRun run = Run(call.arguments);
        EXPECT_EQ(run.out, call.out) << call.arguments;
        EXPECT_EQ(run.exitCode, 0u) << call.arguments;
    }
}

TEST_F(AdbDouble, WritesEachOutAsOneChunkByteForByte)
{
    const struct {
        const char* line;
        std::string bytes;
    } outs[] = {
        {"out List of devices attached\\r\\n", "List of devices attached\r\n"},
        {"out \\x3E", ">"},
        {"out a\\0b\\xff\\x00", std::string("a\0b\xff\0", 5)},
        {"out \\xC9\\xE8\\xB1\\xB8", "\xC9\xE8\xB1\xB8"},  // 设备 in GBK
        {"out tab\\tback\\\\slash\\s", "tab\tback\\slash "},
        {"out kept  ", "kept  "},
        {"out  lead", " lead"},
        {"out \\q\\x4\\xZZ\\", "\\q\\x4\\xZZ\\"},
    };
    std::string scenario = "when devices\n";
    Chunks expected;
    for (const auto& out : outs) {
        scenario += std::string(out.line) + "\nsleep 300\n";
        expected.push_back(out.bytes);
    }
    UseScenario(scenario);

    // A reader waiting on the pipe takes each write as it comes.
    const DoubleRun run = Run("devices", 0);
    EXPECT_EQ(run.chunks, expected);
}

TEST_F(AdbDouble, SendsErrToStderrAndEndsWithTheExitCode)
{
    const std::string scenario =
        "when reboot\n"
        "out o\n"
        "sleep 50\n"
        "err e\\r\\n\n"
        "exit 3\n"
        "out never\n"
        "when-prefix get\n"
        "exit -1\n";
    const struct {
        const char* name;
        std::string scenario;  // empty: QUORVIX_ADB_SCENARIO unset
        const char* arguments;
        std::string out;
        std::string err;
        DWORD exitCode;
    } cases[] = {
        {"stops at exit", scenario, "reboot", "o", "e\r\n", 3},
        {"negative code", scenario, "get-state", "", "", 0xFFFFFFFF},
        {"no block", scenario, "devices", "", "", 0},
        {"no scenario", "", "reboot", "", "", 0},
        {"unknown keyword", "when reboot\nprint x\n", "reboot", "",
         "adb_double: " + ScenarioPath() + ": scenario line 2: unknown keyword 'print'\r\n", 250},
    };
    for (const auto& c : cases) {
        if (!c.scenario.empty())
            UseScenario(c.scenario);
        else
            SetEnvironmentVariableA("QUORVIX_ADB_SCENARIO", nullptr);
        const DoubleRun run = Run(c.arguments);
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
    }
}

TEST_F(AdbDouble, WithoutLogEveryCallIsTheFirst)
{
    SetEnvironmentVariableA("QUORVIX_ADB_LOG", nullptr);
    UseScenario("when-nth 1 devices\nout first\nwhen *\nout later\n");
    EXPECT_EQ(Run("devices").out, "first");
    EXPECT_EQ(Run("devices").out, "first");
    EXPECT_EQ(GetFileAttributesA(Log().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(AdbDouble, LogsTheArgumentTextAsTyped)
{
    const std::string quotedAdb = "\"" + Adb() + "\"";
    const struct {
        std::string commandLine;
        const char* logged;
    } calls[] = {
        {"adb devices", "devices"},
        {"adb \t  kill-server", "kill-server"},
        {quotedAdb + " shell \"echo CN > /data/property/persist.sys.country\"",
         "shell \"echo CN > /data/property/persist.sys.country\""},
        {"\"adb\"get-state", "get-state"},
        {"adb shell \"echo \xD6\xD0\xCE\xC4 >/x\"  ", "shell \"echo \xD6\xD0\xCE\xC4 >/x\"  "},
        {"adb", ""},
    };
    std::string expected;
    for (const auto& call : calls) {
        RunLine(call.commandLine);
        expected += std::string(call.logged) + "\n";
    }
    EXPECT_EQ(LogText(), expected);
}

TEST_F(AdbDouble, CallsAtOnceWaitForTheLogLockAndGetOneNumberEach)
{
    constexpr int kCalls = 8;
    const std::string arguments = "shell \"echo " + std::string(200, 'x') + " > /x\"";
    std::string scenario;
    for (int n = 1; n <= kCalls; ++n)
        scenario += "when-nth " + std::to_string(n) + " " + arguments + "\nout " +
                    std::to_string(n) + "\n";
    UseScenario(scenario);

    // While we hold the log's lock every double has to wait for it; once it
    // is free they all race for it at the same moment.
    UniqueHandle lock(CreateMutexA(nullptr, TRUE, kCallLogMutexName));
    ASSERT_TRUE(lock);
    std::vector<std::unique_ptr<DoubleProcess>> calls;
    for (int n = 0; n < kCalls; ++n) {
        calls.push_back(std::make_unique<DoubleProcess>(Adb(), "adb " + arguments, ErrFile()));
        ASSERT_TRUE(calls.back()->Started());
        calls.back()->Resume();
    }
    Sleep(500);
    EXPECT_EQ(LogText(), "");
    ReleaseMutex(lock.Get());

    // Each call logs before it answers: every line is there while all the
    // answers still wait in their pipes.
    std::string expectedLog;
    for (int n = 0; n < kCalls; ++n)
        expectedLog += arguments + "\n";
    for (int waited = 0; LogText() != expectedLog && waited < 10000; waited += 50)
        Sleep(50);
    EXPECT_EQ(LogText(), expectedLog);

    std::vector<std::string> outs;
    for (auto& call : calls) {
        std::string out;
        for (const std::string& chunk : call->ReadChunks(0))
            out += chunk;
        outs.push_back(out);
        EXPECT_EQ(call->Wait(), 0u);
    }
    std::sort(outs.begin(), outs.end());
    EXPECT_EQ(outs, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

}  // namespace
