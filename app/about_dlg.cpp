#include "app/about_dlg.h"

#include "framework/afx_string.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

void AddAboutEntry(CWnd& window)
{
    HMENU systemMenu = window.GetSystemMenu(FALSE);
    if (!systemMenu)
        return;
    const std::string text = AfxLoadString(IDS_ABOUTBOX);
    if (text.empty())
        return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text.c_str());
}
