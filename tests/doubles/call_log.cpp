#include "call_log.h"

#include <windows.h>

#include "file_io.h"
#include "common/unique_handle.h"

namespace {

constexpr DWORD kOpenRetryPauseMs = 20;
constexpr int kOpenAttempts = 250;  // five seconds for a reader to let go

// Holds a mutex from construction to destruction. A holder that died while
// holding it left the log whole (its single write either happened or not),
// so an abandoned mutex is taken like any other.
class MutexLock {
public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex)
    {
        const DWORD waited = WaitForSingleObject(mutex_, INFINITE);
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~MutexLock()
    {
        if (held_)
            ReleaseMutex(mutex_);
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    bool Held() const { return held_; }

private:
    HANDLE mutex_;
    bool held_ = false;
};

// Opens the log for reading and appending, creating it if needed. Other
// programs (a test looking at the log) may briefly hold it without sharing.
UniqueHandle OpenLog(const std::string& path)
{
    for (int attempt = 1;; ++attempt) {
        UniqueHandle log(CreateFileA(path.c_str(), FILE_READ_DATA | FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (log || GetLastError() != ERROR_SHARING_VIOLATION || attempt == kOpenAttempts)
            return log;
        Sleep(kOpenRetryPauseMs);
    }
}

unsigned long long CountLines(const std::string& log, const std::string& line)
{
    unsigned long long count = 0;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        if (log.compare(start, end - start, line) == 0)
            ++count;
        start = end + 1;
    }
    return count;
}

}  // namespace

bool RecordCall(const std::string& path, const std::string& argumentText,
                unsigned long long& callNumber)
{
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, kCallLogMutexName));
    if (!mutex)
        return false;
    MutexLock lock(mutex.Get());
    if (!lock.Held())
        return false;

    UniqueHandle log = OpenLog(path);
    std::string earlier;
    if (!log || !ReadToEnd(log.Get(), earlier))
        return false;
    if (!WriteAll(log.Get(), argumentText + "\n"))
        return false;
    callNumber = CountLines(earlier, argumentText) + 1;
    return true;
}
