// Files of this build tree, which CMake names by their Unix paths, as the
// Windows paths Wine reaches them by (drive Z: is the Unix root).
#pragma once

#include <string>

inline std::wstring FromBuildTree(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path;
}
