// Resource, control and command identifiers of Quorvix.exe.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_QUORVIX_DIALOG      102
#define IDR_MAINFRAME           128
#define IDR_PAYLOAD_ADB         139
#define IDR_PAYLOAD_ADBWINAPI   140
#define IDR_PAYLOAD_ADBWINUSB   141

#define IDC_NOTICE              1000
#define IDC_START               1001
#define IDC_LANG_SIMPLIFIED     1002
#define IDC_LANG_TRADITIONAL    1003
#define IDC_LANG_ENGLISH        1004
#define IDC_STATUS              1005

#define IDM_ABOUTBOX            0x0010

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif
