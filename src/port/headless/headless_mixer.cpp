// The headless port's mixer: a model of the wave-in devices and their input selectors that tests
// configure, answering the mixer operations with the Windows program's results and messages.
// User-interface thread.
#include "port/headless/headless.h"
#include "port/headless/headless_reset.h"
#include "port/messages.h"
#include "port/mixer_report.h"
#include "port/port.h"

namespace {

const headless::MixerDevice kDefaultDevice = {"Headless Audio", true, {"Microphone", "Line In"}, 0};

std::vector<headless::MixerDevice> devices = {kDefaultDevice};
int deviceIndex = 0;
int deviceAnswer = -1;

bool notifyOpen = false;
int notifyDevice = 0;
port::WindowHandle notifyWindow = nullptr;
std::vector<port::Message> notifications;

bool ValidDevice(int device) {
    return device >= 0 && static_cast<std::size_t>(device) < devices.size();
}

// The device of the next operation, opened as the Windows program opens it; null (reported)
// when there is no selector to work on.
headless::MixerDevice* OpenSelector() {
    if (devices.empty()) {
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kNoDevice);
        return nullptr;
    }
    if (!ValidDevice(deviceIndex)) {
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kCannotOpen);
        return nullptr;
    }
    headless::MixerDevice& device = devices[deviceIndex];
    if (!device.hasSelector) {
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kControlNotFound,
                                mixer::ControlTypeName(mixer::kControlMux),
                                mixer::LineTypeName(mixer::kDestinationWaveIn),
                                mixer::LineTypeName(mixer::kNoSourceLine));
        return nullptr;
    }
    return &device;
}

void PostChange(int device) {
    if (notifyOpen && notifyDevice == device)
        notifications.push_back({notifyWindow, MM_MIXM_CONTROL_CHANGE,
                                 static_cast<uintptr_t>(device + 1),
                                 static_cast<intptr_t>(mixer::kControlMux)});
}

} // namespace

namespace headless {

void SetMixerDevices(const std::vector<MixerDevice>& list) {
    devices = list;
    deviceIndex = 0;
}

MixerDevice MixerDeviceState(int device) {
    return ValidDevice(device) ? devices[device] : MixerDevice{};
}

int MixerDeviceIndex() {
    return deviceIndex;
}

void ChangeMixerInputElsewhere(int device, int input) {
    if (!ValidDevice(device))
        return;
    MixerDevice& d = devices[device];
    d.selected = input >= 0 && static_cast<std::size_t>(input) < d.inputs.size() ? input : -1;
    PostChange(device);
}

std::vector<port::Message> TakeMixerNotifications() {
    std::vector<port::Message> taken;
    taken.swap(notifications);
    return taken;
}

void SetMixerDeviceAnswer(int device) {
    deviceAnswer = device;
}

void ResetMixer() {
    SetMixerDevices({kDefaultDevice});
    deviceAnswer = -1;
    notifyOpen = false;
    notifications.clear();
}

} // namespace headless

namespace port {

int GetInputLineNames(StringList* names) {
    const headless::MixerDevice* device = OpenSelector();
    if (device == nullptr)
        return 0;
    *names = device->inputs;
    return static_cast<int>(names->size());
}

int GetSelectedInputLine() {
    const headless::MixerDevice* device = OpenSelector();
    return device != nullptr ? device->selected : -1;
}

int SelectInputLine(int index) {
    headless::MixerDevice* device = OpenSelector();
    if (device == nullptr || index < 0 || static_cast<std::size_t>(index) >= device->inputs.size())
        return 0;
    device->selected = index;
    PostChange(deviceIndex);
    return 1;
}

bool OpenMixerNotifications(WindowHandle window) {
    if (notifyOpen)
        return false;
    if (!ValidDevice(deviceIndex)) {
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kCannotOpen);
        return false;
    }
    notifyOpen = true;
    notifyDevice = deviceIndex;
    notifyWindow = window;
    return true;
}

void CloseMixerNotifications() {
    notifyOpen = false;
}

int SelectMixerDevice(WindowHandle owner) {
    if (!ValidDevice(deviceAnswer))
        return IDCANCEL;
    deviceIndex = deviceAnswer;
    return IDOK;
}

} // namespace port
