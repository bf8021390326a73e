// Environment and process plumbing for running the built adb.exe in tests.
#pragma once

#include "common/unique_handle.h"

#include <windows.h>

#include <optional>
#include <string>

// Sets an environment variable of this process (and so of every child it
// starts), or removes it for a null value, and puts the old value back when
// it goes out of scope.
class ScopedEnv {
public:
    ScopedEnv(const wchar_t* name, const wchar_t* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

struct Finished {
    DWORD exitCode = 0;
    std::string output;  // stdout and stderr as one stream, as Quorvix reads them
    ULONGLONG elapsedMs = 0;
};

// One adb.exe of this build, started with its stdout and stderr on a pipe
// we read.
class Started {
public:
    explicit Started(const std::wstring& args);  // what follows "adb.exe "

    bool started() const { return static_cast<bool>(process_); }
    // Reads all output, then waits for the exit.
    Finished Finish();

private:
    UniqueHandle read_;
    UniqueHandle process_;
    ULONGLONG start_ = 0;
};
