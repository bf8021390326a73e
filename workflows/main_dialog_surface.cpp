#include "workflows/main_dialog_surface.h"

#include "res/resource.h"

void MainDialogSurface::SetStatus(const char* text)
{
    if (HWND dialog = m_hWnd.load())
        SetWindowTextA(GetDlgItem(dialog, IDC_STATUS), text);
}

void MainDialogSurface::EnableStart(bool enable)
{
    if (HWND dialog = m_hWnd.load())
        EnableWindow(GetDlgItem(dialog, IDC_START), enable ? TRUE : FALSE);
}

bool MainDialogSurface::IsChecked(int controlId)
{
    HWND dialog = m_hWnd.load();
    return dialog && IsDlgButtonChecked(dialog, controlId) == BST_CHECKED;
}
