// The settings file "RTA.DAT": thirteen settings written back to back (56 bytes, little-endian)
// in the folder the program started in, read at start-up and written at exit. User-interface
// thread only.
#pragma once

constexpr int kSettingsFileBytes = 56;

// Fixes the settings file as "RTA.DAT" of the current directory by its full path, so that a later
// change of the current directory does not move it. Start-up calls it first; until then the
// bare name is used.
void LocateSettingsFile();

// Writes the settings file through a temporary file that then replaces it in one step, so a
// failed write keeps the previous file; nothing is reported when it cannot be written.
void SaveSettings();

// Reads the settings file over the current settings; a missing or short file leaves the rest as
// they are. When it is missing, a complete temporary file that a save left behind is read
// instead. Values that would break the analysis (an unsupported rate or size, a channel count or
// monitor mode outside its set, a scale that is not a positive number, ...) are replaced by
// their defaults. Also derives the state that follows from the loaded values.
void LoadSettings();
