// Wave-out on Windows: winmm's waveOut with CALLBACK_THREAD, so that finished buffers reach the
// engine's own thread as MM_WOM_DONE messages. Called by the engine's owner and its worker.
#include <windows.h>

#include <mmsystem.h>

#include "port/port.h"
#include "port/win32/win32_wave.h"

namespace {

HWAVEOUT Handle(port::WaveDevice device) {
    return static_cast<HWAVEOUT>(device);
}

} // namespace

namespace port {

uint32_t WaveOutDeviceCount() {
    return waveOutGetNumDevs();
}

WaveDevice OpenWaveOut(uint32_t index, const WaveFormat& format, uint32_t threadId) {
    WAVEFORMATEX wf = win32_wave::PlatformFormat(format);
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, index, &wf, threadId, 0, CALLBACK_THREAD) != MMSYSERR_NOERROR)
        return nullptr;
    return device;
}

bool PrepareWaveOut(WaveDevice device, WaveHeader* header) {
    // Rewriting a header the device still holds would corrupt its queue.
    if ((win32_wave::PlatformHeader(header)->dwFlags & WHDR_PREPARED) != 0)
        return false;
    WAVEHDR* wave = win32_wave::DescribeBuffer(header);
    return waveOutPrepareHeader(Handle(device), wave, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

bool UnprepareWaveOut(WaveDevice device, WaveHeader* header) {
    return waveOutUnprepareHeader(Handle(device), win32_wave::PlatformHeader(header),
                                  sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

bool WriteWaveOut(WaveDevice device, WaveHeader* header) {
    return waveOutWrite(Handle(device), win32_wave::PlatformHeader(header), sizeof(WAVEHDR)) ==
           MMSYSERR_NOERROR;
}

bool PauseWaveOut(WaveDevice device) {
    return waveOutPause(Handle(device)) == MMSYSERR_NOERROR;
}

bool RestartWaveOut(WaveDevice device) {
    return waveOutRestart(Handle(device)) == MMSYSERR_NOERROR;
}

bool ResetWaveOut(WaveDevice device) {
    return waveOutReset(Handle(device)) == MMSYSERR_NOERROR;
}

bool CloseWaveOut(WaveDevice device) {
    return waveOutClose(Handle(device)) == MMSYSERR_NOERROR;
}

} // namespace port
