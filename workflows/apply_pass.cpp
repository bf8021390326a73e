#include "workflows/apply_pass.h"

#include "session/command_lines.h"
#include "session/shell_session.h"
#include "workflows/apply_failure.h"
#include "workflows/locale_choices.h"
#include "workflows/main_dialog_surface.h"
#include "workflows/status_texts.h"

namespace {

// Ends the "apply pending" period that the click began, on every way out.
class ApplyPeriod {
public:
    explicit ApplyPeriod(MainDialogSurface& dialog) : m_dialog(dialog) {}
    ~ApplyPeriod() { m_dialog.EndApply(); }
    ApplyPeriod(const ApplyPeriod&) = delete;
    ApplyPeriod& operator=(const ApplyPeriod&) = delete;

private:
    MainDialogSurface& m_dialog;
};

// Nothing was applied: say why and give the button back for another try.
UINT GiveUp(MainDialogSurface& dialog, ShellSession& shell, const char* status)
{
    dialog.SetStatus(status);
    CloseShell(shell);
    dialog.EnableStart(true);
    return 0;
}

}  // namespace

UINT ApplyThreadProc(LPVOID param)
{
    SurfaceRef dialog(param);
    ApplyPeriod period(*dialog);
    dialog->SetStatus(kStatusChecking);

    PassTurn turn(dialog->Turns(), PassKind::Apply);
    turn.Wait();

    OutputBuffer output;
    const WorkingDirectory directory = GetWorkingDirectory(dialog->ApplyTempDir());
    ShellSession shell;
    ExitIfShellFailed(OpenShell(shell));
    ExitIfShellFailed(SendLine(shell, DriveLine(directory)));
    ExitIfShellFailed(SendLine(shell, CdLine(directory)));
    ExitIfShellFailed(SendLine(shell, kAdbKillServer));
    ExitIfShellFailed(ReadUntilPrompt(shell, output));
    ExitIfShellFailed(SendLine(shell, kAdbStartServer));
    ExitIfShellFailed(ReadUntilPrompt(shell, output));

    // Each radio button is read when its row comes, not at the click. The
    // buffer is not emptied, so what the writes printed is all it gains here.
    bool chosen = false;
    const size_t writesStart = output.size();
    for (const LocaleChoice& choice : kLocaleChoices) {
        if (!dialog->IsChecked(choice.controlId))
            continue;
        chosen = true;
        ExitIfShellFailed(SendLine(shell, choice.countryLine));
        ExitIfShellFailed(SendLine(shell, choice.languageLine));
        ExitIfShellFailed(ReadUntilPrompt(shell, output));
    }
    if (!chosen)
        return GiveUp(*dialog, shell, kStatusChooseLanguage);
    if (ShowsApplyFailure(output.substr(writesStart), directory))
        return GiveUp(*dialog, shell, kStatusApplyFailed);

    output.clear();
    ExitIfShellFailed(SendLine(shell, kAdbReboot));
    ExitIfShellFailed(ReadUntilPrompt(shell, output));
    dialog->SetStatus(kStatusApplied);
    CloseShell(shell);
    dialog->m_bApplied.store(TRUE);
    return 0;
}
