// The Windows program's own windows, made by the start-up code and read by the port functions
// that talk to them, and the pieces the frame is built from. User-interface thread only.
#pragma once

#include <windows.h>

extern HWND frameWindow;  // the top-level frame
extern HWND topRebar;     // rebar 1001 above the view
extern HWND bottomRebar;  // rebar 1004 above the status bar
extern HWND statusBar;    // status bar 1003
extern HWND analyzerView; // the analyzer view 1002

// Registers one of the program's window classes: arrow cursor, double clicks, one pointer of
// window data (the application object), background a system colour index.
bool RegisterWindowClass(const char* name, WNDPROC procedure, HICON icon, int background,
                         LPCSTR menu);

// Creates one of the frame's rebars (1001 above the view, 1004 above the status bar) as wide as
// the screen. Besides the commands and notifications a rebar passes on by itself, it passes its
// children's scroll messages (the Gain trackbar's) on to the frame.
HWND CreateRebar(HWND frame, int id);

// The windows that carry the tone bar and the navigation tool bar inside the bottom rebar: they
// pass their controls' commands, scroll messages and notifications on to the frame.
extern const char kHolderClass[];
LRESULT CALLBACK HolderWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
