#include "actions.h"

#include "file_io.h"

namespace {

// Writes to a standard handle; a missing handle or a reader that went away
// does not stop the rest of the scenario.
void WriteStd(DWORD which, const std::string& bytes)
{
    const HANDLE handle = GetStdHandle(which);
    if (bytes.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    // No flush: like adb, the double goes on at once, whether or not the
    // reader has taken the bytes yet. A `sleep` between two outs keeps them
    // apart for a reader that is waiting.
    WriteAll(handle, bytes);
}

}  // namespace

UINT RunActions(const std::vector<Action>& actions)
{
    for (const Action& action : actions) {
        switch (action.kind) {
        case Action::Kind::Out:
            WriteStd(STD_OUTPUT_HANDLE, action.bytes);
            break;
        case Action::Kind::Err:
            WriteStd(STD_ERROR_HANDLE, action.bytes);
            break;
        case Action::Kind::Sleep:
            Sleep(static_cast<DWORD>(action.number));
            break;
        case Action::Kind::Exit:
            return static_cast<UINT>(action.number);
        }
    }
    return 0;
}
