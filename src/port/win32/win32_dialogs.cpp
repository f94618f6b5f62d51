// The about dialog, the save-file dialog and the help viewer of the Windows program.
// User-interface thread.
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include "port/port.h"
#include "port/win32/dialog_ids.h"
#include "port/win32/win32_hooks.h"
#include "state/version.h"

namespace {

constexpr char kVersionText[] = TONALYX_PRODUCT " - Version " TONALYX_VERSION;
constexpr char kWebAddress[] = "https://tonalyx.example.invalid/";
constexpr char kSupportAddress[] = "mailto:support@tonalyx.example.invalid";

ShellOpenHook shellOpenHook = nullptr;

void OpenAddress(const char* address) {
    if (shellOpenHook != nullptr)
        shellOpenHook(address);
    else
        ShellExecuteA(nullptr, "open", address, "", "C:\\", SW_SHOWNORMAL);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, kVersionText);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: // Esc and the close box
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDC_ABOUT_WEB:
            OpenAddress(kWebAddress);
            return TRUE;
        case IDC_ABOUT_SUPPORT:
            OpenAddress(kSupportAddress);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

void SetShellOpenHook(ShellOpenHook hook) {
    shellOpenHook = hook;
}

namespace port {

void ShowAboutDialog(WindowHandle owner) {
    DialogBoxParamA(static_cast<HINSTANCE>(port::ProgramModule()), MAKEINTRESOURCEA(IDD_ABOUT),
                    static_cast<HWND>(owner), AboutDialogProc, 0);
}

int AskSaveFileName(WindowHandle owner, const char* title, char* path) {
    char chosen[kPathChars];
    lstrcpynA(chosen, path, static_cast<int>(kPathChars));
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = static_cast<HWND>(owner);
    request.lpstrFilter = "All Files (*.*)\0*.*\0";
    request.nFilterIndex = 1;
    request.lpstrFile = chosen;
    request.nMaxFile = static_cast<DWORD>(kPathChars);
    request.lpstrTitle = title;
    // The dialog would otherwise leave the process in whatever folder the user went to.
    request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&request))
        return 1;
    lstrcpynA(path, chosen, static_cast<int>(kPathChars));
    return 0;
}

void OpenHelpContents(WindowHandle window) {
    WinHelpA(static_cast<HWND>(window), kHelpFile, HELP_CONTENTS, 0);
}

} // namespace port
