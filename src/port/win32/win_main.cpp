// The Windows program: the entry, the frame, view and holder window procedures, start-up and
// shutdown around the main loop that serves one message per pass and runs a frame update when
// more than 30 ms have passed. User-interface thread.
#include <windows.h>

#include <commctrl.h>
#include <cstdio>
#include <mmsystem.h>

#include "app/my_class.h"
#include "port/port.h"
#include "port/win32/win32_windows.h"
#include "state/state.h"
#include "state/version.h"

namespace {

const char kFrameClass[] = "TRAVIXAPICLASS";
const char kViewClass[] = "RTACLASS";
const int kFrameWidth = 720;
const int kFrameHeight = 480;
const int kMinTrackWidth = 450;
const int kMinTrackHeight = 480;
const UINT kFrameMs = 30;

enum : int { kTopRebarId = 1001, kViewId = 1002, kStatusBarId = 1003, kBottomRebarId = 1004 };

HINSTANCE instance;

// The user's keyboard repeat, put back at exit: the fast repeat is for this session only.
struct KeyboardRepeat {
    int delay = 0;
    DWORD speed = 0;
    bool saved = false;
} userRepeat;

void SpeedUpKeyboardRepeat() {
    userRepeat.saved = SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &userRepeat.delay, 0) &&
                       SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &userRepeat.speed, 0);
    if (!userRepeat.saved)
        return;
    SystemParametersInfoA(SPI_SETKEYBOARDDELAY, 0, nullptr, 0);
    SystemParametersInfoA(SPI_SETKEYBOARDSPEED, 31, nullptr, 0);
}

void RestoreKeyboardRepeat() {
    if (!userRepeat.saved)
        return;
    SystemParametersInfoA(SPI_SETKEYBOARDDELAY, static_cast<UINT>(userRepeat.delay), nullptr, 0);
    SystemParametersInfoA(SPI_SETKEYBOARDSPEED, userRepeat.speed, nullptr, 0);
}

// The capture thread's counts of the whole run as one debug-output line (Wine prints it with
// WINEDEBUG=+debugstr): soak runs check that no block was lost or read twice.
void ReportCaptureCounts() {
    const CaptureCounts c = waveIn.Counts();
    char line[256];
    std::snprintf(line, sizeof line,
                  "tonalyx capture counts: done=%llu stored=%llu full=%llu stale=%llu "
                  "bytesStored=%llu bytesRead=%llu bytesDiscarded=%llu\n",
                  static_cast<unsigned long long>(c.buffersDone),
                  static_cast<unsigned long long>(c.buffersStored),
                  static_cast<unsigned long long>(c.buffersFull),
                  static_cast<unsigned long long>(c.buffersStale),
                  static_cast<unsigned long long>(c.bytesStored),
                  static_cast<unsigned long long>(c.bytesRead),
                  static_cast<unsigned long long>(c.bytesDiscarded));
    OutputDebugStringA(line);
}

// Window data 0 holds the application object (pointer-sized, so it survives 64-bit builds).
MyClass* AppOf(HWND window) {
    return reinterpret_cast<MyClass*>(GetWindowLongPtrA(window, 0));
}

int RebarHeight(HWND rebar) {
    RECT r;
    GetWindowRect(rebar, &r);
    return r.bottom - r.top;
}

void CreateFrameChildren(HWND frame, MyClass* object) {
    topRebar = CreateRebar(frame, kTopRebarId);
    bottomRebar = CreateRebar(frame, kBottomRebarId);
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                frame, reinterpret_cast<HMENU>(kStatusBarId), instance, nullptr);
    int parts[3] = {120, 200, -1};
    SendMessageA(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("FFT: 16K @ 44Khz"));
    SendMessageA(statusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Gain: +96db"));
    CreateWindowExA(0, kViewClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL, 0,
                    0, 640, 100, frame, reinterpret_cast<HMENU>(kViewId), instance, object);
}

void LayOutFrame(HWND frame, WPARAM wParam, LPARAM lParam) {
    if (topRebar == nullptr || bottomRebar == nullptr || analyzerView == nullptr)
        return;
    RECT client;
    GetClientRect(frame, &client);
    const int width = client.right - client.left;
    const int topHeight = RebarHeight(topRebar);
    const int bottomHeight = RebarHeight(bottomRebar);
    SetWindowPos(topRebar, nullptr, 0, 0, width, topHeight, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(bottomRebar, nullptr, 0, 0, width, bottomHeight, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(topRebar, WM_SIZE, wParam, lParam);
    SendMessageA(bottomRebar, WM_SIZE, wParam, lParam);
    SendMessageA(statusBar, WM_SIZE, wParam, lParam);
    RECT status;
    GetWindowRect(statusBar, &status);
    const int statusHeight = status.bottom - status.top;
    const int viewHeight = client.bottom - (topHeight + bottomHeight + statusHeight);
    SetWindowPos(analyzerView, nullptr, 0, topHeight, width, viewHeight > 0 ? viewHeight : 0,
                 SWP_NOZORDER);
    SetWindowPos(bottomRebar, nullptr, 0, client.bottom - statusHeight - bottomHeight, width,
                 bottomHeight, SWP_NOZORDER);
    if (IsWindowVisible(frame))
        RedrawWindow(frame, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MyClass* object = AppOf(window);
    switch (message) {
    case WM_CREATE: {
        object = static_cast<MyClass*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(object));
        CreateFrameChildren(window, object);
        return 0;
    }
    case WM_SIZE:
        LayOutFrame(window, wParam, lParam);
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == RBN_HEIGHTCHANGE) {
            RECT client;
            GetClientRect(window, &client);
            SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        }
        return object ? object->OnMessage(message, wParam, lParam) : 0;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_INITMENUPOPUP:
        if (object && object->OnMessage(message, wParam, lParam) != 0 && analyzerView)
            SetFocus(analyzerView);
        break;
    case MM_MIXM_CONTROL_CHANGE:
        return object ? object->OnMessage(message, wParam, lParam) : 0;
    case WM_SETFOCUS:
        if (analyzerView)
            SetFocus(analyzerView);
        break;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = kMinTrackWidth;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = kMinTrackHeight;
        return 0;
    case WM_WINDOWPOSCHANGING:
        // While a modal in-view menu runs, the frame keeps its size.
        if (!app.running)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags = SWP_NOSIZE | SWP_NOOWNERZORDER;
        break;
    case WM_CLOSE:
        // Every way of closing the frame (system menu, Alt+F4, the Exit command) asks in the
        // view first, as a close of the view itself does.
        if (object && analyzerView && !object->ConfirmClose())
            return 0;
        break;
    case WM_ERASEBKGND:
        return 0;
    case WM_DESTROY:
        app.running = 0;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK RTAWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MyClass* object = AppOf(window);
    switch (message) {
    case WM_CREATE:
        object = static_cast<MyClass*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(object));
        analyzerView = window;
        object->Create(window);
        ShowWindow(window, SW_SHOW);
        return 0;
    case WM_DESTROY:
        if (object) {
            object->running = 0;
            // An in-view menu open meanwhile must not start frame updates on a window that is gone.
            object->viewWindow = nullptr;
        }
        break;
    case WM_SIZE:
        if (object)
            object->OnSize(LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_PAINT:
        if (object)
            object->Paint();
        break;
    case WM_CLOSE:
        if (object && !object->ConfirmClose())
            return 0;
        break;
    case WM_ERASEBKGND:
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        if (object)
            object->OnMessage(message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        if (object)
            object->OnMessage(message, wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunMainLoop() {
    DWORD lastFrame = 0;
    bool quit = false;
    while (!quit) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            GetMessageA(&msg, nullptr, 0, 0);
            if (msg.message == WM_QUIT) {
                quit = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        const DWORD now = timeGetTime();
        if (now - lastFrame > kFrameMs) {
            if (app.viewWindow != nullptr && app.running)
                app.Frame();
            lastFrame = now;
        }
        Sleep(1);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x524};
    InitCommonControlsEx(&controls);
    instance = hInstance;

    HWND existing = FindWindowA(kFrameClass, nullptr);
    if (existing != nullptr) {
        SetWindowPos(existing, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(existing, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowWindow(existing, SW_SHOWNORMAL);
        return 0;
    }
    if (!RegisterWindowClass(kFrameClass, FrameWndProc, LoadIconA(instance, "PROGRAMICON"),
                             COLOR_BTNFACE, MAKEINTRESOURCEA(1)) ||
        !RegisterWindowClass(kViewClass, RTAWndProc, nullptr, COLOR_APPWORKSPACE, nullptr) ||
        !RegisterWindowClass(kHolderClass, HolderWndProc, nullptr, COLOR_BTNFACE, nullptr))
        return 0;

    port::ShowSplashWindow();
    app.Init();

    const int x = (GetSystemMetrics(SM_CXSCREEN) - kFrameWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kFrameHeight) / 2;
    frameWindow =
        CreateWindowA(kFrameClass, TONALYX_PRODUCT " " TONALYX_VERSION, WS_OVERLAPPEDWINDOW, x, y,
                      kFrameWidth, kFrameHeight, nullptr, nullptr, instance, &app);
    if (frameWindow != nullptr) {
        port::OpenMixerNotifications(frameWindow);
        SpeedUpKeyboardRepeat();
        app.CreateToolbars(topRebar);
        RECT client;
        GetClientRect(frameWindow, &client);
        SendMessageA(frameWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        ShowWindow(frameWindow, SW_SHOW);
        RunMainLoop();
        port::CloseMixerNotifications();
    }
    app.Shutdown();
    ReportCaptureCounts();
    RestoreKeyboardRepeat();
    return 0;
}
