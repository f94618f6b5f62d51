// The in-view menu of the FFT set-up: the pending rate and size change with each submenu choice
// and take effect once, when the main menu is left. User-interface thread only.
#include "ui/fft_settings_menu.h"

#include <cstdio>

#include "gfx/menu.h"
#include "state/state.h"
#include "ui/analyzer_window.h"
#include "ui/status_text.h"

namespace {

constexpr int kItemSampleRate = 1;
constexpr int kItemFftSize = 2;
constexpr int kItemTimeConstant = 3;
constexpr int kItemResolution = 4;
constexpr int kItemContinue = 5;

const char* const kSubmenuTitles[] = {"FFT Sample Speed", "FFT Sample Size", "FFT Time Constant",
                                      "FFT Resolution"};

// The time-constant and resolution lists run from the largest FFT size to the smallest.
constexpr int32_t kSizesLargestFirst[] = {32768, 16384, 8192, 4096, 2048};

struct RateLists {
    int32_t rate;
    const char* timeConstants;
    const char* resolutions;
};
// A rate not listed (only an altered settings file gives one) shows the first lists.
constexpr RateLists kRateLists[] = {
    {44100, "01743ms,02372ms,03186ms,0493ms,0546ms", "011.3Hz,022.7Hz,035.4Hz,0410.8Hz,0521.5Hz"},
    {22050, "011486ms,02744ms,03372ms,04186ms,0593ms", "010.7Hz,021.3Hz,032.7Hz,045.4Hz,0510.8Hz"},
    {11025, "012972ms,021488ms,03744ms,04372ms,05186ms", "010.3Hz,020.7Hz,031.3Hz,042.7Hz,055.4Hz"},
    {8000, "014096ms,022048ms,031024ms,04512ms,05256ms", "010.2Hz,020.5Hz,031.0Hz,042.0Hz,053.9Hz"},
};

const RateLists& ListsFor(int32_t r) {
    for (const RateLists& lists : kRateLists) {
        if (lists.rate == r)
            return lists;
    }
    return kRateLists[0];
}

// Builds the item string of the choices: "01<label>,02<label>,...".
std::string ChoiceItems(const Choice* choices, int count) {
    std::string items;
    for (int i = 0; i < count; ++i) {
        char item[24];
        std::snprintf(item, sizeof item, "%s%02d%s", i > 0 ? "," : "", i + 1, choices[i].label);
        items += item;
    }
    return items;
}

} // namespace

std::string FftMenuItems(int32_t r, int32_t n) {
    const float res = static_cast<float>(r) / static_cast<float>(n);
    const int timeConstant = static_cast<int>(1000.0f / res + 0.5f);
    const char* format = n < 1000
                             ? "01Sample Rate: %dKhz,02FFT Size: %dbytes,03Time Constant: %dms,"
                               "04Resolution: %0.1fHz,05Continue"
                             : "01Sample Rate: %dKhz,02FFT Size: %dK,03Time Constant: %dms,"
                               "04Resolution: %0.1fHz,05Continue";
    char items[160];
    std::snprintf(items, sizeof items, format, r / 1000, n < 1000 ? n : n / 1000, timeConstant,
                  static_cast<double>(res));
    return items;
}

const char* FftSubmenuItems(int item, int32_t r) {
    static const std::string rates = ChoiceItems(kSampleRateChoices, kSampleRateChoiceCount);
    static const std::string sizes = ChoiceItems(kFftSizeChoices, kFftSizeChoiceCount);
    switch (item) {
    case kItemSampleRate:
        return rates.c_str();
    case kItemFftSize:
        return sizes.c_str();
    case kItemTimeConstant:
        return ListsFor(r).timeConstants;
    case kItemResolution:
        return ListsFor(r).resolutions;
    default:
        return "";
    }
}

void ShowFftSettingsMenu(AnalyzerWindow& object) {
    const int32_t r0 = captureRate;
    const int32_t n0 = captureFftSize;
    int32_t r = r0;
    int32_t n = n0;
    Menu menu;
    for (;;) {
        const int item =
            menu.Run(object.screen, "FFT Parameters", FftMenuItems(r, n).c_str(), MenuAll);
        if (item < kItemSampleRate || item >= kItemContinue)
            break;
        const int choice =
            menu.Run(object.screen, kSubmenuTitles[item - 1], FftSubmenuItems(item, r), MenuAll);
        if (choice < 1)
            continue;
        if (item == kItemSampleRate && choice <= kSampleRateChoiceCount)
            r = kSampleRateChoices[choice - 1].value;
        else if (item == kItemFftSize && choice <= kFftSizeChoiceCount)
            n = kFftSizeChoices[choice - 1].value;
        else if (item >= kItemTimeConstant && choice <= 5)
            n = kSizesLargestFirst[choice - 1];
    }
    if (r != r0 || n != n0)
        object.RestartCapture(r, n);
    UpdateStatusText();
}
