// adb.exe end to end under Wine, forwarding to a fake Linux adb: a shell
// script that each test writes for itself.
#include "wine/adb/tests/adb_process.h"
#include "wine/adb/text_codec.h"
#include "common/unique_handle.h"
#include "wine/adb/unix_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// Prints the argument count, then each argument in brackets, one per line.
constexpr char kPrintArgs[] = "printf '%s\\n' \"$#\"; for a; do printf '[%s]\\n' \"$a\"; done\n";

class ForwarderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        static int serial = 0;
        folder_ = std::wstring(temp) + L"wine-adb-test-" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(++serial);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        // adb.exe keeps its temporary files in our folder, so we can see
        // that it leaves none behind.
        tmp_.emplace(L"TMP", folder_.c_str());
    }

    void TearDown() override
    {
        adb_.reset();
        tmp_.reset();
        for (const std::wstring& name : FilesLeft())
            DeleteFileW((folder_ + L"\\" + name).c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    // Writes the fake adb and points adb.exe at it.
    void InstallFakeAdb(const std::string& body)
    {
        const std::wstring path = folder_ + L"\\fake-adb";
        {
            UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(file);
            const std::string script = "#!/bin/sh\n" + body;
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(file.Get(), script.data(), static_cast<DWORD>(script.size()),
                                  &written, nullptr));
        }
        const std::optional<std::string> unixPath = UnixPathOf(path);
        ASSERT_TRUE(unixPath);
        const std::wstring unixPathW = FromUtf8(*unixPath);

        // Files written from Windows are not executable; the forwarder can
        // run any Linux program, so it runs chmod for us.
        adb_.emplace(L"QUORVIX_LINUX_ADB", L"/bin/chmod");
        const Finished chmod = Run(L"+x \"" + unixPathW + L"\"");
        ASSERT_EQ(chmod.exitCode, 0u) << chmod.output;

        adb_.emplace(L"QUORVIX_LINUX_ADB", unixPathW.c_str());
    }

    Finished Run(const std::wstring& args)
    {
        Started adb(args);
        EXPECT_TRUE(adb.started()) << "CreateProcess error " << GetLastError();
        if (!adb.started())
            return {};
        Finished finished = adb.Finish();
        ExpectNoTemporaryFilesLeft();
        return finished;
    }

    void ExpectNoTemporaryFilesLeft()
    {
        std::set<std::wstring> expected;
        if (adb_)
            expected.insert(L"fake-adb");
        EXPECT_EQ(FilesLeft(), expected);
    }

    std::set<std::wstring> FilesLeft() const
    {
        std::set<std::wstring> names;
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.insert(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    std::wstring folder_;
    std::optional<ScopedEnv> tmp_;
    std::optional<ScopedEnv> adb_;
};

struct ArgumentCase {
    const wchar_t* commandLine;  // what follows "adb.exe "
    std::string expected;        // what the fake adb prints for it, as adb.exe passes it on
};

TEST_F(ForwarderTest, ArgumentsArriveByteForByte)
{
    InstallFakeAdb(kPrintArgs);
    const ArgumentCase cases[] = {
        {L"shell \"echo CN > /data/property/persist.sys.country\"",
         "2\r\n[shell]\r\n[echo CN > /data/property/persist.sys.country]\r\n"},
        {L"devices", "1\r\n[devices]\r\n"},
        {L"", "0\r\n"},
        {L"\"\" x", "2\r\n[]\r\n[x]\r\n"},
        {L"shell \"say \\\"hi\\\" it's\"", "2\r\n[shell]\r\n[say \"hi\" it's]\r\n"},
        {L"\"  two  spaces  \"", "1\r\n[  two  spaces  ]\r\n"},
        {L"$HOME `id` $(id) ; | & * '", "8\r\n[$HOME]\r\n[`id`]\r\n[$(id)]\r\n[;]\r\n[|]\r\n[&]\r\n[*]\r\n[']\r\n"},
        {L"C:\\dir\\file a\\\\b", "2\r\n[C:\\dir\\file]\r\n[a\\\\b]\r\n"},
        {L"\u4E2D\u6587 'x'", "2\r\n[\xE4\xB8\xAD\xE6\x96\x87]\r\n['x']\r\n"},
    };
    for (const ArgumentCase& c : cases) {
        SCOPED_TRACE(ToUtf8(c.commandLine));
        const Finished adb = Run(c.commandLine);
        EXPECT_EQ(adb.output, c.expected);
        EXPECT_EQ(adb.exitCode, 0u);
    }
}

// What the fake adb's loop below prints, once adb.exe has given every line CR LF.
std::string ManyLinesWithCrLf()
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i) + "\r\nline " + std::to_string(i) + "\r\n";
    return text;
}

size_t FirstDifference(const std::string& a, const std::string& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i])
            return i;
    }
    return a.size() == b.size() ? std::string::npos : std::min(a.size(), b.size());
}

TEST_F(ForwarderTest, OutputArrivesWithWindowsLineEnds)
{
    struct OutputCase {
        const char* name;
        std::string body;
        std::string expected;
    };
    const OutputCase cases[] = {
        {"stdout and stderr in order, bytes kept, no line end added",
         "printf 'a\\nb\\r\\nc\\n'; printf 'err\\n' >&2; printf '\\377\\001\\000end'\n",
         "a\r\nb\r\nc\r\nerr\r\n\xff\x01\x00" "end"s},
        {"more than one read of output",
         "i=0; while [ $i -lt 20000 ]; do printf 'line %d\\r\\nline %d\\n' $i $i; i=$((i+1)); done\n",
         ManyLinesWithCrLf()},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.name);
        InstallFakeAdb(c.body);
        const Finished adb = Run(L"x");
        EXPECT_EQ(adb.output.size(), c.expected.size());
        EXPECT_EQ(FirstDifference(adb.output, c.expected), std::string::npos);
    }
}

TEST_F(ForwarderTest, ExitCodePassesBack)
{
    InstallFakeAdb("printf 'bye\\n'; exit \"$1\"\n");
    for (const DWORD code : {0u, 1u, 42u, 255u}) {
        SCOPED_TRACE(code);
        const Finished adb = Run(std::to_wstring(code));
        EXPECT_EQ(adb.exitCode, code);
        EXPECT_EQ(adb.output, "bye\r\n");
    }
}

TEST_F(ForwarderTest, WaitsForASlowAdb)
{
    InstallFakeAdb("sleep 2; printf 'late\\n'; exit 3\n");
    const Finished adb = Run(L"wait-for-device");
    EXPECT_GE(adb.elapsedMs, 2000u);
    EXPECT_EQ(adb.output, "late\r\n");
    EXPECT_EQ(adb.exitCode, 3u);
}

TEST_F(ForwarderTest, CallsRunningAtOnceKeepTheirOwnOutput)
{
    InstallFakeAdb("sleep 1; " + std::string(kPrintArgs));
    std::vector<Started> running;
    running.reserve(6);
    for (int i = 0; i < 6; ++i) {
        running.emplace_back(L"call " + std::to_wstring(i));
        ASSERT_TRUE(running.back().started());
    }
    for (size_t i = 0; i < running.size(); ++i) {
        const Finished adb = running[i].Finish();
        EXPECT_EQ(adb.output, "2\r\n[call]\r\n[" + std::to_string(i) + "]\r\n");
        EXPECT_EQ(adb.exitCode, 0u);
    }
    ExpectNoTemporaryFilesLeft();
}

// Without QUORVIX_LINUX_ADB, sh finds the real adb on the Linux PATH.
TEST_F(ForwarderTest, RunsTheLinuxAdbOnPath)
{
    if (GetFileAttributesW(L"Z:\\usr\\bin\\adb") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no /usr/bin/adb on this machine";
    const ScopedEnv noOverride(L"QUORVIX_LINUX_ADB", nullptr);
    const Finished adb = Run(L"version");
    EXPECT_EQ(adb.output.rfind("Android Debug Bridge version ", 0), 0u) << adb.output;
    EXPECT_NE(adb.output.find("\r\n"), std::string::npos);
    EXPECT_EQ(adb.exitCode, 0u);
}

}  // namespace
