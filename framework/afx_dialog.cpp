#include "framework/afx_dialog.h"

#include "framework/afx_app.h"

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* mainWnd = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
        if (mainWnd && mainWnd != this)
            owner = mainWnd->m_hWnd;
    }
    const INT_PTR result =
        DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::OnInitDialog()
{
    CenterOverOwner();
    return TRUE;
}

void CDialog::CenterOverOwner()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner || (::GetWindowLongA(m_hWnd, GWL_STYLE) & DS_CENTER))
        return;
    RECT box, over;
    ::GetWindowRect(m_hWnd, &box);
    ::GetWindowRect(owner, &over);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int x = over.left + ((over.right - over.left) - width) / 2;
    const int y = over.top + ((over.bottom - over.top) - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::OnSysCommand(UINT, LPARAM)
{
    Default();
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    if (message == WM_HELP) {
        // F1: the help command goes the way of every command.
        ::PostMessageA(m_hWnd, WM_COMMAND, ID_HELP, 0);
        lResult = TRUE;
        return true;
    }
    // Commands nobody in the dialog handles go on to the application.
    if (message == WM_COMMAND && AfxGetApp())
        return AfxGetApp()->OnMessage(message, wParam, lParam, lResult);
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        return dialog->OnInitDialog();
    }
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!dialog)
        return FALSE;

    // A handler may send messages to its own window; each keeps its own flag.
    const bool outerDefault = dialog->m_bDefault;
    dialog->m_bDefault = false;
    LRESULT result = 0;
    const bool handled = dialog->OnMessage(message, wParam, lParam, result);
    const bool useDefault = !handled || dialog->m_bDefault;
    dialog->m_bDefault = outerDefault;
    if (useDefault)
        return FALSE;

    switch (message) {
    // These answer through the procedure's own result.
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}
