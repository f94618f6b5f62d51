// The control panel of the headless port: a model of the rebars' bands, tool-bar buttons, combo
// boxes and trackbars and of the menu's check marks, built as the Windows program builds its
// controls, for tests and scripts to read and change. User-interface thread.
#include <algorithm>
#include <iterator>
#include <map>

#include "port/headless/headless.h"
#include "port/port.h"
#include "ui/control_ids.h"

namespace {

using headless::ControlKind;

struct Control {
    ControlKind kind = ControlKind::None;
    port::StringList items;
    int selection = -1;
    std::string editText;
    bool checked = false;
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

// std::map keeps every node in place, so a control's address serves as its window handle.
std::map<int, Control> controls;
std::vector<int> bandOrder;
std::map<int, bool> bandShown;
bool frameCloseRequested = false;

// The check marks of the frame's menu items (File, Mode and Help), which exist with the frame.
std::map<int, bool> MenuItems() {
    std::map<int, bool> items{{kCmdSaveAscii, false},
                              {kCmdExit, false},
                              {kCmdHelpTopics, false},
                              {kCmdWhatsThis, false},
                              {kCmdAbout, false}};
    for (int id = kCmdModeFirst; id <= kCmdModeLast; ++id)
        items[id] = false;
    return items;
}
std::map<int, bool> menuChecks = MenuItems();

// A trackbar as the platform creates it: range 0..100, at 0.
constexpr int kDefaultTrackbarMaximum = 100;

// The entry of key in one of the tables above, or nullptr.
template <typename Table> typename Table::mapped_type* Lookup(Table& table, int key) {
    auto found = table.find(key);
    return found == table.end() ? nullptr : &found->second;
}

Control* Find(int id, ControlKind a, ControlKind b = ControlKind::None) {
    Control* c = Lookup(controls, id);
    return c != nullptr && (c->kind == a || c->kind == b) ? c : nullptr;
}

Control* FindCombo(int id) {
    return Find(id, ControlKind::ListCombo, ControlKind::EditCombo);
}

template <std::size_t N> void AddCombo(int id, ControlKind kind, const char* const (&items)[N]) {
    Control& c = controls[id];
    c.kind = kind;
    c.items.assign(std::begin(items), std::end(items));
}

void AddButtons(ControlKind kind, std::initializer_list<int> ids) {
    for (int id : ids)
        controls[id].kind = kind;
}

void AddTrackbar(int id) {
    Control& c = controls[id];
    c.kind = ControlKind::Trackbar;
    c.maximum = kDefaultTrackbarMaximum;
}

void AddBand(int bandId, bool shown) {
    bandOrder.push_back(bandId);
    bandShown[bandId] = shown;
}

} // namespace

namespace headless {

ControlKind KindOfControl(int id) {
    const Control* c = Lookup(controls, id);
    return c ? c->kind : ControlKind::None;
}

TrackbarRange TrackbarRangeOf(int id) {
    const Control* c = Find(id, ControlKind::Trackbar);
    return c ? TrackbarRange{c->minimum, c->maximum} : TrackbarRange{0, 0};
}

port::WindowHandle ControlHandle(int id) {
    return Lookup(controls, id);
}

std::vector<int> BandOrder() {
    return bandOrder;
}

void DestroyControlPanel() {
    controls.clear();
    bandOrder.clear();
    bandShown.clear();
    menuChecks = MenuItems();
}

bool TakeFrameCloseRequest() {
    const bool requested = frameCloseRequested;
    frameCloseRequested = false;
    return requested;
}

} // namespace headless

namespace port {

void CreateControlPanel(WindowHandle, const StringList& inputNames) {
    controls.clear();
    bandOrder.clear();
    bandShown.clear();

    // Top rebar.
    AddButtons(ControlKind::PushButton, {kCmdFftSettings, kCmdSaveAscii});
    AddButtons(ControlKind::CheckButton,
               {kCmdSwapInputs, kCmdTestTone, kCmdPeakTrace, kCmdPause, kCmdPeakHold});
    AddBand(kBandMainToolbar, true);
    if (!inputNames.empty()) {
        Control& input = controls[kInputCombo];
        input.kind = ControlKind::ListCombo;
        input.items = inputNames;
        AddBand(kBandInput, true);
    }
    AddCombo(kScaleCombo, ControlKind::ListCombo, kScaleItems);
    AddBand(kBandScale, true);
    AddCombo(kAverageCombo, ControlKind::ListCombo, kAverageItems);
    AddBand(kBandAverage, true);
    AddCombo(kDecayCombo, ControlKind::ListCombo, kDecayItems);
    AddBand(kBandDecay, true);
    AddCombo(kWeightingCombo, ControlKind::ListCombo, kWeightingItems);
    AddBand(kBandWeighting, true);
    AddCombo(kSmoothingCombo, ControlKind::ListCombo, kSmoothingItems);
    AddBand(kBandSmoothing, false);
    AddCombo(kVerticalScaleCombo, ControlKind::ListCombo, kVerticalScaleItems);
    AddBand(kBandVerticalScale, false);
    AddCombo(kDelayCombo, ControlKind::EditCombo, kDelayItems);
    AddBand(kBandDelay, false);

    // Bottom rebar.
    AddCombo(kToneCombo, ControlKind::ListCombo, kToneItems);
    AddCombo(kFrequencyCombo, ControlKind::EditCombo, kFrequencyItems);
    AddTrackbar(kVolumeTrackbar);
    AddButtons(ControlKind::CheckButton, {kCmdPlay});
    AddButtons(ControlKind::PushButton, {kCmdStop});
    AddBand(kBandToneBar, false);
    AddButtons(ControlKind::PushButton,
               {kCmdScrollLeft, kCmdZoomIn, kCmdZoomReset, kCmdZoomOut, kCmdScrollRight});
    AddBand(kBandNavigation, true);
    AddButtons(ControlKind::CheckButton, {kCmdTraceA, kCmdTraceB, kCmdTraceC});
    AddBand(kBandTraceToolbar, true);
    AddTrackbar(kGainTrackbar);
    AddBand(kBandGain, true);
    AddCombo(kMonitorCombo, ControlKind::ListCombo, kMonitorItems);
    AddBand(kBandMonitor, true);
}

bool ControlExists(int id) {
    return controls.count(id) != 0;
}

int ComboSelection(int id) {
    const Control* c = FindCombo(id);
    return c ? c->selection : -1;
}

void SetComboSelection(int id, int item) {
    Control* c = FindCombo(id);
    if (c == nullptr)
        return;
    // An index outside the list clears the selection, as the platform's combo box does; the
    // edit field of a drop-down shows the selected item.
    const bool valid = item >= 0 && item < static_cast<int>(c->items.size());
    c->selection = valid ? item : -1;
    c->editText = valid ? c->items[item] : "";
}

int ComboItemCount(int id) {
    const Control* c = FindCombo(id);
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string ComboItemText(int id, int item) {
    const Control* c = FindCombo(id);
    if (c == nullptr || item < 0 || item >= static_cast<int>(c->items.size()))
        return "";
    return c->items[item];
}

void SetComboItems(int id, const StringList& items) {
    Control* c = FindCombo(id);
    if (c == nullptr)
        return;
    c->items = items;
    c->selection = -1;
    c->editText.clear();
}

std::string ComboEditText(int id) {
    const Control* c = FindCombo(id);
    return c ? c->editText : "";
}

void SetComboEditText(int id, const char* text) {
    Control* c = Find(id, ControlKind::EditCombo);
    if (c != nullptr)
        c->editText = text != nullptr ? text : "";
}

bool ButtonChecked(int commandId) {
    const Control* c = Find(commandId, ControlKind::CheckButton);
    return c != nullptr && c->checked;
}

void CheckButton(int commandId, bool down) {
    Control* c = Find(commandId, ControlKind::CheckButton);
    if (c != nullptr)
        c->checked = down;
}

int TrackbarPosition(int id) {
    const Control* c = Find(id, ControlKind::Trackbar);
    return c ? c->position : 0;
}

void SetTrackbar(int id, int minimum, int maximum, int position) {
    Control* c = Find(id, ControlKind::Trackbar);
    if (c == nullptr)
        return;
    c->minimum = minimum;
    c->maximum = std::max(minimum, maximum);
    c->position = std::min(std::max(position, c->minimum), c->maximum);
}

void ShowBand(int bandId, bool show) {
    if (bool* shown = Lookup(bandShown, bandId))
        *shown = show;
}

bool BandShown(int bandId) {
    const bool* shown = Lookup(bandShown, bandId);
    return shown != nullptr && *shown;
}

void CheckMenuItem(int commandId, bool checked) {
    if (bool* mark = Lookup(menuChecks, commandId))
        *mark = checked;
}

bool MenuItemChecked(int commandId) {
    const bool* mark = Lookup(menuChecks, commandId);
    return mark != nullptr && *mark;
}

int ControlIdOf(WindowHandle control) {
    for (auto& entry : controls) {
        if (&entry.second == control)
            return entry.first;
    }
    return 0;
}

void CloseFrameWindow() {
    frameCloseRequested = true;
}

} // namespace port
