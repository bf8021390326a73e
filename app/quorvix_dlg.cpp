#include "app/about_dlg.h"
#include "app/notice_text.h"
#include "app/quorvix.h"
#include "framework/afx_paint.h"
#include "workflows/apply_pass.h"
#include "workflows/detect_pass.h"
#include "workflows/main_dialog_surface.h"

namespace {

constexpr UINT kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
constexpr UINT kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE

}  // namespace

CQuorvixDlg::CQuorvixDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_pSurface(new MainDialogSurface),
      m_hIcon(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_bApplied(m_pSurface->m_bApplied)
{
}

CQuorvixDlg::~CQuorvixDlg()
{
    // Passes still running keep the surface alive but no longer reach the
    // dialog.
    m_pSurface->Detach();
    m_pSurface->Release();
}

BEGIN_MESSAGE_MAP(CQuorvixDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DEVICECHANGE()
    ON_BN_CLICKED(IDC_START, &CQuorvixDlg::OnBnClickedStart)
END_MESSAGE_MAP()

BOOL CQuorvixDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pSurface->Attach(m_hWnd);

    AddAboutEntry(*this);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    ShowWindow(SW_SHOWNORMAL);

    SetWindowTextA(GetDlgItem(IDC_NOTICE), BuildNoticeText().c_str());
    StartPass(DetectThreadProc);
    return TRUE;
}

void CQuorvixDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CQuorvixDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CQuorvixDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

BOOL CQuorvixDlg::OnDeviceChange(UINT nEventType, DWORD_PTR)
{
    // Any device counts: what came or went is not looked at.
    if (nEventType == kDeviceArrival || nEventType == kDeviceRemoveComplete)
        StartPass(DetectThreadProc);
    return FALSE;
}

void CQuorvixDlg::OnBnClickedStart()
{
    EnableWindow(GetDlgItem(IDC_START), FALSE);
    // Until the apply pass ends, detection passes leave the button alone.
    m_pSurface->BeginApply();
    if (!StartPass(ApplyThreadProc))
        m_pSurface->EndApply();
}

bool CQuorvixDlg::StartPass(AFX_THREADPROC pass)
{
    // The pass gets a reference of its own and releases it when it ends.
    m_pSurface->AddRef();
    if (AfxBeginThread(pass, m_pSurface))
        return true;
    m_pSurface->Release();
    return false;
}
