// The Windows side of the platform boundary: clock, message boxes (or the test program's record
// of them), resources and files.
// Threads as the contract in src/port/port.h says.
#include <windows.h>

#include <mmsystem.h>

#include "port/port.h"
#include "port/win32/win32_hooks.h"

namespace {

MessageBoxHook messageBoxHook = nullptr;

int ShowMessageOwnedBy(HWND owner, const char* text, const char* caption, unsigned flags) {
    if (messageBoxHook != nullptr)
        return messageBoxHook(text, caption, flags);
    return MessageBoxA(owner, text, caption, flags);
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    messageBoxHook = hook;
}

namespace port {

uint32_t TickCount() {
    return timeGetTime();
}

void SleepMs(uint32_t ms) {
    Sleep(ms);
}

int ShowMessage(const char* text, const char* caption, unsigned flags) {
    return ShowMessageOwnedBy(GetFocus(), text, caption, flags);
}

int ShowMessageWithoutOwner(const char* text, const char* caption, unsigned flags) {
    return ShowMessageOwnedBy(nullptr, text, caption, flags);
}

bool FindResourceData(const char* type, const char* name, ResourceData* out) {
    if (type == nullptr || name == nullptr || out == nullptr)
        return false;
    LPCSTR resourceType = type;
    if (lstrcmpiA(type, "BITMAP") == 0)
        resourceType = MAKEINTRESOURCEA(2); // RT_BITMAP
    // A name made of digits ("14") is a numbered resource, as the resource script made it.
    LPCSTR resourceName = name;
    unsigned number = 0;
    const char* c = name;
    while (*c >= '0' && *c <= '9' && number < 65536)
        number = number * 10 + static_cast<unsigned>(*c++ - '0');
    if (*c == '\0' && c != name && number < 65536)
        resourceName = MAKEINTRESOURCEA(number);
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, resourceName, resourceType);
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return false;
    out->bytes = static_cast<const uint8_t*>(bytes);
    out->size = SizeofResource(module, found);
    return true;
}

std::string FullPath(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetFullPathNameA(name, MAX_PATH, path, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

bool MoveFileReplacing(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

} // namespace port
