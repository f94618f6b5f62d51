// Scripts of user actions run against the headless analyzer (tonalyx-cli script): one action a
// line, checked as a whole before the first one runs. The caller's thread is the program's
// user-interface thread.
#pragma once

#include <string>

namespace cli {

// Runs the script in the file at path; relative paths inside it name files of the current
// folder. False with a reason naming the line when a line is wrong or an action fails.
bool RunScript(const std::string& path, std::string* error);
// The same for a script given as text; name stands for it in the reasons.
bool RunScriptText(const std::string& text, const std::string& name, std::string* error);

} // namespace cli
