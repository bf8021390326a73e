// The two DLLs load and carry version 2.0.0.0.
#include "wine/adb/tests/build_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct LibraryFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using UniqueLibrary = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

TEST(AdbDlls, LoadAndCarryVersion2)
{
    for (const char* dll : {QUORVIX_ADBWINAPI_DLL, QUORVIX_ADBWINUSBAPI_DLL}) {
        SCOPED_TRACE(dll);
        const std::wstring path = FromBuildTree(dll);

        const UniqueLibrary library(LoadLibraryW(path.c_str()));
        EXPECT_TRUE(library) << "LoadLibrary error " << GetLastError();

        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource";
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed),
                                   &fixedSize));
        ASSERT_GE(fixedSize, sizeof(VS_FIXEDFILEINFO));

        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 2));
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 2));
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    }
}

}  // namespace
