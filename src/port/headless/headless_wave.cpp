// What the headless wave-in and wave-out devices share: they post the port's own header in the
// buffer-done message. Any thread.
#include "port/messages.h"
#include "port/port.h"

namespace port {

WaveHeader* WaveHeaderOfMessage(const Message& message) {
    if (message.message != MM_WIM_DATA && message.message != MM_WOM_DONE)
        return nullptr;
    return reinterpret_cast<WaveHeader*>(message.lParam);
}

} // namespace port
