#pragma once
// A piece of a test run in a forked child, for what must not reach the test's own process (a signal that ends
// it, a file size limit): how the child ended and what it wrote on standard error. Also the limits such a child
// (or a program a test starts) sets on itself.
#include <QByteArray>
#include <QtGlobal>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct CChildEnd
{
    int status = -1; // the wait status; -1 when the child could not be started
    QByteArray err;

    bool EndedBy(int signal) const { return status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == signal; }
    bool ExitedWithZero() const { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }
};

// Runs body in a child that then exits with 0 (body may end it otherwise).
inline CChildEnd RunInChild(const std::function<void()>& body)
{
    CChildEnd end;
    int errors[2];
    if (::pipe(errors) != 0)
        return end;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(errors[0]);
        ::dup2(errors[1], STDERR_FILENO);
        body();
        ::_exit(0);
    }
    ::close(errors[1]);
    if (child > 0) {
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(errors[0], buffer, sizeof buffer)) > 0)
            end.err.append(buffer, qsizetype(got));
        if (::waitpid(child, &end.status, 0) != child)
            end.status = -1;
    }
    ::close(errors[0]);
    return end;
}

// The file size limit alone, as `ulimit -f` sets it: a write past bytes sends SIGXFSZ, here at its default, so a
// program a test starts does with it what the program itself decides.
inline void SetFileSizeLimit(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_DFL);
    const struct rlimit limit = {rlim_t(bytes), rlim_t(bytes)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// For the test's own code in a child, which does not ignore the signal itself: writes past bytes fail with
// "File too large" instead of the signal ending the process.
inline void LimitFileSize(qint64 bytes)
{
    SetFileSizeLimit(bytes);
    std::signal(SIGXFSZ, SIG_IGN);
}

// A process a test ends with SIGQUIT leaves no core file behind.
inline void NoCoreFile()
{
    const struct rlimit none = {0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}
