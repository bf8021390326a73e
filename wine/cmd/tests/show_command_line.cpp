// Prints the command line it was started with, then QUORVIX_PROBE=<value>
// when that variable is set, each followed by CR LF, and ends with exit code
// 7, so a test sees what reached a program started by the interpreter.
#include <windows.h>

#include <string>

namespace {

void Write(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

}  // namespace

int main()
{
    Write(std::string(GetCommandLineA()) + "\r\n");
    char probe[256];
    const DWORD length = GetEnvironmentVariableA("QUORVIX_PROBE", probe, sizeof probe);
    if (length > 0 && length < sizeof probe)
        Write("QUORVIX_PROBE=" + std::string(probe, length) + "\r\n");
    return 7;
}
