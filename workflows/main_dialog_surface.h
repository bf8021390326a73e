// What the passes use of the main dialog: its status line, its start button,
// its three locale radio buttons and the flag that a locale was applied.
//
// The passes run on worker threads that nothing waits for, so the dialog
// (and the CQuorvixDlg object) can be gone while a pass still runs. The
// surface therefore lives apart from the dialog object, shared by reference
// count between the dialog and every pass, and forgets the window when the
// dialog detaches: a pass that outlives the dialog then changes nothing.
#pragma once

#include <windows.h>

#include <atomic>

#include "workflows/pass_turns.h"
#include "workflows/working_directory.h"

class MainDialogSurface {
public:
    MainDialogSurface() = default;
    MainDialogSurface(const MainDialogSurface&) = delete;
    MainDialogSurface& operator=(const MainDialogSurface&) = delete;

    // Starts with one reference, the creator's.
    void AddRef() { m_refs.fetch_add(1); }
    void Release()
    {
        if (m_refs.fetch_sub(1) == 1)
            delete this;
    }

    void Attach(HWND dialog) { m_hWnd.store(dialog); }
    void Detach() { m_hWnd.store(nullptr); }

    // Window calls, sent to the dialog's thread; nothing once detached.
    void SetStatus(const char* text);
    void EnableStart(bool enable);
    bool IsChecked(int controlId);

    // Set once by an apply pass that wrote the locale; from then on detection
    // passes leave the screen alone.
    std::atomic<BOOL> m_bApplied{FALSE};

    // From a click on the start button until its apply pass ends, the button
    // stays disabled whatever detection passes find.
    void BeginApply() { m_applyPasses.fetch_add(1); }
    void EndApply() { m_applyPasses.fetch_sub(1); }
    bool ApplyPending() const { return m_applyPasses.load() > 0; }

    PassTurns& Turns() { return m_turns; }
    RememberedTempDir& DetectTempDir() { return m_detectTempDir; }
    RememberedTempDir& ApplyTempDir() { return m_applyTempDir; }

private:
    ~MainDialogSurface() = default;

    std::atomic<LONG> m_refs{1};
    std::atomic<HWND> m_hWnd{nullptr};
    std::atomic<int> m_applyPasses{0};
    PassTurns m_turns;
    RememberedTempDir m_detectTempDir;
    RememberedTempDir m_applyTempDir;
};

// Takes over the reference that the starter of a pass gave it.
class SurfaceRef {
public:
    explicit SurfaceRef(void* adopted) : m_p(static_cast<MainDialogSurface*>(adopted)) {}
    ~SurfaceRef() { m_p->Release(); }
    SurfaceRef(const SurfaceRef&) = delete;
    SurfaceRef& operator=(const SurfaceRef&) = delete;

    MainDialogSurface* operator->() const { return m_p; }
    MainDialogSurface& operator*() const { return *m_p; }

private:
    MainDialogSurface* m_p;
};
