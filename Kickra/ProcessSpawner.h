#pragma once

#include <string>
#include <vector>

// The outcome of starting a program and waiting for it.
struct SpawnResult
{
    bool started; // the program ran (and has ended)
    int exitCode; // when started: its exit code, or 128 + signal when a signal ended it
    int reason;   // when not started: the errno that prevented the start
};

// Starts `programFile` with `arguments` as its argument vector (the first one is its name)
// and the launcher's environment, and waits for it to end. A name without a slash is taken
// from the current working directory; no search path is consulted. SIGCHLD is set to its
// default disposition first, so that the exit code can be collected.
SpawnResult SpawnAndWait(const char* programFile, const std::vector<std::string>& arguments);
