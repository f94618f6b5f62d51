// Window-message, notification, key and message-box numbers in the Windows numbering, so that the
// portable core handles the very messages the Windows program forwards. Windows sources include
// <windows.h> first; every name here then keeps the platform's own definition.
#pragma once

#include <cstdint>

// Window messages
#ifndef WM_CREATE
#define WM_CREATE 0x0001
#endif
#ifndef WM_DESTROY
#define WM_DESTROY 0x0002
#endif
#ifndef WM_SIZE
#define WM_SIZE 0x0005
#endif
#ifndef WM_SETFOCUS
#define WM_SETFOCUS 0x0007
#endif
#ifndef WM_PAINT
#define WM_PAINT 0x000F
#endif
#ifndef WM_CLOSE
#define WM_CLOSE 0x0010
#endif
#ifndef WM_QUIT
#define WM_QUIT 0x0012
#endif
#ifndef WM_ERASEBKGND
#define WM_ERASEBKGND 0x0014
#endif
#ifndef WM_GETMINMAXINFO
#define WM_GETMINMAXINFO 0x0024
#endif
#ifndef WM_WINDOWPOSCHANGING
#define WM_WINDOWPOSCHANGING 0x0046
#endif
#ifndef WM_NOTIFY
#define WM_NOTIFY 0x004E
#endif
#ifndef WM_KEYDOWN
#define WM_KEYDOWN 0x0100
#endif
#ifndef WM_KEYUP
#define WM_KEYUP 0x0101
#endif
#ifndef WM_CHAR
#define WM_CHAR 0x0102
#endif
#ifndef WM_COMMAND
#define WM_COMMAND 0x0111
#endif
#ifndef WM_TIMER
#define WM_TIMER 0x0113
#endif
#ifndef WM_HSCROLL
#define WM_HSCROLL 0x0114
#endif
#ifndef WM_VSCROLL
#define WM_VSCROLL 0x0115
#endif
#ifndef WM_INITMENUPOPUP
#define WM_INITMENUPOPUP 0x0117
#endif
#ifndef WM_MOUSEMOVE
#define WM_MOUSEMOVE 0x0200
#endif
#ifndef WM_LBUTTONDOWN
#define WM_LBUTTONDOWN 0x0201
#endif
#ifndef WM_LBUTTONUP
#define WM_LBUTTONUP 0x0202
#endif
#ifndef WM_LBUTTONDBLCLK
#define WM_LBUTTONDBLCLK 0x0203
#endif
#ifndef WM_RBUTTONDOWN
#define WM_RBUTTONDOWN 0x0204
#endif
#ifndef WM_RBUTTONUP
#define WM_RBUTTONUP 0x0205
#endif
#ifndef WM_RBUTTONDBLCLK
#define WM_RBUTTONDBLCLK 0x0206
#endif
#ifndef WM_MOUSELAST
#define WM_MOUSELAST 0x020E
#endif

// Multimedia notifications
#ifndef MM_WOM_DONE
#define MM_WOM_DONE 0x3BD
#endif
#ifndef MM_WIM_DATA
#define MM_WIM_DATA 0x3C0
#endif
#ifndef MM_MIXM_CONTROL_CHANGE
#define MM_MIXM_CONTROL_CHANGE 0x3D1
#endif

// Combo-box notifications (high word of a WM_COMMAND's wParam)
#ifndef CBN_SELCHANGE
#define CBN_SELCHANGE 1
#endif
#ifndef CBN_EDITCHANGE
#define CBN_EDITCHANGE 5
#endif
#ifndef CBN_EDITUPDATE
#define CBN_EDITUPDATE 6
#endif

// Scroll-bar codes (low word of a WM_HSCROLL's wParam)
#ifndef SB_LINELEFT
#define SB_LINELEFT 0
#endif
#ifndef SB_LINERIGHT
#define SB_LINERIGHT 1
#endif
#ifndef SB_PAGELEFT
#define SB_PAGELEFT 2
#endif
#ifndef SB_PAGERIGHT
#define SB_PAGERIGHT 3
#endif
#ifndef SB_THUMBPOSITION
#define SB_THUMBPOSITION 4
#endif
#ifndef SB_THUMBTRACK
#define SB_THUMBTRACK 5
#endif
#ifndef SB_ENDSCROLL
#define SB_ENDSCROLL 8
#endif

// Mouse-message key flags (wParam of WM_LBUTTONDOWN, WM_MOUSEMOVE, ...)
#ifndef MK_LBUTTON
#define MK_LBUTTON 0x0001
#endif
#ifndef MK_SHIFT
#define MK_SHIFT 0x0004
#endif

// Virtual-key codes
#ifndef VK_LBUTTON
#define VK_LBUTTON 0x01
#endif
#ifndef VK_SHIFT
#define VK_SHIFT 0x10
#endif
#ifndef VK_ESCAPE
#define VK_ESCAPE 0x1B
#endif
#ifndef VK_SPACE
#define VK_SPACE 0x20
#endif
#ifndef VK_PRIOR
#define VK_PRIOR 0x21
#endif
#ifndef VK_NEXT
#define VK_NEXT 0x22
#endif
#ifndef VK_END
#define VK_END 0x23
#endif
#ifndef VK_HOME
#define VK_HOME 0x24
#endif
#ifndef VK_LEFT
#define VK_LEFT 0x25
#endif
#ifndef VK_UP
#define VK_UP 0x26
#endif
#ifndef VK_RIGHT
#define VK_RIGHT 0x27
#endif
#ifndef VK_DOWN
#define VK_DOWN 0x28
#endif
#ifndef VK_F1
#define VK_F1 0x70
#endif

// Message boxes
#ifndef MB_OK
#define MB_OK 0x00000000
#endif
#ifndef MB_YESNO
#define MB_YESNO 0x00000004
#endif
#ifndef MB_ICONEXCLAMATION
#define MB_ICONEXCLAMATION 0x00000030
#endif
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDYES
#define IDYES 6
#endif
#ifndef IDNO
#define IDNO 7
#endif

// Notifications (WM_NOTIFY). The structures mirror the platform's layouts (NMHDR and
// NMTTDISPINFOA), so the core reads the very notification the frame window forwards.
#ifndef TTN_NEEDTEXTA
#define TTN_NEEDTEXTA (0U - 520U)
#endif

struct NotifyHeader {
    void* windowFrom;
    uintptr_t idFrom;
    unsigned int code;
};

struct ToolTipTextRequest {
    NotifyHeader header;
    char* text;          // the answer: a string that outlives the request
    char textBuffer[80];
    void* instance;
    unsigned int flags;
    intptr_t lParam;
};
