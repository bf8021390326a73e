// Quorvix.exe's resources as the system reads them: the two dialog
// templates, the string table, the icon, the version record, the manifest
// and the payloads, each under its language.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);         // 1033

std::wstring Utf16(const char* utf8)
{
    wchar_t wide[512];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    return std::wstring(wide, n > 0 ? n - 1 : 0);
}

class QuorvixResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string path = "Z:" QUORVIX_EXE_UNIX_PATH;
        for (char& c : path)
            if (c == '/')
                c = '\\';
        module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module); }

    static const BYTE* Find(LPCSTR type, LPCSTR name, WORD language, DWORD* size = nullptr)
    {
        HRSRC found = FindResourceExA(module, type, name, language);
        if (!found)
            return nullptr;
        if (size)
            *size = SizeofResource(module, found);
        return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    }

    static HMODULE module;
};
HMODULE QuorvixResources::module = nullptr;

// A reader over a dialog template's words.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* p) : m_p(p) {}
    WORD Word() { WORD w; memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, m_p, 4); m_p += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return *m_p++; }
    // A string, or an ordinal written as "#n".
    std::wstring SzOrOrd()
    {
        if (Word() == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        m_p -= 2;
        std::wstring s;
        for (WORD c; (c = Word()) != 0;)
            s += static_cast<wchar_t>(c);
        return s;
    }
    void AlignDword(const BYTE* base) { while ((m_p - base) % 4) ++m_p; }
    void Skip(size_t n) { m_p += n; }

private:
    const BYTE* m_p;
};

struct Control {
    DWORD exStyle, style;
    short x, y, cx, cy;
    int id;
    std::wstring cls, text;
};

struct Dialog {
    DWORD exStyle, style;
    short x, y, cx, cy;
    std::wstring menu, cls, caption, font;
    WORD points, weight;
    BYTE italic, charset;
    std::vector<Control> controls;
};

Dialog ReadDialog(const BYTE* base)
{
    TemplateReader r(base);
    Dialog d;
    EXPECT_EQ(r.Word(), 1);       // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);  // extended template
    r.Dword();                    // help id
    d.exStyle = r.Dword();
    d.style = r.Dword();
    const WORD count = r.Word();
    d.x = r.Short(), d.y = r.Short(), d.cx = r.Short(), d.cy = r.Short();
    d.menu = r.SzOrOrd();
    d.cls = r.SzOrOrd();
    d.caption = r.SzOrOrd();
    d.points = r.Word(), d.weight = r.Word(), d.italic = r.Byte(), d.charset = r.Byte();
    d.font = r.SzOrOrd();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(base);
        Control c;
        r.Dword();  // help id
        c.exStyle = r.Dword();
        c.style = r.Dword();
        c.x = r.Short(), c.y = r.Short(), c.cx = r.Short(), c.cy = r.Short();
        c.id = static_cast<int>(r.Dword());
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        r.Skip(r.Word());
        d.controls.push_back(c);
    }
    return d;
}

// The system's atoms for the standard control classes.
const std::wstring kButton = L"#128", kEdit = L"#129", kStatic = L"#130";

void ExpectControls(const Dialog& d, const std::vector<Control>& expected)
{
    ASSERT_EQ(d.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Control& a = d.controls[i];
        const Control& e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(a.id, e.id);
        EXPECT_TRUE(a.cls == e.cls || (e.cls == kButton && a.cls == L"BUTTON") ||
                    (e.cls == kEdit && a.cls == L"EDIT") || (e.cls == kStatic && a.cls == L"STATIC"));
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.style, e.style) << std::hex << a.style;
        EXPECT_EQ(a.exStyle, e.exStyle);
        EXPECT_EQ(a.x, e.x);
        EXPECT_EQ(a.y, e.y);
        EXPECT_EQ(a.cx, e.cx);
        EXPECT_EQ(a.cy, e.cy);
    }
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(QuorvixResources, MainDialogTemplate)
{
    const BYTE* t = Find(RT_DIALOG, MAKEINTRESOURCEA(IDD_QUORVIX_DIALOG), kChinese);
    ASSERT_NE(t, nullptr);
    const Dialog d = ReadDialog(t);
    EXPECT_EQ(d.style, 0x90CA18C8u);
    EXPECT_EQ(d.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, 250);
    EXPECT_EQ(d.cy, 139);
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.cls, L"");
    EXPECT_EQ(d.caption, Utf16("【Korvanta-Miraluna】HTC 一键设置语言"));
    EXPECT_EQ(d.font, L"MS Shell Dlg");
    EXPECT_EQ(d.points, 9);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, 1);
    ExpectControls(d, {
        {0, kChild | BS_PUSHBUTTON | WS_TABSTOP, 192, 119, 50, 14, 1001, kButton, Utf16("一键设置语言")},
        {WS_EX_TRANSPARENT, kChild | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP,
         6, 11, 234, 59, 1000, kEdit, L""},
        {0, kChild | BS_GROUPBOX, 5, 85, 240, 24, IDC_STATIC, kButton, L""},
        {0, kChild | BS_AUTORADIOBUTTON, 15, 93, 43, 10, 1002, kButton, Utf16("简体中文")},
        {0, kChild | BS_AUTORADIOBUTTON, 95, 93, 43, 10, 1003, kButton, Utf16("繁体中文")},
        {0, kChild | BS_AUTORADIOBUTTON, 187, 93, 30, 10, 1004, kButton, Utf16("英文")},
        {WS_EX_TRANSPARENT, kChild | ES_READONLY | WS_TABSTOP, 6, 122, 165, 12, 1005, kEdit, L""},
    });
}

TEST_F(QuorvixResources, AboutBoxTemplate)
{
    const BYTE* t = Find(RT_DIALOG, MAKEINTRESOURCEA(IDD_ABOUTBOX), kChinese);
    ASSERT_NE(t, nullptr);
    const Dialog d = ReadDialog(t);
    EXPECT_EQ(d.style, 0x80C800C8u);
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.cx, 170);
    EXPECT_EQ(d.cy, 62);
    EXPECT_EQ(d.caption, Utf16("关于 Quorvix"));
    EXPECT_EQ(d.font, L"MS Shell Dlg");
    EXPECT_EQ(d.charset, 1);
    ASSERT_EQ(d.controls.size(), 4u);
    EXPECT_EQ(d.controls[0].text, L"#128");
    EXPECT_EQ(d.controls[0].style, kChild | SS_ICON);
    EXPECT_EQ(d.controls[1].text, Utf16("Quorvix，1.0 版"));
    EXPECT_EQ(d.controls[1].style, kChild | SS_LEFT | SS_NOPREFIX | WS_GROUP);
    EXPECT_EQ(d.controls[2].style, kChild | SS_LEFT | WS_GROUP);
    EXPECT_EQ(d.controls[3].id, IDOK);
    EXPECT_EQ(d.controls[3].text, Utf16("确定"));
    EXPECT_EQ(d.controls[3].style, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
    const short rects[4][4] = {{14, 14, 21, 20}, {42, 14, 114, 8}, {42, 26, 114, 8}, {113, 41, 50, 14}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.controls[i].x, rects[i][0]) << i;
        EXPECT_EQ(d.controls[i].y, rects[i][1]) << i;
        EXPECT_EQ(d.controls[i].cx, rects[i][2]) << i;
        EXPECT_EQ(d.controls[i].cy, rects[i][3]) << i;
        EXPECT_EQ(d.controls[i].exStyle, 0u) << i;
    }
}

TEST_F(QuorvixResources, StringTableHoldsOnlyTheAboutEntry)
{
    // Strings 96..111 form block 7; 101 is the sixth of them.
    DWORD size = 0;
    const BYTE* block = Find(RT_STRING, MAKEINTRESOURCEA(101 / 16 + 1), kChinese, &size);
    ASSERT_NE(block, nullptr);
    TemplateReader r(block);
    for (int i = 0; i < 16; ++i) {
        const WORD length = r.Word();
        std::wstring text;
        for (WORD j = 0; j < length; ++j)
            text += static_cast<wchar_t>(r.Word());
        EXPECT_EQ(text, i == 101 % 16 ? Utf16("关于 Quorvix(&A)...") : L"") << i;
    }
    int blocks = 0;
    EnumResourceNamesA(module, RT_STRING,
                       [](HMODULE, LPCSTR, LPSTR, LONG_PTR count) -> BOOL {
                           ++*reinterpret_cast<int*>(count);
                           return TRUE;
                       },
                       reinterpret_cast<LONG_PTR>(&blocks));
    EXPECT_EQ(blocks, 1);
}

TEST_F(QuorvixResources, IconHasSixThirtyTwoBitImages)
{
    const BYTE* group = Find(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME), kChinese);
    ASSERT_NE(group, nullptr);
    TemplateReader r(group);
    r.Word();
    EXPECT_EQ(r.Word(), 1);  // icons
    const WORD count = r.Word();
    ASSERT_EQ(count, 6);
    const int sizes[] = {128, 72, 64, 48, 32, 16};
    for (int i = 0; i < count; ++i) {
        const BYTE width = r.Byte(), height = r.Byte();
        r.Byte(), r.Byte();
        r.Word();  // planes
        EXPECT_EQ(r.Word(), 32);
        r.Dword();
        const WORD id = r.Word();
        EXPECT_EQ(width, sizes[i]);
        EXPECT_EQ(height, sizes[i]);
        const BYTE* image = Find(RT_ICON, MAKEINTRESOURCEA(id), kChinese);
        ASSERT_NE(image, nullptr);
        BITMAPINFOHEADER header;
        memcpy(&header, image, sizeof header);
        EXPECT_EQ(header.biSize, sizeof header);  // a DIB, not a PNG
        EXPECT_EQ(header.biWidth, sizes[i]);
        EXPECT_EQ(header.biBitCount, 32);
    }
}

TEST_F(QuorvixResources, VersionManifestAndPayloads)
{
    DWORD size = 0;
    const BYTE* version = Find(RT_VERSION, MAKEINTRESOURCEA(1), kChinese, &size);
    ASSERT_NE(version, nullptr);
    const std::wstring text(reinterpret_cast<const wchar_t*>(version), size / 2);
    EXPECT_NE(text.find(L"080403a4"), std::wstring::npos);
    for (const wchar_t* expected : {L"FileVersion", L"1.0.0.1", L"InternalName", L"OriginalFilename", L"Quorvix.exe"})
        EXPECT_NE(text.find(expected), std::wstring::npos) << expected;
    VS_FIXEDFILEINFO fixed;
    const size_t at = text.find(L"VS_VERSION_INFO") * 2 + sizeof(L"VS_VERSION_INFO");
    memcpy(&fixed, version + ((at + 3) & ~size_t{3}), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));

    const BYTE* manifest = Find(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), kEnglishUs, &size);
    ASSERT_NE(manifest, nullptr);
    const std::string xml(reinterpret_cast<const char*>(manifest), size);
    EXPECT_NE(xml.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(xml.find("dependency"), std::string::npos);
    EXPECT_EQ(xml.find("Common-Controls"), std::string::npos);

    for (int id : {IDR_PAYLOAD_ADB, IDR_PAYLOAD_ADBWINAPI, IDR_PAYLOAD_ADBWINUSB}) {
        EXPECT_NE(Find("myfile", MAKEINTRESOURCEA(id), kChinese, &size), nullptr) << id;
        EXPECT_GT(size, 0u);
    }
}

}  // namespace
