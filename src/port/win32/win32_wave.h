// What the Windows wave-in and wave-out devices share: the platform's descriptions of a format
// and of a buffer, made from the port's. Windows sources only; any thread.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "port/port.h"

namespace win32_wave {

WAVEFORMATEX PlatformFormat(const port::WaveFormat& format);

// The platform's description of the buffer, kept inside the port's header.
WAVEHDR* PlatformHeader(port::WaveHeader* header);

// Describes the owner's buffer (data, length, user value, flags) afresh in the platform's
// header, ready to be prepared.
WAVEHDR* DescribeBuffer(port::WaveHeader* header);

} // namespace win32_wave
