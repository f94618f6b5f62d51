// Scripts of user actions run against the headless analyzer (tonalyx-cli script): one action a
// line, checked as a whole before the first one runs. The caller's thread is the program's
// user-interface thread.
#pragma once

#include <cstdint>
#include <string>

namespace cli {

// Bounds for a script from an untrusted source, refused at the check before any action runs.
struct ScriptLimits {
    // The capture blocks all frames actions together may ask for.
    int64_t maxBlocks = INT64_MAX;
    // Whether the files the script names must be plain names (no folder part, no "." or ".."),
    // so that it reads and writes only in the current folder.
    bool plainFileNames = false;
};

// Runs the script in the file at path; relative paths inside it name files of the current
// folder. False with a reason naming the line when a line is wrong or an action fails.
bool RunScript(const std::string& path, std::string* error);
// The same for a script given as text; name stands for it in the reasons.
bool RunScriptText(const std::string& text, const std::string& name, std::string* error,
                   const ScriptLimits& limits = {});

} // namespace cli
