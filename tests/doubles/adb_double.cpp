// adb as the tests want it: every call is appended to a log and answered with
// what a scenario file prescribes for its argument text (see scenario.h).
//
//   QUORVIX_ADB_SCENARIO  the scenario file; unset: print nothing, exit 0
//   QUORVIX_ADB_LOG       the call log; unset: log nothing, every call is the 1st
//
// A log or scenario that cannot be used is reported on stderr, prefixed with
// "adb_double:", with exit code 250, so a broken test setup cannot pass for
// a silent phone.
#include <windows.h>

#include <string>

#include "actions.h"
#include "argument_text.h"
#include "call_log.h"
#include "file_io.h"
#include "scenario.h"

namespace {

constexpr UINT kSetupFailed = 250;

bool ReadEnvironment(const char* name, std::string& value)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return false;
    value.assign(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return !value.empty();
}

[[noreturn]] void Fail(const std::string& what)
{
    const std::string message = "adb_double: " + what + "\r\n";
    WriteAll(GetStdHandle(STD_ERROR_HANDLE), message);
    ExitProcess(kSetupFailed);
}

std::string WithError(const std::string& what, const std::string& path)
{
    return what + " " + path + " (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

int main()
{
    const std::string argumentText = ArgumentText(GetCommandLineA());

    unsigned long long callNumber = 1;
    std::string logPath;
    if (ReadEnvironment("QUORVIX_ADB_LOG", logPath) &&
        !RecordCall(logPath, argumentText, callNumber))
        Fail(WithError("cannot append to the log", logPath));

    std::string scenarioPath;
    if (!ReadEnvironment("QUORVIX_ADB_SCENARIO", scenarioPath))
        return 0;
    std::string scenarioText;
    if (!ReadWholeFile(scenarioPath, scenarioText))
        Fail(WithError("cannot read the scenario", scenarioPath));
    Scenario scenario;
    std::string error;
    if (!ParseScenario(scenarioText, scenario, error))
        Fail(scenarioPath + ": " + error);

    const Block* block = SelectBlock(scenario, argumentText, callNumber);
    return block ? static_cast<int>(RunActions(block->actions)) : 0;
}
