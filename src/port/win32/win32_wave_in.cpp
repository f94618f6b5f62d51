// Capture devices on Windows: winmm wave-in with thread notifications. Called by the capture
// object's owner and its worker under the owner's lock, as the contract in src/port/port.h says.
#include <windows.h>

#include <mmsystem.h>

#include "port/port.h"
#include "port/win32/win32_wave.h"

namespace {

HWAVEIN Handle(port::WaveDevice device) {
    return static_cast<HWAVEIN>(device);
}

} // namespace

namespace port {

uint32_t WaveInDeviceCount() {
    return waveInGetNumDevs();
}

bool OpenWaveIn(uint32_t deviceId, const WaveFormat& format, uint32_t threadId, WaveDevice* out) {
    WAVEFORMATEX wfx = win32_wave::PlatformFormat(format);
    HWAVEIN handle = nullptr;
    if (waveInOpen(&handle, deviceId, &wfx, threadId, 0, CALLBACK_THREAD) != MMSYSERR_NOERROR)
        return false;
    *out = handle;
    return true;
}

bool PrepareWaveIn(WaveDevice device, WaveHeader* header) {
    WAVEHDR* wave = win32_wave::DescribeBuffer(header);
    return waveInPrepareHeader(Handle(device), wave, sizeof *wave) == MMSYSERR_NOERROR;
}

bool UnprepareWaveIn(WaveDevice device, WaveHeader* header) {
    WAVEHDR* wave = win32_wave::PlatformHeader(header);
    if (waveInUnprepareHeader(Handle(device), wave, sizeof *wave) != MMSYSERR_NOERROR)
        return false;
    header->bytesRecorded = wave->dwBytesRecorded;
    return true;
}

bool AddWaveInBuffer(WaveDevice device, WaveHeader* header) {
    return waveInAddBuffer(Handle(device), win32_wave::PlatformHeader(header), sizeof(WAVEHDR)) ==
           MMSYSERR_NOERROR;
}

bool WaveInBufferDone(WaveDevice, const WaveHeader* header) {
    // The driver sets the flag from its own thread.
    const volatile DWORD* flags = &reinterpret_cast<const WAVEHDR*>(header->platform)->dwFlags;
    return (*flags & WHDR_DONE) != 0;
}

bool StartWaveIn(WaveDevice device) {
    return waveInStart(Handle(device)) == MMSYSERR_NOERROR;
}

bool StopWaveIn(WaveDevice device) {
    return waveInStop(Handle(device)) == MMSYSERR_NOERROR;
}

bool ResetWaveIn(WaveDevice device) {
    return waveInReset(Handle(device)) == MMSYSERR_NOERROR;
}

bool CloseWaveIn(WaveDevice device) {
    return waveInClose(Handle(device)) == MMSYSERR_NOERROR;
}

} // namespace port
