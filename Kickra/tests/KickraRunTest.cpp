// Runs the built launcher in scratch folders where a test program of our own plays Orvane.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const int kRunTimeoutMs = 30000;

struct LauncherRun
{
    bool finished = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

QString Str(const std::string& text)
{
    return QString::fromStdString(text);
}

QString LauncherPath()
{
    return QString::fromLatin1(ORV_LAUNCHER_FILE);
}

QStringList ToQt(const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << Str(argument);
    return list;
}

void Collect(QProcess& process, LauncherRun& run)
{
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
}

// Starts the launcher with SIGINT and SIGCHLD at their defaults, whatever the test runner
// inherited, and with the listed signals ignored, as a shell does for a background job.
void InheritDispositions(QProcess& process, const std::vector<int>& ignored)
{
    process.setChildProcessModifier([ignored]() {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGCHLD, SIG_DFL);
        for (int signalNumber : ignored)
            std::signal(signalNumber, SIG_IGN);
    });
}

LauncherRun RunLauncher(const QString& folder, const std::vector<std::string>& arguments,
                        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                        const std::vector<int>& ignored = {})
{
    LauncherRun run;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    InheritDispositions(process, ignored);
    process.start(LauncherPath(), ToQt(arguments));
    if (!process.waitForStarted(kRunTimeoutMs))
        return run;
    run.finished = process.waitForFinished(kRunTimeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(kRunTimeoutMs);
        return run;
    }
    Collect(process, run);
    return run;
}

// A scratch folder, optionally with the test program copied in under the given name.
class ScratchFolder
{
public:
    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const { return m_dir.path(); }
    QString FilePath(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    bool AddTestProgram(const char* name = "Orvane")
    {
        return QFile::copy(QString::fromLatin1(ORV_FAKE_PROGRAM_FILE), FilePath(name))
               && ::chmod(QFile::encodeName(FilePath(name)).constData(), 0755) == 0;
    }

    bool WriteFile(const char* name, const QByteArray& content, mode_t mode)
    {
        QFile file(FilePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return false;
        file.close();
        return ::chmod(QFile::encodeName(FilePath(name)).constData(), mode) == 0;
    }

    bool HasArguments() const { return QFile::exists(FilePath("arguments.txt")); }

    // What the test program wrote to one of its files, or "<missing>".
    QByteArray Read(const char* name) const
    {
        QFile file(FilePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The argument vector the test program received, its own name first.
    std::vector<std::string> ReceivedArguments() const
    {
        QFile file(FilePath("arguments.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray text = file.readAll();
        std::vector<std::string> lines;
        qsizetype start = 0;
        for (qsizetype end = text.indexOf('\n'); end >= 0; end = text.indexOf('\n', start)) {
            lines.emplace_back(text.constData() + start, size_t(end - start));
            start = end + 1;
        }
        return lines;
    }

private:
    QTemporaryDir m_dir;
};

std::vector<std::string> WithName(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "Orvane");
    return arguments;
}

TEST(KickraRun, PassesArgumentsExactlyAndInOrder)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"exit=0"},
        {"/profile=Model B", "two  words", "tune.mid"},
        {"", "empty before", ""},
        {"quote\"inside", "\"wrapped\"", "back\\slash\\", "tab\there"},
        {"*.mid", "$HOME", "a;b|c", "--", "-x"},
        {"caf\xc3\xa9", "/destination=out dir"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.IsValid() && folder.AddTestProgram());
        const LauncherRun run = RunLauncher(folder.Path(), arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(folder.ReceivedArguments(), WithName(arguments));
        EXPECT_TRUE(run.output.isEmpty());
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.constData();
    }
}

// The program's exit code comes back silently; a program ended by a signal gives the shell's status.
TEST(KickraRun, ReturnsTheProgramsStatusSilently)
{
    std::vector<std::pair<std::string, int>> cases;
    for (int code : {0, 1, 2, 7, 8, 99, 255})
        cases.emplace_back("exit=" + std::to_string(code), code);
    for (int signalNumber : {SIGTERM, SIGKILL, SIGINT})
        cases.emplace_back("signal=" + std::to_string(signalNumber), 128 + signalNumber);
    for (const auto& [argument, status] : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.IsValid() && folder.AddTestProgram());
        const LauncherRun run = RunLauncher(folder.Path(), {argument});
        ASSERT_TRUE(run.finished) << argument;
        EXPECT_FALSE(run.crashed) << argument;
        EXPECT_EQ(run.exitCode, status) << argument;
        EXPECT_TRUE(run.output.isEmpty()) << argument;
        EXPECT_TRUE(run.errors.isEmpty()) << argument;
    }
}

// The count: strlen("Orvane.exe") + 1 = 11, then each argument's length + 3; 4999 is the most.
TEST(KickraRun, ArgumentBudgetBoundary)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> arguments;
        bool accepted;
    };
    const std::string exitArgument = "exit=0"; // counts 9
    const std::vector<Case> cases = {
        {"one argument at 4999", {std::string(4985, 'a')}, true},
        {"one argument at 5000", {std::string(4986, 'a')}, false},
        {"several at 4999",
         {exitArgument, std::string(1000, 'b'), std::string(2000, 'c'), std::string(1970, 'd')},
         true},
        {"several at 5000",
         {exitArgument, std::string(1000, 'b'), std::string(2000, 'c'), std::string(1971, 'd')},
         false},
        // Empty arguments still cost their blank and quotes: 11 + 1662 * 3 = 4997, one more is 5000.
        {"empty arguments at 4997", std::vector<std::string>(1662, std::string()), true},
        {"empty arguments at 5000", std::vector<std::string>(1663, std::string()), false},
        {"far beyond", {std::string(100000, 'e')}, false},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.IsValid() && folder.AddTestProgram());
        const LauncherRun run = RunLauncher(folder.Path(), c.arguments);
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_FALSE(run.crashed) << c.name;
        EXPECT_TRUE(run.output.isEmpty()) << c.name;
        if (c.accepted) {
            EXPECT_EQ(run.exitCode, 0) << c.name;
            EXPECT_TRUE(run.errors.isEmpty()) << c.name;
            EXPECT_EQ(folder.ReceivedArguments(), WithName(c.arguments)) << c.name;
        } else {
            EXPECT_EQ(run.exitCode, 7) << c.name;
            EXPECT_EQ(run.errors, QByteArray("Argument list exceeds 5000 bytes\n")) << c.name;
            EXPECT_FALSE(folder.HasArguments()) << c.name << ": the program was started";
        }
    }
}

TEST(KickraRun, StartFailuresAreReportedByReason)
{
    const QByteArray notFound("File or path is not found\n");
    const QByteArray notExecutable("Specified file is not executable or has invalid executable-file format\n");
    struct Case
    {
        const char* name;
        bool (*prepare)(ScratchFolder&);
        int exitCode;
        QByteArray message;
    };
    const std::vector<Case> cases = {
        {"no Orvane", [](ScratchFolder&) { return true; }, 2, notFound},
        {"only a differently cased name", [](ScratchFolder& f) { return f.AddTestProgram("orvane"); }, 2, notFound},
        {"only Orvane.exe", [](ScratchFolder& f) { return f.AddTestProgram("Orvane.exe"); }, 2, notFound},
        {"dangling link",
         [](ScratchFolder& f) {
             return ::symlink("missing", QFile::encodeName(f.FilePath("Orvane")).constData()) == 0;
         },
         2, notFound},
        // Without execute permission the kernel says EACCES; it gets the "not executable" outcome.
        {"not executable",
         [](ScratchFolder& f) {
             return f.AddTestProgram() && ::chmod(QFile::encodeName(f.FilePath("Orvane")).constData(), 0644) == 0;
         },
         8, notExecutable},
        {"executable but no program", [](ScratchFolder& f) { return f.WriteFile("Orvane", "not a program\n", 0755); },
         8, notExecutable},
        {"empty executable", [](ScratchFolder& f) { return f.WriteFile("Orvane", QByteArray(), 0755); }, 8,
         notExecutable},
        {"a folder", [](ScratchFolder& f) { return QDir(f.Path()).mkdir(QStringLiteral("Orvane")); }, 8, notExecutable},
        // A reason without its own message: exit code of -1, nothing said.
        {"link loop",
         [](ScratchFolder& f) { return ::symlink("Orvane", QFile::encodeName(f.FilePath("Orvane")).constData()) == 0; },
         255, QByteArray()},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.IsValid());
        ASSERT_TRUE(c.prepare(folder)) << c.name;
        const LauncherRun run = RunLauncher(folder.Path(), {"exit=3"});
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_FALSE(run.crashed) << c.name;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(run.errors, c.message) << c.name;
        EXPECT_TRUE(run.output.isEmpty()) << c.name;
    }
}

TEST(KickraRun, NoSearchPath)
{
    ScratchFolder elsewhere;
    ScratchFolder current;
    ASSERT_TRUE(elsewhere.IsValid() && current.IsValid());
    ASSERT_TRUE(elsewhere.AddTestProgram());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"),
                       elsewhere.Path() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    const LauncherRun run = RunLauncher(current.Path(), {"exit=0"}, environment);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errors, QByteArray("File or path is not found\n"));
    EXPECT_FALSE(elsewhere.HasArguments());
}

TEST(KickraRun, CtrlCDoesNotEndTheLauncherWhileTheProgramRuns)
{
    ScratchFolder folder;
    ASSERT_TRUE(folder.IsValid() && folder.AddTestProgram());
    QProcess process;
    process.setWorkingDirectory(folder.Path());
    InheritDispositions(process, {});
    process.start(LauncherPath(), {QStringLiteral("wait-for=go"), QStringLiteral("exit=5")});
    ASSERT_TRUE(process.waitForStarted(kRunTimeoutMs));

    // Once the program has written its arguments it is waiting for "go".
    for (int i = 0; i < 3000 && !folder.HasArguments(); ++i)
        ::usleep(10000);
    ASSERT_TRUE(folder.HasArguments());

    // Twice: the handler must still be in place for the second one.
    const pid_t launcher = pid_t(process.processId());
    ASSERT_EQ(::kill(launcher, SIGINT), 0);
    EXPECT_FALSE(process.waitForFinished(200));
    ASSERT_EQ(::kill(launcher, SIGINT), 0);
    EXPECT_FALSE(process.waitForFinished(200));

    ASSERT_TRUE(folder.WriteFile("go", QByteArray(), 0644));
    ASSERT_TRUE(process.waitForFinished(kRunTimeoutMs));
    LauncherRun run;
    Collect(process, run);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_TRUE(run.output.isEmpty());
    EXPECT_TRUE(run.errors.isEmpty());
}

// The program gets Ctrl+C at its default even though the launcher catches it; a launcher
// started with Ctrl+C ignored leaves the ignore in place for the program too. SIGCHLD reaches
// the program at its default in both cases.
TEST(KickraRun, InheritedInterruptIgnoreStaysInPlace)
{
    struct Case
    {
        const char* name;
        std::vector<int> ignored;
        QByteArray dispositions;
    };
    const std::vector<Case> cases = {
        {"defaults", {}, "SIGINT default\nSIGCHLD default\n"},
        {"Ctrl+C ignored", {SIGINT}, "SIGINT ignored\nSIGCHLD default\n"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.IsValid() && folder.AddTestProgram());
        const LauncherRun run = RunLauncher(folder.Path(), {"report-signals", "exit=4"},
                                            QProcessEnvironment::systemEnvironment(), c.ignored);
        ASSERT_TRUE(run.finished) << c.name;
        EXPECT_EQ(run.exitCode, 4) << c.name;
        EXPECT_EQ(folder.Read("signals.txt"), c.dispositions) << c.name;
        EXPECT_TRUE(run.errors.isEmpty()) << c.name;
    }
}

// Started with SIGCHLD ignored, the launcher must still collect the program's exit code.
TEST(KickraRun, ExitCodeSurvivesAnInheritedChildSignalIgnore)
{
    for (const std::string& argument : {std::string("exit=0"), std::string("exit=6"), std::string("signal=15")}) {
        ScratchFolder folder;
        ASSERT_TRUE(folder.IsValid() && folder.AddTestProgram());
        const LauncherRun run =
            RunLauncher(folder.Path(), {argument}, QProcessEnvironment::systemEnvironment(), {SIGCHLD});
        ASSERT_TRUE(run.finished) << argument;
        EXPECT_FALSE(run.crashed) << argument;
        const int expected = argument == "exit=6" ? 6 : argument == "signal=15" ? 128 + 15 : 0;
        EXPECT_EQ(run.exitCode, expected) << argument;
        EXPECT_TRUE(run.errors.isEmpty()) << argument << ": " << run.errors.constData();
    }
}

} // namespace
