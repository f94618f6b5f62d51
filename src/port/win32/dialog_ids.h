// Resource and control numbers of the dialogs, shared by the dialog templates (dialogs.rc) and
// the code that runs them. Plain macros, so the resource compiler reads them too.
#pragma once

#define IDD_ABOUT 1
#define IDC_ABOUT_VERSION 100
#define IDC_ABOUT_WEB 60
#define IDC_ABOUT_SUPPORT 61

#define IDD_MIXER_DEVICE 3
#define IDC_MIXER_DEVICES 100
