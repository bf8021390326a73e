#include "drive_directories.h"

#include <windows.h>

#include <cwctype>

namespace {

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    return full;
}

// The upper-case drive letter of "X:..." or 0 (a UNC path has none).
wchar_t DriveOf(const std::wstring& path)
{
    if (path.size() < 2 || path[1] != L':' || !std::iswalpha(path[0]))
        return 0;
    return static_cast<wchar_t>(std::towupper(path[0]));
}

std::wstring DriveVariable(wchar_t letter)
{
    return std::wstring(L"=") + letter + L":";
}

std::wstring RootOf(wchar_t letter)
{
    return std::wstring(1, letter) + L":\\";
}

// "C:\x\ice\" -> "C:\x\ice"; a root keeps its backslash.
std::wstring WithoutTrailingBackslash(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeCurrent(const std::wstring& directory)
{
    if (!SetCurrentDirectoryW(directory.c_str()))
        return false;
    RememberCurrentDirectory();
    return true;
}

}  // namespace

std::wstring CurrentDirectory()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, directory.data());
    directory.resize(length < size ? length : 0);
    return directory;
}

void RememberCurrentDirectory()
{
    const std::wstring current = CurrentDirectory();
    if (const wchar_t letter = DriveOf(current))
        SetEnvironmentVariableW(DriveVariable(letter).c_str(), current.c_str());
}

std::wstring DriveDirectory(wchar_t letter)
{
    letter = static_cast<wchar_t>(std::towupper(letter));
    const std::wstring name = DriveVariable(letter);
    const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0)
        return RootOf(letter);
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), size);
    if (length == 0 || length >= size)
        return RootOf(letter);
    value.resize(length);
    return value;
}

bool SwitchToDrive(wchar_t letter)
{
    letter = static_cast<wchar_t>(std::towupper(letter));
    // A remembered directory that has gone since leaves the drive's root.
    return MakeCurrent(DriveDirectory(letter)) || MakeCurrent(RootOf(letter));
}

bool ChangeDirectory(const std::wstring& path, bool switchDrive)
{
    const std::wstring full = WithoutTrailingBackslash(FullPath(path));
    if (full.empty() || !IsDirectory(full))
        return false;
    const wchar_t drive = DriveOf(full);
    if (switchDrive || drive == 0 || drive == DriveOf(CurrentDirectory()))
        return MakeCurrent(full);
    return SetEnvironmentVariableW(DriveVariable(drive).c_str(), full.c_str()) != FALSE;
}
