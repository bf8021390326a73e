#include "temp_dir.h"

#include <windows.h>

TempDir::TempDir()
{
    char base[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof base, base);
    if (length == 0 || length > MAX_PATH)
        return;
    static unsigned serial = 0;
    path_ = std::string(base) + "quorvix adb " + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    created_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
}

TempDir::~TempDir()
{
    if (!created_)
        return;
    WIN32_FIND_DATAA found = {};
    const HANDLE search = FindFirstFileA(Path("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(Path(found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}
