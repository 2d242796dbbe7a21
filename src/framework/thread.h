// AfxBeginThread: starts a worker thread that nobody waits for.
#pragma once

#include <windows.h>

typedef UINT (*AFX_THREADPROC)(LPVOID);

// Runs `proc(param)` on a new thread with the given priority and stack size
// (0: the default). The thread's handle is not kept. Returns true when the
// thread was started. Exceptions never leave the thread procedure.
bool AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                    UINT stackSize = 0);
