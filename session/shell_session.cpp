#include "session/shell_session.h"

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD kReadPauseMs = 1000;
constexpr DWORD kChunkSize = 1024;
constexpr DWORD kTerminateWaitMs = 5000;

void CloseAndClear(HANDLE& handle)
{
    if (handle) {
        CloseHandle(handle);
        handle = nullptr;
    }
}

// Our own ends stay out of every child process: the interpreter then sees
// end of input as soon as this program is gone, so it never outlives us
// waiting for a line.
void KeepToOurselves(HANDLE handle)
{
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
}

// A job that ends the interpreter when its last handle closes, which at the
// latest happens when this program ends: a pass still running when the user
// closes the dialog leaves no interpreter behind. Programs the interpreter
// starts stay out of the job, so the adb server they launch lives on.
HANDLE NewInterpreterJob()
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

}  // namespace

bool OpenShell(ShellSession& session)
{
    return OpenShellWith(session, kInterpreterPath);
}

bool OpenShellWith(ShellSession& session, const char* interpreterPath)
{
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof inheritable;
    inheritable.lpSecurityDescriptor = nullptr;
    inheritable.bInheritHandle = TRUE;

    if (!CreatePipe(&session.outputRead, &session.outputWrite, &inheritable, 0))
        return false;
    if (!CreatePipe(&session.inputRead, &session.inputWrite, &inheritable, 0)) {
        const DWORD error = GetLastError();
        CloseAndClear(session.outputRead);
        CloseAndClear(session.outputWrite);
        SetLastError(error);
        return false;
    }
    KeepToOurselves(session.outputRead);
    KeepToOurselves(session.inputWrite);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = session.inputRead;
    startup.hStdOutput = session.outputWrite;
    startup.hStdError = session.outputWrite;

    // CreateProcessA may write into its command line, so it gets our own copy.
    std::vector<char> commandLine(interpreterPath, interpreterPath + lstrlenA(interpreterPath) + 1);

    PROCESS_INFORMATION created = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &created)) {
        const DWORD error = GetLastError();
        CloseAndClear(session.outputRead);
        CloseAndClear(session.outputWrite);
        CloseAndClear(session.inputRead);
        CloseAndClear(session.inputWrite);
        SetLastError(error);
        return false;
    }
    CloseHandle(created.hThread);
    session.process = created.hProcess;
    session.job = NewInterpreterJob();
    if (session.job && !AssignProcessToJobObject(session.job, session.process))
        CloseAndClear(session.job);  // e.g. already in a job that allows no other
    return true;
}

bool SendLine(ShellSession& session, const std::string& text)
{
    const std::string line = text + "\r\n";
    DWORD written = 0;
    return WriteFile(session.inputWrite, line.data(), static_cast<DWORD>(line.size()), &written,
                     nullptr) != FALSE;
}

bool ReadUntilPrompt(ShellSession& session, OutputBuffer& buffer)
{
    std::vector<char> chunk(kChunkSize);
    for (;;) {
        std::fill(chunk.begin(), chunk.end(), '\0');
        Sleep(kReadPauseMs);
        DWORD read = 0;
        if (!ReadFile(session.outputRead, chunk.data(), kChunkSize - 1, &read, nullptr))
            return false;
        chunk[read] = '\0';
        buffer.append(chunk.data());  // up to the first NUL, as the chunk is a C string
        if (read > 0 && chunk[read - 1] == '>')
            return true;
    }
}

void CloseShell(ShellSession& session)
{
    CloseAndClear(session.outputRead);
    CloseAndClear(session.inputRead);
    CloseAndClear(session.inputWrite);
    CloseAndClear(session.outputWrite);
    if (session.process) {
        TerminateProcess(session.process, 0);
        // Termination completes asynchronously; once CloseShell returns the
        // interpreter is gone.
        WaitForSingleObject(session.process, kTerminateWaitMs);
        CloseAndClear(session.process);
    }
    CloseAndClear(session.job);
}

void ExitIfShellFailed(bool succeeded)
{
    if (!succeeded)
        ExitProcess(GetLastError());
}
