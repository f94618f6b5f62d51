// What the Windows wave-in and wave-out devices share: the platform's buffer description kept
// inside the port's WaveHeader. Any thread.
#include <windows.h>

#include <cstddef>
#include <mmsystem.h>

#include "port/messages.h"
#include "port/port.h"

static_assert(sizeof(WAVEHDR) <= sizeof(port::WaveHeader::platform),
              "the platform's buffer description must fit inside the port's header");

namespace port {

WaveHeader* WaveHeaderOfMessage(const Message& message) {
    if (message.message != MM_WIM_DATA && message.message != MM_WOM_DONE)
        return nullptr;
    auto* wave = reinterpret_cast<WAVEHDR*>(message.lParam);
    if (wave == nullptr)
        return nullptr;
    auto* header = reinterpret_cast<WaveHeader*>(reinterpret_cast<unsigned char*>(wave) -
                                                 offsetof(WaveHeader, platform));
    header->bytesRecorded = wave->dwBytesRecorded;
    return header;
}

} // namespace port
