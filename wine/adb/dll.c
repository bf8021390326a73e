/* AdbWinApi.dll and AdbWinUsbApi.dll for Wine. The Linux adb that adb.exe
   forwards to reaches USB by itself, so these only have to be present and
   carry their version (see the .rc of each). */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
