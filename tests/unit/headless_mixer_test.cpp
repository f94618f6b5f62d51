// The headless mixer model as the Input band sees it: the input list, the selection, changes made
// elsewhere arriving as notifications, the device choice, and the reports of a missing mixer or
// selector, worded as the Windows program words them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "port/headless/headless.h"
#include "port/messages.h"
#include "port/mixer_report.h"
#include "port/port.h"

namespace {

using headless::MixerDevice;

const std::string kNoSelectorText =
    "Could not find specified mixer control. Associated Windows control will be disabled.\n"
    "Control type: MIXERCONTROL_CONTROLTYPE_MUX,\n\n"
    "Dest line type: MIXERLINE_COMPONENTTYPE_DST_WAVEIN,\n"
    "Src  line type: No source line\n";

void* const kFrame = reinterpret_cast<void*>(0x1234);

class HeadlessMixer : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        Reset();
        headless::SetMixerDevices({{"Headless Audio", true, {"Microphone", "Line In"}, 0}});
    }
    static void Reset() {
        port::CloseMixerNotifications();
        headless::SetMixerDeviceAnswer(-1);
        headless::TakeMessages();
        headless::TakeMixerNotifications();
    }
    static std::vector<std::string> Texts(const std::vector<headless::ShownMessage>& shown) {
        std::vector<std::string> texts;
        for (const auto& m : shown) {
            EXPECT_EQ(m.flags, unsigned(MB_OK | MB_ICONEXCLAMATION));
            texts.push_back(m.caption + ": " + m.text);
        }
        return texts;
    }
};

TEST_F(HeadlessMixer, MissingMixerOrSelectorIsReportedAndYieldsNothing) {
    struct Case {
        const char* what;
        std::vector<MixerDevice> devices;
        std::string report;
    };
    const Case cases[] = {
        {"no mixer", {}, "CMixerBase::Init: No mixer device present"},
        {"no selector", {{"Card", false, {}, -1}}, "CMixerBase::Init: " + kNoSelectorText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::SetMixerDevices(c.devices);
        port::StringList names = {"kept"};
        EXPECT_EQ(port::GetInputLineNames(&names), 0);
        EXPECT_EQ(names, port::StringList{"kept"});
        EXPECT_EQ(port::GetSelectedInputLine(), -1);
        EXPECT_EQ(port::SelectInputLine(0), 0);
        EXPECT_EQ(Texts(headless::TakeMessages()),
                  std::vector<std::string>(3, c.report)); // one report per operation
    }
}

TEST_F(HeadlessMixer, NoMixerCannotOpenNotificationsEither) {
    headless::SetMixerDevices({});
    EXPECT_FALSE(port::OpenMixerNotifications(kFrame));
    EXPECT_EQ(Texts(headless::TakeMessages()),
              std::vector<std::string>{"CMixerBase::Init: Could not open mixer device"});
}

// The model beyond what the Input band tests reach: refused selections, notifications only to
// the open handle of the first device, and a cancelled device choice.
TEST_F(HeadlessMixer, SelectionNotificationsAndDeviceChoice) {
    headless::SetMixerDevices(
        {{"First", true, {"Microphone", "Line In"}, -1}, {"Second", true, {"Line In", "Aux"}, 1}});
    EXPECT_EQ(port::GetSelectedInputLine(), -1) << "all values zero: no selection";
    headless::ChangeMixerInputElsewhere(0, 1); // nobody listens yet
    EXPECT_TRUE(headless::TakeMixerNotifications().empty());

    ASSERT_TRUE(port::OpenMixerNotifications(kFrame));
    EXPECT_FALSE(port::OpenMixerNotifications(kFrame)) << "no second handle";
    for (int bad : {-1, 2}) {
        EXPECT_EQ(port::SelectInputLine(bad), 0) << bad;
        EXPECT_EQ(port::GetSelectedInputLine(), 1) << bad;
    }
    EXPECT_EQ(port::SelectInputLine(0), 1); // the program's own change is announced too
    const auto posted = headless::TakeMixerNotifications();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].window, kFrame);
    EXPECT_EQ(posted[0].message, unsigned(MM_MIXM_CONTROL_CHANGE));

    for (int answer : {-1, 2}) { // cancelled, or a device not listed
        headless::SetMixerDeviceAnswer(answer);
        EXPECT_EQ(port::SelectMixerDevice(kFrame), IDCANCEL);
        EXPECT_EQ(headless::MixerDeviceIndex(), 0);
    }
    headless::SetMixerDeviceAnswer(1);
    EXPECT_EQ(port::SelectMixerDevice(kFrame), IDOK);
    EXPECT_EQ(port::SelectInputLine(0), 1);
    EXPECT_EQ(headless::MixerDeviceState(0).selected, 0);
    EXPECT_TRUE(headless::TakeMixerNotifications().empty()) << "the handle listens to device 0";

    port::CloseMixerNotifications();
    port::CloseMixerNotifications();
    headless::ChangeMixerInputElsewhere(0, 1);
    EXPECT_TRUE(headless::TakeMixerNotifications().empty());
    EXPECT_TRUE(headless::TakeMessages().empty());
}

TEST(MixerReport, TypeNamesForKnownAndUnknownValues) {
    struct Case {
        uint32_t type;
        const char* line;
        const char* control;
    };
    const Case cases[] = {
        {0x0, "MIXERLINE_COMPONENTTYPE_DST_UNDEFINED", "MIXERCONTROL_CONTROLTYPE_CUSTOM"},
        {0x8, "MIXERLINE_COMPONENTTYPE_DST_VOICEIN", "---- UNKNOWN CONTROL TYPE ----"},
        {0x9, "---- UNKNOWN LINE TYPE ----", "---- UNKNOWN CONTROL TYPE ----"},
        {0x100A, "MIXERLINE_COMPONENTTYPE_SRC_ANALOG", "---- UNKNOWN CONTROL TYPE ----"},
        {0x100B, "No source line", "---- UNKNOWN CONTROL TYPE ----"},
        {0x100C, "---- UNKNOWN LINE TYPE ----", "---- UNKNOWN CONTROL TYPE ----"},
        {0x70010001, "---- UNKNOWN LINE TYPE ----", "MIXERCONTROL_CONTROLTYPE_MUX"},
        {0x61030000, "---- UNKNOWN LINE TYPE ----", "MIXERCONTROL_CONTROLTYPE_MILLITIME"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(mixer::LineTypeName(c.type), c.line) << std::hex << c.type;
        EXPECT_STREQ(mixer::ControlTypeName(c.type), c.control) << std::hex << c.type;
    }
}

TEST(MixerReport, LongLineNamesAreReportedWhole) {
    headless::TakeMessages();
    const std::string name(5000, 'n');
    mixer::ReportMixerError(mixer::kInitCaption, mixer::kNoControls, name.c_str());
    const auto shown = headless::TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No controls available for this audio line: " + name);
    EXPECT_EQ(shown[0].caption, "CMixerBase::Init");
}

} // namespace
