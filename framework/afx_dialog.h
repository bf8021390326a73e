// A dialog built from a template in the program's resources and run modally.
#pragma once

#include "framework/afx_wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
    {
    }

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // dialog could not be created. A dialog without a parent is owned by the
    // application's main window, which stays disabled while it is open.
    INT_PTR DoModal();
    void EndDialog(INT_PTR nResult) { ::EndDialog(m_hWnd, nResult); }

protected:
    // Centres a box that has an owner over that owner.
    virtual BOOL OnInitDialog();
    // Enter with no default button, the OK button: ends the dialog with IDOK.
    virtual void OnOK() { EndDialog(IDOK); }
    // Escape and the close box: ends the dialog with IDCANCEL.
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint() { Default(); }

public:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CenterOverOwner();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
