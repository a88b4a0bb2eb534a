#include "LaunchArguments.h"

#include <cstring>

const char* const kLaunchProgramFile = "Orvane";
const char* const kBudgetProgramName = "Orvane.exe";

bool BuildLaunchArguments(int argc, const char* const argv[], std::vector<std::string>& launchArguments)
{
    launchArguments.clear();
    if (argc > 1) {
        size_t runningLength = std::strlen(kBudgetProgramName) + 1;
        for (int i = 1; i < argc; ++i) {
            runningLength += std::strlen(argv[i]) + 3;
            if (runningLength > size_t(kLaunchArgumentLimit - 1))
                return false;
        }
    }
    launchArguments.emplace_back(kLaunchProgramFile);
    for (int i = 1; i < argc; ++i)
        launchArguments.emplace_back(argv[i]);
    return true;
}
