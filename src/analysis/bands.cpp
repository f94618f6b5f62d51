// Band tables: octave and third-octave as fixed data, sixth- and twelfth-octave from their rules,
// built once on first use. Any thread.
#include "analysis/bands.h"

#include <cmath>

#include "state/state.h"

namespace {

const Band kOctaveBands[11] = {
    {11, 16, 22},       {22, 31.5f, 44},     {44, 63, 88},          {88, 125, 176},
    {176, 250, 353},    {353, 500, 707},     {707, 1000, 1414},     {1414, 2000, 2825},
    {2825, 4000, 5650}, {5650, 8000, 11300}, {11300, 16000, 22500},
};

const Band kThirdOctaveBands[32] = {
    {14, 16, 18},         {18, 20, 22},          {22, 25, 28},          {28, 31.5f, 35},
    {35, 40, 44},         {44, 50, 57},          {57, 63, 71},          {71, 80, 88},
    {88, 100, 113},       {113, 125, 141},       {141, 160, 176},       {176, 200, 225},
    {225, 250, 283},      {283, 315, 353},       {353, 400, 440},       {440, 500, 565},
    {565, 630, 707},      {707, 800, 880},       {880, 1000, 1130},     {1130, 1250, 1414},
    {1414, 1600, 1760},   {1760, 2000, 2250},    {2250, 2500, 2825},    {2825, 3150, 3530},
    {3530, 4000, 4400},   {4400, 5000, 5650},    {5650, 6300, 7070},    {7070, 8000, 8800},
    {8800, 10000, 11300}, {11300, 12500, 14140}, {14140, 16000, 17600}, {17600, 20000, 22500},
};

float RoundTo(double value, double step) {
    return static_cast<float>(std::round(value / step) * step);
}

// Steps of 10^(1/20) (standing in for 2^(1/6)) from 16 Hz, edges half a step either side, to
// 0.1 Hz. The top row is fixed apart from the rule (its centre is not the rule's), and its lower
// edge is also the upper edge of row 62, so that the table stays contiguous.
struct SixthOctaveBands {
    Band rows[64];
    SixthOctaveBands() {
        for (int i = 0; i < 63; ++i) {
            rows[i].lower = RoundTo(16.0 * std::pow(10.0, (i - 0.5) / 20.0), 0.1);
            rows[i].centre = RoundTo(16.0 * std::pow(10.0, i / 20.0), 0.1);
            rows[i].upper = RoundTo(16.0 * std::pow(10.0, (i + 0.5) / 20.0), 0.1);
        }
        rows[63] = {21336.9f, 22651.2f, 23940.4f};
        rows[62].upper = rows[63].lower;
    }
};

// Equal-tempered semitones with A = 440 Hz from the C at 16.35 Hz (row 57 is 440 Hz), edges a
// quarter tone either side, to 0.01 Hz.
struct TwelfthOctaveBands {
    Band rows[128];
    TwelfthOctaveBands() {
        for (int i = 0; i < 128; ++i) {
            rows[i].lower = RoundTo(440.0 * std::pow(2.0, (2 * i - 115) / 24.0), 0.01);
            rows[i].centre = RoundTo(440.0 * std::pow(2.0, (i - 57) / 12.0), 0.01);
            rows[i].upper = RoundTo(440.0 * std::pow(2.0, (2 * i - 113) / 24.0), 0.01);
        }
    }
};

} // namespace

BandTable BandsFor(int32_t mode) {
    switch (mode) {
    case kModeOctave:
        return {kOctaveBands, 11};
    case kModeThirdOctave:
        return {kThirdOctaveBands, 32};
    case kModeSixthOctave: {
        static const SixthOctaveBands sixth;
        return {sixth.rows, 64};
    }
    case kModeTwelfthOctave: {
        static const TwelfthOctaveBands twelfth;
        return {twelfth.rows, 128};
    }
    default:
        return {nullptr, 0};
    }
}
