// What the parts of the headless port without a public control of their own put back for
// headless::ResetPort (headless_port.cpp). User-interface thread.
#pragma once

namespace headless {

// No key down, the cursor at (0, 0), the focus on the program's window, the mouse released.
void ResetInput();
// No client sizes, empty status texts, the view's scroll bar at zero.
void ResetWindows();
// The one default device chosen, its microphone selected, Cancel in the device dialog, the
// notification handle closed and no notification waiting.
void ResetMixer();

} // namespace headless
