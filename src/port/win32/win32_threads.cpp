// Worker threads with message queues, thread messages and events on Windows.
// Any thread, as the contract in src/port/port.h says.
#include <windows.h>

#include "port/port.h"

namespace {

struct StartInfo {
    port::ThreadProc proc;
    void* arg;
    HANDLE queueReady;
};

DWORD WINAPI ThreadStart(LPVOID param) {
    StartInfo start = *static_cast<StartInfo*>(param);
    // A thread gets its message queue on its first call into the window manager.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(start.queueReady);
    return start.proc(start.arg);
}

} // namespace

namespace port {

ThreadHandle CreateWorkerThread(ThreadProc proc, void* arg, uint32_t* threadId) {
    StartInfo start{proc, arg, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (start.queueReady == nullptr)
        return nullptr;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ThreadStart, &start, 0, &id);
    if (thread != nullptr) {
        HANDLE waitFor[2] = {start.queueReady, thread};
        WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    }
    CloseHandle(start.queueReady);
    if (threadId != nullptr)
        *threadId = id;
    return thread;
}

bool SetWorkerPriority(ThreadHandle thread, int priority) {
    return SetThreadPriority(static_cast<HANDLE>(thread), priority) != 0;
}

bool WaitWorker(ThreadHandle thread, uint32_t timeoutMs) {
    return WaitForSingleObject(static_cast<HANDLE>(thread), timeoutMs) == WAIT_OBJECT_0;
}

void TerminateWorker(ThreadHandle thread) {
    TerminateThread(static_cast<HANDLE>(thread), 1);
}

void CloseWorker(ThreadHandle thread) {
    CloseHandle(static_cast<HANDLE>(thread));
}

uint32_t CurrentThreadId() {
    return GetCurrentThreadId();
}

bool PeekOwnMessage(Message* out) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    out->window = msg.hwnd;
    out->message = msg.message;
    out->wParam = msg.wParam;
    out->lParam = msg.lParam;
    return true;
}

bool PostToThread(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return PostThreadMessageA(threadId, message, wParam, lParam) != 0;
}

EventHandle CreateAutoEvent() {
    return CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

void SignalEvent(EventHandle event) {
    SetEvent(static_cast<HANDLE>(event));
}

bool WaitForEvent(EventHandle event, uint32_t timeoutMs) {
    return WaitForSingleObject(static_cast<HANDLE>(event), timeoutMs) == WAIT_OBJECT_0;
}

void CloseEvent(EventHandle event) {
    CloseHandle(static_cast<HANDLE>(event));
}

} // namespace port
