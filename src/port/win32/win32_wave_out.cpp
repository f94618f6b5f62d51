// Wave-out on Windows: winmm's waveOut with CALLBACK_THREAD, so that finished buffers reach the
// engine's own thread as MM_WOM_DONE messages. Called by the engine's owner and its worker.
#include <windows.h>

#include <cstring>
#include <mmsystem.h>

#include "port/port.h"

namespace {

HWAVEOUT Handle(port::WaveDevice device) {
    return static_cast<HWAVEOUT>(device);
}

WAVEHDR* Platform(port::WaveHeader* header) {
    return reinterpret_cast<WAVEHDR*>(header->platform);
}

} // namespace

namespace port {

uint32_t WaveOutDeviceCount() {
    return waveOutGetNumDevs();
}

WaveDevice OpenWaveOut(uint32_t index, const WaveFormat& format, uint32_t threadId) {
    WAVEFORMATEX wf{};
    wf.wFormatTag = format.formatTag;
    wf.nChannels = format.channels;
    wf.nSamplesPerSec = format.samplesPerSec;
    wf.nAvgBytesPerSec = format.avgBytesPerSec;
    wf.nBlockAlign = format.blockAlign;
    wf.wBitsPerSample = format.bitsPerSample;
    wf.cbSize = format.extraSize;
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, index, &wf, threadId, 0, CALLBACK_THREAD) != MMSYSERR_NOERROR)
        return nullptr;
    return device;
}

bool PrepareWaveOut(WaveDevice device, WaveHeader* header) {
    WAVEHDR* wave = Platform(header);
    // Rewriting a header the device still holds would corrupt its queue.
    if ((wave->dwFlags & WHDR_PREPARED) != 0)
        return false;
    std::memset(wave, 0, sizeof(WAVEHDR));
    wave->lpData = reinterpret_cast<LPSTR>(header->data);
    wave->dwBufferLength = header->bufferLength;
    wave->dwUser = header->user;
    return waveOutPrepareHeader(Handle(device), wave, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

bool UnprepareWaveOut(WaveDevice device, WaveHeader* header) {
    return waveOutUnprepareHeader(Handle(device), Platform(header), sizeof(WAVEHDR)) ==
           MMSYSERR_NOERROR;
}

bool WriteWaveOut(WaveDevice device, WaveHeader* header) {
    return waveOutWrite(Handle(device), Platform(header), sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
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
