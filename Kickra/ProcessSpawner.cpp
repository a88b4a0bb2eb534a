#include "ProcessSpawner.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

SpawnResult SpawnAndWait(const char* programFile, const std::vector<std::string>& arguments)
{
    // With SIGCHLD ignored (inherited from whoever started the launcher) the kernel reaps the
    // program by itself and waitpid can no longer give its exit code. The default disposition
    // keeps the ended program waiting for us; the program inherits that default.
    struct sigaction childDefault = {};
    childDefault.sa_handler = SIG_DFL;
    sigemptyset(&childDefault.sa_mask);
    sigaction(SIGCHLD, &childDefault, nullptr);

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // posix_spawn (not posix_spawnp) executes the path as given, and reports a failed exec
    // in the child as its own result, so the reason reaches this process.
    pid_t child = 0;
    const int spawnError = posix_spawn(&child, programFile, nullptr, nullptr, argv.data(), environ);
    if (spawnError != 0)
        return {false, 0, spawnError};

    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited < 0)
        return {false, 0, errno};

    if (WIFEXITED(status))
        return {true, WEXITSTATUS(status), 0};
    // A signal ended the program: report it the way shells do, so that a script sees the
    // same status as if it had run the program itself.
    if (WIFSIGNALED(status))
        return {true, 128 + WTERMSIG(status), 0};
    return {true, -1, 0};
}
