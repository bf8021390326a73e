// A bench for running detection and apply passes for real: a window with the
// main dialog's start button, radio buttons and status line, a private
// temporary directory, and the scripted adb double answering from a
// scenario. It records every status text and button change in order, and
// whether an interpreter of ours was running at that moment.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "workflows/main_dialog_surface.h"

struct ScreenEvent {
    enum Kind { Status, Enable } kind;
    std::string text;   // Status: the new text
    bool enabled;       // Enable: the new state
    bool shellRunning;  // an interpreter child of this process was alive
};

class PassBench {
public:
    // `scenario` is the adb double's script for this test.
    explicit PassBench(const std::string& scenario);
    ~PassBench();
    PassBench(const PassBench&) = delete;
    PassBench& operator=(const PassBench&) = delete;

    MainDialogSurface& Surface() { return *m_surface; }
    HWND Window() const { return m_window; }

    // Starts a pass on its own thread, as the dialog does; returns its handle.
    HANDLE Start(UINT (*pass)(LPVOID));
    // Pumps the window's messages until the thread ends; returns its result.
    DWORD Finish(HANDLE thread, DWORD timeoutMs = 60000);
    DWORD Run(UINT (*pass)(LPVOID)) { return Finish(Start(pass)); }
    // Pumps messages for a while (lets passes reach the window).
    void Pump(DWORD ms);

    // The command lines adb received, one per call.
    std::vector<std::string> AdbCalls() const;
    const std::vector<ScreenEvent>& Events() const { return m_events; }
    std::string StatusText() const;
    bool StartEnabled() const { return IsWindowEnabled(GetDlgItem(m_window, 1001)) != FALSE; }
    void Check(int radioId) { SendMessageA(GetDlgItem(m_window, radioId), BM_CLICK, 0, 0); }

    // The directory the passes see as the user's temporary directory.
    const std::string& TempDir() const { return m_temp.Path(); }
    std::string WorkingDir() const { return m_temp.Path() + "ice\\"; }

    // Called from the controls' window procedures.
    void Record(ScreenEvent event) { m_events.push_back(std::move(event)); }

private:
    ScratchDir m_temp;
    std::string m_savedTmp, m_savedTemp;
    HWND m_window = nullptr;
    MainDialogSurface* m_surface;
    std::vector<ScreenEvent> m_events;
};

// Whether a cmd.exe started by this process is still running.
bool ChildShellRunning();
