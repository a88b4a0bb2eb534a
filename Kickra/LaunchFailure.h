#pragma once

// What the launcher says and returns when the program could not be started.
struct LaunchFailure
{
    int exitCode;        // the reason's number, or -1 for a reason without its own message
    const char* message; // one line for the standard error stream, or nullptr
};

// Maps the errno of a failed start to the launcher's message and exit code.
LaunchFailure DescribeLaunchFailure(int reason);
