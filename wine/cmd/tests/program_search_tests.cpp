#include "program_search.h"

#include "interpreter_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::wstring>;

TEST(ProgramFileNames, AddComAndExeAndKeepAGivenExtension)
{
    const struct {
        const wchar_t* name;
        Names expected;
    } cases[] = {
        {L"adb", {L"adb.com", L"adb.exe"}},
        {L"adb.exe", {L"adb.exe", L"adb.exe.com", L"adb.exe.exe"}},
        {L".\\adb", {L".\\adb.com", L".\\adb.exe"}},
        {L"C:\\x.y\\adb", {L"C:\\x.y\\adb.com", L"C:\\x.y\\adb.exe"}},
        {L"adb.", {L"adb..com", L"adb..exe"}},
        {L"", {}},
    };
    for (const auto& row : cases)
        EXPECT_EQ(ProgramFileNames(row.name), row.expected) << ::testing::PrintToString(std::wstring(row.name));
}

TEST(SplitSearchPath, KeepsOrderDropsEmptiesAndUnquotes)
{
    const struct {
        const wchar_t* path;
        Names expected;
    } cases[] = {
        {L"C:\\a;C:\\b", {L"C:\\a", L"C:\\b"}},
        {L";;C:\\a;", {L"C:\\a"}},
        {L"\"C:\\a;b\";C:\\c", {L"C:\\a;b", L"C:\\c"}},
        {L"C:\\Program Files\\x;Z:\\tmp", {L"C:\\Program Files\\x", L"Z:\\tmp"}},
        {L"", {}},
    };
    for (const auto& row : cases)
        EXPECT_EQ(SplitSearchPath(row.path), row.expected) << ::testing::PrintToString(std::wstring(row.path));
}

// A current directory "here" and a directory "on path" (quoted on PATH, as it
// holds a blank) with files and folders named like programs.
class FindProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("quorvix search " + std::to_string(GetCurrentProcessId()));
        fs::create_directories(root_ / "here" / "dir.com");
        fs::create_directories(root_ / "on path");
        for (const char* file : {"here/tool.exe", "here/both.com", "here/both.exe", "here/data.txt",
                                 "on path/tool.exe", "on path/other.exe", "on path/dir.exe"})
            std::ofstream(root_ / file) << "MZ";
        oldDirectory_ = fs::current_path();
        fs::current_path(root_ / "here");
    }

    void TearDown() override
    {
        fs::current_path(oldDirectory_);
        fs::remove_all(root_);
    }

    fs::path root_;
    fs::path oldDirectory_;
};

TEST_F(FindProgramTest, LooksHereThenOnPath)
{
    const ScopedVariable path("PATH", "\"" + (root_ / "on path").string() + "\";C:\\windows");
    const struct {
        const wchar_t* name;
        const char* expected;  // under root_, or empty for none
    } cases[] = {
        {L"tool", "here/tool.exe"},
        {L"tool.exe", "here/tool.exe"},
        {L"other", "on path/other.exe"},
        {L"both", "here/both.com"},
        {L"dir", "on path/dir.exe"},
        {L"data.txt", "here/data.txt"},
        {L"data", ""},
        {L".\\other", ""},
        {L"..\\on path\\other", "on path/other.exe"},
        {L"missing", ""},
    };
    for (const auto& row : cases) {
        const std::wstring found = FindProgram(row.name);
        const std::string name = ::testing::PrintToString(std::wstring(row.name));
        if (*row.expected == '\0') {
            EXPECT_EQ(found, L"") << name;
        } else {
            ASSERT_FALSE(found.empty()) << name;
            EXPECT_TRUE(fs::equivalent(found, root_ / row.expected)) << name << " found " << ::testing::PrintToString(found);
        }
    }
}

}  // namespace
