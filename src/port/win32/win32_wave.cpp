// What the Windows wave-in and wave-out devices share: the platform's format and buffer
// descriptions, the latter kept inside the port's WaveHeader. Any thread.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <mmsystem.h>

#include "port/messages.h"
#include "port/port.h"
#include "port/win32/win32_wave.h"

static_assert(sizeof(WAVEHDR) <= sizeof(port::WaveHeader::platform),
              "the platform's buffer description must fit inside the port's header");

namespace win32_wave {

WAVEFORMATEX PlatformFormat(const port::WaveFormat& format) {
    WAVEFORMATEX wfx{};
    wfx.wFormatTag = format.formatTag;
    wfx.nChannels = format.channels;
    wfx.nSamplesPerSec = format.samplesPerSec;
    wfx.nAvgBytesPerSec = format.avgBytesPerSec;
    wfx.nBlockAlign = format.blockAlign;
    wfx.wBitsPerSample = format.bitsPerSample;
    wfx.cbSize = format.extraSize;
    return wfx;
}

WAVEHDR* PlatformHeader(port::WaveHeader* header) {
    return reinterpret_cast<WAVEHDR*>(header->platform);
}

WAVEHDR* DescribeBuffer(port::WaveHeader* header) {
    WAVEHDR* wave = PlatformHeader(header);
    std::memset(wave, 0, sizeof *wave);
    wave->lpData = reinterpret_cast<LPSTR>(header->data);
    wave->dwBufferLength = header->bufferLength;
    wave->dwUser = header->user;
    wave->dwFlags = header->flags;
    return wave;
}

} // namespace win32_wave

namespace port {

WaveHeader* WaveHeaderOfMessage(const Message& message) {
    if (message.message != MM_WIM_DATA && message.message != MM_WOM_DONE)
        return nullptr;
    // Address arithmetic only: the header may belong to a run that has ended.
    const auto wave = static_cast<uintptr_t>(message.lParam);
    if (wave == 0)
        return nullptr;
    return reinterpret_cast<WaveHeader*>(wave - offsetof(WaveHeader, platform));
}

} // namespace port
