#include "workflows/detect_pass.h"

#include "session/command_lines.h"
#include "session/shell_session.h"
#include "workflows/deploy_tools.h"
#include "workflows/device_list.h"
#include "workflows/main_dialog_surface.h"
#include "workflows/status_texts.h"

namespace {

constexpr UINT kTimedOut = static_cast<UINT>(-1);

// While an apply pass is on its way the start button belongs to it.
void SetStartButton(MainDialogSurface& dialog, bool enable)
{
    if (dialog.ApplyPending())
        return;
    dialog.EnableStart(enable);
    // A click may have started an apply pass while the button was being
    // enabled; it must not find its button enabled again.
    if (enable && dialog.ApplyPending())
        dialog.EnableStart(false);
}

void ListDevices(ShellSession& shell, OutputBuffer& output)
{
    output.clear();
    ExitIfShellFailed(SendLine(shell, kAdbDevices));
    ExitIfShellFailed(ReadUntilPrompt(shell, output));
}

}  // namespace

UINT DetectThreadProc(LPVOID param)
{
    SurfaceRef dialog(param);
    PassTurn turn(dialog->Turns(), PassKind::Detect);
    if (!turn.Joined())
        return 0;  // a detection pass already waiting will report the newer state
    turn.Wait();

    if (dialog->m_bApplied.load())
        return 0;
    SetStartButton(*dialog, false);

    const WorkingDirectory directory = GetWorkingDirectory(dialog->DetectTempDir());
    DeployTools(directory);
    dialog->SetStatus(kStatusConnecting);

    OutputBuffer output;
    ShellSession shell;
    ExitIfShellFailed(OpenShell(shell));
    ExitIfShellFailed(SendLine(shell, DriveLine(directory)));
    ExitIfShellFailed(SendLine(shell, CdLine(directory)));
    ExitIfShellFailed(SendLine(shell, kAdbKillServer));
    ExitIfShellFailed(ReadUntilPrompt(shell, output));
    ExitIfShellFailed(SendLine(shell, kAdbStartServer));
    ExitIfShellFailed(ReadUntilPrompt(shell, output));

    ListDevices(shell, output);
    const DWORD start = GetTickCount();
    while (!HasDeviceListHeader(output)) {
        ListDevices(shell, output);
        if (GetTickCount() - start > kDeviceListTimeLimitMs) {
            CloseShell(shell);
            dialog->SetStatus(kStatusNoDeviceList);
            return kTimedOut;
        }
    }

    const bool found = ListsReadyPhone(output);
    dialog->SetStatus(found ? kStatusPhoneConnected : kStatusNoPhone);
    SetStartButton(*dialog, found);
    CloseShell(shell);
    return 0;
}
