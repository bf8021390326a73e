// The application object: one global instance whose InitInstance runs when
// the program starts. Returning FALSE from it ends the program.
#pragma once

#include "framework/afx_wnd.h"

// The help command that F1 raises.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The message loop, for applications whose InitInstance returns TRUE.
    virtual int Run();

    // Names the registry key for profile settings. The key is only kept:
    // nothing is read or written under it.
    void SetRegistryKey(const char* lpszRegistryKey) { m_pszRegistryKey = lpszRegistryKey; }
    const char* m_pszRegistryKey = nullptr;

    // The help command's handler. The program ships no help file, so there
    // is nothing to show.
    void OnHelp() {}

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

// The one application object, registered by its constructor.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// Support for hosting ActiveX controls in dialogs. No dialog of this
// framework hosts one, so there is nothing to set up; kept so that
// InitInstance reads as the start-up sequence it is.
inline void AfxEnableControlContainer() {}
