// The settings file "RTA.DAT": thirteen settings written back to back (56 bytes, little-endian)
// in the current directory, read at start-up and written at exit. User-interface thread only.
#pragma once

// The file's name, in the current directory.
constexpr char kSettingsFileName[] = "RTA.DAT";

// Writes "RTA.DAT" through a temporary file, so a failed write keeps the previous file; nothing
// is reported when it cannot be written.
void SaveSettings();

// Reads "RTA.DAT" over the current settings; a missing or short file leaves the rest as they
// are. Values that would break the analysis or the views (an unsupported rate or size, a channel
// count or monitor mode outside its set, a vertical scale that is not a number of at least 0.5,
// ...) are replaced by their defaults. Also derives the state that follows from the loaded values.
void LoadSettings();
