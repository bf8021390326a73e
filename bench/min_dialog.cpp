// The smallest useful Win32 dialog program: one modal dialog built from an
// in-memory template (caption, a line of text, an OK button), nothing else.
// scripts/bench starts it the way it starts Quorvix.exe and compares the
// time each takes to show its window.
#include <windows.h>

#include <cstring>

namespace {

// DLGTEMPLATE and DLGITEMTEMPLATE records are WORD-aligned, items DWORD-aligned.
class TemplateWriter {
public:
    explicit TemplateWriter(WORD* buffer) : m_at(buffer), m_start(buffer) {}

    void Word(WORD value) { *m_at++ = value; }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text)
    {
        do
            Word(static_cast<WORD>(*text));
        while (*text++);
    }
    void AlignDword()
    {
        if ((m_at - m_start) % 2)
            Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const wchar_t* text)
    {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);  // extended style
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);  // predefined class by atom
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }

private:
    WORD* m_at;
    WORD* m_start;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    alignas(4) static WORD buffer[512];
    std::memset(buffer, 0, sizeof buffer);
    TemplateWriter t(buffer);
    t.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_VISIBLE | WS_CAPTION |
            WS_SYSMENU);
    t.Dword(0);  // extended style
    t.Word(2);   // items
    t.Word(0);   // x
    t.Word(0);   // y
    t.Word(160);
    t.Word(60);
    t.Word(0);  // no menu
    t.Word(0);  // standard dialog class
    t.Text(L"min_dialog");
    t.Word(9);
    t.Text(L"MS Shell Dlg");
    t.Item(SS_LEFT, 10, 10, 140, 10, 1000, kStaticAtom, L"A minimal dialog.");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 100, 38, 50, 14, IDOK, kButtonAtom, L"OK");
    return static_cast<int>(DialogBoxIndirectParamW(
        instance, reinterpret_cast<LPCDLGTEMPLATEW>(buffer), nullptr, DialogProc, 0));
}
