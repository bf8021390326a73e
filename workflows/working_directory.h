// The folder under the user's temporary directory where the adb files live.
#pragma once

#include <windows.h>

#include <string>

// The temporary directory followed by "ice\"; always ends with a backslash.
using WorkingDirectory = std::string;

// The user's temporary directory, looked up once and kept for the run. Each
// kind of pass keeps its own. A lookup that fails leaves it empty, and the
// next pass tries again. Filling happens under a lock, so a pass that starts
// meanwhile never sees half a path.
class RememberedTempDir {
public:
    RememberedTempDir() = default;
    RememberedTempDir(const RememberedTempDir&) = delete;
    RememberedTempDir& operator=(const RememberedTempDir&) = delete;

    std::string Get();

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    char m_szPath[MAX_PATH] = {};
};

WorkingDirectory GetWorkingDirectory(RememberedTempDir& remembered);
