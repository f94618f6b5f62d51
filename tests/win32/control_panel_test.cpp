// The control panel on a real frame with both rebars: the bands in order, the tool bar buttons,
// combo boxes and trackbars, the menu, and the road of the controls' messages and tool-tip
// requests to the frame.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "port/messages.h"
#include "port/port.h"
#include "port/win32/win32_windows.h"
#include "ui/control_ids.h"

namespace {

// What reached the test frame: command, scroll and notification messages of the controls.
std::vector<MSG> reached;

LRESULT CALLBACK PanelFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL) {
        reached.push_back({window, message, wParam, lParam, 0, {}});
    } else if (message == WM_NOTIFY) {
        // Answers tool-tip requests the way the command handler does, through the mirrors.
        auto* request = reinterpret_cast<ToolTipTextRequest*>(lParam);
        if (request->header.code == TTN_NEEDTEXTA)
            for (const ToolTip& tip : kToolTips)
                if (static_cast<uintptr_t>(tip.id) == request->header.idFrom)
                    request->text = const_cast<char*>(tip.text);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class ControlPanel : public testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x524};
            InitCommonControlsEx(&controls);
            return RegisterWindowClass("PANELTEST", PanelFrameProc, nullptr, COLOR_BTNFACE,
                                       MAKEINTRESOURCEA(1)) &&
                   RegisterWindowClass(kHolderClass, HolderWndProc, nullptr, COLOR_BTNFACE,
                                       nullptr);
        }();
        ASSERT_TRUE(registered);
        frameWindow = CreateWindowA("PANELTEST", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 720, 480,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frameWindow, nullptr);
        topRebar = CreateRebar(frameWindow, 1001);
        bottomRebar = CreateRebar(frameWindow, 1004);
        reached.clear();
    }
    void TearDown() override {
        DestroyWindow(frameWindow);
        frameWindow = topRebar = bottomRebar = nullptr;
    }
    // Combo boxes and trackbars are children of a rebar or of the tone bar.
    static HWND FindControl(int id) {
        for (HWND parent : {topRebar, bottomRebar, GetDlgItem(bottomRebar, kToneBarHolder)})
            if (HWND control = GetDlgItem(parent, id))
                return control;
        return nullptr;
    }
    // The main tool bar (1004), the trace tool bar (1017) and the holders' tool bars (1004).
    static HWND ToolbarOf(int command) {
        for (HWND toolbar : {GetDlgItem(topRebar, 1004), GetDlgItem(bottomRebar, 1017),
                             GetDlgItem(GetDlgItem(bottomRebar, kToneBarHolder), 1004),
                             GetDlgItem(GetDlgItem(bottomRebar, kNavigationHolder), 1004)})
            if (SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0) >= 0)
                return toolbar;
        return nullptr;
    }
};

std::string BandText(HWND rebar, int index, REBARBANDINFOA* band) {
    char text[64] = "";
    *band = {};
    band->cbSize = REBARBANDINFOA_V6_SIZE;
    band->fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_TEXT;
    band->lpText = text;
    band->cch = sizeof text;
    SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(band));
    return text;
}

int WindowHeight(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

TEST_F(ControlPanel, BandsOfBothRebarsInOrder) {
    port::CreateControlPanel(topRebar, {"Line In", "Microphone"});
    const UINT B = RBBS_BREAK, E = RBBS_CHILDEDGE, F = RBBS_FIXEDBMP, G = RBBS_GRIPPERALWAYS,
               H = RBBS_HIDDEN, C = RBBS_USECHEVRON;
    enum Height { kToolbar, kCombo, k28 = 28, k32 = 32 };
    struct Band {
        HWND rebar;
        int id;
        const char* text;
        UINT style;
        UINT minWidth;
        int height;
    } const expected[] = {
        {topRebar, 1, "", B | E | F | G, 472, kToolbar},
        {topRebar, 11, "Input", E | G | C, 100, kCombo},
        {topRebar, 2, "Scale", B | E | G, 100, kCombo},
        {topRebar, 3, "Average", E | F | G, 100, kCombo},
        {topRebar, 4, "Decay", E | F | G, 100, kCombo},
        {topRebar, 6, "Weighting", E | F | G, 100, kCombo},
        {topRebar, 12, "Smoothing", B | E | F | G | H, 100, kCombo},
        {topRebar, 13, "Vertical Scale", E | F | G | H, 100, kCombo},
        {topRebar, 14, "Delay", E | F | G | H, 100, kCombo},
        {bottomRebar, 8, "", B | E | F | G | H, 640, k28},
        {bottomRebar, 10, "", B | E | F | G, 120, k28},
        {bottomRebar, 9, "", E | F | G, 70, kToolbar},
        {bottomRebar, 7, "Gain", E | G | C, 200, k32},
        {bottomRebar, 5, "Monitor", E | F | G, 100, kCombo},
    };
    int index[2] = {0, 0};
    for (const Band& want : expected) {
        SCOPED_TRACE(want.id);
        int& i = index[want.rebar == bottomRebar];
        REBARBANDINFOA band;
        EXPECT_EQ(BandText(want.rebar, i++, &band), want.text);
        EXPECT_EQ(static_cast<int>(band.wID), want.id);
        EXPECT_EQ(band.fStyle, want.style);
        EXPECT_EQ(band.cxMinChild, want.minWidth);
        EXPECT_EQ(port::BandShown(want.id), (want.style & H) == 0);
        const int height = want.height == kToolbar
                               ? HIWORD(SendMessageA(band.hwndChild, TB_GETBUTTONSIZE, 0, 0)) + 3
                           : want.height == kCombo ? WindowHeight(band.hwndChild)
                                                   : want.height;
        EXPECT_EQ(static_cast<int>(band.cyMinChild), height);
    }
    EXPECT_EQ(SendMessageA(topRebar, RB_GETBANDCOUNT, 0, 0), index[0]);
    EXPECT_EQ(SendMessageA(bottomRebar, RB_GETBANDCOUNT, 0, 0), index[1]);

    for (int id : {12, 13, 14, 8}) {
        port::ShowBand(id, true);
        EXPECT_TRUE(port::BandShown(id));
        port::ShowBand(id, false);
        EXPECT_FALSE(port::BandShown(id));
    }
}

TEST_F(ControlPanel, ComboBoxes) {
    port::CreateControlPanel(topRebar, {"Line In", "Microphone"});
    for (int id :
         {kInputCombo, kScaleCombo, kAverageCombo, kDecayCombo, kMonitorCombo, kWeightingCombo,
          kSmoothingCombo, kVerticalScaleCombo, kDelayCombo, kToneCombo, kFrequencyCombo}) {
        SCOPED_TRACE(id);
        HWND combo = FindControl(id);
        ASSERT_NE(combo, nullptr);
        const bool editable = id == kDelayCombo || id == kFrequencyCombo;
        EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT));
        EXPECT_EQ(port::ComboSelection(id), -1);
        port::SetComboSelection(id, 1);
        EXPECT_EQ(port::ComboSelection(id), 1);
        EXPECT_EQ(port::ComboEditText(id), port::ComboItemText(id, 1));
        EXPECT_EQ(port::ComboItemText(id, port::ComboItemCount(id)), "");
    }
    EXPECT_EQ(port::ComboItemText(kInputCombo, 1), "Microphone");
    // The program's own changes are no user entries: nothing reaches the frame.
    port::SetComboEditText(kDelayCombo, "12.50ms");
    EXPECT_EQ(port::ComboEditText(kDelayCombo), "12.50ms");
    port::SetComboItems(kInputCombo, {"Stereo Mix"});
    EXPECT_EQ(port::ComboItemCount(kInputCombo), 1);
    EXPECT_EQ(port::ComboItemText(kInputCombo, 0), "Stereo Mix");
    EXPECT_EQ(port::ComboSelection(kInputCombo), -1);
    EXPECT_EQ(port::ControlIdOf(FindControl(kDelayCombo)), kDelayCombo);
    EXPECT_EQ(port::ControlIdOf(topRebar), 0);
    EXPECT_EQ(port::ControlIdOf(nullptr), 0);
    EXPECT_TRUE(reached.empty());
}

TEST_F(ControlPanel, MissingControlsReadEmpty) {
    port::CreateControlPanel(topRebar, {});
    EXPECT_EQ(SendMessageA(topRebar, RB_GETBANDCOUNT, 0, 0), 8);
    EXPECT_FALSE(port::ControlExists(kInputCombo));
    port::SetComboItems(kInputCombo, {"ignored"});
    EXPECT_EQ(port::ComboItemCount(kInputCombo), 0);
    DestroyWindow(frameWindow);
    EXPECT_EQ(port::ComboSelection(kScaleCombo), -1);
    EXPECT_FALSE(port::ButtonChecked(kCmdPause));
    EXPECT_EQ(port::TrackbarPosition(kGainTrackbar), 0);
    EXPECT_FALSE(port::BandShown(kBandScale));
    EXPECT_FALSE(port::MenuItemChecked(kCmdModeFirst));
}

TEST_F(ControlPanel, ToolbarButtonsReportToTheFrame) {
    port::CreateControlPanel(topRebar, {});
    struct Button {
        int command;
        bool check;
        int image;
        const char* label;
        const char* tip;
    } const buttons[] = {
        {1031, false, 4, "FFT Setting", "Configure FFT Settings"},
        {1039, true, 2, "Swap Inputs", "Swap LEFT and RIGHT inputs"},
        {1032, true, 1, "Test Tone", "Toggle 'Tone Generator' toolbar"},
        {1030, true, 0, "Trace", "Toggle peak trace on/off"},
        {1033, true, 3, "Pause", "Pause the display"},
        {1047, true, 6, "Peak Hold", ""},
        {1038, false, 5, "Save ASCII", "Save traces to text file"},
        {1020, true, 0, "", "Capture Buffer A"},
        {1021, true, 1, "", "Capture Buffer B"},
        {1022, true, 2, "", "Capture Buffer C"},
        {1015, true, 4, " Play ", "Play the selected tone"},
        {1016, false, 3, " Stop", "Stop playing tone"},
        {1036, false, 18, "", "Scroll Trace Left"},
        {1034, false, 17, "", "Zoom In (Hz)"},
        {1041, false, 2, "", "Zoom 1:1 (Hz)"},
        {1035, false, 16, "", "Zoom Out (Hz)"},
        {1037, false, 19, "", "Scroll Trace Right"},
    };
    for (const Button& want : buttons) {
        SCOPED_TRACE(want.command);
        HWND toolbar = ToolbarOf(want.command);
        ASSERT_NE(toolbar, nullptr);
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_IMAGE | TBIF_STATE | TBIF_STYLE;
        SendMessageA(toolbar, TB_GETBUTTONINFOA, want.command, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.iImage, want.image);
        EXPECT_EQ(info.fsState, TBSTATE_ENABLED);
        EXPECT_EQ((info.fsStyle & TBSTYLE_CHECK) != 0, want.check);
        char label[32] = "";
        SendMessageA(toolbar, TB_GETBUTTONTEXTA, want.command, reinterpret_cast<LPARAM>(label));
        EXPECT_STREQ(label, want.label);

        char tip[80] = "";
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = toolbar;
        tool.uId = static_cast<UINT_PTR>(want.command);
        tool.lpszText = tip;
        SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0)),
                     TTM_GETTEXTA, sizeof tip, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(tip, want.tip);

        // A click: a check button stays down, a push button springs back.
        RECT r;
        SendMessageA(toolbar, TB_GETRECT, want.command, reinterpret_cast<LPARAM>(&r));
        RECT client;
        GetClientRect(toolbar, &client);
        EXPECT_LE(r.right, client.right); // in sight
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        reached.clear();
        SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(port::ButtonChecked(want.command), want.check);
        ASSERT_EQ(reached.size(), 1u);
        EXPECT_EQ(reached[0].message, static_cast<UINT>(WM_COMMAND));
        EXPECT_EQ(LOWORD(reached[0].wParam), want.command);
        port::CheckButton(want.command, false);
        EXPECT_FALSE(port::ButtonChecked(want.command));
    }
}

TEST_F(ControlPanel, TrackbarsAndCombosReportToTheFrame) {
    port::CreateControlPanel(topRebar, {});
    struct Trackbar {
        int id;
        int maximum;
    } const trackbars[] = {{kGainTrackbar, 40}, {kVolumeTrackbar, 127}};
    for (const Trackbar& want : trackbars) {
        SCOPED_TRACE(want.id);
        HWND trackbar = FindControl(want.id);
        ASSERT_NE(trackbar, nullptr);
        EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), 0);
        EXPECT_EQ(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0), want.maximum);
        EXPECT_EQ(port::TrackbarPosition(want.id), 0);
        port::SetTrackbar(want.id, 0, want.maximum, 20);
        EXPECT_EQ(port::TrackbarPosition(want.id), 20);
        reached.clear();
        SendMessageA(trackbar, WM_KEYDOWN, VK_RIGHT, 0);
        EXPECT_EQ(port::TrackbarPosition(want.id), 21);
        ASSERT_FALSE(reached.empty());
        EXPECT_EQ(reached[0].message, static_cast<UINT>(WM_HSCROLL));
        EXPECT_EQ(reinterpret_cast<HWND>(reached[0].lParam), trackbar);
        EXPECT_EQ(port::ControlIdOf(trackbar), want.id);
    }
    for (int id : {kScaleCombo, kToneCombo}) {
        reached.clear();
        SendMessageA(FindControl(id), WM_KEYDOWN, VK_DOWN, 0);
        ASSERT_FALSE(reached.empty()) << id;
        EXPECT_EQ(reached.back().wParam, MAKEWPARAM(id, CBN_SELCHANGE));
    }
}

TEST_F(ControlPanel, ModeMenuChecks) {
    HMENU modes = GetSubMenu(GetMenu(frameWindow), 1); // the popup WM_INITMENUPOPUP names
    ASSERT_EQ(GetMenuItemCount(modes), kCmdModeLast - kCmdModeFirst + 1);
    for (int id = kCmdModeFirst; id <= kCmdModeLast; ++id) {
        EXPECT_EQ(static_cast<int>(GetMenuItemID(modes, id - kCmdModeFirst)), id);
        port::CheckMenuItem(id, id == 1159);
    }
    for (int id = kCmdModeFirst; id <= kCmdModeLast; ++id)
        EXPECT_EQ(port::MenuItemChecked(id), id == 1159);
    EXPECT_FALSE(port::MenuItemChecked(kCmdAbout));
}

} // namespace
