// What both ports say about the mixer: the mixer's line and control types by the platform SDK's
// own names, and the message boxes that report a mixer failure. User-interface thread.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "port/messages.h"
#include "port/port.h"

namespace mixer {

// The types the program asks for, in the platform's numbering.
constexpr uint32_t kDestinationWaveIn = 7;    // MIXERLINE_COMPONENTTYPE_DST_WAVEIN
constexpr uint32_t kNoSourceLine = 0x100B;    // one past the last source type: no source wanted
constexpr uint32_t kControlMux = 0x70010001u; // MIXERCONTROL_CONTROLTYPE_MUX
constexpr uint32_t kListTextBytes = 72;       // one MIXERCONTROLDETAILS_LISTTEXTA record

constexpr char kInitCaption[] = "CMixerBase::Init";
constexpr char kDetailsCaption[] = "CMixerBase::InitMXDetails";

constexpr char kNoDevice[] = "No mixer device present";
constexpr char kCannotOpen[] = "Could not open mixer device";
constexpr char kSourceNotFound[] =
    "Warning: the source line \n%s\n not found.\n\n(Associated to Destination line \n%s)";
constexpr char kNoControls[] = "No controls available for this audio line: %s";
constexpr char kControlNotFound[] =
    "Could not find specified mixer control. Associated Windows control will be "
    "disabled.\nControl type: %s,\n\nDest line type: %s,\nSrc  line type: %s\n";
constexpr char kUnknownUnits[] = "Control uses unknown units.";
constexpr char kNoMemory[] = "Memory allocation error.";

struct TypeName {
    uint32_t type;
    const char* name;
};

// MIXERLINE_COMPONENTTYPE_ names; kNoSourceLine reads "No source line".
inline const char* LineTypeName(uint32_t type) {
    static const TypeName names[] = {
        {0x0000, "MIXERLINE_COMPONENTTYPE_DST_UNDEFINED"},
        {0x0001, "MIXERLINE_COMPONENTTYPE_DST_DIGITAL"},
        {0x0002, "MIXERLINE_COMPONENTTYPE_DST_LINE"},
        {0x0003, "MIXERLINE_COMPONENTTYPE_DST_MONITOR"},
        {0x0004, "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS"},
        {0x0005, "MIXERLINE_COMPONENTTYPE_DST_HEADPHONES"},
        {0x0006, "MIXERLINE_COMPONENTTYPE_DST_TELEPHONE"},
        {0x0007, "MIXERLINE_COMPONENTTYPE_DST_WAVEIN"},
        {0x0008, "MIXERLINE_COMPONENTTYPE_DST_VOICEIN"},
        {0x1000, "MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED"},
        {0x1001, "MIXERLINE_COMPONENTTYPE_SRC_DIGITAL"},
        {0x1002, "MIXERLINE_COMPONENTTYPE_SRC_LINE"},
        {0x1003, "MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE"},
        {0x1004, "MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER"},
        {0x1005, "MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC"},
        {0x1006, "MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE"},
        {0x1007, "MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER"},
        {0x1008, "MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT"},
        {0x1009, "MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY"},
        {0x100A, "MIXERLINE_COMPONENTTYPE_SRC_ANALOG"},
        {kNoSourceLine, "No source line"},
    };
    for (const TypeName& n : names)
        if (n.type == type)
            return n.name;
    return "---- UNKNOWN LINE TYPE ----";
}

// MIXERCONTROL_CONTROLTYPE_ names.
inline const char* ControlTypeName(uint32_t type) {
    static const TypeName names[] = {
        {0x00000000, "MIXERCONTROL_CONTROLTYPE_CUSTOM"},
        {0x10010000, "MIXERCONTROL_CONTROLTYPE_BOOLEANMETER"},
        {0x10020000, "MIXERCONTROL_CONTROLTYPE_SIGNEDMETER"},
        {0x10020001, "MIXERCONTROL_CONTROLTYPE_PEAKMETER"},
        {0x10030000, "MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER"},
        {0x20010000, "MIXERCONTROL_CONTROLTYPE_BOOLEAN"},
        {0x20010001, "MIXERCONTROL_CONTROLTYPE_ONOFF"},
        {0x20010002, "MIXERCONTROL_CONTROLTYPE_MUTE"},
        {0x20010003, "MIXERCONTROL_CONTROLTYPE_MONO"},
        {0x20010004, "MIXERCONTROL_CONTROLTYPE_LOUDNESS"},
        {0x20010005, "MIXERCONTROL_CONTROLTYPE_STEREOENH"},
        {0x20012277, "MIXERCONTROL_CONTROLTYPE_BASS_BOOST"},
        {0x21010000, "MIXERCONTROL_CONTROLTYPE_BUTTON"},
        {0x30040000, "MIXERCONTROL_CONTROLTYPE_DECIBELS"},
        {0x30020000, "MIXERCONTROL_CONTROLTYPE_SIGNED"},
        {0x30030000, "MIXERCONTROL_CONTROLTYPE_UNSIGNED"},
        {0x30050000, "MIXERCONTROL_CONTROLTYPE_PERCENT"},
        {0x40020000, "MIXERCONTROL_CONTROLTYPE_SLIDER"},
        {0x40020001, "MIXERCONTROL_CONTROLTYPE_PAN"},
        {0x40020002, "MIXERCONTROL_CONTROLTYPE_QSOUNDPAN"},
        {0x50030000, "MIXERCONTROL_CONTROLTYPE_FADER"},
        {0x50030001, "MIXERCONTROL_CONTROLTYPE_VOLUME"},
        {0x50030002, "MIXERCONTROL_CONTROLTYPE_BASS"},
        {0x50030003, "MIXERCONTROL_CONTROLTYPE_TREBLE"},
        {0x50030004, "MIXERCONTROL_CONTROLTYPE_EQUALIZER"},
        {0x70010000, "MIXERCONTROL_CONTROLTYPE_SINGLESELECT"},
        {0x70010001, "MIXERCONTROL_CONTROLTYPE_MUX"},
        {0x71010000, "MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT"},
        {0x71010001, "MIXERCONTROL_CONTROLTYPE_MIXER"},
        {0x60030000, "MIXERCONTROL_CONTROLTYPE_MICROTIME"},
        {0x61030000, "MIXERCONTROL_CONTROLTYPE_MILLITIME"},
    };
    for (const TypeName& n : names)
        if (n.type == type)
            return n.name;
    return "---- UNKNOWN CONTROL TYPE ----";
}

// Formats the text (printf-style) and shows it in an exclamation message box with caption and no
// owner: at start-up the focus is the splash's, whose timer would close an owned box unanswered.
// The text is formatted at its full length, however long the driver's line names are.
inline void ReportMixerError(const char* caption, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, args);
    va_end(args);
    port::ShowMessageWithoutOwner(text.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace mixer
