// Files written whole or not at all: the settings file and the trace export. User-interface
// thread only.
#pragma once

#include <string>

// The name of the temporary file that WriteWholeFile writes path through.
std::string TemporaryFileOf(const std::string& path);

// Writes bytes into TemporaryFileOf(path), which then replaces path in one step. True when path
// holds bytes. A write that fails removes the temporary file and leaves path as it was; a
// replacement that fails leaves both, the temporary file being the only complete copy of bytes.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
