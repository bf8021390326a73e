// adb.exe for Wine: every call runs the Linux adb with the same arguments,
// passes on what it printed with Windows line ends, and exits with its exit
// code. QUORVIX_LINUX_ADB may name the Linux adb by its Unix path; otherwise
// sh looks `adb` up on the Linux PATH.
#include "wine/adb/linux_run.h"
#include "wine/adb/text_codec.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kForwarderFailed = 1;

struct LocalFreer {
    void operator()(LPWSTR* argv) const { LocalFree(argv); }
};

// Our own arguments, split the way Windows programs split their command
// line, without the program name; never expanded as wildcards.
std::vector<std::string> OwnArguments()
{
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> args;
    for (int i = 1; argv && i < count; ++i)
        args.push_back(ToUtf8(argv.get()[i]));
    return args;
}

std::string LinuxAdb()
{
    const DWORD size = GetEnvironmentVariableW(L"QUORVIX_LINUX_ADB", nullptr, 0);
    if (size <= 1)
        return "adb";
    std::wstring path(size, L'\0');
    path.resize(GetEnvironmentVariableW(L"QUORVIX_LINUX_ADB", path.data(), size));
    return ToUtf8(path);
}

void ReportFailure(const std::string& why)
{
    const std::string line = "adb.exe (Wine): " + why + "\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

}  // namespace

int main()
{
    LinuxRun run;
    run.program = LinuxAdb();
    run.args = OwnArguments();
    std::string error;
    const std::optional<int> exitCode =
        RunLinuxProgram(run, GetStdHandle(STD_OUTPUT_HANDLE), error);
    if (!exitCode) {
        ReportFailure(error);
        return kForwarderFailed;
    }
    return *exitCode;
}
