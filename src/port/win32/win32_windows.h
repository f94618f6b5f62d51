// The Windows program's own windows, made by the start-up code and read by the port functions
// that talk to them. User-interface thread only.
#pragma once

#include <windows.h>

extern HWND frameWindow;  // the top-level frame
extern HWND topRebar;     // rebar 1001 above the view
extern HWND bottomRebar;  // rebar 1004 above the status bar
extern HWND statusBar;    // status bar 1003
extern HWND analyzerView; // the analyzer view 1002
