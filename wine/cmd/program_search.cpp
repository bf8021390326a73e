#include "program_search.h"

#include <windows.h>

namespace {

bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/' || c == L':';
}

bool HoldsPath(const std::wstring& name)
{
    for (wchar_t c : name)
        if (IsPathSeparator(c))
            return true;
    return false;
}

// A dot in the last path component, with something after it.
bool HasExtension(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot + 1 == name.size())
        return false;
    for (size_t i = dot + 1; i < name.size(); ++i)
        if (IsPathSeparator(name[i]))
            return false;
    return true;
}

std::wstring Join(const std::wstring& directory, const std::wstring& name)
{
    if (directory.empty() || IsPathSeparator(directory.back()))
        return directory + name;
    return directory + L"\\" + name;
}

std::wstring EnvironmentVariable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// The full path of `candidate` when it is an existing file (not a directory).
std::wstring ExistingFile(const std::wstring& candidate)
{
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(candidate.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return {};
    const DWORD attributes = GetFileAttributesW(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return std::wstring(full, length);
}

}  // namespace

std::vector<std::wstring> ProgramFileNames(const std::wstring& name)
{
    std::vector<std::wstring> names;
    if (name.empty())
        return names;
    if (HasExtension(name))
        names.push_back(name);
    names.push_back(name + L".com");
    names.push_back(name + L".exe");
    return names;
}

std::vector<std::wstring> SplitSearchPath(const std::wstring& pathVariable)
{
    std::vector<std::wstring> directories;
    std::wstring entry;
    bool quoted = false;
    for (size_t i = 0; i <= pathVariable.size(); ++i) {
        const wchar_t c = i < pathVariable.size() ? pathVariable[i] : L';';
        if (c == L'"') {
            quoted = !quoted;
        } else if (c == L';' && !quoted) {
            if (!entry.empty())
                directories.push_back(entry);
            entry.clear();
        } else {
            entry += c;
        }
    }
    return directories;
}

std::wstring FindProgram(const std::wstring& name)
{
    // The empty directory stands for the current one.
    std::vector<std::wstring> directories{L""};
    if (!HoldsPath(name)) {
        for (const std::wstring& directory : SplitSearchPath(EnvironmentVariable(L"PATH")))
            directories.push_back(directory);
    }
    const std::vector<std::wstring> names = ProgramFileNames(name);
    for (const std::wstring& directory : directories) {
        for (const std::wstring& fileName : names) {
            const std::wstring found = ExistingFile(Join(directory, fileName));
            if (!found.empty())
                return found;
        }
    }
    return {};
}
