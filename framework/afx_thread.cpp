#include "framework/afx_thread.h"

#include <process.h>

namespace {

unsigned __stdcall ThreadEntry(void* threadObject)
{
    CWinThread* thread = static_cast<CWinThread*>(threadObject);
    const UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    CloseHandle(thread->m_hThread);
    delete thread;
    return result;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CWinThread* thread = new CWinThread;
    thread->m_pfnThreadProc = pfnThreadProc;
    thread->m_pThreadParams = pParam;

    // Created suspended so that the object is complete before the thread
    // can reach it.
    unsigned threadId = 0;
    const uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, thread,
                                            CREATE_SUSPENDED, &threadId);
    if (!handle) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = threadId;
    SetThreadPriority(thread->m_hThread, nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ResumeThread(thread->m_hThread);
    return thread;
}
