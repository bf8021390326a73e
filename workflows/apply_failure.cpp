// Compiled with -fexec-charset=GBK: the interpreter's Chinese message is GBK.
#include "workflows/apply_failure.h"

#include "session/ansi_text.h"

namespace {

constexpr const char* kFailureSigns[] = {
    "Permission denied",
    "Read-only file system",
    "can't create",
    "cannot create",
    "No such file or directory",
    "not found",
    "error:",
    "no devices/emulators found",
    "device offline",
    "unauthorized",
    "不是内部或外部命令",
    "is not recognized as an internal or external command",
};

}  // namespace

bool ShowsApplyFailure(std::string output, const std::string& workingDirectory)
{
    std::string prompt = workingDirectory;
    while (prompt.size() > 3 && prompt.back() == '\\')
        prompt.pop_back();
    if (!prompt.empty())
        RemoveAllAnsi(output, prompt);
    for (const char* sign : kFailureSigns) {
        if (FindAnsi(output, sign) != std::string::npos)
            return true;
    }
    return false;
}
