#include "LaunchFailure.h"

#include <cerrno>

// The exit codes are the reasons' classic C runtime numbers, written out so that they stay
// the same wherever errno values differ.
LaunchFailure DescribeLaunchFailure(int reason)
{
    switch (reason) {
    case ENOENT:
        return {2, "File or path is not found\n"};
    case E2BIG:
        return {7, "Argument list exceeds 1024 bytes\n"};
    // A file without execute permission is the everyday form of "not a program" here,
    // so it is reported like a file of the wrong format rather than silently.
    case ENOEXEC:
    case EACCES:
        return {8, "Specified file is not executable or has invalid executable-file format\n"};
    case ENOMEM:
        return {12, "Not enough memory is available to execute new process\n"};
    case EINVAL:
        return {22, "mode argument is invalid\n"};
    default:
        return {-1, nullptr};
    }
}
