#include "workflows/working_directory.h"

std::string RememberedTempDir::Get()
{
    AcquireSRWLockExclusive(&m_lock);
    if (m_szPath[0] == '\0')
        GetTempPathA(MAX_PATH, m_szPath);
    std::string path = m_szPath;
    ReleaseSRWLockExclusive(&m_lock);
    return path;
}

WorkingDirectory GetWorkingDirectory(RememberedTempDir& remembered)
{
    return remembered.Get() + "ice\\";
}
