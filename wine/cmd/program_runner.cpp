#include "program_runner.h"

#include "common/unique_handle.h"

#include <vector>

bool RunProgram(const std::wstring& applicationPath, const std::wstring& commandLine,
                DWORD& exitCode)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

    // CreateProcessW may write into the command line, so it gets a copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');

    PROCESS_INFORMATION created = {};
    if (!CreateProcessW(applicationPath.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &created))
        return false;
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);

    WaitForSingleObject(process.Get(), INFINITE);
    if (!GetExitCodeProcess(process.Get(), &exitCode))
        exitCode = 1;
    return true;
}
