#include "framework/afx_app.h"

namespace {

// The application object is a global constructed before WinMain; this is
// how WinMain and the dialogs find it.
CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleA(nullptr);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
