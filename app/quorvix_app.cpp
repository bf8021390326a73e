#include "app/quorvix.h"

#include <commctrl.h>

// Compiled with -fexec-charset=GBK.
static constexpr char kRegistryKey[] = "应用程序向导生成的本地应用程序";

// The one application object.
CQuorvixApp theApp;

BEGIN_MESSAGE_MAP(CQuorvixApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CQuorvixApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(kRegistryKey);

    CQuorvixDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // The dialog was the whole program: end instead of entering a message loop.
    return FALSE;
}
