// Kickra: starts Orvane from the current folder with the launcher's own arguments, waits for
// it and returns its exit code, so that scripts get the program's status. Kickra writes
// nothing to standard output; its only messages are one line each on standard error.
#include "InterruptShield.h"
#include "LaunchArguments.h"
#include "LaunchFailure.h"
#include "ProcessSpawner.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    std::vector<std::string> launchArguments;
    if (!BuildLaunchArguments(argc, argv, launchArguments)) {
        std::fprintf(stderr, "Argument list exceeds %d bytes\n", kLaunchArgumentLimit);
        return 7;
    }

    ShieldFromInterrupts();

    const SpawnResult result = SpawnAndWait(kLaunchProgramFile, launchArguments);
    if (result.started)
        return result.exitCode;

    const LaunchFailure failure = DescribeLaunchFailure(result.reason);
    if (failure.message)
        std::fputs(failure.message, stderr);
    return failure.exitCode;
}
