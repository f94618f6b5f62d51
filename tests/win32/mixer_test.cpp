// The Windows mixer layer: the type names against the SDK's own constants, CMixerBase and the
// input selector operations against a scripted mixer (the mixers under Wine have no selector),
// the real mixers under Wine, the notification handle and the "Select Mixer Device" dialog.
#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "port/mixer_report.h"
#include "port/port.h"
#include "port/win32/dialog_ids.h"
#include "port/win32/win32_mixer.h"
#include "recorded_ui.h"

namespace {

const std::string kNoSelectorText =
    "Could not find specified mixer control. Associated Windows control will be disabled.\n"
    "Control type: MIXERCONTROL_CONTROLTYPE_MUX,\n\n"
    "Dest line type: MIXERLINE_COMPONENTTYPE_DST_WAVEIN,\n"
    "Src  line type: No source line\n";

// A type name with the SDK's value of the constant of that name.
#define MXLINE(s)                                                                                  \
    { static_cast<uint32_t>(MIXERLINE_COMPONENTTYPE_##s), "MIXERLINE_COMPONENTTYPE_" #s }
#define MXCTRL(s)                                                                                  \
    { static_cast<uint32_t>(MIXERCONTROL_CONTROLTYPE_##s), "MIXERCONTROL_CONTROLTYPE_" #s }

TEST(MixerTypeNames, MatchTheSdkConstants) {
    const mixer::TypeName lines[] = {
        MXLINE(DST_UNDEFINED),  MXLINE(DST_DIGITAL),     MXLINE(DST_LINE),
        MXLINE(DST_MONITOR),    MXLINE(DST_SPEAKERS),    MXLINE(DST_HEADPHONES),
        MXLINE(DST_TELEPHONE),  MXLINE(DST_WAVEIN),      MXLINE(DST_VOICEIN),
        MXLINE(SRC_UNDEFINED),  MXLINE(SRC_DIGITAL),     MXLINE(SRC_LINE),
        MXLINE(SRC_MICROPHONE), MXLINE(SRC_SYNTHESIZER), MXLINE(SRC_COMPACTDISC),
        MXLINE(SRC_TELEPHONE),  MXLINE(SRC_PCSPEAKER),   MXLINE(SRC_WAVEOUT),
        MXLINE(SRC_AUXILIARY),  MXLINE(SRC_ANALOG),
    };
    for (const auto& n : lines)
        EXPECT_STREQ(mixer::LineTypeName(n.type), n.name);
    EXPECT_EQ(mixer::kNoSourceLine, MIXERLINE_COMPONENTTYPE_SRC_LAST + 1u);
    EXPECT_EQ(mixer::kDestinationWaveIn, uint32_t(MIXERLINE_COMPONENTTYPE_DST_WAVEIN));

    const mixer::TypeName controls[] = {
        MXCTRL(CUSTOM),        MXCTRL(BOOLEANMETER), MXCTRL(SIGNEDMETER), MXCTRL(PEAKMETER),
        MXCTRL(UNSIGNEDMETER), MXCTRL(BOOLEAN),      MXCTRL(ONOFF),       MXCTRL(MUTE),
        MXCTRL(MONO),          MXCTRL(LOUDNESS),     MXCTRL(STEREOENH),   MXCTRL(BASS_BOOST),
        MXCTRL(BUTTON),        MXCTRL(DECIBELS),     MXCTRL(SIGNED),      MXCTRL(UNSIGNED),
        MXCTRL(PERCENT),       MXCTRL(SLIDER),       MXCTRL(PAN),         MXCTRL(QSOUNDPAN),
        MXCTRL(FADER),         MXCTRL(VOLUME),       MXCTRL(BASS),        MXCTRL(TREBLE),
        MXCTRL(EQUALIZER),     MXCTRL(SINGLESELECT), MXCTRL(MUX),         MXCTRL(MULTIPLESELECT),
        MXCTRL(MIXER),         MXCTRL(MICROTIME),    MXCTRL(MILLITIME),
    };
    for (const auto& n : controls)
        EXPECT_STREQ(mixer::ControlTypeName(n.type), n.name);
    EXPECT_EQ(mixer::kControlMux, uint32_t(MIXERCONTROL_CONTROLTYPE_MUX));
    EXPECT_EQ(mixer::kListTextBytes, sizeof(MIXERCONTROLDETAILS_LISTTEXTA));
}

// ---- A scripted mixer: a speaker destination, then the wave-in destination ("Recording
// Control") with a microphone and a line-in source and the input selector on it.

constexpr DWORD kSelectorId = 42;
// An item name that fills its whole field, so that no zero ends it.
const std::string kFullName(MIXER_LONG_NAME_CHARS, 'S');

struct Script {
    UINT devices = 1;
    bool mapFails = false;
    bool openFails = false;
    std::vector<DWORD> destinations = {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
                                       MIXERLINE_COMPONENTTYPE_DST_WAVEIN};
    std::vector<DWORD> sources = {MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
                                  MIXERLINE_COMPONENTTYPE_SRC_LINE};
    DWORD lineControls = 1;
    DWORD lineChannels = 2;
    bool hasSelector = true;
    DWORD selectorType = MIXERCONTROL_CONTROLTYPE_MUX;
    DWORD selectorFlags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
    DWORD claimedItems = 0; // nonzero: the item count the driver claims instead
    std::vector<std::string> items = {"Microphone", "Line In", kFullName};
    std::vector<DWORD> values = {0, 1, 0}; // channel by channel, item by item
    bool valueReadFails = false;

    // What the layer did.
    int opens = 0;
    int closes = 0;
    int writes = 0;
    UINT mappedWaveIn = 99;
    UINT openedId = 0;
    DWORD_PTR openedCallback = 0;
    DWORD openedFlags = 0;
};
Script script;

HMIXER const kHandle = reinterpret_cast<HMIXER>(0x5150);

UINT WINAPI FakeGetNumDevs() {
    return script.devices;
}

// The mixer of wave-in device n is mixer n + 10.
MMRESULT WINAPI FakeGetId(HMIXEROBJ object, UINT* id, DWORD flags) {
    EXPECT_EQ(flags, DWORD(MIXER_OBJECTF_WAVEIN));
    script.mappedWaveIn = static_cast<UINT>(reinterpret_cast<UINT_PTR>(object));
    if (script.mapFails)
        return MMSYSERR_NODRIVER;
    *id = script.mappedWaveIn + 10;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeOpen(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
    script.openedId = id;
    script.openedCallback = callback;
    script.openedFlags = flags;
    if (script.openFails)
        return MMSYSERR_BADDEVICEID;
    ++script.opens;
    *mixer = kHandle;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeClose(HMIXER) {
    ++script.closes;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeGetDevCaps(UINT_PTR id, LPMIXERCAPSA caps, UINT) {
    EXPECT_EQ(reinterpret_cast<HMIXER>(id), kHandle);
    *caps = {};
    caps->cDestinations = static_cast<DWORD>(script.destinations.size());
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeGetLineInfo(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
    EXPECT_EQ(reinterpret_cast<HMIXER>(object), kHandle);
    EXPECT_EQ(flags & 0xF0000000u, DWORD(MIXER_OBJECTF_HMIXER)); // the handle-type bits
    const DWORD d = line->dwDestination;
    const DWORD s = line->dwSource;
    if (d >= script.destinations.size())
        return MIXERR_INVALLINE;
    const bool isWaveIn = script.destinations[d] == MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
        line->dwComponentType = script.destinations[d];
        line->cConnections = isWaveIn ? static_cast<DWORD>(script.sources.size()) : 0;
        line->cControls = script.lineControls;
        line->cChannels = script.lineChannels;
        line->dwLineID = 0xFFFF0000u + d;
        std::strcpy(line->szName, isWaveIn ? "Recording Control" : "Volume Control");
        std::strcpy(line->szShortName, isWaveIn ? "Recording" : "Volume");
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_SOURCE:
        if (!isWaveIn || s >= script.sources.size())
            return MIXERR_INVALLINE;
        line->dwComponentType = script.sources[s];
        line->cControls = 1;
        line->cChannels = 1;
        line->dwLineID = s;
        std::strcpy(line->szName, s == 0 ? "Microphone Level" : "Line In Level");
        std::strcpy(line->szShortName, s == 0 ? "Mic" : "Line");
        return MMSYSERR_NOERROR;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT WINAPI FakeGetLineControls(HMIXEROBJ object, LPMIXERLINECONTROLSA controls, DWORD flags) {
    EXPECT_EQ(flags, DWORD(MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE));
    EXPECT_EQ(controls->cControls, 1u);
    EXPECT_EQ(controls->cbmxctrl, sizeof(MIXERCONTROLA));
    if (!script.hasSelector || controls->dwControlType != MIXERCONTROL_CONTROLTYPE_MUX)
        return MIXERR_INVALCONTROL;
    MIXERCONTROLA& c = *controls->pamxctrl;
    c.dwControlID = kSelectorId;
    c.dwControlType = script.selectorType;
    c.fdwControl = script.selectorFlags;
    c.cMultipleItems =
        script.claimedItems != 0 ? script.claimedItems : static_cast<DWORD>(script.items.size());
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeGetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS details, DWORD flags) {
    EXPECT_EQ(details->dwControlID, kSelectorId);
    EXPECT_EQ(details->cMultipleItems, script.items.size());
    switch (flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) {
    case MIXER_GETCONTROLDETAILSF_LISTTEXT: {
        EXPECT_EQ(details->cChannels, 1u);
        EXPECT_EQ(details->cbDetails, sizeof(MIXERCONTROLDETAILS_LISTTEXTA));
        auto* records = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(details->paDetails);
        for (std::size_t i = 0; i < script.items.size(); ++i)
            std::strncpy(records[i].szName, script.items[i].c_str(), MIXER_LONG_NAME_CHARS);
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETCONTROLDETAILSF_VALUE:
        if (script.valueReadFails)
            return MMSYSERR_ERROR;
        EXPECT_EQ(details->cbDetails, sizeof(DWORD));
        EXPECT_EQ(details->cChannels * details->cMultipleItems, script.values.size());
        std::memcpy(details->paDetails, script.values.data(), script.values.size() * sizeof(DWORD));
        return MMSYSERR_NOERROR;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT WINAPI FakeSetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS details, DWORD flags) {
    EXPECT_EQ(flags, DWORD(MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE));
    EXPECT_EQ(details->dwControlID, kSelectorId);
    EXPECT_EQ(details->cChannels * details->cMultipleItems, script.values.size());
    ++script.writes;
    std::memcpy(script.values.data(), details->paDetails, script.values.size() * sizeof(DWORD));
    return MMSYSERR_NOERROR;
}

const MixerApi kScriptedApi = {FakeGetNumDevs,
                               FakeGetId,
                               FakeOpen,
                               FakeClose,
                               FakeGetDevCaps,
                               FakeGetLineInfo,
                               FakeGetLineControls,
                               FakeGetControlDetails,
                               FakeSetControlDetails};

std::vector<std::string> Texts(const std::vector<RecordedMessage>& shown) {
    std::vector<std::string> texts;
    for (const RecordedMessage& m : shown) {
        EXPECT_EQ(m.flags, unsigned(MB_OK | MB_ICONEXCLAMATION));
        texts.push_back(m.caption + ": " + m.text);
    }
    return texts;
}

class ScriptedMixer : public ::testing::Test {
protected:
    void SetUp() override {
        script = Script();
        mixerDeviceIndex = 0;
        SetMixerApi(&kScriptedApi);
        TakeRecordedMessages();
    }
    void TearDown() override {
        port::CloseMixerNotifications();
        SetMixerApi(nullptr);
        mixerDeviceIndex = 0;
        EXPECT_EQ(script.opens, script.closes) << "every opened mixer is closed again";
    }
};

TEST_F(ScriptedMixer, ListsSelectsAndReadsTheInputs) {
    mixerDeviceIndex = 1;
    port::StringList names = {"stale"};
    EXPECT_EQ(port::GetInputLineNames(&names), 3);
    EXPECT_EQ(names, (port::StringList{"Microphone", "Line In", kFullName}));
    EXPECT_EQ(script.mappedWaveIn, 1u);
    EXPECT_EQ(script.openedId, 11u);
    EXPECT_EQ(script.openedFlags, DWORD(MIXER_OBJECTF_MIXER | CALLBACK_NULL));
    EXPECT_EQ(port::GetSelectedInputLine(), 1);

    EXPECT_EQ(port::SelectInputLine(2), 1);
    EXPECT_EQ(script.values, (std::vector<DWORD>{0, 0, 1}));
    EXPECT_EQ(port::GetSelectedInputLine(), 2);
    for (int bad : {-1, 3}) {
        EXPECT_EQ(port::SelectInputLine(bad), 0) << bad;
        EXPECT_EQ(script.values, (std::vector<DWORD>{0, 0, 1})) << bad;
    }
    EXPECT_EQ(script.writes, 1);
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(ScriptedMixer, SelectionOfNoneOrUnreadableOrWithValuesPerChannel) {
    script.values = {0, 0, 0};
    EXPECT_EQ(port::GetSelectedInputLine(), -1);
    script.values = {0, 0, 1};
    script.valueReadFails = true;
    EXPECT_EQ(port::GetSelectedInputLine(), -1);

    script.valueReadFails = false;
    script.selectorFlags = MIXERCONTROL_CONTROLF_MULTIPLE;
    script.values = {0, 0, 1, 0, 0, 1};
    EXPECT_EQ(port::GetSelectedInputLine(), 2);
    EXPECT_EQ(port::SelectInputLine(0), 1);
    EXPECT_EQ(script.values, (std::vector<DWORD>{1, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(ScriptedMixer, FailuresAreReportedAndLeaveTheListAlone) {
    struct Case {
        const char* what;
        void (*arrange)();
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        {"no device", [] { script.devices = 0; }, {"CMixerBase::Init: No mixer device present"}},
        {"wave-in device without mixer",
         [] { script.mapFails = true; },
         {"CMixerBase::Init: Could not open mixer device"}},
        {"open fails",
         [] { script.openFails = true; },
         {"CMixerBase::Init: Could not open mixer device"}},
        {"no wave-in destination",
         [] { script.destinations = {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS}; },
         {}},
        {"line without controls",
         [] { script.lineControls = 0; },
         {"CMixerBase::Init: No controls available for this audio line: Recording Control"}},
        {"no selector",
         [] { script.hasSelector = false; },
         {"CMixerBase::Init: " + kNoSelectorText}},
        {"custom units",
         [] { script.selectorType = MIXERCONTROL_CONTROLTYPE_CUSTOM; },
         {"CMixerBase::InitMXDetails: Control uses unknown units."}},
        {"absurd item count",
         [] { script.claimedItems = 0x40000000; },
         {"CMixerBase::InitMXDetails: Memory allocation error."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        script = Script();
        c.arrange();
        port::StringList names = {"kept"};
        EXPECT_EQ(port::GetInputLineNames(&names), 0);
        EXPECT_EQ(names, port::StringList{"kept"});
        EXPECT_EQ(Texts(TakeRecordedMessages()), c.reports);
        EXPECT_EQ(port::SelectInputLine(0), 0);
        EXPECT_EQ(script.writes, 0);
        TakeRecordedMessages();
        EXPECT_EQ(script.opens, script.closes);
    }
}

TEST_F(ScriptedMixer, FindsSourceLinesOrReportsTheMissingOne) {
    CMixerBase m;
    ASSERT_EQ(m.Init(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, MIXERLINE_COMPONENTTYPE_SRC_LINE,
                     MIXERCONTROL_CONTROLTYPE_MUX, nullptr),
              1);
    EXPECT_EQ(m.destinationName, "Recording Control");
    EXPECT_EQ(m.lineName, "Line In Level");

    EXPECT_EQ(m.Init(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
                     MIXERCONTROL_CONTROLTYPE_MUX, nullptr),
              0);
    EXPECT_EQ(m.mixer, nullptr);
    EXPECT_EQ(m.values, nullptr);
    EXPECT_EQ(Texts(TakeRecordedMessages()),
              std::vector<std::string>{"CMixerBase::Init: Warning: the source line \n"
                                       "MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC\n not found.\n\n"
                                       "(Associated to Destination line \nRecording Control)"});
}

TEST_F(ScriptedMixer, NotificationHandleOpensOnceForTheWindow) {
    HWND window = reinterpret_cast<HWND>(0x777);
    mixerDeviceIndex = 1;
    ASSERT_TRUE(port::OpenMixerNotifications(window));
    EXPECT_EQ(script.openedFlags, DWORD(MIXER_OBJECTF_MIXER | CALLBACK_WINDOW));
    EXPECT_EQ(script.openedCallback, reinterpret_cast<DWORD_PTR>(window));
    EXPECT_EQ(script.openedId, 11u);
    EXPECT_EQ(mixerNotifyHandle, kHandle);
    EXPECT_FALSE(port::OpenMixerNotifications(window));
    EXPECT_EQ(script.opens, 1);
    port::CloseMixerNotifications();
    port::CloseMixerNotifications();
    EXPECT_EQ(script.closes, 1);
    EXPECT_EQ(mixerNotifyHandle, nullptr);

    script.openFails = true;
    EXPECT_FALSE(port::OpenMixerNotifications(window));
    EXPECT_EQ(mixerNotifyHandle, nullptr);
    EXPECT_EQ(Texts(TakeRecordedMessages()),
              std::vector<std::string>{"CMixerBase::Init: Could not open mixer device"});
}

// ---- The mixers Wine offers (the acceptance journey meets their missing input selector).

class WineMixer : public ::testing::Test {
protected:
    void SetUp() override {
        if (waveInGetNumDevs() == 0 || mixerGetNumDevs() == 0)
            GTEST_SKIP() << "no wave-in device with a mixer here";
        TakeRecordedMessages();
    }
    void TearDown() override {
        port::CloseMixerNotifications();
        mixerDeviceIndex = 0;
    }
};

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

TEST_F(WineMixer, DeviceDialogListsWaveInDevicesAndStoresTheChoice) {
    std::vector<std::string> expected;
    for (UINT i = 0; i < waveInGetNumDevs(); ++i) {
        WAVEINCAPSA caps = {};
        ASSERT_EQ(waveInGetDevCapsA(i, &caps, sizeof caps), MMSYSERR_NOERROR);
        expected.push_back(caps.szPname);
    }
    const int last = static_cast<int>(expected.size()) - 1;
    int result = 0;

    DriveModalDialog(
        "Select Mixer Device",
        [&](HWND dialog) {
            HWND combo = GetDlgItem(dialog, IDC_MIXER_DEVICES);
            EXPECT_EQ(ComboItems(combo), expected);
            EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
            SendMessageA(combo, CB_SETCURSEL, last, 0);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        [&] { result = port::SelectMixerDevice(nullptr); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(mixerDeviceIndex, UINT(last));

    DriveModalDialog(
        "Select Mixer Device",
        [&](HWND dialog) {
            HWND combo = GetDlgItem(dialog, IDC_MIXER_DEVICES);
            EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), last);
            SendMessageA(combo, CB_SETCURSEL, WPARAM(-1), 0);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0); // nothing chosen: the dialog stays
            EXPECT_TRUE(IsWindowVisible(dialog));
            SendMessageA(combo, CB_SETCURSEL, 0, 0);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        [&] { result = port::SelectMixerDevice(nullptr); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(mixerDeviceIndex, UINT(last));
}

} // namespace
