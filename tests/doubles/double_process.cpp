#include "double_process.h"

#include "file_io.h"

DoubleProcess::DoubleProcess(const std::string& program, const std::string& commandLine,
                             const std::string& stderrPath)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0))
        return;
    outputRead_.Reset(read);
    UniqueHandle outputWrite(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    UniqueHandle errFile(CreateFileA(stderrPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                     &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!errFile)
        return;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outputWrite.Get();
    startup.hStdError = errFile.Get();
    std::string line = commandLine;  // CreateProcessA may write into it
    PROCESS_INFORMATION created = {};
    if (CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE,
                       CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                       &created)) {
        process_.Reset(created.hProcess);
        thread_.Reset(created.hThread);
    }
}

DoubleProcess::~DoubleProcess()
{
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.Get(), 1);
}

void DoubleProcess::Resume()
{
    ResumeThread(thread_.Get());
}

std::vector<std::string> DoubleProcess::ReadChunks(DWORD pauseMs)
{
    std::vector<std::string> chunks;
    char buffer[4096];
    for (;;) {
        Sleep(pauseMs);
        DWORD read = 0;
        if (!ReadFile(outputRead_.Get(), buffer, sizeof buffer, &read, nullptr))
            return chunks;  // the double closed its end
        if (read > 0)
            chunks.emplace_back(buffer, read);
    }
}

DWORD DoubleProcess::Wait()
{
    DWORD code = 0xDEADBEEF;
    if (WaitForSingleObject(process_.Get(), 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.Get(), &code);
    return code;
}

DoubleRun RunDouble(const std::string& program, const std::string& commandLine,
                    const std::string& stderrPath, DWORD pauseMs)
{
    DoubleRun run;
    DoubleProcess process(program, commandLine, stderrPath);
    if (!process.Started())
        return run;
    process.Resume();
    run.chunks = process.ReadChunks(pauseMs);
    for (const std::string& chunk : run.chunks)
        run.out += chunk;
    run.exitCode = process.Wait();
    ReadWholeFile(stderrPath, run.err);
    return run;
}
