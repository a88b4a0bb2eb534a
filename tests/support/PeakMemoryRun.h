#pragma once
// A program run to its end with the peak of its resident memory as the kernel counted it (wait4's ru_maxrss):
// how tests and benchmarks show a bound on memory, where a timed test could show nothing.
#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QStringList>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

struct CMeasuredRun
{
    int status = -1; // the wait status; -1 when the program could not be started
    long peakKb = 0; // the largest resident set, in kilobytes
    bool ExitedWith(int code) const { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code; }
};

// Runs program with the arguments in folder, with environment (the tests' own when empty), standard output
// dropped and standard error into errorFile (dropped when empty).
inline CMeasuredRun RunMeasured(const QByteArray& program, const QList<QByteArray>& arguments, const QByteArray& folder,
                                const QProcessEnvironment& environment, const QByteArray& errorFile = QByteArray())
{
    std::vector<QByteArray> words{program};
    for (const QByteArray& argument : arguments)
        words.push_back(argument);
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> variables;
    const QProcessEnvironment& used = environment.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment;
    for (const QString& variable : used.toStringList())
        variables.push_back(variable.toLocal8Bit());
    std::vector<char*> envp;
    for (QByteArray& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.isEmpty() ? "/dev/null" : errorFile.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    CMeasuredRun run;
    pid_t child = 0;
    const int started = posix_spawn(&child, program.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return run;
    struct rusage usage = {};
    int status = 0;
    if (::wait4(child, &status, 0, &usage) == child) {
        run.status = status;
        run.peakKb = usage.ru_maxrss;
    }
    return run;
}
