// Worker threads that clean up after themselves: the thread object and its
// handle are released when the procedure returns, whose result becomes the
// thread's exit code.
#pragma once

#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread {
public:
    HANDLE m_hThread = nullptr;
    UINT m_nThreadID = 0;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

// Returns the thread object, or nullptr when no thread could be started. The
// object may already be gone when a thread without CREATE_SUSPENDED has run
// to its end: callers that do not keep it need nothing else.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
