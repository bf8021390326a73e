#include "support/pass_bench.h"

#include <tlhelp32.h>

#include <cstring>

#include "res/resource.h"

namespace {

constexpr char kClassName[] = "QuorvixPassBench";

std::string GetEnv(const char* name)
{
    char value[4096];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length && length < sizeof value ? std::string(value, length) : std::string();
}

void SetEnv(const char* name, const std::string& value)
{
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

constexpr char kBenchProp[] = "QuorvixBench";
constexpr char kOldProcProp[] = "QuorvixOldProc";

// An ANSI subclass, so WM_SETTEXT arrives with the bytes the pass sent.
LRESULT CALLBACK ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    PassBench* bench = static_cast<PassBench*>(GetPropA(hWnd, kBenchProp));
    auto oldProc = reinterpret_cast<WNDPROC>(GetPropA(hWnd, kOldProcProp));
    if (message == WM_SETTEXT && lParam)
        bench->Record({ScreenEvent::Status, reinterpret_cast<const char*>(lParam), false,
                       ChildShellRunning()});
    else if (message == WM_ENABLE)
        bench->Record({ScreenEvent::Enable, std::string(), wParam != FALSE, ChildShellRunning()});
    return CallWindowProcA(oldProc, hWnd, message, wParam, lParam);
}

void Watch(HWND control, PassBench* bench)
{
    SetPropA(control, kBenchProp, bench);
    SetPropA(control, kOldProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrA(control, GWLP_WNDPROC)));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc));
}

HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int id)
{
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

struct PassStart {
    UINT (*pass)(LPVOID);
    MainDialogSurface* surface;
};

DWORD WINAPI PassThread(LPVOID param)
{
    PassStart start = *static_cast<PassStart*>(param);
    delete static_cast<PassStart*>(param);
    return start.pass(start.surface);
}

}  // namespace

PassBench::PassBench(const std::string& scenario) : m_surface(new MainDialogSurface)
{
    m_savedTmp = GetEnv("TMP");
    m_savedTemp = GetEnv("TEMP");
    SetEnv("TMP", m_temp.Path());
    SetEnv("TEMP", m_temp.Path());
    WriteFileBytes(m_temp.Path() + "scenario.txt", scenario);
    SetEnv("QUORVIX_ADB_SCENARIO", m_temp.Path() + "scenario.txt");
    SetEnv("QUORVIX_ADB_LOG", m_temp.Path() + "adb.log");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when an earlier bench registered it
    m_window = CreateWindowExA(0, kClassName, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND start = AddControl(m_window, "BUTTON", "start", BS_PUSHBUTTON | WS_TABSTOP, IDC_START);
    AddControl(m_window, "BUTTON", "zh-CN", BS_AUTORADIOBUTTON | WS_GROUP, IDC_LANG_SIMPLIFIED);
    AddControl(m_window, "BUTTON", "zh-TW", BS_AUTORADIOBUTTON, IDC_LANG_TRADITIONAL);
    AddControl(m_window, "BUTTON", "en-US", BS_AUTORADIOBUTTON, IDC_LANG_ENGLISH);
    HWND status = AddControl(m_window, "EDIT", "", ES_READONLY, IDC_STATUS);
    Watch(start, this);
    Watch(status, this);
    m_surface->Attach(m_window);
}

PassBench::~PassBench()
{
    m_surface->Detach();
    m_surface->Release();
    DestroyWindow(m_window);
    SetEnv("TMP", m_savedTmp);
    SetEnv("TEMP", m_savedTemp);
    SetEnv("QUORVIX_ADB_SCENARIO", "");
    SetEnv("QUORVIX_ADB_LOG", "");
}

HANDLE PassBench::Start(UINT (*pass)(LPVOID))
{
    m_surface->AddRef();
    return CreateThread(nullptr, 0, PassThread, new PassStart{pass, m_surface}, 0, nullptr);
}

DWORD PassBench::Finish(HANDLE thread, DWORD timeoutMs)
{
    const DWORD deadline = GetTickCount() + timeoutMs;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_TIMEOUT)
            break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    DWORD result = STILL_ACTIVE;
    GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    return result;
}

void PassBench::Pump(DWORD ms)
{
    const DWORD until = GetTickCount() + ms;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::vector<std::string> PassBench::AdbCalls() const
{
    std::vector<std::string> calls;
    const std::string log = ReadFileBytes(m_temp.Path() + "adb.log");
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        calls.push_back(log.substr(start, end - start));
        start = end + 1;
    }
    return calls;
}

std::string PassBench::StatusText() const
{
    char text[1024] = {};
    GetWindowTextA(GetDlgItem(m_window, IDC_STATUS), text, sizeof text);
    return text;
}

bool ChildShellRunning()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !running;
         more = Process32Next(snapshot, &entry)) {
        const char* name = std::strrchr(entry.szExeFile, '\\');
        name = name ? name + 1 : entry.szExeFile;
        running = entry.th32ParentProcessID == GetCurrentProcessId() && lstrcmpiA(name, "cmd.exe") == 0;
    }
    CloseHandle(snapshot);
    return running;
}
