// A window as the framework sees it: its handle and its message map.
#pragma once

#include "framework/afx_msgmap.h"

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL ShowWindow(int nCmdShow) const { return ::ShowWindow(m_hWnd, nCmdShow); }
    void SetIcon(HICON hIcon, BOOL bBigIcon) const
    {
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    }

    // Called from a handler: the message also gets the system's default
    // processing once the handler returns.
    void Default() { m_bDefault = true; }

protected:
    bool m_bDefault = false;
};
