// Deployment of the three adb files from this executable's resources (here
// the scripted adb double and two small stand-ins).
#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/scratch_dir.h"
#include "workflows/deploy_tools.h"

namespace {

const char* const kTools[] = {"adb.exe", "AdbWinApi.dll", "AdbWinUsbApi.dll"};
const WORD kIds[] = {IDR_PAYLOAD_ADB, IDR_PAYLOAD_ADBWINAPI, IDR_PAYLOAD_ADBWINUSB};

std::string Payload(WORD id)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "MYFILE");
    if (!resource)
        return std::string();
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    return std::string(bytes, SizeofResource(nullptr, resource));
}

class DeployTest : public ::testing::Test {
protected:
    std::string Dir() const { return scratch.Path() + "ice\\"; }
    void Plant(const char* name, const std::string& bytes)
    {
        CreateDirectoryA(Dir().c_str(), nullptr);
        WriteFileBytes(Dir() + name, bytes);
    }
    void ExpectDeployed()
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ReadFileBytes(Dir() + kTools[i]), Payload(kIds[i])) << kTools[i];
    }
    ScratchDir scratch;
};

TEST_F(DeployTest, FreshDirectoryGetsTheThreeFilesWithTheirExactBytes)
{
    ASSERT_GT(Payload(IDR_PAYLOAD_ADB).size(), 10000u);
    DeployTools(Dir());
    ExpectDeployed();
}

TEST_F(DeployTest, WithoutTheMarkerTheFilesAreWrittenAgain)
{
    for (const char* tool : kTools)
        Plant(tool, "stale");
    DeployTools(Dir());
    ExpectDeployed();
}

TEST_F(DeployTest, TheMarkerAndAllThreeFilesSkipExtraction)
{
    for (bool markerIsDirectory : {false, true}) {
        ScratchDir fresh;
        const std::string dir = fresh.Path() + "ice\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        for (const char* tool : kTools)
            WriteFileBytes(dir + tool, "kept");
        if (markerIsDirectory)
            CreateDirectoryA((dir + "1").c_str(), nullptr);
        else
            WriteFileBytes(dir + "1", "");
        DeployTools(dir);
        for (const char* tool : kTools)
            EXPECT_EQ(ReadFileBytes(dir + tool), "kept") << tool << " marker dir=" << markerIsDirectory;
    }
}

TEST_F(DeployTest, TheMarkerWithAToolMissingRewritesAllThree)
{
    Plant("1", "");
    Plant("adb.exe", "stale");
    Plant("AdbWinUsbApi.dll", "stale");
    DeployTools(Dir());
    ExpectDeployed();
}

TEST_F(DeployTest, AFileInUseKeepsItsCopyAndTheOthersAreWritten)
{
    Plant("adb.exe", "running");
    HANDLE inUse = CreateFileA((Dir() + "adb.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    DeployTools(Dir());
    CloseHandle(inUse);
    EXPECT_EQ(ReadFileBytes(Dir() + "adb.exe"), "running");
    EXPECT_EQ(ReadFileBytes(Dir() + "AdbWinApi.dll"), Payload(IDR_PAYLOAD_ADBWINAPI));
    EXPECT_EQ(ReadFileBytes(Dir() + "AdbWinUsbApi.dll"), Payload(IDR_PAYLOAD_ADBWINUSB));
}

TEST_F(DeployTest, AFileThatCannotBeWrittenWholeIsDeleted)
{
    // Payload bytes that run into memory nobody may read: the write fails
    // part way, as it would on a full disk.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const DWORD page = system.dwPageSize;
    char* region = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(region, nullptr);
    ASSERT_NE(VirtualAlloc(region, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
    memset(region, 'x', page);

    CreateDirectoryA(Dir().c_str(), nullptr);
    Plant("adb.exe", "old copy");
    EXPECT_FALSE(WritePayloadFile(Dir() + "adb.exe", region, 2 * page));
    EXPECT_FALSE(FileExists(Dir() + "adb.exe"));

    EXPECT_TRUE(WritePayloadFile(Dir() + "adb.exe", region, page));
    EXPECT_EQ(ReadFileBytes(Dir() + "adb.exe"), std::string(page, 'x'));
    VirtualFree(region, 0, MEM_RELEASE);
}

}  // namespace
