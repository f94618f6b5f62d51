// The Windows mixer layer: one line and one control of the mixer belonging to the chosen wave-in
// device, the input selector operations built on it, and the device choice. Include after
// <windows.h> and <mmsystem.h>. User-interface thread.
#pragma once

#include <memory>
#include <string>

// The winmm mixer functions the layer calls. The Win32 tests put a scripted mixer in their
// place, since the mixers they run on have no input selector to work on.
struct MixerApi {
    decltype(&::mixerGetNumDevs) getNumDevs;
    decltype(&::mixerGetID) getId;
    decltype(&::mixerOpen) open;
    decltype(&::mixerClose) close;
    decltype(&::mixerGetDevCapsA) getDevCaps;
    decltype(&::mixerGetLineInfoA) getLineInfo;
    decltype(&::mixerGetLineControlsA) getLineControls;
    decltype(&::mixerGetControlDetailsA) getControlDetails;
    decltype(&::mixerSetControlDetails) setControlDetails;
};
// Replaces the functions; null restores winmm's own.
void SetMixerApi(const MixerApi* api);

// The wave-in device whose mixer every operation opens (0 at start; the device dialog changes it).
extern UINT mixerDeviceIndex;
// The handle that posts MM_MIXM_CONTROL_CHANGE to the frame window, open for the whole run.
extern HMIXER mixerNotifyHandle;

class CMixerBase {
public:
    CMixerBase();
    virtual ~CMixerBase();
    CMixerBase(const CMixerBase&) = delete;
    CMixerBase& operator=(const CMixerBase&) = delete;

    // Opens the mixer (notifications to callbackWindow, if any) and finds the destination line of
    // destinationType, its source line of sourceType (mixer::kNoSourceLine: the destination
    // itself) and that line's control of controlType; then InitMXDetails. 1 on success; 0 after
    // reporting, with the mixer closed.
    int Init(DWORD destinationType, DWORD sourceType, DWORD controlType, HWND callbackWindow);
    // Prepares details and values for the control found. 1 on success; 0 after reporting, with
    // the mixer closed.
    int InitMXDetails();
    // Write or read values through details; 1 when the driver accepted the call.
    int SetControlDetails();
    int GetControlDetails();
    // Closes the mixer and frees the values; may be repeated.
    void Close();

    // Values of the control per channel: the item count of a multiple-item control, else 1.
    DWORD ItemsPerChannel() const;

    std::string lineName;
    std::string destinationName;
    std::string lineShortName;
    HMIXER mixer;
    MIXERCONTROLA control;
    DWORD lineChannels;
    MIXERCONTROLDETAILS details;
    std::unique_ptr<DWORD[]> values; // ItemsPerChannel() * details.cChannels entries
};
