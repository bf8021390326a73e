#include "wine/adb/linux_run.h"

#include "wine/adb/line_ends.h"
#include "wine/adb/run_files.h"
#include "wine/adb/sh_script.h"
#include "wine/adb/text_codec.h"
#include "common/unique_handle.h"
#include "wine/adb/unix_path.h"

#include <cstdlib>

namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kChunkSize = 64 * 1024;
constexpr wchar_t kShell[] = L"Z:\\bin\\sh";

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

std::string ReadWholeFile(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char chunk[256];
    DWORD read = 0;
    while (file && ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    return bytes;
}

// Wine splits this command line into the Linux program's argv the way
// Windows programs split theirs; a Unix path from a Windows folder holds
// no double quote.
bool StartShell(const std::string& scriptUnixPath)
{
    std::wstring commandLine =
        std::wstring(kShell) + L" \"" + FromUtf8(scriptUnixPath) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &created))
        return false;
    // Signalled at once for a Linux program: nothing to wait for here.
    UniqueHandle process(created.hProcess);
    UniqueHandle thread(created.hThread);
    return true;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    const ULONGLONG start = GetTickCount64();
    while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

std::optional<int> ParseExitCode(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const long code = std::strtol(begin, &end, 10);
    if (end == begin || (*end != '\n' && *end != '\0'))
        return std::nullopt;
    return static_cast<int>(code);
}

// A missing output file copies as nothing: the exit code still tells.
void CopyWithCrLf(const std::wstring& path, HANDLE out)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                  FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    std::string chunk(kChunkSize, '\0');
    CrLfConverter converter;
    DWORD read = 0;
    while (ReadFile(file.Get(), chunk.data(), kChunkSize, &read, nullptr) && read > 0) {
        const std::string converted = converter.Convert(std::string_view(chunk.data(), read));
        DWORD written = 0;
        if (!WriteFile(out, converted.data(), static_cast<DWORD>(converted.size()), &written,
                       nullptr))
            return;  // nobody reads our output any more
    }
}

}  // namespace

std::optional<int> RunLinuxProgram(const LinuxRun& run, HANDLE out, std::string& error)
{
    RunFiles files;
    if (!files.created()) {
        error = "cannot create a temporary file";
        return std::nullopt;
    }
    const std::optional<std::string> script = UnixPathOf(files.base());
    if (!script) {
        error = "no Unix path for the temporary files (not running under Wine?)";
        return std::nullopt;
    }
    const ScriptFiles unixFiles{*script + std::string(RunFiles::kOutput),
                                *script + std::string(RunFiles::kDone),
                                *script + std::string(RunFiles::kPending)};
    if (!WriteWholeFile(files.base(), ForwardScript(run.program, run.args, unixFiles))) {
        error = "cannot write the script";
        return std::nullopt;
    }
    if (!StartShell(*script)) {
        error = "cannot start Z:\\bin\\sh (error " + std::to_string(GetLastError()) + ")";
        return std::nullopt;
    }
    const std::wstring done = files.Named(RunFiles::kDone);
    if (!WaitForFile(done, run.timeoutMs)) {
        error = run.program + " did not finish within " + std::to_string(run.timeoutMs / 1000) +
                " seconds";
        return std::nullopt;
    }
    const std::optional<int> exitCode = ParseExitCode(ReadWholeFile(done));
    if (!exitCode) {
        error = "no exit code in the completion file";
        return std::nullopt;
    }
    CopyWithCrLf(files.Named(RunFiles::kOutput), out);
    return exitCode;
}
