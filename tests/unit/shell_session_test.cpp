// The hidden shell session over real pipes and a real interpreter.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "session/shell_session.h"
#include "support/pass_bench.h"

namespace {

// A session whose "interpreter" is this test: it writes the output itself.
class PipeSession {
public:
    PipeSession()
    {
        CreatePipe(&session.outputRead, &session.outputWrite, nullptr, 0);
        CreatePipe(&session.inputRead, &session.inputWrite, nullptr, 0);
    }
    ~PipeSession()
    {
        if (writer.joinable())
            writer.join();
        CloseShell(session);
    }

    // Writes each piece after its delay, from another thread.
    void Play(std::vector<std::pair<DWORD, std::string>> pieces)
    {
        writer = std::thread([this, pieces] {
            for (const auto& [delay, bytes] : pieces) {
                Sleep(delay);
                DWORD written = 0;
                WriteFile(session.outputWrite, bytes.data(), static_cast<DWORD>(bytes.size()),
                          &written, nullptr);
            }
        });
    }

    ShellSession session;
    std::thread writer;
};

DWORD Elapsed(DWORD start)
{
    return GetTickCount() - start;
}

TEST(ReadUntilPrompt, CollectsChunksUntilOneEndsWithThePrompt)
{
    PipeSession pipes;
    pipes.Play({{0, "List of devices attached\r\n"}, {1300, "emulator-5554\tdevice\r\n\r\nC:\\t\\ice>"}});
    OutputBuffer output = "kept>";
    const DWORD start = GetTickCount();
    ASSERT_TRUE(ReadUntilPrompt(pipes.session, output));
    EXPECT_EQ(output, "kept>List of devices attached\r\nemulator-5554\tdevice\r\n\r\nC:\\t\\ice>");
    EXPECT_GE(Elapsed(start), 2000u);  // two reads, a second's pause before each
}

TEST(ReadUntilPrompt, AChunkEndingInPromptCharacterEndsTheRead)
{
    PipeSession pipes;
    pipes.Play({{0, "C:\\t>adb shell \"echo CN >"}, {1500, " /x\"\r\nC:\\t>"}});
    OutputBuffer output;
    ASSERT_TRUE(ReadUntilPrompt(pipes.session, output));
    EXPECT_EQ(output, "C:\\t>adb shell \"echo CN >");
    ASSERT_TRUE(ReadUntilPrompt(pipes.session, output));
    EXPECT_EQ(output, "C:\\t>adb shell \"echo CN > /x\"\r\nC:\\t>");
}

TEST(ReadUntilPrompt, ANulCutsTheChunkButTheLastByteStillCounts)
{
    PipeSession pipes;
    pipes.Play({{0, std::string("ab\0cd\r\nC:\\>", 11)}});
    OutputBuffer output;
    ASSERT_TRUE(ReadUntilPrompt(pipes.session, output));
    EXPECT_EQ(output, "ab");
}

TEST(ReadUntilPrompt, ABrokenPipeFails)
{
    PipeSession pipes;
    CloseHandle(pipes.session.outputWrite);
    pipes.session.outputWrite = nullptr;
    OutputBuffer output;
    EXPECT_FALSE(ReadUntilPrompt(pipes.session, output));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
}

TEST(SendLine, WritesTheLineAndCrLfInOneWrite)
{
    PipeSession pipes;
    const std::string line = "adb shell \"echo CN > /data/property/persist.sys.country\"";
    ASSERT_TRUE(SendLine(pipes.session, line));
    EXPECT_EQ(line, "adb shell \"echo CN > /data/property/persist.sys.country\"");

    char received[256] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(pipes.session.inputRead, received, sizeof received, &read, nullptr));
    EXPECT_EQ(read, line.size() + 2);
    EXPECT_EQ(std::string(received, read), line + "\r\n");
}

TEST(OpenShell, RunsTheInterpreterUntilCloseShell)
{
    ShellSession shell;
    ASSERT_TRUE(OpenShell(shell));
    OutputBuffer output;
    ASSERT_TRUE(ReadUntilPrompt(shell, output));
    EXPECT_EQ(output.back(), '>');
    ASSERT_TRUE(SendLine(shell, "C:"));
    ASSERT_TRUE(SendLine(shell, "cd C:\\windows"));
    output.clear();
    ASSERT_TRUE(ReadUntilPrompt(shell, output));
    EXPECT_NE(output.find("C:\\windows>"), std::string::npos) << output;
    EXPECT_TRUE(ChildShellRunning());

    CloseShell(shell);
    EXPECT_FALSE(ChildShellRunning());
    EXPECT_EQ(shell.process, nullptr);
    EXPECT_EQ(shell.outputRead, nullptr);
    EXPECT_EQ(shell.inputWrite, nullptr);
}

// A failed session call ends the program with the last error as exit code;
// the test runs that in a copy of itself.
constexpr char kChildMode[] = "QUORVIX_TEST_FAILED_OPEN";
constexpr char kMissingInterpreter[] = "C:\\no\\such\\folder\\cmd.exe";

TEST(OpenShell, AMissingInterpreterEndsTheProgramWithTheLastError)
{
    if (GetEnvironmentVariableA(kChildMode, nullptr, 0)) {
        ShellSession shell;
        ExitIfShellFailed(OpenShellWith(shell, kMissingInterpreter));
        ExitProcess(0xDEAD);  // not reached when the call fails
    }

    // What process creation itself reports for that path.
    char missing[] = "C:\\no\\such\\folder\\cmd.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_FALSE(CreateProcessA(nullptr, missing, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    const DWORD expected = GetLastError();
    ASSERT_NE(expected, 0u);

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self +
                          "\" --gtest_filter=OpenShell.AMissingInterpreterEndsTheProgramWithTheLastError";
    SetEnvironmentVariableA(kChildMode, "1");
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &si, &pi));
    SetEnvironmentVariableA(kChildMode, nullptr);
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(exitCode, expected);
}

}  // namespace
