// The real program run from the command line on the files a run must never lose: its own sources, its run log
// (also on a full disk), the debug files a converter writes when the run is stopped, and sources whose names
// the system cannot read.
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

using namespace ProgramRunFixture;

// A 2 x 2 picture in the Windows bitmap format, 24 bits per pixel, written out by hand: the file header (its size
// counts the headers and two rows of 6 bytes padded to 8), the information header, then the rows.
QByteArray SmallBmp()
{
    return "BM" + Little(54 + 16, 4) + Little(0, 4) + Little(54, 4) + Little(40, 4) + Little(2, 4) + Little(2, 4)
           + Little(1, 2) + Little(24, 2) + Little(0, 4) + Little(16, 4) + Little(2835, 4) + Little(2835, 4)
           + Little(0, 8) + QByteArray("\x00\x00\x00\xff\xff\xff\x00\x00", 8).repeated(2);
}

class CommandLineOwnFilesTest : public CProgramRunTest
{
protected:
#ifdef ORV_STOP_WRITE_SHIM
    // The run the stop tests make twice, whole and then stopped: one source into "out", its log in run.log. It
    // is made whole here, and the folder is left empty for the stopped one.
    QStringList RunWholeOnce(const char* profile, const char* converter, const char* source)
    {
        const QStringList arguments = Words(profile, converter, "/destination=out", "/logfile=run.log", source);
        QDir(m_Work).mkdir(QStringLiteral("out"));
        EXPECT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
        return arguments;
    }
    // The program is stopped by signal half-way through its first write of at least bytes bytes.
    void StopAtWriteOf(qint64 bytes, int signal)
    {
        m_Environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(ORV_STOP_WRITE_SHIM));
        m_Environment.insert(QStringLiteral("ORV_TEST_STOP_AT_WRITE_OF"), QString::number(bytes));
        m_Environment.insert(QStringLiteral("ORV_TEST_STOP_SIGNAL"), QString::number(signal));
        // A sanitizer build's runtime would otherwise refuse a library loaded before it.
        m_Environment.insert(QStringLiteral("ASAN_OPTIONS"),
                             qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
    }
#endif
};

TEST_F(CommandLineOwnFilesTest, AResultOrPreviewNeverReplacesASourceOfTheSameRun)
{
    const struct
    {
        const char *name, *profile, *converter;
        const char *first, *firstBytesOf, *second;
        QByteArray users;
    } cases[] = {
        {"speech clip", "/profile=Model C", "/converter=vox", "x.wav", "hello.wav", "x_previewVOX.WAV",
         Example("hello.wav")},
        {"picture", "/profile=Model B", "/converter=pic", "logo.png", "logo.png", "logo_previewPIC.BMP", SmallBmp()},
    };
    for (const auto& c : cases) {
        ClearWork();
        CopyExample(c.firstBytesOf, c.first);
        Write(c.second, c.users);
        for (const bool waiting : {true, false}) {
            // The user's file is the source still waiting, then the source already read.
            const QStringList sources = waiting ? Words(c.first, c.second) : Words(c.second, c.first);
            const CRun run =
                Run(Words(c.profile, c.converter, "/destination=.", "/preview", "/logfile=run.log") + sources);
            EXPECT_EQ(run.exitCode, 1) << c.name << waiting;
            EXPECT_EQ(ReadBytes(W(c.second)), c.users) << c.name << waiting;
            EXPECT_TRUE(Log().contains(
                QStringLiteral("%1 was not written: it is the source %1 of this run, so the source %2 fails.\n")
                    .arg(W(c.second), W(c.first))))
                << c.name << "\n"
                << qPrintable(Log());
            for (const QString& name : Files())
                EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << qPrintable(name);
        }
    }
}

TEST_F(CommandLineOwnFilesTest, ALogNamedLikeAResultFailsThatSourceAndKeepsTheLog)
{
    CopyExample("morning.mid");
    CopyExample("lantern.rtx");
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun run = Run(Words("/profile=Model A", "/converter=imy", "/destination=out", "/logfile=out/morning.IMY",
                               "morning.mid", "lantern.rtx"));
    EXPECT_EQ(run.exitCode, 1);
    const QString log = Log("out/morning.IMY");
    EXPECT_TRUE(log.startsWith(QStringLiteral("Opening ") + W("morning.mid") + LF)) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("%1 was not written: it is the run log of this run, so the source %2 "
                                            "fails.\n")
                                 .arg(W("out/morning.IMY"), W("morning.mid"))))
        << qPrintable(log);
    // The other source converts as ever.
    EXPECT_TRUE(ReadBytes(W("out/lantern.IMY")).startsWith("BEGIN:IMELODY"));
}

// A run log that is a file the run reads is refused before it is opened, so before it could empty that file: a
// file a source names (an animation frame, an e-card item, the media script of a sequence) or one that start-up
// reads (a profile, here one of a folder of the test's own).
TEST_F(CommandLineOwnFilesTest, ALogThatIsAFileTheRunReadsIsRefusedAndTheFileKeepsItsBytes)
{
    const QString named = QStringLiteral("The run log %1 is %2, which the source %3 names; nothing was converted.\n");
    const struct
    {
        const char *name, *profile, *converter, *source, *log;
        QString err;
    } cases[] = {
        {"animation frame", "/profile=Model B", "/converter=ani", "wink.anim", "wink2.png",
         named.arg(QStringLiteral("wink2.png"), W("wink2.png"), QStringLiteral("wink.anim"))},
        {"e-card item", "/profile=Model A", "/converter=ems_sms", "greeting.ecd", "chime.imy",
         named.arg(QStringLiteral("chime.imy"), W("chime.imy"), QStringLiteral("greeting.ecd"))},
        {"media script", "/profile=Model C", "/converter=seq", "tune.mid", ".emi",
         named.arg(QStringLiteral(".emi"), W(".emi"), QStringLiteral("tune.mid"))},
        {"profile", "/profile=Model A", "/converter=imy", "tune.mid", "app/Profiles/Model_A.xml",
         QStringLiteral("The run log app/Profiles/Model_A.xml is %1, which the program reads when it starts; nothing "
                        "was converted.\n")
             .arg(W("app/Profiles/Model_A.xml"))},
    };
    for (const char* name :
         {"greeting.ecd", "chime.imy", "wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"})
        CopyExample(name);
    CopyExample("morning.mid", "tune.mid");
    Write(".emi", "1\tTXT\tGood morning\n");
    m_Environment.insert(QStringLiteral("ORVANEDIR"), AppFolderWith());
    for (const auto& c : cases) {
        const QByteArray bytes = ReadBytes(W(c.log));
        const CRun run =
            Run(Words(c.profile, c.converter, "/destination=out", QStringLiteral("/logfile=") + Word(c.log), c.source));
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
        EXPECT_EQ(ReadBytes(W(c.log)), bytes) << c.name;
        EXPECT_EQ(Files("out"), QStringList()) << c.name;
    }
}

TEST_F(CommandLineOwnFilesTest, ADebugFileNeverReplacesASourceOrTheLog)
{
    CopyExample("morning.mid", "tune.mid");
    // The user's own tune where the converter keeps its debug copy of the result.
    const QByteArray users = Example("morning.mid");
    Write("Debug/Dest.mid", users);
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun over = Run(Words("/profile=Model C", "/converter=seq", "/destination=out", "/logfile=run.log",
                                "tune.mid", "Debug/Dest.mid"));
    EXPECT_EQ(over.exitCode, 0) << qPrintable(Log());
    EXPECT_EQ(ReadBytes(W("Debug/Dest.mid")), users);
    EXPECT_TRUE(Log().contains(QStringLiteral("The debug file %1 was not written: it is the source %1 of this run.\n")
                                   .arg(W("Debug/Dest.mid"))))
        << qPrintable(Log());
    // Both sources converted, the second from the user's bytes: its result is the first one's.
    EXPECT_EQ(ReadBytes(W("out/Dest.SEQ")), ReadBytes(W("out/tune.SEQ")));

    // A log kept where the trace goes keeps every line of the run.
    QDir(W("out")).removeRecursively();
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun traced =
        Run(Words("/profile=Model C", "/converter=seq", "/destination=out", "/logfile=Debug/Trace.txt", "tune.mid"));
    EXPECT_EQ(traced.exitCode, 0);
    const QString log = Log("Debug/Trace.txt");
    EXPECT_TRUE(log.startsWith(QStringLiteral("Opening ") + W("tune.mid") + LF)) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("The debug file %1 was not written: it is the run log %1 of this run.\n")
                                 .arg(W("Debug/Trace.txt"))))
        << qPrintable(log);
    EXPECT_TRUE(log.endsWith(QStringLiteral("Conversion succeeded.\nSaving ") + W("out/tune.SEQ") + LF))
        << qPrintable(log);
}

// A small file system of its own, filled to the last block, for the run log of a run.
class CFullDisk
{
public:
    // leaveFree bytes of the filler are given back, so that the disk fills part-way through a later write.
    explicit CFullDisk(const QString& folder, qint64 leaveFree = 0) : m_Folder(folder)
    {
        QDir().mkpath(folder);
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            return;
        m_Mounted = true;
        QFile filler(folder + QStringLiteral("/filler"));
        if (filler.open(QIODevice::WriteOnly)) {
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            filler.close();
            if (leaveFree > 0)
                filler.resize(qMax<qint64>(0, filler.size() - leaveFree));
        }
    }
    ~CFullDisk()
    {
        if (m_Mounted)
            ::umount(QFile::encodeName(m_Folder).constData());
    }
    bool IsMounted() const { return m_Mounted; }

private:
    QString m_Folder;
    bool m_Mounted = false;
};

// What the program says on standard error when the disk refuses its run log.
QString NoSpaceForLog(const QString& log)
{
    return QStringLiteral("The run log %1 cannot be written: No space left on device. Its lines follow on standard "
                          "error.\n")
        .arg(log);
}

TEST_F(CommandLineOwnFilesTest, ALogOnAFullDiskSaysWhyOnceAndGoesOnOnStandardError)
{
    const CFullDisk disk(W("full"));
    if (!disk.IsMounted())
        GTEST_SKIP() << "mounting a small file system needs root; the full-disk log is not checked";
    CopyExample("morning.mid", "tune.mid");
    const QString log = W("full/run.log");
    const struct
    {
        const char* name;
        QStringList sources;
        int exitCode;
        const char* line;
    } cases[] = {
        {"a good run", Words("tune.mid"), 0, "Conversion succeeded.\n"},
        {"a failing run", Words("tune.mid", "ghost.mid"), 1, "The source ghost.mid does not exist.\n"},
    };
    for (const auto& c : cases) {
        const CRun run =
            Run(Words("/profile=Model A", "/converter=imy", QStringLiteral("/logfile=") + log) + c.sources);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_TRUE(run.err.startsWith(NoSpaceForLog(log))) << c.name << "\n" << qPrintable(run.err);
        EXPECT_EQ(run.err.count(QStringLiteral("cannot be written")), 1) << c.name;
        EXPECT_TRUE(run.err.contains(Word(c.line))) << c.name << "\n" << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QStringLiteral("Opening ") + W("tune.mid") + LF)) << c.name;
        EXPECT_TRUE(ReadBytes(W("tune.IMY")).startsWith("BEGIN:IMELODY")) << c.name;
    }
}

TEST_F(CommandLineOwnFilesTest, ALogOnADiskThatFillsDuringTheRunSaysTheSystemsReason)
{
    // One page of the small disk left: the log's first page fills, and a later line is cut short.
    const CFullDisk disk(W("full"), 4096);
    if (!disk.IsMounted())
        GTEST_SKIP() << "mounting a small file system needs root; the filling disk is not checked";
    QStringList ghosts;
    for (int i = 0; i < 200; ++i)
        ghosts << QStringLiteral("ghost%1.mid").arg(i, 3, 10, QLatin1Char('0'));
    const QString log = W("full/run.log");
    const CRun run = Run(Words("/profile=Model A", "/converter=imy", QStringLiteral("/logfile=") + log) + ghosts);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(NoSpaceForLog(log))) << qPrintable(run.err.left(300));
    EXPECT_EQ(QFileInfo(log).size(), 4096);
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("The source ghost199.mid does not exist.\n")));
}

#ifdef ORV_STOP_WRITE_SHIM
TEST_F(CommandLineOwnFilesTest, CtrlCWhileTheDebugPreviewIsWrittenLeavesItWholeOrAbsent)
{
    CopyExample("morning.mid", "tune.mid");
    const QStringList arguments = RunWholeOnce("/profile=Model C", "/converter=seq", "tune.mid");
    const QStringList names = Words("Dest.mid", "Format0.mid", "Out.seq", "Preview.wav", "Trace.txt");
    ASSERT_EQ(Files("Debug"), names);
    QMap<QString, QByteArray> whole;
    qint64 largestOther = ReadBytes(W("run.log")).size();
    for (const QString& name : names) {
        whole[name] = ReadBytes(W(QStringLiteral("Debug/") + name));
        if (name != QLatin1String("Preview.wav"))
            largestOther = qMax(largestOther, qint64(whole[name].size()));
    }
    // The preview, written last, is the first write this large: the run is stopped half-way through it.
    ASSERT_GT(whole[QStringLiteral("Preview.wav")].size(), 2 * largestOther);
    QDir(W("Debug")).removeRecursively();

    StopAtWriteOf(largestOther + 1, SIGINT);
    auto process = Start(arguments);
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitStatus(), QProcess::CrashExit);
    const QStringList left = Files("Debug");
    for (const QString& name : left) {
        ASSERT_TRUE(whole.contains(name)) << qPrintable(name);
        EXPECT_EQ(ReadBytes(W(QStringLiteral("Debug/") + name)), whole[name]) << qPrintable(name);
    }
    EXPECT_FALSE(left.contains(QStringLiteral("Preview.wav")));
    EXPECT_EQ(left.size(), 4) << qPrintable(left.join(LF));
}

// SIGQUIT (Ctrl+\ at the terminal) or SIGUSR1 while a result is written leaves nothing of it, as Ctrl+C does; a
// run started with the signal ignored goes on.
TEST_F(CommandLineOwnFilesTest, ASignalWhileAResultIsWrittenLeavesNoTemporaryFile)
{
    CopyExample("hello.wav");
    const QStringList arguments = RunWholeOnce("/profile=Model C", "/converter=vox", "hello.wav");
    const QByteArray result = ReadBytes(W("out/hello.VOX"));
    // The result is the run's largest write: the run is stopped half-way through it.
    const qint64 log = ReadBytes(W("run.log")).size();
    ASSERT_GT(result.size(), log);
    QDir(W("out")).removeRecursively();
    QDir(m_Work).mkdir(QStringLiteral("out"));

    const struct
    {
        int signal;
        bool ignored;
    } cases[] = {{SIGQUIT, false}, {SIGQUIT, true}, {SIGUSR1, false}};
    for (const auto& c : cases) {
        StopAtWriteOf(log + 1, c.signal);
        // A background job starts with SIGQUIT ignored: the program gets the disposition the case asks for, and
        // leaves no core file behind.
        m_ChildSetup = [c]() {
            std::signal(c.signal, c.ignored ? SIG_IGN : SIG_DFL);
            NoCoreFile();
        };
        auto process = Start(arguments);
        ASSERT_TRUE(process->waitForFinished(60000));
        if (c.ignored) {
            EXPECT_EQ(process->exitStatus(), QProcess::NormalExit) << c.signal;
            EXPECT_EQ(process->exitCode(), 0) << c.signal;
            EXPECT_EQ(Files("out"), QStringList{QStringLiteral("hello.VOX")}) << c.signal;
            EXPECT_EQ(ReadBytes(W("out/hello.VOX")), result) << c.signal;
            QFile::remove(W("out/hello.VOX"));
        } else {
            EXPECT_EQ(process->exitStatus(), QProcess::CrashExit) << c.signal;
            EXPECT_EQ(Files("out"), QStringList()) << c.signal;
        }
    }
}
#endif

// Names outside the system's character set, as a source, a pattern's match, the destination and the run log:
// each is said to be one, and none is written under another name.
TEST_F(CommandLineOwnFilesTest, ANameNotValidInTheCharacterSetIsSaidSo)
{
    // "café" in Latin-1: its fourth byte is no UTF-8.
    const QByteArray work = QFile::encodeName(m_Work) + '/';
    const QByteArray wave = Example("hello.wav");
    const QByteArray latin1 = work + "caf\xe9.wav";
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, wave.constData(), size_t(wave.size())), ssize_t(wave.size()));
    ::close(fd);
    ASSERT_EQ(::mkdir((work + "out\xe9").constData(), 0755), 0);
    Write("hello.wav", wave);
    m_Environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));

    const QString replaced = QString(QChar(QChar::ReplacementCharacter));
    const auto unreadable = [](const char* what, const QString& name) {
        return QStringLiteral("The name of the %1 %2 cannot be read in this system's character set.\n")
            .arg(QLatin1String(what), name);
    };
    const struct
    {
        const char* name;
        const char* arguments; // shell words after the profile and converter; their bytes pass untouched
        int exitCode;
        QString log, err;
        bool converted;
    } cases[] = {
        {"source", "/logfile=run.log \"$(printf 'caf\\351.wav')\"", 1, unreadable("source", QStringLiteral("caf\\xe9.wav")),
         QString(), false},
        {"pattern", "/logfile=run.log '*.wav'", 1, unreadable("source", QStringLiteral("caf\\xe9.wav")), QString(),
         true},
        {"destination", "/logfile=run.log \"/destination=$(printf 'out\\351')\" hello.wav", 1,
         unreadable("destination", QStringLiteral("out") + replaced), QString(), false},
        {"run log", "\"/logfile=$(printf 'run\\351.log')\" hello.wav", 0, QString(),
         unreadable("run log", QStringLiteral("run") + replaced + QStringLiteral(".log"))
             .replace(LF, QStringLiteral(" Its lines follow on standard error.\nOpening ") + W("hello.wav") + LF),
         true},
    };
    for (const auto& c : cases) {
        QFile::remove(W("run.log"));
        QFile::remove(W("hello.VOX"));
        const CRun run = RunThroughShell(QStringLiteral("'/profile=Model C' /converter=vox ") + Word(c.arguments));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        if (!c.log.isEmpty()) {
            EXPECT_TRUE(Log().contains(c.log)) << c.name << "\n" << qPrintable(Log());
        }
        EXPECT_EQ(run.err.left(c.err.size()), c.err) << c.name;
        EXPECT_EQ(QFile::exists(W("hello.VOX")), c.converted) << c.name;
        // Nothing was written under a name with a replacement character in place of the byte.
        for (const QString& name : Files())
            EXPECT_FALSE(name.contains(QChar::ReplacementCharacter)) << c.name << qPrintable(name);
    }
    // Their names cannot be spelled for the temporary folder's own clean-up either.
    ::unlink(latin1.constData());
    ::rmdir((work + "out\xe9").constData());
}

// A name with a line break stays on its line of the log, the break shown by its byte: it cannot forge a line.
TEST_F(CommandLineOwnFilesTest, ANameWithALineBreakStaysOnItsLineInTheLog)
{
    Write(QStringLiteral("evil\nConversion succeeded.\n.mid"), Noise(300, 1));
    const CRun run = Imy(Words("evil\nConversion succeeded.\n.mid"));
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = Log().split(LF);
    EXPECT_TRUE(lines.contains(QStringLiteral("Opening ") + W("evil\\x0aConversion succeeded.\\x0a.mid")))
        << qPrintable(Log());
    EXPECT_FALSE(lines.contains(QStringLiteral("Conversion succeeded."))) << qPrintable(Log());
}

// Patterns match in the current folder only: one that matched nothing says where it looked, and the run still
// succeeds with nothing to convert. A log with lines stays, and so does a file the user named and had before.
TEST_F(CommandLineOwnFilesTest, APatternThatMatchedNothingSaysWhereItLooked)
{
    CopyExample("morning.mid", "src/tune.mid");
    const QString said = QStringLiteral("The pattern %1 matched no file in %2: a pattern matches the names of the "
                                        "current folder only.\n");
    const CRun folder = Run(Words("/profile=Model A", "/converter=imy", "src/*.mid"));
    EXPECT_EQ(folder.exitCode, 0);
    const QStringList logs = Files().filter(QStringLiteral(".log"));
    ASSERT_EQ(logs.size(), 1) << qPrintable(Files().join(LF));
    EXPECT_EQ(Log(logs.first()), said.arg(QStringLiteral("src/*.mid"), m_Work));
    EXPECT_EQ(Files("src"), QStringList{QStringLiteral("tune.mid")});

    Write("mine.log", "kept\n");
    const CRun named = Run(Words("/profile=Model A", "/converter=imy", "/logfile=mine.log", "*.none", "*.MID"));
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_EQ(Log("mine.log"), said.arg(QStringLiteral("*.none"), m_Work) + said.arg(QStringLiteral("*.MID"), m_Work));
}

} // namespace
