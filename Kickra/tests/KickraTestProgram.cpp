// Stands in for Orvane in the launcher's tests. It writes its argument vector, its own name
// first, one per line to "arguments.txt" in the current folder, then obeys the arguments
// it recognises: "wait-for=NAME" waits (up to 30 s) until the file NAME exists,
// "report-signals" writes how it found SIGINT and SIGCHLD ("SIGINT default", "SIGINT ignored"
// or "SIGINT handled", one line each) to "signals.txt", "signal=N" ends itself with signal N,
// and "exit=N" sets the exit code (default 0).
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool HasPrefix(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool WriteArguments(int argc, char* argv[])
{
    // Written under another name and renamed, so that a reader never sees half a list.
    std::FILE* file = std::fopen("arguments.tmp", "wb");
    if (!file)
        return false;
    for (int i = 0; i < argc; ++i) {
        std::fputs(argv[i], file);
        std::fputc('\n', file);
    }
    if (std::fclose(file) != 0)
        return false;
    return std::rename("arguments.tmp", "arguments.txt") == 0;
}

const char* Disposition(int signalNumber)
{
    struct sigaction current = {};
    if (sigaction(signalNumber, nullptr, &current) != 0)
        return "unknown";
    if (current.sa_handler == SIG_IGN)
        return "ignored";
    return current.sa_handler == SIG_DFL ? "default" : "handled";
}

bool ReportSignals()
{
    std::FILE* file = std::fopen("signals.txt", "wb");
    if (!file)
        return false;
    std::fprintf(file, "SIGINT %s\nSIGCHLD %s\n", Disposition(SIGINT), Disposition(SIGCHLD));
    return std::fclose(file) == 0;
}

void WaitFor(const char* name)
{
    for (int i = 0; i < 3000; ++i) {
        if (std::FILE* file = std::fopen(name, "rb")) {
            std::fclose(file);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (!WriteArguments(argc, argv))
        return 99;
    int exitCode = 0;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "report-signals") == 0 && !ReportSignals())
            return 98;
        if (HasPrefix(argument, "wait-for="))
            WaitFor(argument + std::strlen("wait-for="));
        else if (HasPrefix(argument, "signal="))
            std::raise(std::atoi(argument + std::strlen("signal=")));
        else if (HasPrefix(argument, "exit="))
            exitCode = std::atoi(argument + std::strlen("exit="));
    }
    return exitCode;
}
