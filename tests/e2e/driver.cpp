// Drives a running Quorvix.exe from outside, the way a user would, for the
// end-to-end tests: one command per run, its answer on standard output.
// Texts travel as hex so GBK bytes survive any console code page.
//
//   launch EXE TEMPDIR [NAME=VALUE...]   start EXE with TEMP/TMP and more variables; prints "pid N"
//   window PID MS                        wait for PID's dialog; prints "hwnd H"
//   text H ID                            WM_GETTEXT of control ID (0: the window); prints "text HEX"
//   state H                              "enabled E checked C1 C2 C3 window W" of the main controls
//   click H ID                           BM_CLICK on control ID
//   devchange H TYPE                     WM_DEVICECHANGE with event TYPE; prints the result
//   burst H COUNT MS                     COUNT arrivals/removals spread over MS milliseconds
//   syscommand H ID                      posts WM_SYSCOMMAND ID (the About box is modal)
//   key H esc|enter                      a key press sent to the dialog
//   owned H MS                           wait for a window owned by H; prints "hwnd A rect L T R B"
//   rect H                               prints "rect L T R B"
//   wait-exit PID MS                     prints "exit CODE" or "running"
//   children PID                         prints "proc PID NAME" for each process PID started
//   kill PID                             ends PID
//   hold FILE                            writes its own pid to FILE and stays until killed: a
//                                        virtual desktop closes soon after its last program
//   counts PID                           prints "handles N threads M" of PID
//   proccounts PID                       "handles N threads M" of PID from the system's process
//                                        list (Wine's GetProcessHandleCount, used by counts,
//                                        always answers 0)
//
// Timed commands for scripts/bench; the clock runs inside one process, so a
// Wine process start does not blur the times (milliseconds, 0.1 resolution):
//   launchwait EXE TEMPDIR MS [NAME=VALUE...]  start EXE as launch does, wait for its first
//                                        visible window; prints "pid N hwnd H ms V answered A"
//                                        (V: visible, A: its thread has answered a message)
//   waitstatus H HEX MS                  wait until the status (1005) reads HEX; prints "ms T"
//   clickwait H ID HEX MS                BM_CLICK on ID, then wait for a status change that ends
//                                        at HEX; prints "ms T first F" (F: first new status)
//   devchangewait H TYPE HEX MS          the same after WM_DEVICECHANGE with event TYPE
// A wait that runs out prints "timeout T last HEX" (the status it last read).
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND ParseHwnd(const char* text)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoull(text, nullptr, 0)));
}

int Fail(const char* why)
{
    std::printf("error %s\n", why);
    return 1;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

// Starts EXE with TEMP and TMP set to TEMPDIR and the NAME=VALUE pairs from
// argv[first] on, and without standard handles: the program must not keep
// this command's output pipe open after the command has ended.
bool StartProgram(const char* exe, const char* tempDir, int argc, char** argv, int first,
                  DWORD* pid)
{
    SetEnvironmentVariableA("TEMP", tempDir);
    SetEnvironmentVariableA("TMP", tempDir);
    for (int i = first; i < argc; ++i) {
        std::string pair = argv[i];
        const size_t eq = pair.find('=');
        if (eq != std::string::npos)
            SetEnvironmentVariableA(pair.substr(0, eq).c_str(), pair.substr(eq + 1).c_str());
    }
    std::string command = std::string("\"") + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    *pid = pi.dwProcessId;
    return true;
}

int Launch(int argc, char** argv)
{
    DWORD pid = 0;
    if (argc < 4)
        return Fail("usage");
    if (!StartProgram(argv[2], argv[3], argc, argv, 4, &pid))
        return Fail("create");
    std::printf("pid %lu\n", pid);
    return 0;
}

struct WindowSearch {
    DWORD pid;
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindMainDialog(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && GetDlgItem(hwnd, 1005) && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindOwned(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (GetWindow(hwnd, GW_OWNER) == search->owner && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int WaitForWindow(WindowSearch search, WNDENUMPROC finder, DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        EnumWindows(finder, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            RECT r;
            GetWindowRect(search.found, &r);
            std::printf("hwnd %llu rect %ld %ld %ld %ld\n",
                        static_cast<unsigned long long>(reinterpret_cast<INT_PTR>(search.found)),
                        r.left, r.top, r.right, r.bottom);
            return 0;
        }
        Sleep(50);
    } while (GetTickCount() - start < ms);
    return Fail("nowindow");
}

std::string ControlText(HWND hwnd, int id)
{
    HWND control = id ? GetDlgItem(hwnd, id) : hwnd;
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length);
    std::vector<char> text(length + 1);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_BLOCK, 5000, &copied);
    return std::string(text.data(), copied);
}

int Key(HWND hwnd, const char* which)
{
    const WPARAM vk = std::strcmp(which, "esc") == 0 ? VK_ESCAPE : VK_RETURN;
    // The dialog's own message loop hands keys to the dialog manager.
    PostMessageA(hwnd, WM_KEYDOWN, vk, 1);
    PostMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
    return 0;
}

int WaitExit(DWORD pid, DWORD ms)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) {
        std::printf("exit gone\n");
        return 0;
    }
    const DWORD waited = WaitForSingleObject(process, ms);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (waited == WAIT_TIMEOUT)
        std::printf("running\n");
    else
        std::printf("exit %lu\n", code);
    return 0;
}

int Children(DWORD parent)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent)
            std::printf("proc %lu %s\n", entry.th32ProcessID, entry.szExeFile);
    }
    CloseHandle(snapshot);
    return 0;
}

int Counts(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    DWORD handles = 0;
    if (!process || !GetProcessHandleCount(process, &handles))
        return Fail("process");
    CloseHandle(process);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        threads += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    std::printf("handles %lu threads %lu\n", handles, threads);
    return 0;
}

// Timing for scripts/bench.

constexpr DWORD kStatusId = 1005;
constexpr DWORD kStatusPollMs = 5;

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double MsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now().QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

std::string Unhex(const char* hex)
{
    std::string bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        bytes += static_cast<char>(std::strtoul(std::string(hex + i, 2).c_str(), nullptr, 16));
    return bytes;
}

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Starts the program the way `launch` does and times it until its first
// window is visible, then until that window's thread takes a message.
int LaunchWait(int argc, char** argv)
{
    if (argc < 5)
        return Fail("usage");
    const DWORD limit = std::strtoul(argv[4], nullptr, 10);
    DWORD pid = 0;
    const LARGE_INTEGER start = Now();
    if (!StartProgram(argv[2], argv[3], argc, argv, 5, &pid))
        return Fail("create");
    WindowSearch search = {pid, nullptr, nullptr};
    for (;;) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        if (MsSince(start) > limit) {
            std::printf("error nowindow pid %lu\n", pid);
            return 1;
        }
        Sleep(1);
    }
    const double visible = MsSince(start);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_BLOCK, limit, &ignored);
    const double answered = MsSince(start);
    std::printf("pid %lu hwnd %llu ms %.1f answered %.1f\n", pid,
                static_cast<unsigned long long>(reinterpret_cast<INT_PTR>(search.found)), visible,
                answered);
    return 0;
}

// Polls the status from START until it has changed from FROM (when
// mustChange) and reads WANT.
int WaitForStatus(HWND hwnd, const LARGE_INTEGER& start, const std::string& from,
                  const std::string& want, DWORD limit, bool mustChange)
{
    double first = -1;
    std::string status;
    for (;;) {
        status = ControlText(hwnd, kStatusId);
        const double now = MsSince(start);
        if (first < 0 && status != from)
            first = now;
        if (status == want && (!mustChange || first >= 0)) {
            std::printf("ms %.1f first %.1f\n", now, first);
            return 0;
        }
        if (now > limit) {
            std::printf("timeout %.1f last %s\n", now, Hex(status).c_str());
            return 0;
        }
        Sleep(kStatusPollMs);
    }
}

int WaitStatus(HWND hwnd, const char* hex, DWORD limit)
{
    const LARGE_INTEGER start = Now();
    return WaitForStatus(hwnd, start, "", Unhex(hex), limit, false);
}

int ClickWait(HWND hwnd, int id, const char* hex, DWORD limit)
{
    const std::string before = ControlText(hwnd, kStatusId);
    const LARGE_INTEGER start = Now();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(hwnd, id), BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &ignored);
    return WaitForStatus(hwnd, start, before, Unhex(hex), limit, true);
}

int DevChangeWait(HWND hwnd, WPARAM type, const char* hex, DWORD limit)
{
    const std::string before = ControlText(hwnd, kStatusId);
    const LARGE_INTEGER start = Now();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(hwnd, WM_DEVICECHANGE, type, 0, SMTO_BLOCK, 5000, &ignored);
    return WaitForStatus(hwnd, start, before, Unhex(hex), limit, true);
}

int ProcCounts(DWORD pid)
{
    using QueryFn = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return Fail("ntdll");
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    LONG status;
    while ((status = query(SystemProcessInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<LONG>(0xC0000004L))  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status < 0)
        return Fail("query");
    for (size_t at = 0;;) {
        const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (reinterpret_cast<ULONG_PTR>(info->UniqueProcessId) == pid) {
            std::printf("handles %lu threads %lu\n", info->HandleCount, info->NumberOfThreads);
            return 0;
        }
        if (!info->NextEntryOffset)
            break;
        at += info->NextEntryOffset;
    }
    return Fail("process");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Fail("usage");
    const std::string command = argv[1];
    if (command == "launch")
        return Launch(argc, argv);
    if (command == "launchwait")
        return LaunchWait(argc, argv);
    if (argc < 3)
        return Fail("usage");
    if (command == "window" && argc >= 4)
        return WaitForWindow({static_cast<DWORD>(std::atol(argv[2])), nullptr, nullptr},
                             FindMainDialog, std::atol(argv[3]));
    if (command == "wait-exit" && argc >= 4)
        return WaitExit(std::atol(argv[2]), std::atol(argv[3]));
    if (command == "children")
        return Children(std::atol(argv[2]));
    if (command == "counts")
        return Counts(std::atol(argv[2]));
    if (command == "proccounts")
        return ProcCounts(std::atol(argv[2]));
    if (command == "hold") {
        HANDLE file = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const std::string pid = std::to_string(GetCurrentProcessId());
        DWORD written = 0;
        WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
        CloseHandle(file);
        for (;;)
            Sleep(INFINITE);
    }
    if (command == "kill") {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, std::atol(argv[2]));
        if (process) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
        std::printf("ok\n");
        return 0;
    }

    HWND hwnd = ParseHwnd(argv[2]);
    if (command == "text" && argc >= 4) {
        std::printf("text %s\n", Hex(ControlText(hwnd, std::atoi(argv[3]))).c_str());
        return 0;
    }
    if (command == "state") {
        std::printf("enabled %d checked %d %d %d window %d\n",
                    IsWindowEnabled(GetDlgItem(hwnd, 1001)) ? 1 : 0,
                    static_cast<int>(SendMessageA(GetDlgItem(hwnd, 1002), BM_GETCHECK, 0, 0)),
                    static_cast<int>(SendMessageA(GetDlgItem(hwnd, 1003), BM_GETCHECK, 0, 0)),
                    static_cast<int>(SendMessageA(GetDlgItem(hwnd, 1004), BM_GETCHECK, 0, 0)),
                    IsWindowEnabled(hwnd) ? 1 : 0);
        return 0;
    }
    if (command == "click" && argc >= 4) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(GetDlgItem(hwnd, std::atoi(argv[3])), BM_CLICK, 0, 0, SMTO_BLOCK, 5000,
                            &ignored);
        std::printf("ok\n");
        return 0;
    }
    if (command == "devchange" && argc >= 4) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(hwnd, WM_DEVICECHANGE, std::strtoul(argv[3], nullptr, 0), 0,
                            SMTO_BLOCK, 5000, &result);
        std::printf("result %llu\n", static_cast<unsigned long long>(result));
        return 0;
    }
    if (command == "burst" && argc >= 5) {
        const int count = std::atoi(argv[3]);
        const DWORD spread = std::atol(argv[4]);
        for (int i = 0; i < count; ++i) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(hwnd, WM_DEVICECHANGE, i % 2 ? 0x8004 : 0x8000, 0, SMTO_BLOCK, 5000,
                                &result);
            Sleep(spread / count);
        }
        std::printf("ok\n");
        return 0;
    }
    if (command == "syscommand" && argc >= 4) {
        PostMessageA(hwnd, WM_SYSCOMMAND, std::strtoul(argv[3], nullptr, 0), 0);
        std::printf("ok\n");
        return 0;
    }
    if (command == "key" && argc >= 4)
        return Key(hwnd, argv[3]);
    if (command == "owned" && argc >= 4)
        return WaitForWindow({0, hwnd, nullptr}, FindOwned, std::atol(argv[3]));
    if (command == "waitstatus" && argc >= 5)
        return WaitStatus(hwnd, argv[3], std::strtoul(argv[4], nullptr, 10));
    if (command == "clickwait" && argc >= 6)
        return ClickWait(hwnd, std::atoi(argv[3]), argv[4], std::strtoul(argv[5], nullptr, 10));
    if (command == "devchangewait" && argc >= 6)
        return DevChangeWait(hwnd, std::strtoul(argv[3], nullptr, 0), argv[4],
                             std::strtoul(argv[5], nullptr, 10));
    if (command == "rect") {
        RECT r;
        GetWindowRect(hwnd, &r);
        std::printf("rect %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    return Fail("unknown");
}
