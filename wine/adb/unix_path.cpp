#include "wine/adb/unix_path.h"

#include <windows.h>

#include <memory>

namespace {

// kernel32 export that only Wine has; the result is allocated on the
// process heap.
using WineGetUnixFileName = char*(CDECL*)(const WCHAR*);

struct HeapFreer {
    void operator()(char* text) const { HeapFree(GetProcessHeap(), 0, text); }
};

}  // namespace

std::optional<std::string> UnixPathOf(std::wstring_view windowsPath)
{
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (!kernel32)
        return std::nullopt;
    const auto convert = reinterpret_cast<WineGetUnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "wine_get_unix_file_name")));
    if (!convert)
        return std::nullopt;

    const std::wstring terminated(windowsPath);
    const std::unique_ptr<char, HeapFreer> unixPath(convert(terminated.c_str()));
    if (!unixPath)
        return std::nullopt;
    return std::string(unixPath.get());
}
