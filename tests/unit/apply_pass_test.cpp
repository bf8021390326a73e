// Apply passes run for real against the scripted adb double. Compiled as
// GBK, so the expected texts are the program's bytes.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/pass_bench.h"
#include "workflows/apply_pass.h"
#include "workflows/deploy_tools.h"
#include "workflows/detect_pass.h"

namespace {

constexpr char kChecking[] = "检测设备中...";
constexpr char kApplied[] =
    "设置已完成,设备重启中....更多工具，请关注论坛：bbs.korvanta-miraluna.example";
constexpr char kFailed[] = "设置失败，请确认手机已连接并已获取ROOT权限！";
constexpr char kChooseFirst[] = "请先选择语言！";

const std::string kRootedPhone =
    "when devices\nout List of devices attached\\r\\nemulator-5554\\tdevice\\r\\n\\r\\n\n";

// The click handler's part: disable the button, mark the apply pass pending.
HANDLE Click(PassBench& bench)
{
    EnableWindow(GetDlgItem(bench.Window(), IDC_START), FALSE);
    bench.Surface().BeginApply();
    return bench.Start(ApplyThreadProc);
}

struct Locale {
    int radio;
    const char* country;
    const char* language;
};

void PrintTo(const Locale& l, std::ostream* os)
{
    *os << l.country;
}

class ApplyLocale : public ::testing::TestWithParam<Locale> {};

TEST_P(ApplyLocale, WritesCountryAndLanguageThenReboots)
{
    PassBench bench(kRootedPhone);
    DeployTools(bench.WorkingDir());
    bench.Check(GetParam().radio);
    EXPECT_EQ(bench.Finish(Click(bench)), 0u);

    const std::vector<std::string> expected = {
        "kill-server", "start-server",
        std::string("shell \"echo ") + GetParam().country + " > /data/property/persist.sys.country\"",
        std::string("shell \"echo ") + GetParam().language + " > /data/property/persist.sys.language\"",
        "reboot"};
    EXPECT_EQ(bench.AdbCalls(), expected);
    EXPECT_EQ(bench.StatusText(), kApplied);
    EXPECT_TRUE(bench.Surface().m_bApplied.load());
    EXPECT_FALSE(bench.StartEnabled());

    // The first text at once, the completion text while the session is
    // still open; the pass itself never touches the button.
    const auto& events = bench.Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[1].text, kChecking);
    EXPECT_EQ(events.back().text, kApplied);
    EXPECT_TRUE(events.back().shellRunning);
    EXPECT_FALSE(ChildShellRunning());
}

INSTANTIATE_TEST_SUITE_P(Locales, ApplyLocale,
                         ::testing::Values(Locale{IDC_LANG_SIMPLIFIED, "CN", "zh"},
                                           Locale{IDC_LANG_TRADITIONAL, "TW", "zh"},
                                           Locale{IDC_LANG_ENGLISH, "US", "en"}));

struct Refusal {
    const char* name;
    std::string scenario;
    int radio;
    const char* status;
    size_t calls;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.name;
}

class ApplyRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(ApplyRefused, NoRebootAndTheButtonComesBack)
{
    const Refusal& r = GetParam();
    PassBench bench(r.scenario);
    DeployTools(bench.WorkingDir());
    if (r.radio)
        bench.Check(r.radio);
    bench.Finish(Click(bench));

    const auto calls = bench.AdbCalls();
    EXPECT_EQ(calls.size(), r.calls);
    for (const std::string& call : calls)
        EXPECT_NE(call, "reboot");
    EXPECT_EQ(bench.StatusText(), r.status);
    EXPECT_FALSE(bench.Surface().m_bApplied.load());
    EXPECT_TRUE(bench.StartEnabled());
    EXPECT_FALSE(ChildShellRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ApplyRefused,
    ::testing::Values(
        Refusal{"NothingChosen", kRootedPhone, 0, kChooseFirst, 2},
        Refusal{"NotRooted",
                "when-prefix shell\nout /system/bin/sh: can't create "
                "/data/property/persist.sys.country: Permission denied\\r\\n\n",
                IDC_LANG_SIMPLIFIED, kFailed, 4},
        Refusal{"NoPhone", "when-prefix shell\nerr error: no devices/emulators found\\r\\n\nexit 1\n",
                IDC_LANG_ENGLISH, kFailed, 4}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(ApplyPass, WaitsForARunningDetectionPassAndKeepsTheButton)
{
    // The detection pass is slow to restart the server and finds a phone.
    PassBench bench("when-nth 1 kill-server\nsleep 1500\n" + kRootedPhone);
    HANDLE detect = bench.Start(DetectThreadProc);
    bench.Pump(300);
    bench.Check(IDC_LANG_SIMPLIFIED);
    HANDLE apply = Click(bench);
    bench.Pump(300);
    EXPECT_EQ(bench.StatusText(), kChecking);  // at once, before its turn

    // A removal during the apply pass: this detection pass comes after it.
    HANDLE late = bench.Start(DetectThreadProc);
    bench.Finish(detect);
    // The detection pass ended with a phone found, yet left the button alone.
    EXPECT_FALSE(bench.StartEnabled());
    bench.Finish(apply);
    bench.Finish(late);

    const std::vector<std::string> expected = {
        "kill-server", "start-server", "devices",
        "kill-server", "start-server",
        "shell \"echo CN > /data/property/persist.sys.country\"",
        "shell \"echo zh > /data/property/persist.sys.language\"",
        "reboot"};
    EXPECT_EQ(bench.AdbCalls(), expected);
    EXPECT_EQ(bench.StatusText(), kApplied);
    EXPECT_FALSE(bench.StartEnabled());
    for (const ScreenEvent& e : bench.Events())
        EXPECT_FALSE(e.kind == ScreenEvent::Enable && e.enabled);
}

}  // namespace
