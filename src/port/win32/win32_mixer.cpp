// The Windows mixer layer: CMixerBase over winmm's mixer functions, the input selector operations
// of the port, the notification handle and the "Select Mixer Device" dialog. User-interface thread.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <mmsystem.h>
#include <new>

#include "port/mixer_report.h"
#include "port/port.h"
#include "port/win32/dialog_ids.h"
#include "port/win32/win32_mixer.h"

UINT mixerDeviceIndex = 0;
HMIXER mixerNotifyHandle = nullptr;

namespace {

const MixerApi winmmApi = {mixerGetNumDevs,
                           mixerGetID,
                           mixerOpen,
                           mixerClose,
                           mixerGetDevCapsA,
                           mixerGetLineInfoA,
                           mixerGetLineControlsA,
                           mixerGetControlDetailsA,
                           mixerSetControlDetails};
const MixerApi* api = &winmmApi;

// More values than any selector has; a driver that claims more is treated as out of memory.
constexpr uint64_t kMaxValues = 1u << 20;

// A name field of a driver's record, which need not end with a zero when it is full.
template <std::size_t N> std::string FixedText(const char (&text)[N]) {
    const void* end = std::memchr(text, 0, N);
    return std::string(text, end != nullptr ? static_cast<const char*>(end) - text : N);
}

// Opens the mixer of the chosen wave-in device: the index counts wave-in devices (it is chosen
// from their list), which need not be the numbering of the mixers.
MMRESULT OpenMixer(HMIXER* mixer, HWND callbackWindow) {
    UINT mixerId = 0;
    const MMRESULT mapped =
        api->getId(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(mixerDeviceIndex)), &mixerId,
                   MIXER_OBJECTF_WAVEIN);
    if (mapped != MMSYSERR_NOERROR)
        return mapped;
    const DWORD callback = callbackWindow != nullptr ? CALLBACK_WINDOW : CALLBACK_NULL;
    return api->open(mixer, mixerId, reinterpret_cast<DWORD_PTR>(callbackWindow), 0,
                     MIXER_OBJECTF_MIXER | callback);
}

// The input selector of the wave-in destination, opened without notifications.
bool InitInputSelector(CMixerBase& m) {
    return m.Init(mixer::kDestinationWaveIn, mixer::kNoSourceLine, mixer::kControlMux, nullptr) ==
           1;
}

} // namespace

void SetMixerApi(const MixerApi* replacement) {
    api = replacement != nullptr ? replacement : &winmmApi;
}

CMixerBase::CMixerBase() : mixer(nullptr), control(), lineChannels(0), details() {}

CMixerBase::~CMixerBase() {
    Close();
}

void CMixerBase::Close() {
    if (mixer != nullptr)
        api->close(mixer);
    mixer = nullptr;
    values.reset();
    details.paDetails = nullptr;
}

DWORD CMixerBase::ItemsPerChannel() const {
    return (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 ? control.cMultipleItems : 1;
}

int CMixerBase::Init(DWORD destinationType, DWORD sourceType, DWORD controlType,
                     HWND callbackWindow) {
    if (api->getNumDevs() == 0) {
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kNoDevice);
        return 0;
    }
    Close();
    if (OpenMixer(&mixer, callbackWindow) != MMSYSERR_NOERROR) {
        mixer = nullptr;
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kCannotOpen);
        return 0;
    }
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer);

    MIXERCAPSA caps = {};
    if (api->getDevCaps(reinterpret_cast<UINT_PTR>(mixer), &caps, sizeof caps) !=
        MMSYSERR_NOERROR) {
        Close();
        return 0;
    }
    MIXERLINEA line = {};
    DWORD destination = 0;
    for (;; ++destination) {
        if (destination >= caps.cDestinations) {
            Close();
            return 0;
        }
        line = {};
        line.cbStruct = sizeof line;
        line.dwDestination = destination;
        if (api->getLineInfo(object, &line,
                             MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) !=
            MMSYSERR_NOERROR) {
            Close();
            return 0;
        }
        if (line.dwComponentType == destinationType)
            break;
    }
    destinationName = FixedText(line.szName);

    if (sourceType != mixer::kNoSourceLine) {
        const DWORD sources = line.cConnections;
        bool found = false;
        for (DWORD source = 0; source < sources && !found; ++source) {
            MIXERLINEA candidate = {};
            candidate.cbStruct = sizeof candidate;
            candidate.dwDestination = destination;
            candidate.dwSource = source;
            if (api->getLineInfo(object, &candidate,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) !=
                MMSYSERR_NOERROR)
                break;
            if (candidate.dwComponentType == sourceType) {
                line = candidate;
                found = true;
            }
        }
        if (!found) {
            mixer::ReportMixerError(mixer::kInitCaption, mixer::kSourceNotFound,
                                    mixer::LineTypeName(sourceType), destinationName.c_str());
            Close();
            return 0;
        }
    }
    lineChannels = line.cChannels;
    lineName = FixedText(line.szName);
    lineShortName = FixedText(line.szShortName);
    if (line.cControls == 0) {
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kNoControls, lineName.c_str());
        Close();
        return 0;
    }

    control = {};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (api->getLineControls(object, &controls,
                             MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR) {
        mixer::ReportMixerError(
            mixer::kInitCaption, mixer::kControlNotFound, mixer::ControlTypeName(controlType),
            mixer::LineTypeName(destinationType), mixer::LineTypeName(sourceType));
        Close();
        return 0;
    }
    return InitMXDetails();
}

int CMixerBase::InitMXDetails() {
    details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    // A line that claims no channels is read as one, so that every item has a value.
    details.cChannels =
        (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0 || lineChannels == 0
            ? 1
            : lineChannels;
    details.cMultipleItems = control.cMultipleItems;
    details.cbDetails = sizeof(DWORD);

    switch (control.dwControlType & MIXERCONTROL_CT_UNITS_MASK) {
    case MIXERCONTROL_CT_UNITS_BOOLEAN:
    case MIXERCONTROL_CT_UNITS_SIGNED:
    case MIXERCONTROL_CT_UNITS_UNSIGNED:
    case MIXERCONTROL_CT_UNITS_DECIBELS:
    case MIXERCONTROL_CT_UNITS_PERCENT:
        break;
    default:
        mixer::ReportMixerError(mixer::kDetailsCaption, mixer::kUnknownUnits);
        Close();
        return 0;
    }

    const uint64_t count = static_cast<uint64_t>(ItemsPerChannel()) * details.cChannels;
    values.reset(count <= kMaxValues ? new (std::nothrow) DWORD[static_cast<std::size_t>(count)]()
                                     : nullptr);
    if (!values) {
        mixer::ReportMixerError(mixer::kDetailsCaption, mixer::kNoMemory);
        Close();
        return 0;
    }
    details.paDetails = values.get();
    return 1;
}

int CMixerBase::SetControlDetails() {
    return api->setControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}

int CMixerBase::GetControlDetails() {
    return api->getControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}

namespace {

INT_PTR CALLBACK SelectMixerDeviceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HWND list = GetDlgItem(dialog, IDC_MIXER_DEVICES);
        const UINT count = waveInGetNumDevs();
        for (UINT i = 0; i < count; ++i) {
            WAVEINCAPSA caps = {};
            if (waveInGetDevCapsA(i, &caps, sizeof caps) != MMSYSERR_NOERROR)
                break;
            const std::string name = FixedText(caps.szPname);
            SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        SendMessageA(list, CB_SETCURSEL, mixerDeviceIndex, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const LRESULT chosen =
                SendDlgItemMessageA(dialog, IDC_MIXER_DEVICES, CB_GETCURSEL, 0, 0);
            if (chosen != CB_ERR) {
                mixerDeviceIndex = static_cast<UINT>(chosen);
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

namespace port {

int GetInputLineNames(StringList* names) {
    CMixerBase m;
    if (!InitInputSelector(m))
        return 0;
    names->clear();
    const DWORD items = m.control.cMultipleItems;
    std::unique_ptr<MIXERCONTROLDETAILS_LISTTEXTA[]> records(
        items <= kMaxValues ? new (std::nothrow) MIXERCONTROLDETAILS_LISTTEXTA[items]() : nullptr);
    if (!records)
        return 0;
    MIXERCONTROLDETAILS list = m.details;
    list.cChannels = 1;
    list.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXTA);
    list.paDetails = records.get();
    if (api->getControlDetails(reinterpret_cast<HMIXEROBJ>(m.mixer), &list,
                               MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT) ==
        MMSYSERR_NOERROR) {
        for (DWORD i = 0; i < items; ++i)
            names->push_back(FixedText(records[i].szName));
    }
    return static_cast<int>(names->size());
}

int GetSelectedInputLine() {
    CMixerBase m;
    if (!InitInputSelector(m) || !m.GetControlDetails())
        return -1;
    const DWORD items = m.ItemsPerChannel();
    for (DWORD i = 0; i < items; ++i)
        if (m.values[i] != 0)
            return static_cast<int>(i);
    return -1;
}

int SelectInputLine(int index) {
    CMixerBase m;
    if (!InitInputSelector(m))
        return 0;
    const DWORD items = m.ItemsPerChannel();
    if (index < 0 || static_cast<DWORD>(index) >= items)
        return 0;
    for (DWORD channel = 0; channel < m.details.cChannels; ++channel)
        for (DWORD i = 0; i < items; ++i)
            m.values[channel * items + i] = i == static_cast<DWORD>(index) ? 1 : 0;
    m.SetControlDetails();
    return 1;
}

bool OpenMixerNotifications(WindowHandle window) {
    if (mixerNotifyHandle != nullptr)
        return false;
    if (OpenMixer(&mixerNotifyHandle, static_cast<HWND>(window)) != MMSYSERR_NOERROR) {
        mixerNotifyHandle = nullptr;
        mixer::ReportMixerError(mixer::kInitCaption, mixer::kCannotOpen);
        return false;
    }
    return true;
}

void CloseMixerNotifications() {
    if (mixerNotifyHandle != nullptr)
        api->close(mixerNotifyHandle);
    mixerNotifyHandle = nullptr;
}

int SelectMixerDevice(WindowHandle owner) {
    const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(port::ProgramModule()),
                                           MAKEINTRESOURCEA(IDD_MIXER_DEVICE),
                                           static_cast<HWND>(owner), SelectMixerDeviceProc, 0);
    return result == IDOK ? IDOK : IDCANCEL;
}

} // namespace port
