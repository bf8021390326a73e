// The About box, opened from the main dialog's system menu.
#pragma once

#include "framework/afx_dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg() : CDialog(IDD) {}

    DECLARE_MESSAGE_MAP()
};

// Appends a separator and the About entry to the window's system menu,
// unless the entry's text is missing from the string table.
void AddAboutEntry(CWnd& window);
