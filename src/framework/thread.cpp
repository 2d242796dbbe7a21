#include "framework/thread.h"

#include <memory>

#include "common/unique_handle_win32.h"

namespace {

struct ThreadStart {
    AFX_THREADPROC proc;
    LPVOID param;
};

DWORD WINAPI ThreadEntry(LPVOID context) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(context));
    try {
        return start->proc(start->param);
    } catch (...) {
        return 1;
    }
}

}  // namespace

bool AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize) {
    auto start = std::make_unique<ThreadStart>(ThreadStart{proc, param});
    UniqueHandle thread(
        ::CreateThread(nullptr, stackSize, &ThreadEntry, start.get(), CREATE_SUSPENDED, nullptr));
    if (!thread) {
        return false;
    }
    start.release();  // the thread owns it now
    ::SetThreadPriority(thread.get(), priority);
    ::ResumeThread(thread.get());
    return true;
}
