// The control panel of the Windows program: the bands of both rebars with their tool bars, combo
// boxes, trackbars and holder windows, the calls that read and set them by id, and the frame's
// menu checks. Rebars and holders pass their controls' messages on to the frame.
// User-interface thread only.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

#include "port/messages.h"
#include "port/port.h"
#include "port/win32/win32_windows.h"
#include "ui/control_ids.h"

// The command handler reads the platform's notifications through these mirrors.
static_assert(sizeof(NotifyHeader) == sizeof(NMHDR), "NMHDR mirror");
static_assert(offsetof(NotifyHeader, windowFrom) == offsetof(NMHDR, hwndFrom), "NMHDR mirror");
static_assert(offsetof(NotifyHeader, idFrom) == offsetof(NMHDR, idFrom), "NMHDR mirror");
static_assert(offsetof(NotifyHeader, code) == offsetof(NMHDR, code), "NMHDR mirror");
static_assert(sizeof(ToolTipTextRequest) == sizeof(NMTTDISPINFOA), "NMTTDISPINFOA mirror");
static_assert(offsetof(ToolTipTextRequest, header) == offsetof(NMTTDISPINFOA, hdr),
              "NMTTDISPINFOA mirror");
static_assert(offsetof(ToolTipTextRequest, text) == offsetof(NMTTDISPINFOA, lpszText),
              "NMTTDISPINFOA mirror");
static_assert(offsetof(ToolTipTextRequest, textBuffer) == offsetof(NMTTDISPINFOA, szText),
              "NMTTDISPINFOA mirror");
static_assert(sizeof(ToolTipTextRequest::textBuffer) == sizeof(NMTTDISPINFOA::szText),
              "NMTTDISPINFOA mirror");
static_assert(offsetof(ToolTipTextRequest, instance) == offsetof(NMTTDISPINFOA, hinst),
              "NMTTDISPINFOA mirror");
static_assert(offsetof(ToolTipTextRequest, flags) == offsetof(NMTTDISPINFOA, uFlags),
              "NMTTDISPINFOA mirror");
static_assert(offsetof(ToolTipTextRequest, lParam) == offsetof(NMTTDISPINFOA, lParam),
              "NMTTDISPINFOA mirror");

namespace {

constexpr UINT kBreak = RBBS_BREAK;
constexpr UINT kEdge = RBBS_CHILDEDGE;
constexpr UINT kFixedBitmap = RBBS_FIXEDBMP;
constexpr UINT kGripper = RBBS_GRIPPERALWAYS;
constexpr UINT kHidden = RBBS_HIDDEN;
constexpr UINT kChevron = RBBS_USECHEVRON;

constexpr int kHolderBandHeight = 28;
constexpr int kGainBandHeight = 32;
constexpr int kComboBandMinWidth = 100;
// Combo boxes are made narrow; the rebar gives them the band's width.
constexpr int kBandComboWidth = 40;

// Every control by its id; a handle whose window has gone reads as missing.
struct Panel {
    std::map<int, HWND> combos;
    std::map<int, HWND> trackbars;
    std::map<int, HWND> holders;
    std::map<int, HWND> toolbars; // the tool bar of each button, by command id
    std::map<int, HWND> bands;    // the rebar of each band, by band id
} panel;

HWND Find(const std::map<int, HWND>& table, int id) {
    const auto found = table.find(id);
    return found != table.end() && IsWindow(found->second) ? found->second : nullptr;
}

HINSTANCE Instance() {
    return static_cast<HINSTANCE>(port::ProgramModule());
}

HMENU ControlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

void UseGuiFont(HWND window) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
}

int WindowHeight(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

// ---- Tool bars

struct ButtonLayout {
    int command;
    int image;
    BYTE kind;     // TBSTYLE_BUTTON (springs back) or TBSTYLE_CHECK (stays down)
    INT_PTR label; // index into the tool bar's string list; -1 for none
};

struct ToolbarLayout {
    UINT id;
    DWORD extraStyle;
    UINT bitmap; // resource number of the image strip
    int imageCount;
    int imageWidth;
    int imageHeight;
    const char* labels; // list of zero-terminated labels, ending with an empty one; null for none
    const ButtonLayout* buttons;
    std::size_t buttonCount;
};

// Labels are added in this order and picked by index.
constexpr char kMainLabels[] =
    "Pause\0Trace\0FFT Setting\0Test Tone\0Swap Inputs\0Save ASCII\0Peak Hold\0";
constexpr ButtonLayout kMainButtons[] = {
    {kCmdFftSettings, 4, TBSTYLE_BUTTON, 2}, {kCmdSwapInputs, 2, TBSTYLE_CHECK, 4},
    {kCmdTestTone, 1, TBSTYLE_CHECK, 3},     {kCmdPeakTrace, 0, TBSTYLE_CHECK, 1},
    {kCmdPause, 3, TBSTYLE_CHECK, 0},        {kCmdPeakHold, 6, TBSTYLE_CHECK, 6},
    {kCmdSaveAscii, 5, TBSTYLE_BUTTON, 5},
};
constexpr ButtonLayout kTraceButtons[] = {
    {kCmdTraceA, 0, TBSTYLE_CHECK, -1},
    {kCmdTraceB, 1, TBSTYLE_CHECK, -1},
    {kCmdTraceC, 2, TBSTYLE_CHECK, -1},
};
constexpr char kToneLabels[] = " Play \0 Stop\0";
constexpr ButtonLayout kToneButtons[] = {
    {kCmdPlay, 4, TBSTYLE_CHECK, 0},
    {kCmdStop, 3, TBSTYLE_BUTTON, 1},
};
constexpr ButtonLayout kNavigationButtons[] = {
    {kCmdScrollLeft, 18, TBSTYLE_BUTTON, -1},  {kCmdZoomIn, 17, TBSTYLE_BUTTON, -1},
    {kCmdZoomReset, 2, TBSTYLE_BUTTON, -1},    {kCmdZoomOut, 16, TBSTYLE_BUTTON, -1},
    {kCmdScrollRight, 19, TBSTYLE_BUTTON, -1},
};

constexpr UINT kPanelToolbarId = 1004;
constexpr UINT kTraceToolbarId = 1017;
constexpr int kSmallImages = 20; // bitmap 10, 16 x 15 each

// clang-format off
constexpr ToolbarLayout kMainToolbar = {kPanelToolbarId, 0, 14, 10, 32, 20, kMainLabels,
                                      kMainButtons, std::size(kMainButtons)};
constexpr ToolbarLayout kTraceToolbar = {kTraceToolbarId, TBSTYLE_WRAPABLE, 13, 3, 16, 15, nullptr,
                                       kTraceButtons, std::size(kTraceButtons)};
constexpr ToolbarLayout kToneToolbar = {kPanelToolbarId, TBSTYLE_LIST | WS_CLIPCHILDREN, 10,
                                      kSmallImages, 16, 15, kToneLabels, kToneButtons,
                                      std::size(kToneButtons)};
constexpr ToolbarLayout kNavigationToolbar = {kPanelToolbarId, WS_CLIPCHILDREN, 10, kSmallImages,
                                            16, 15, nullptr, kNavigationButtons,
                                            std::size(kNavigationButtons)};
// clang-format on

// Every tool bar takes the button size its images and labels ask for: a button size given to
// CreateToolbarEx becomes the size of the images cut from the strip, and buttons any larger
// would not fit the holders' 120-pixel tool bars (five navigation buttons, Play and Stop).
HWND MakeToolbar(HWND parent, const ToolbarLayout& layout) {
    const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_TRANSPARENT |
                        CCS_NODIVIDER | CCS_NORESIZE | layout.extraStyle;
    HWND toolbar =
        CreateToolbarEx(parent, style, layout.id, layout.imageCount, Instance(), layout.bitmap,
                        nullptr, 0, 0, 0, layout.imageWidth, layout.imageHeight, sizeof(TBBUTTON));
    if (toolbar == nullptr)
        return nullptr;
    // The labels go in before the buttons, so the buttons are sized for them.
    if (layout.labels != nullptr)
        SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(layout.labels));
    std::vector<TBBUTTON> buttons(layout.buttonCount);
    for (std::size_t i = 0; i < layout.buttonCount; ++i) {
        const ButtonLayout& b = layout.buttons[i];
        buttons[i].iBitmap = b.image;
        buttons[i].idCommand = b.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = b.kind;
        buttons[i].iString = b.label;
        panel.toolbars[b.command] = toolbar;
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return toolbar;
}

// The band height a tool bar needs: its buttons and a little room.
int ToolbarBandHeight(HWND toolbar) {
    return HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)) + 3;
}

// ---- Combo boxes, trackbars, labels, holders

void AddComboItems(HWND combo, const char* const* items, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

HWND MakeCombo(HWND parent, int id, bool editable, const RECT& place) {
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | (editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    HWND combo = CreateWindowExA(0, WC_COMBOBOXA, nullptr, style, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, parent,
                                 ControlId(id), Instance(), nullptr);
    if (combo == nullptr)
        return nullptr;
    UseGuiFont(combo);
    panel.combos[id] = combo;
    return combo;
}

HWND MakeTrackbar(HWND parent, int id, DWORD style, const RECT& place, int maximum) {
    HWND trackbar =
        CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | style, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, parent,
                        ControlId(id), Instance(), nullptr);
    if (trackbar == nullptr)
        return nullptr;
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(trackbar, TBM_SETRANGEMAX, TRUE, maximum);
    panel.trackbars[id] = trackbar;
    return trackbar;
}

void MakeLabel(HWND parent, const char* text, const RECT& place) {
    HWND label =
        CreateWindowExA(WS_EX_TRANSPARENT, WC_STATICA, text, WS_CHILD | WS_VISIBLE | SS_RIGHT,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        parent, ControlId(-1), Instance(), nullptr);
    if (label != nullptr)
        UseGuiFont(label);
}

// A holder starts as a child of the frame as wide as the screen; its band sizes it.
HWND MakeHolder(int id) {
    HWND holder = CreateWindowExA(
        0, kHolderClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        GetSystemMetrics(SM_CXSCREEN), 0, frameWindow, ControlId(id), Instance(), nullptr);
    if (holder != nullptr)
        panel.holders[id] = holder;
    return holder;
}

// A tool bar inside a holder, at its fixed place.
void MakeHolderToolbar(HWND holder, const ToolbarLayout& layout, int x) {
    HWND toolbar = MakeToolbar(holder, layout);
    if (toolbar == nullptr)
        return;
    UseGuiFont(toolbar);
    SetWindowPos(toolbar, nullptr, x, 2, 120, 30, SWP_NOZORDER);
}

HWND MakeToneBar() {
    HWND holder = MakeHolder(kToneBarHolder);
    if (holder == nullptr)
        return nullptr;
    MakeLabel(holder, "Tone:", {0, 7, 28, 25});
    HWND tone = MakeCombo(holder, kToneCombo, false, {32, 4, 122, 204});
    if (tone != nullptr)
        AddComboItems(tone, kToneItems, std::size(kToneItems));
    MakeLabel(holder, "Frequency:", {122, 7, 187, 25});
    HWND frequency = MakeCombo(holder, kFrequencyCombo, true, {190, 4, 260, 204});
    if (frequency != nullptr)
        AddComboItems(frequency, kFrequencyItems, std::size(kFrequencyItems));
    MakeLabel(holder, "Volume:", {275, 7, 315, 25});
    MakeTrackbar(holder, kVolumeTrackbar, TBS_BOTH | TBS_NOTICKS, {320, 2, 440, 27}, 127);
    MakeHolderToolbar(holder, kToneToolbar, 460);
    return holder;
}

// ---- Bands

struct BandLayout {
    int id;
    const char* text; // null for none
    UINT style;
    int minWidth;
    int width;
};

void InsertBand(HWND rebar, const BandLayout& layout, HWND child, int minHeight) {
    if (rebar == nullptr || child == nullptr)
        return;
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID |
                 (layout.text != nullptr ? RBBIM_TEXT : 0);
    band.fStyle = layout.style;
    band.lpText = const_cast<char*>(layout.text);
    band.hwndChild = child;
    band.cxMinChild = static_cast<UINT>(layout.minWidth);
    band.cyMinChild = static_cast<UINT>(minHeight);
    band.cx = static_cast<UINT>(layout.width);
    band.wID = static_cast<UINT>(layout.id);
    SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    panel.bands[layout.id] = rebar;
}

// The combo boxes that fill a band of their own after the Gain band, in their order.
struct ComboBandLayout {
    BandLayout band;
    int combo;
    bool inBottomRebar;
    bool editable;
    int dropHeight;
    bool startsHidden; // shown with the transfer modes only
    const char* const* items;
    std::size_t itemCount;
};

// clang-format off
constexpr ComboBandLayout kComboBands[] = {
    {{kBandScale, "Scale", kBreak | kEdge | kGripper, kComboBandMinWidth, 200},
     kScaleCombo, false, false, 180, false, kScaleItems, std::size(kScaleItems)},
    {{kBandAverage, "Average", kEdge | kFixedBitmap | kGripper, kComboBandMinWidth, 100},
     kAverageCombo, false, false, 120, false, kAverageItems, std::size(kAverageItems)},
    {{kBandDecay, "Decay", kEdge | kFixedBitmap | kGripper, kComboBandMinWidth, 100},
     kDecayCombo, false, false, 120, false, kDecayItems, std::size(kDecayItems)},
    {{kBandMonitor, "Monitor", kEdge | kFixedBitmap | kGripper, kComboBandMinWidth, 150},
     kMonitorCombo, true, false, 120, false, kMonitorItems, std::size(kMonitorItems)},
    {{kBandWeighting, "Weighting", kEdge | kFixedBitmap | kGripper, kComboBandMinWidth, 100},
     kWeightingCombo, false, false, 120, false, kWeightingItems, std::size(kWeightingItems)},
    {{kBandSmoothing, "Smoothing", kBreak | kEdge | kFixedBitmap | kGripper, kComboBandMinWidth,
      100}, kSmoothingCombo, false, false, 120, true, kSmoothingItems, std::size(kSmoothingItems)},
    {{kBandVerticalScale, "Vertical Scale", kEdge | kFixedBitmap | kGripper, kComboBandMinWidth,
      100}, kVerticalScaleCombo, false, false, 120, true, kVerticalScaleItems,
     std::size(kVerticalScaleItems)},
    {{kBandDelay, "Delay", kEdge | kFixedBitmap | kGripper, kComboBandMinWidth, 100},
     kDelayCombo, false, true, 120, true, kDelayItems, std::size(kDelayItems)},
};
// clang-format on

constexpr BandLayout kToneBand = {kBandToneBar, nullptr,
                                  kBreak | kEdge | kFixedBitmap | kGripper | kHidden, 640, 200};
constexpr BandLayout kNavigationBand = {kBandNavigation, nullptr,
                                        kBreak | kEdge | kFixedBitmap | kGripper, 120, 120};
constexpr BandLayout kTraceBand = {kBandTraceToolbar, nullptr, kEdge | kFixedBitmap | kGripper, 70,
                                   80};
constexpr BandLayout kMainBand = {kBandMainToolbar, nullptr,
                                  kBreak | kEdge | kFixedBitmap | kGripper, 472, 400};
constexpr BandLayout kInputBand = {kBandInput, "Input", kEdge | kGripper | kChevron,
                                   kComboBandMinWidth, 350};
constexpr BandLayout kGainBand = {kBandGain, "Gain", kEdge | kGripper | kChevron, 200, 400};

// The Input band: the mixer's inputs, left out when there are none.
void InsertInputBand(HWND top, const port::StringList& inputNames) {
    if (inputNames.empty())
        return;
    HWND input = MakeCombo(top, kInputCombo, false, {0, 0, kBandComboWidth, 180});
    if (input == nullptr)
        return;
    port::SetComboItems(kInputCombo, inputNames);
    InsertBand(top, kInputBand, input, WindowHeight(input));
}

void InsertComboBands(HWND top, HWND bottom) {
    int comboHeight = 0; // the Scale box's, which every band after it takes
    for (const ComboBandLayout& layout : kComboBands) {
        HWND rebar = layout.inBottomRebar ? bottom : top;
        HWND combo = MakeCombo(rebar, layout.combo, layout.editable,
                               {0, 0, kBandComboWidth, layout.dropHeight});
        if (combo == nullptr)
            continue;
        AddComboItems(combo, layout.items, layout.itemCount);
        if (comboHeight == 0)
            comboHeight = WindowHeight(combo);
        InsertBand(rebar, layout.band, combo, comboHeight);
        if (layout.startsHidden)
            port::ShowBand(layout.band.id, false);
    }
}

// The rebars pass their children's scroll messages on to the frame; commands and notifications
// they pass on by themselves.
LRESULT CALLBACK RebarProc(HWND rebar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        return SendMessageA(GetParent(rebar), message, wParam, lParam);
    return DefSubclassProc(rebar, message, wParam, lParam);
}

} // namespace

const char kHolderClass[] = "HOLDERCLASS";

HWND CreateRebar(HWND frame, int id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                        RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN;
    HWND rebar =
        CreateWindowExA(0, REBARCLASSNAMEA, nullptr, style, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        100, frame, ControlId(id), Instance(), nullptr);
    if (rebar != nullptr)
        SetWindowSubclass(rebar, RebarProc, 0, 0);
    return rebar;
}

LRESULT CALLBACK HolderWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY:
        return SendMessageA(frameWindow, message, wParam, lParam);
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        SendMessageA(frameWindow, message, wParam, lParam);
        break;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace port {

void CreateControlPanel(WindowHandle topRebarWindow, const StringList& inputNames) {
    HWND top = static_cast<HWND>(topRebarWindow);
    panel = Panel();

    InsertBand(bottomRebar, kToneBand, MakeToneBar(), kHolderBandHeight);
    HWND navigation = MakeHolder(kNavigationHolder);
    if (navigation != nullptr)
        MakeHolderToolbar(navigation, kNavigationToolbar, 2);
    InsertBand(bottomRebar, kNavigationBand, navigation, kHolderBandHeight);
    HWND traces = MakeToolbar(bottomRebar, kTraceToolbar);
    InsertBand(bottomRebar, kTraceBand, traces, traces ? ToolbarBandHeight(traces) : 0);
    HWND mainToolbar = MakeToolbar(top, kMainToolbar);
    InsertBand(top, kMainBand, mainToolbar, mainToolbar ? ToolbarBandHeight(mainToolbar) : 0);
    InsertInputBand(top, inputNames);
    InsertBand(bottomRebar, kGainBand,
               MakeTrackbar(bottomRebar, kGainTrackbar, TBS_AUTOTICKS, {0, 0, 400, 22}, 40),
               kGainBandHeight);
    InsertComboBands(top, bottomRebar);
}

bool ControlExists(int id) {
    return Find(panel.combos, id) || Find(panel.trackbars, id) || Find(panel.holders, id) ||
           Find(panel.toolbars, id);
}

int ComboSelection(int id) {
    HWND combo = Find(panel.combos, id);
    return combo ? static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)) : -1;
}

void SetComboSelection(int id, int item) {
    if (HWND combo = Find(panel.combos, id))
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

int ComboItemCount(int id) {
    HWND combo = Find(panel.combos, id);
    const LRESULT count = combo ? SendMessageA(combo, CB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string ComboItemText(int id, int item) {
    HWND combo = Find(panel.combos, id);
    const LRESULT length =
        combo ? SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0) : CB_ERR;
    if (length < 0)
        return std::string();
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data());
}

void SetComboItems(int id, const StringList& items) {
    HWND combo = Find(panel.combos, id);
    if (combo == nullptr)
        return;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::string ComboEditText(int id) {
    HWND combo = Find(panel.combos, id);
    if (combo == nullptr)
        return std::string();
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(combo)) + 1, '\0');
    GetWindowTextA(combo, text.data(), static_cast<int>(text.size()));
    return std::string(text.data());
}

void SetComboEditText(int id, const char* text) {
    if (HWND combo = Find(panel.combos, id))
        SetWindowTextA(combo, text);
}

bool ButtonChecked(int commandId) {
    HWND toolbar = Find(panel.toolbars, commandId);
    return toolbar && SendMessageA(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(commandId), 0);
}

void CheckButton(int commandId, bool down) {
    if (HWND toolbar = Find(panel.toolbars, commandId))
        SendMessageA(toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(commandId), MAKELPARAM(down, 0));
}

int TrackbarPosition(int id) {
    HWND trackbar = Find(panel.trackbars, id);
    return trackbar ? static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0)) : 0;
}

void SetTrackbar(int id, int minimum, int maximum, int position) {
    HWND trackbar = Find(panel.trackbars, id);
    if (trackbar == nullptr)
        return;
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, maximum);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}

void ShowBand(int bandId, bool show) {
    HWND rebar = Find(panel.bands, bandId);
    const LRESULT index = rebar ? SendMessageA(rebar, RB_IDTOINDEX, bandId, 0) : -1;
    if (index >= 0)
        SendMessageA(rebar, RB_SHOWBAND, static_cast<WPARAM>(index), show);
}

bool BandShown(int bandId) {
    HWND rebar = Find(panel.bands, bandId);
    const LRESULT index = rebar ? SendMessageA(rebar, RB_IDTOINDEX, bandId, 0) : -1;
    if (index < 0)
        return false;
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_STYLE;
    return SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&band)) &&
           (band.fStyle & RBBS_HIDDEN) == 0;
}

void CheckMenuItem(int commandId, bool checked) {
    HMENU menu = frameWindow ? GetMenu(frameWindow) : nullptr;
    if (menu != nullptr)
        ::CheckMenuItem(menu, static_cast<UINT>(commandId),
                        MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItemChecked(int commandId) {
    HMENU menu = frameWindow ? GetMenu(frameWindow) : nullptr;
    const UINT state = menu ? GetMenuState(menu, static_cast<UINT>(commandId), MF_BYCOMMAND) : ~0u;
    return state != ~0u && (state & MF_CHECKED) != 0;
}

int ControlIdOf(WindowHandle control) {
    for (const std::map<int, HWND>* table : {&panel.combos, &panel.trackbars, &panel.holders})
        for (const auto& entry : *table)
            if (control != nullptr && entry.second == control)
                return entry.first;
    return 0;
}

void CloseFrameWindow() {
    if (frameWindow != nullptr)
        PostMessageA(frameWindow, WM_CLOSE, 0, 0);
}

} // namespace port
