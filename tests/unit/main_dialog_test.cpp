// The main dialog in this process: what can only be seen from inside it
// (Wine does not let another process read a window's menu). Compiled as GBK.
#include <gtest/gtest.h>

#include <thread>

#include "app/quorvix.h"
#include "support/pass_bench.h"
#include "support/scratch_dir.h"

namespace {

// The dialog looks for the application object; this test has none of its own.
class TestApp : public CWinApp {};
TestApp theTestApp;

HWND WaitForDialog(DWORD threadId)
{
    for (int i = 0; i < 400; ++i) {
        HWND found = nullptr;
        EnumThreadWindows(threadId, [](HWND hwnd, LPARAM out) -> BOOL {
            // The notice is set after the menu entry: initialisation is done.
            if (GetDlgItem(hwnd, IDC_STATUS) && GetWindowTextLengthA(GetDlgItem(hwnd, IDC_NOTICE)) > 0) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&found));
        if (found)
            return found;
        Sleep(25);
    }
    return nullptr;
}

TEST(MainDialog, SystemMenuEndsWithSeparatorAndAboutEntry)
{
    ScratchDir temp;
    SetEnvironmentVariableA("TMP", temp.Path().c_str());
    SetEnvironmentVariableA("TEMP", temp.Path().c_str());
    const std::string adbLog = temp.Path() + "adb.log";
    SetEnvironmentVariableA("QUORVIX_ADB_LOG", adbLog.c_str());

    const DWORD dialogThread = GetCurrentThreadId();
    int count = 0;
    UINT separatorType = 0, entryId = 0;
    char entry[128] = {};
    std::thread inspector([&] {
        HWND dialog = WaitForDialog(dialogThread);
        if (!dialog)
            return;
        HMENU menu = GetSystemMenu(dialog, FALSE);
        count = GetMenuItemCount(menu);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, count - 2, TRUE, &info);
        separatorType = info.fType;
        entryId = GetMenuItemID(menu, count - 1);
        GetMenuStringA(menu, count - 1, entry, sizeof entry, MF_BYPOSITION);
        // Close it while its first detection pass is still running.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });

    CQuorvixDlg dlg;
    theTestApp.m_pMainWnd = &dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    theTestApp.m_pMainWnd = nullptr;
    inspector.join();
    // The dialog's first detection pass goes on without it; let it finish
    // (it no longer reaches the window) so this console process ends with
    // nothing of it running.
    for (int i = 0; i < 300 && ReadFileBytes(adbLog).find("devices") == std::string::npos; ++i)
        Sleep(50);
    for (int i = 0; i < 200 && ChildShellRunning(); ++i)
        Sleep(50);
    EXPECT_NE(ReadFileBytes(adbLog).find("devices"), std::string::npos);
    EXPECT_FALSE(ChildShellRunning());
    SetEnvironmentVariableA("QUORVIX_ADB_LOG", nullptr);

    ASSERT_GE(count, 2);
    EXPECT_TRUE(separatorType & MFT_SEPARATOR);
    EXPECT_EQ(entryId, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_STREQ(entry, "关于 Quorvix(&A)...");
}

}  // namespace
