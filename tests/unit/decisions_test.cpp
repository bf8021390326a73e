// The pure decisions of the passes: where the device list is, whether it
// names a usable phone, which lines a directory and a choice produce, and
// whether the writes' output shows a failure. Compiled as GBK.
#include <gtest/gtest.h>

#include "session/ansi_text.h"
#include "session/command_lines.h"
#include "workflows/apply_failure.h"
#include "workflows/device_list.h"

namespace {

constexpr UINT kGbk = 936;

TEST(AnsiText, MatchesStartOnlyOnCharacterBoundaries)
{
    // "诶" is C5 42: its second byte is 'B'. "ABC" after it must not match
    // from that second byte.
    const std::string text = "\xC5\x42" "C" "BC";
    EXPECT_EQ(FindAnsi(text, "BC", kGbk), 3u);
    EXPECT_EQ(FindAnsi(text, "BC", 1252), 1u);
    EXPECT_EQ(FindAnsi("\xC5\x42", "B", kGbk), std::string::npos);

    std::string removed = "\xC5\x42" "B" "xB";
    RemoveAllAnsi(removed, "B", kGbk);
    EXPECT_EQ(removed, "\xC5\x42" "x");

    // "\xB1\x7C" is one character whose second byte is '|'.
    EXPECT_FALSE(ContainsAnyAnsiChar("C:\\\xB1\x7C\\", "&|", kGbk));
    EXPECT_TRUE(ContainsAnyAnsiChar("C:\\a|b\\", "&|", kGbk));
}

TEST(CommandLines, DriveAndDirectoryLines)
{
    struct Case {
        const char* directory;
        const char* cdLine;
    } cases[] = {
        {"C:\\users\\me\\Temp\\ice\\", "cd C:\\users\\me\\Temp\\ice\\"},
        {"C:\\Users\\Tom Smith\\Temp\\ice\\", "cd C:\\Users\\Tom Smith\\Temp\\ice\\"},
        {"C:\\Users\\Tom&Jerry\\Temp\\ice\\", "cd \"C:\\Users\\Tom&Jerry\\Temp\\ice\\\""},
        {"D:\\a(1)\\ice\\", "cd \"D:\\a(1)\\ice\\\""},
        {"C:\\x^y\\ice\\", "cd \"C:\\x^y\\ice\\\""},
        {"C:\\x|y<z>\\ice\\", "cd \"C:\\x|y<z>\\ice\\\""},
        {"C:\\用户\\ice\\", "cd C:\\用户\\ice\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CdLine(c.directory), c.cdLine) << c.directory;
        EXPECT_EQ(DriveLine(c.directory), std::string(c.directory, 2));
    }
}

struct ListCase {
    const char* name;
    const char* output;
    bool header;
    bool phone;
};

TEST(DeviceList, HeaderAndReadyPhone)
{
    const ListCase cases[] = {
        {"phone", "C:\\t\\ice>adb devices\r\nList of devices attached\r\nemulator-5554\tdevice\r\n\r\n\r\nC:\\t\\ice>", true, true},
        {"LF only", "List of devices attached\nHT12345\tdevice\n\n", true, true},
        {"old adb, trailing space", "List of devices attached \r\nHT12345\tdevice\r\n", true, true},
        {"no phone", "List of devices attached\r\n\r\n\r\nC:\\t\\ice>", true, false},
        {"offline", "List of devices attached\r\nemulator-5554\toffline\r\n\r\nC:\\t\\ice>", true, false},
        {"unauthorized", "List of devices attached\r\nemulator-5554\tunauthorized\r\n", true, false},
        {"device only before the header",
         "* daemon started; device\tdevice\r\nList of devices attached\r\n\r\nC:\\t\\ice>", true, false},
        {"device in the prompt's path",
         "List of devices attached\r\n\r\n\r\nC:\\Users\\device\\Temp\\ice>", true, false},
        {"no serial", "List of devices attached\r\n\tdevice\r\n", true, false},
        {"second of two phones ready",
         "List of devices attached\r\nA1\toffline\r\nB2\tdevice\r\n", true, true},
        {"state word in another word", "List of devices attached\r\nA1\tdevices\r\n", true, false},
        {"no header", "error: cannot connect to daemon\r\nC:\\t\\ice>", false, false},
        {"empty", "", false, false},
    };
    for (const ListCase& c : cases) {
        EXPECT_EQ(HasDeviceListHeader(c.output), c.header) << c.name;
        EXPECT_EQ(ListsReadyPhone(c.output), c.phone) << c.name;
    }
}

TEST(DeviceList, HeaderSplitAcrossGbkIsNotMatched)
{
    // A lead byte directly before "List" swallows the 'L' as its second byte.
    EXPECT_FALSE(HasDeviceListHeader("\xB0List of devices attached\r\n"));
}

TEST(ApplyFailure, SignsOfFailure)
{
    const std::string dir = "C:\\users\\me\\Temp\\ice\\";
    struct Case {
        const char* output;
        bool failed;
    } cases[] = {
        {"C:\\users\\me\\Temp\\ice>adb shell \"echo CN > /data/property/persist.sys.country\"\r\n"
         "C:\\users\\me\\Temp\\ice>adb shell \"echo zh > /data/property/persist.sys.language\"\r\n\r\n"
         "C:\\users\\me\\Temp\\ice>",
         false},
        {"/system/bin/sh: can't create /data/property/persist.sys.country: Permission denied\r\n", true},
        {"/system/bin/sh: cannot create /data/x: Read-only file system\r\n", true},
        {"/system/bin/sh: /data/property/x: No such file or directory\r\n", true},
        {"error: no devices/emulators found\r\n", true},
        {"error: device not found\r\n", true},
        {"error: device offline\r\n", true},
        {"error: device unauthorized.\r\n", true},
        {"error: more than one device/emulator\r\n", true},
        {"'adb' 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。\r\n", true},
        {"'adb' is not recognized as an internal or external command,\r\n", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowsApplyFailure(c.output, dir), c.failed) << c.output;
}

TEST(ApplyFailure, WorkingDirectoryNamedLikeAFailureIsNotOne)
{
    const std::string dir = "C:\\Users\\not found\\Temp\\ice\\";
    EXPECT_FALSE(ShowsApplyFailure("C:\\Users\\not found\\Temp\\ice>adb shell \"x\"\r\n\r\n"
                                   "C:\\Users\\not found\\Temp\\ice>",
                                   dir));
    EXPECT_TRUE(ShowsApplyFailure("C:\\Users\\not found\\Temp\\ice>\r\nerror: device offline\r\n", dir));
}

}  // namespace
