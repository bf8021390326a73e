// Quorvix: the application object and its main dialog.
#pragma once

#include <atomic>

#include "framework/afx_app.h"
#include "framework/afx_dialog.h"
#include "framework/afx_thread.h"
#include "res/resource.h"

class MainDialogSurface;

class CQuorvixApp : public CWinApp {
public:
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

class CQuorvixDlg : public CDialog {
    // What the passes share with the dialog; declared first because
    // m_bApplied lives in it.
    MainDialogSurface* m_pSurface;

public:
    enum { IDD = IDD_QUORVIX_DIALOG };

    explicit CQuorvixDlg(CWnd* pParent = nullptr);
    ~CQuorvixDlg() override;

    HICON m_hIcon;
    // True once a locale has been applied in this run. It lives in the
    // surface the passes share, so a pass still running when the dialog is
    // gone never touches this object.
    std::atomic<BOOL>& m_bApplied;

protected:
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    void OnBnClickedStart();

    DECLARE_MESSAGE_MAP()

private:
    // Starts a pass on a worker thread of its own; nothing waits for it.
    bool StartPass(AFX_THREADPROC pass);
};
