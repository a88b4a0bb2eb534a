#pragma once

#include <string>
#include <vector>

// The program file the launcher starts: a name without folder, looked up in the current
// working directory only.
extern const char* const kLaunchProgramFile;

// The byte budget of the command line handed to the program.
constexpr int kLaunchArgumentLimit = 5000;

// The program name as the budget counts it. The launcher's limit is the one its users have
// always had, where the command line began with "Orvane.exe", so a script that fits on one
// system fits on every other.
extern const char* const kBudgetProgramName;

// Builds the argument vector for the program (its name first, then the launcher's own
// arguments unchanged). The budget is counted as the quoted command line would need it:
// the counted program name and a blank, and each argument with a blank and two quotes.
// Returns false, leaving `launchArguments` empty, when that count exceeds the limit less one.
bool BuildLaunchArguments(int argc, const char* const argv[], std::vector<std::string>& launchArguments);
