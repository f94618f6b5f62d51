// Seams of the Windows port for the Win32 test program: message boxes and shell requests go to
// the test instead of to the screen and the browser. User-interface thread.
#pragma once

// Answers port::ShowMessage in place of a message box; null restores the message box.
using MessageBoxHook = int (*)(const char* text, const char* caption, unsigned flags);
void SetMessageBoxHook(MessageBoxHook hook);

// Receives the addresses the program would open with the shell; null restores the shell.
using ShellOpenHook = void (*)(const char* address);
void SetShellOpenHook(ShellOpenHook hook);
