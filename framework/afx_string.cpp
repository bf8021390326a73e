#include "framework/afx_string.h"

#include "framework/afx_app.h"

std::string AfxLoadString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out a pointer to the
    // resource's own UTF-16 text, which is not NUL-terminated.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(AfxGetInstanceHandle(), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], bytes, nullptr, nullptr);
    return result;
}
