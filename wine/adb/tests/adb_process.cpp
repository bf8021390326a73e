#include "wine/adb/tests/adb_process.h"

#include "wine/adb/tests/build_paths.h"

ScopedEnv::ScopedEnv(const wchar_t* name, const wchar_t* value) : name_(name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size > 0) {
        std::wstring old(size, L'\0');
        old.resize(GetEnvironmentVariableW(name, old.data(), size));
        old_ = old;
    }
    SetEnvironmentVariableW(name, value);
}

ScopedEnv::~ScopedEnv()
{
    SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr);
}

Started::Started(const std::wstring& args)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0))
        return;
    read_.Reset(read);
    UniqueHandle childEnd(write);  // ours closes once the child has its copy
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = childEnd.Get();
    startup.hStdError = childEnd.Get();
    const std::wstring exe = FromBuildTree(QUORVIX_ADB_EXE);
    std::wstring commandLine = L"adb.exe " + args;
    start_ = GetTickCount64();
    PROCESS_INFORMATION created = {};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &created))
        return;
    process_.Reset(created.hProcess);
    UniqueHandle thread(created.hThread);
}

Finished Started::Finish()
{
    Finished finished;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(read_.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0)
        finished.output.append(chunk, read);
    WaitForSingleObject(process_.Get(), INFINITE);
    finished.elapsedMs = GetTickCount64() - start_;
    GetExitCodeProcess(process_.Get(), &finished.exitCode);
    return finished;
}
