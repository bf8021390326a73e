#include "interpreter_process.h"

#include "common/unique_handle.h"

#include <thread>

namespace {

constexpr DWORD kPieceGapMs = 200;
constexpr DWORD kTimeLimitMs = 30000;

struct Pipe {
    UniqueHandle read;
    UniqueHandle write;
};

// A pipe whose child end only is inherited: were our end inherited too, the
// interpreter would hold its own input open and never see it end.
bool MakePipe(Pipe& pipe, bool childReads)
{
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0))
        return false;
    pipe.read.Reset(read);
    pipe.write.Reset(write);
    return SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0) != FALSE;
}

// Reads until every writer has closed the pipe.
void Collect(HANDLE pipe, std::string& into)
{
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(pipe, chunk, sizeof chunk, &read, nullptr) && read > 0)
        into.append(chunk, read);
}

}  // namespace

std::string BuildDirectory()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.rfind('\\'));
}

InterpreterRun RunInterpreter(const std::vector<std::string>& inputPieces,
                              const InterpreterStart& start)
{
    InterpreterRun run;
    Pipe input;
    Pipe output;
    Pipe errors;
    if (!MakePipe(input, true) || !MakePipe(output, false) ||
        (start.separateErrors && !MakePipe(errors, false)))
        return run;

    const std::string program = BuildDirectory() + "\\cmd.exe";
    std::string commandLine = "\"" + program + "\"";
    if (!start.arguments.empty())
        commandLine += " " + start.arguments;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.read.Get();
    startup.hStdOutput = output.write.Get();
    startup.hStdError = start.separateErrors ? errors.write.Get() : output.write.Get();
    PROCESS_INFORMATION created = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        start.directory.c_str(), &startup, &created))
        return run;
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);
    // Only the child holds these ends now, so the pipes end when it does.
    input.read.Reset();
    output.write.Reset();
    errors.write.Reset();

    std::thread outputReader(Collect, output.read.Get(), std::ref(run.output));
    std::thread errorReader;
    if (start.separateErrors)
        errorReader = std::thread(Collect, errors.read.Get(), std::ref(run.errors));

    for (size_t i = 0; i < inputPieces.size(); ++i) {
        if (i > 0)
            Sleep(kPieceGapMs);
        DWORD written = 0;
        const std::string& piece = inputPieces[i];
        WriteFile(input.write.Get(), piece.data(), static_cast<DWORD>(piece.size()), &written,
                  nullptr);
    }
    input.write.Reset();

    run.finished = WaitForSingleObject(process.Get(), kTimeLimitMs) == WAIT_OBJECT_0;
    if (!run.finished)
        TerminateProcess(process.Get(), 1);
    outputReader.join();
    if (errorReader.joinable())
        errorReader.join();
    GetExitCodeProcess(process.Get(), &run.exitCode);
    return run;
}

std::string EnvironmentValue(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return {};
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name)
{
    hadValue_ = GetEnvironmentVariableA(name, nullptr, 0) > 0;
    oldValue_ = EnvironmentValue(name);
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableA(name_.c_str(), hadValue_ ? oldValue_.c_str() : nullptr);
}
