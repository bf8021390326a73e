// Detection passes run for real: the interpreter, the scripted adb double
// deployed as adb.exe, and a window with the main dialog's controls.
// Compiled as GBK, so the expected texts are the program's bytes.
#include <gtest/gtest.h>

#include "support/pass_bench.h"
#include "workflows/detect_pass.h"

namespace {

constexpr char kConnected[] = "已连接手机";
constexpr char kNoPhone[] = "未连接到手机,请插入手机或检查usbdebug模式！";
constexpr char kNoList[] = "未连接到手机，请插入手机或检查usbdebug模式！";
constexpr char kConnecting[] = "连接手机中...";
constexpr DWORD kTimedOut = 0xFFFFFFFF;

const std::string kPhone =
    "when devices\n"
    "out List of devices attached\\r\\nemulator-5554\\tdevice\\r\\n\\r\\n\n";
const std::string kNoPhoneList =
    "when devices\n"
    "out List of devices attached\\r\\n\\r\\n\n";

struct Outcome {
    const char* name;
    std::string scenario;
    const char* status;
    bool enabled;
    DWORD result;
    size_t deviceLists;  // "adb devices" calls made; 0: five or six tries, timing decides
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << o.name;
}

class DetectOutcome : public ::testing::TestWithParam<Outcome> {};

TEST_P(DetectOutcome, StatusButtonAndResult)
{
    const Outcome& o = GetParam();
    PassBench bench(o.scenario);
    EXPECT_EQ(bench.Run(DetectThreadProc), o.result);
    EXPECT_EQ(bench.StatusText(), o.status);
    EXPECT_EQ(bench.StartEnabled(), o.enabled);
    const auto calls = bench.AdbCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "kill-server");
    EXPECT_EQ(calls[1], "start-server");
    if (o.deviceLists)
        EXPECT_EQ(calls.size() - 2, o.deviceLists);
    else
        EXPECT_TRUE(calls.size() - 2 == 5 || calls.size() - 2 == 6) << calls.size() - 2;
    EXPECT_FALSE(ChildShellRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DetectOutcome,
    ::testing::Values(
        Outcome{"PhoneFound", kPhone, kConnected, true, 0, 1},
        Outcome{"NoPhone", kNoPhoneList, kNoPhone, false, 0, 1},
        Outcome{"Offline",
                "when devices\nout List of devices attached\\r\\nemulator-5554\\toffline\\r\\n\\r\\n\n",
                kNoPhone, false, 0, 1},
        Outcome{"DeviceOnlyBeforeTheHeader",
                "when devices\nout * device daemon\\tdevice\\r\\n\nout List of devices attached\\r\\n\\r\\n\n",
                kNoPhone, false, 0, 1},
        Outcome{"HeaderOnTheThirdList",
                "when devices\nout \\r\\n\n"
                "when-nth 3 devices\nout List of devices attached\\r\\nHT1\\tdevice\\r\\n\\r\\n\n",
                kConnected, true, 0, 3},
        // The limit starts after the first list, however long the restart took.
        Outcome{"SlowServerRestart",
                "when kill-server\nsleep 6000\n" + kPhone, kConnected, true, 0, 1},
        Outcome{"NoHeaderEver", "when devices\nout * daemon not running\\r\\n\n", kNoList, false,
                kTimedOut, 0},
        // The header arrives, but in a read that ends after the limit.
        Outcome{"HeaderAfterTheLimit",
                "when devices\nout \\r\\n\n"
                "when-nth 2 devices\nsleep 5500\nout List of devices attached\\r\\nHT1\\tdevice\\r\\n\n",
                kNoList, false, kTimedOut, 2}),
    [](const ::testing::TestParamInfo<Outcome>& info) { return std::string(info.param.name); });

// Points the user's temporary directory (and so the working directory and
// the interpreter's prompt) at a subfolder with the given name.
std::string UseTempFolder(PassBench& bench, const char* name)
{
    const std::string temp = bench.TempDir() + name + "\\";
    CreateDirectoryA(temp.c_str(), nullptr);
    SetEnvironmentVariableA("TMP", temp.c_str());
    SetEnvironmentVariableA("TEMP", temp.c_str());
    return temp;
}

TEST(DetectPass, AFolderNamedDeviceIsNoPhone)
{
    PassBench bench(kNoPhoneList);
    UseTempFolder(bench, "device");
    bench.Run(DetectThreadProc);
    EXPECT_EQ(bench.StatusText(), kNoPhone);
    EXPECT_FALSE(bench.StartEnabled());
}

TEST(DetectPass, AFolderWithAnAmpersandIsEnteredWhole)
{
    PassBench bench(kPhone);
    const std::string temp = UseTempFolder(bench, "Tom&Jerry");
    bench.Run(DetectThreadProc);
    EXPECT_EQ(bench.StatusText(), kConnected);
    EXPECT_TRUE(FileExists(temp + "ice\\adb.exe"));
}

TEST(DetectPass, EffectsInOrderOnTheFoundPath)
{
    PassBench bench(kPhone);
    bench.Run(DetectThreadProc);
    const auto& events = bench.Events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, ScreenEvent::Enable);
    EXPECT_FALSE(events[0].enabled);
    EXPECT_EQ(events[1].text, kConnecting);
    EXPECT_FALSE(events[1].shellRunning);  // shown before the shell starts
    EXPECT_EQ(events[2].text, kConnected);
    EXPECT_TRUE(events[2].shellRunning);
    EXPECT_EQ(events[3].kind, ScreenEvent::Enable);
    EXPECT_TRUE(events[3].enabled);
    EXPECT_TRUE(events[3].shellRunning);  // the session is closed last
    EXPECT_FALSE(ChildShellRunning());
    EXPECT_TRUE(FileExists(bench.WorkingDir() + "adb.exe"));
}

TEST(DetectPass, TimeoutClosesTheSessionBeforeTheText)
{
    PassBench bench("when devices\nout \\r\\n\n");
    EXPECT_EQ(bench.Run(DetectThreadProc), kTimedOut);
    const auto& events = bench.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().text, kNoList);
    EXPECT_FALSE(events.back().shellRunning);
    for (const ScreenEvent& e : events)
        EXPECT_FALSE(e.kind == ScreenEvent::Enable && e.enabled);
}

TEST(DetectPass, AnAppliedLocaleLeavesEverythingAlone)
{
    PassBench bench(kPhone);
    bench.Surface().m_bApplied = TRUE;
    SetWindowTextA(GetDlgItem(bench.Window(), 1005), "done");
    EXPECT_EQ(bench.Run(DetectThreadProc), 0u);
    EXPECT_EQ(bench.StatusText(), "done");
    EXPECT_TRUE(bench.StartEnabled());
    EXPECT_TRUE(bench.AdbCalls().empty());
    EXPECT_FALSE(FileExists(bench.WorkingDir()));
}

TEST(DetectPass, ABurstTalksToAdbOnePassAtATime)
{
    // The phone shows up only from the fourth list on: the pass that reports
    // last must see it.
    PassBench bench("when devices\nout List of devices attached\\r\\n\\r\\n\n"
                    "when-nth 2 devices\nout List of devices attached\\r\\nHT1\\tdevice\\r\\n\\r\\n\n");
    std::vector<HANDLE> passes;
    for (int i = 0; i < 12; ++i)
        passes.push_back(bench.Start(DetectThreadProc));
    for (HANDLE pass : passes)
        EXPECT_EQ(bench.Finish(pass), 0u);

    // One conversation after the other, never interleaved, and at most two:
    // the one running and the one waiting when the burst came.
    const auto calls = bench.AdbCalls();
    const std::vector<std::string> one = {"kill-server", "start-server", "devices"};
    ASSERT_EQ(calls.size(), 6u);
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i], one[i % 3]) << i;
    EXPECT_EQ(bench.StatusText(), kConnected);
    EXPECT_TRUE(bench.StartEnabled());
    EXPECT_FALSE(ChildShellRunning());
}

}  // namespace
