#include "wine/adb/run_files.h"

#include <windows.h>

RunFiles::RunFiles()
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return;
    if (GetTempFileNameW(folder, L"qad", 0, name) == 0)
        return;
    base_ = name;
}

RunFiles::~RunFiles()
{
    if (!created())
        return;
    for (const std::string_view suffix : {kOutput, kDone, kPending})
        DeleteFileW(Named(suffix).c_str());
    DeleteFileW(base_.c_str());
}

std::wstring RunFiles::Named(std::string_view suffix) const
{
    return base_ + std::wstring(suffix.begin(), suffix.end());
}
