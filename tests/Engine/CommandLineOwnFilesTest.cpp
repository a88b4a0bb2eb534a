// The real program run from the command line on the files a run must never lose: its own sources, its run log
// (also on a full disk), the debug files a converter writes when the run is stopped, and sources whose names
// the system cannot read.
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ProgramRunFixture;

// A 2 x 2 picture in the Windows bitmap format, 24 bits per pixel, written out by hand.
QByteArray SmallBmp()
{
    QByteArray bmp;
    const auto put = [&bmp](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp.append(char((value >> (8 * i)) & 0xFF));
    };
    bmp.append("BM");
    put(54 + 16, 4); // file size: headers and two rows of 6 bytes padded to 8
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(2, 4);
    put(2, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(16, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int row = 0; row < 2; ++row)
        bmp.append(QByteArray("\x00\x00\x00\xff\xff\xff\x00\x00", 8));
    return bmp;
}

class CommandLineOwnFilesTest : public CProgramRunTest
{
protected:
    // The run log's line that a result was not written over a source of the run.
    QString OverSource(const QString& file, const QString& owner, const QString& failing) const
    {
        return QStringLiteral("%1 was not written: it is the source %2 of this run, so the source %3 fails.\n")
            .arg(W(file), W(owner), W(failing));
    }
#ifdef ORV_STOP_WRITE_SHIM
    // The run the stop tests make twice, whole and then stopped: one source into "out", its log in run.log. It
    // is made whole here, and the folder is left empty for the stopped one.
    QStringList RunWholeOnce(const char* profile, const char* converter, const char* source)
    {
        const QStringList arguments{QStringLiteral("/profile=") + QLatin1String(profile),
                                    QStringLiteral("/converter=") + QLatin1String(converter),
                                    QStringLiteral("/destination=out"), QStringLiteral("/logfile=run.log"),
                                    QLatin1String(source)};
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
    struct Case
    {
        const char* name;
        QString profile, converter;
        QString first, firstBytesOf;
        QString second;
        QByteArray users;
    };
    const Case cases[] = {
        {"speech clip", QStringLiteral("Model C"), QStringLiteral("vox"), QStringLiteral("x.wav"),
         QStringLiteral("hello.wav"), QStringLiteral("x_previewVOX.WAV"), Example("hello.wav")},
        {"picture", QStringLiteral("Model B"), QStringLiteral("pic"), QStringLiteral("logo.png"),
         QStringLiteral("logo.png"), QStringLiteral("logo_previewPIC.BMP"), SmallBmp()},
    };
    for (const Case& c : cases) {
        QDir(m_Dir.path()).removeRecursively();
        QDir().mkpath(m_Work);
        Write(c.first, Example(qPrintable(c.firstBytesOf)));
        Write(c.second, c.users);
        for (const bool waiting : {true, false}) {
            // The user's file is the source still waiting, then the source already read.
            const QStringList sources = waiting ? QStringList{c.first, c.second} : QStringList{c.second, c.first};
            const CRun run =
                Run(QStringList{QStringLiteral("/profile=") + c.profile, QStringLiteral("/converter=") + c.converter,
                                QStringLiteral("/destination=."), QStringLiteral("/preview"),
                                QStringLiteral("/logfile=run.log")}
                    + sources);
            EXPECT_EQ(run.exitCode, 1) << c.name << waiting;
            EXPECT_EQ(ReadBytes(W(c.second)), c.users) << c.name << waiting;
            EXPECT_TRUE(Log().contains(OverSource(c.second, c.second, c.first))) << c.name << "\n" << qPrintable(Log());
            for (const QString& name : Files())
                EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << qPrintable(name);
        }
    }
}

TEST_F(CommandLineOwnFilesTest, ALogNamedLikeAResultFailsThatSourceAndKeepsTheLog)
{
    Write(QStringLiteral("morning.mid"), Example("morning.mid"));
    Write(QStringLiteral("lantern.rtx"), Example("lantern.rtx"));
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun run =
        Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"), QStringLiteral("/destination=out"),
             QStringLiteral("/logfile=out/morning.IMY"), QStringLiteral("morning.mid"), QStringLiteral("lantern.rtx")});
    EXPECT_EQ(run.exitCode, 1);
    const QString log = Log(QStringLiteral("out/morning.IMY"));
    EXPECT_TRUE(log.startsWith(QStringLiteral("Opening ") + W(QStringLiteral("morning.mid")) + LF)) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("%1 was not written: it is the run log of this run, so the source %2 "
                                            "fails.\n")
                                 .arg(W(QStringLiteral("out/morning.IMY")), W(QStringLiteral("morning.mid")))))
        << qPrintable(log);
    // The other source converts as ever.
    EXPECT_TRUE(ReadBytes(W(QStringLiteral("out/lantern.IMY"))).startsWith("BEGIN:IMELODY"));
}

TEST_F(CommandLineOwnFilesTest, AFileThatASourceNamesAndThatIsTheLogFailsThatSource)
{
    const QString why = QStringLiteral("cannot be read: it is the run log of this run, so the source %1 fails.\n");
    struct Case
    {
        const char* name;
        QString profile, converter, source, named, line;
    };
    const Case cases[] = {
        {"e-card item", QStringLiteral("Model A"), QStringLiteral("ems_sms"), QStringLiteral("greeting.ecd"),
         QStringLiteral("chime.imy"),
         W(QStringLiteral("chime.imy")) + QLatin1Char(' ') + why.arg(W(QStringLiteral("greeting.ecd")))},
        {"animation frame", QStringLiteral("Model B"), QStringLiteral("ani"), QStringLiteral("wink.anim"),
         QStringLiteral("wink2.png"),
         QStringLiteral("Frame 2 of the animation description, wink2.png, ") + why.arg(W(QStringLiteral("wink.anim")))},
    };
    for (const Case& c : cases) {
        QDir(m_Dir.path()).removeRecursively();
        QDir().mkpath(m_Work);
        for (const char* name :
             {"greeting.ecd", "chime.imy", "wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"})
            Write(QString::fromLatin1(name), Example(name));
        const CRun run = Run({QStringLiteral("/profile=") + c.profile, QStringLiteral("/converter=") + c.converter,
                              QStringLiteral("/destination=out"), QStringLiteral("/logfile=") + c.named, c.source});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        const QString log = Log(c.named);
        EXPECT_TRUE(log.contains(c.line)) << c.name << "\n" << qPrintable(log);
        EXPECT_EQ(Files(QStringLiteral("out")), QStringList()) << c.name;
    }
}

TEST_F(CommandLineOwnFilesTest, ADebugFileNeverReplacesASourceOrTheLog)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    // The user's own tune where the converter keeps its debug copy of the result.
    const QByteArray users = Example("morning.mid");
    Write(QStringLiteral("Debug/Dest.mid"), users);
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const QString seq = QStringLiteral("/converter=seq");
    const CRun over =
        Run({QStringLiteral("/profile=Model C"), seq, QStringLiteral("/destination=out"),
             QStringLiteral("/logfile=run.log"), QStringLiteral("tune.mid"), QStringLiteral("Debug/Dest.mid")});
    EXPECT_EQ(over.exitCode, 0) << qPrintable(Log());
    EXPECT_EQ(ReadBytes(W(QStringLiteral("Debug/Dest.mid"))), users);
    EXPECT_TRUE(Log().contains(QStringLiteral("The debug file %1 was not written: it is the source %1 of this run.\n")
                                   .arg(W(QStringLiteral("Debug/Dest.mid")))))
        << qPrintable(Log());
    // Both sources converted, the second from the user's bytes: its result is the first one's.
    EXPECT_EQ(ReadBytes(W(QStringLiteral("out/Dest.SEQ"))), ReadBytes(W(QStringLiteral("out/tune.SEQ"))));

    // A log kept where the trace goes keeps every line of the run.
    QDir(W(QStringLiteral("out"))).removeRecursively();
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun traced = Run({QStringLiteral("/profile=Model C"), seq, QStringLiteral("/destination=out"),
                             QStringLiteral("/logfile=Debug/Trace.txt"), QStringLiteral("tune.mid")});
    EXPECT_EQ(traced.exitCode, 0);
    const QString log = Log(QStringLiteral("Debug/Trace.txt"));
    EXPECT_TRUE(log.startsWith(QStringLiteral("Opening ") + W(QStringLiteral("tune.mid")) + LF)) << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("The debug file %1 was not written: it is the run log %1 of this run.\n")
                                 .arg(W(QStringLiteral("Debug/Trace.txt")))))
        << qPrintable(log);
    EXPECT_TRUE(log.endsWith(QStringLiteral("Conversion succeeded.\n") + QStringLiteral("Saving ")
                             + W(QStringLiteral("out/tune.SEQ")) + LF))
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

TEST_F(CommandLineOwnFilesTest, ALogOnAFullDiskSaysWhyOnceAndGoesOnOnStandardError)
{
    const CFullDisk disk(W(QStringLiteral("full")));
    if (!disk.IsMounted())
        GTEST_SKIP() << "mounting a small file system needs root; the full-disk log is not checked";
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    const QString log = W(QStringLiteral("full/run.log"));
    const QString said = QStringLiteral("The run log %1 cannot be written: No space left on device. Its lines follow "
                                        "on standard error.\n")
                             .arg(log);
    struct Case
    {
        const char* name;
        QStringList sources;
        int exitCode;
        QString line;
    };
    const Case cases[] = {
        {"a good run", {QStringLiteral("tune.mid")}, 0, QStringLiteral("Conversion succeeded.\n")},
        {"a failing run",
         {QStringLiteral("tune.mid"), QStringLiteral("ghost.mid")},
         1,
         QStringLiteral("The source ghost.mid does not exist.\n")},
    };
    for (const Case& c : cases) {
        const CRun run = Run(QStringList{QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                                         QStringLiteral("/logfile=") + log}
                             + c.sources);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_TRUE(run.err.startsWith(said)) << c.name << "\n" << qPrintable(run.err);
        EXPECT_EQ(run.err.count(QStringLiteral("cannot be written")), 1) << c.name;
        EXPECT_TRUE(run.err.contains(c.line)) << c.name << "\n" << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QStringLiteral("Opening ") + W(QStringLiteral("tune.mid")) + LF)) << c.name;
        EXPECT_TRUE(ReadBytes(W(QStringLiteral("tune.IMY"))).startsWith("BEGIN:IMELODY")) << c.name;
    }
}

TEST_F(CommandLineOwnFilesTest, ALogOnADiskThatFillsDuringTheRunSaysTheSystemsReason)
{
    // One page of the small disk left: the log's first page fills, and a later line is cut short.
    const CFullDisk disk(W(QStringLiteral("full")), 4096);
    if (!disk.IsMounted())
        GTEST_SKIP() << "mounting a small file system needs root; the filling disk is not checked";
    QStringList ghosts;
    for (int i = 0; i < 200; ++i)
        ghosts << QStringLiteral("ghost%1.mid").arg(i, 3, 10, QLatin1Char('0'));
    const QString log = W(QStringLiteral("full/run.log"));
    const CRun run = Run(QStringList{QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                                     QStringLiteral("/logfile=") + log}
                         + ghosts);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.err.startsWith(QStringLiteral("The run log %1 cannot be written: No space left on device. Its lines "
                                          "follow on standard error.\n")
                               .arg(log)))
        << qPrintable(run.err.left(300));
    EXPECT_EQ(QFileInfo(log).size(), 4096);
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("The source ghost199.mid does not exist.\n")));
}

#ifdef ORV_STOP_WRITE_SHIM
TEST_F(CommandLineOwnFilesTest, CtrlCWhileTheDebugPreviewIsWrittenLeavesItWholeOrAbsent)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    const QStringList arguments = RunWholeOnce("Model C", "seq", "tune.mid");
    const QString debug = QStringLiteral("Debug");
    const QStringList names = {QStringLiteral("Dest.mid"), QStringLiteral("Format0.mid"), QStringLiteral("Out.seq"),
                               QStringLiteral("Preview.wav"), QStringLiteral("Trace.txt")};
    ASSERT_EQ(Files(debug), names);
    QMap<QString, QByteArray> whole;
    qint64 largestOther = ReadBytes(W(QStringLiteral("run.log"))).size();
    for (const QString& name : names) {
        whole[name] = ReadBytes(W(debug + QLatin1Char('/') + name));
        if (name != QLatin1String("Preview.wav"))
            largestOther = qMax(largestOther, qint64(whole[name].size()));
    }
    // The preview, written last, is the first write this large: the run is stopped half-way through it.
    ASSERT_GT(whole[QStringLiteral("Preview.wav")].size(), 2 * largestOther);
    QDir(W(debug)).removeRecursively();

    StopAtWriteOf(largestOther + 1, SIGINT);
    auto process = Start(arguments);
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitStatus(), QProcess::CrashExit);
    const QStringList left = Files(debug);
    for (const QString& name : left) {
        ASSERT_TRUE(whole.contains(name)) << qPrintable(name);
        EXPECT_EQ(ReadBytes(W(debug + QLatin1Char('/') + name)), whole[name]) << qPrintable(name);
    }
    EXPECT_FALSE(left.contains(QStringLiteral("Preview.wav")));
    EXPECT_EQ(left.size(), 4) << qPrintable(left.join(LF));
}

// SIGQUIT (Ctrl+\ at the terminal) while a result is written leaves nothing of it, as Ctrl+C does; a run
// started with it ignored goes on.
TEST_F(CommandLineOwnFilesTest, CtrlBackslashWhileAResultIsWrittenLeavesNoTemporaryFile)
{
    Write(QStringLiteral("hello.wav"), Example("hello.wav"));
    const QStringList arguments = RunWholeOnce("Model C", "vox", "hello.wav");
    const QByteArray result = ReadBytes(W(QStringLiteral("out/hello.VOX")));
    // The result is the run's largest write: the run is stopped half-way through it.
    const qint64 log = ReadBytes(W(QStringLiteral("run.log"))).size();
    ASSERT_GT(result.size(), log);
    QDir(W(QStringLiteral("out"))).removeRecursively();
    QDir(m_Work).mkdir(QStringLiteral("out"));

    StopAtWriteOf(log + 1, SIGQUIT);
    for (const bool ignored : {false, true}) {
        // A background job starts with SIGQUIT ignored: the program gets the disposition the case asks for, and
        // leaves no core file behind.
        m_ChildSetup = [ignored]() {
            std::signal(SIGQUIT, ignored ? SIG_IGN : SIG_DFL);
            const struct rlimit noCore = {0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
        };
        auto process = Start(arguments);
        ASSERT_TRUE(process->waitForFinished(60000));
        if (ignored) {
            EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process->exitCode(), 0);
            EXPECT_EQ(Files(QStringLiteral("out")), QStringList{QStringLiteral("hello.VOX")});
            EXPECT_EQ(ReadBytes(W(QStringLiteral("out/hello.VOX"))), result);
        } else {
            EXPECT_EQ(process->exitStatus(), QProcess::CrashExit);
            EXPECT_EQ(Files(QStringLiteral("out")), QStringList());
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
    Write(QStringLiteral("hello.wav"), wave);

    const QString replaced = QString(QChar(QChar::ReplacementCharacter));
    const auto unreadable = [](const char* what, const QString& name) {
        return QStringLiteral("The name of the %1 %2 cannot be read in this system's character set.\n")
            .arg(QLatin1String(what), name);
    };
    struct Case
    {
        const char* name;
        const char* arguments; // shell words after the profile and converter; their bytes pass untouched
        int exitCode;
        QString log, err;
        bool converted;
    };
    const Case cases[] = {
        {"source", "/logfile=run.log \"$(printf 'caf\\351.wav')\"", 1,
         unreadable("source", QStringLiteral("caf") + replaced + QStringLiteral(".wav")), QString(), false},
        {"pattern", "/logfile=run.log '*.wav'", 1, unreadable("source", QStringLiteral("caf\\xe9.wav")), QString(),
         true},
        {"destination", "/logfile=run.log \"/destination=$(printf 'out\\351')\" hello.wav", 1,
         unreadable("destination", QStringLiteral("out") + replaced), QString(), false},
        {"run log", "\"/logfile=$(printf 'run\\351.log')\" hello.wav", 0, QString(),
         unreadable("run log", QStringLiteral("run") + replaced + QStringLiteral(".log")), true},
    };
    for (const Case& c : cases) {
        QFile::remove(W(QStringLiteral("run.log")));
        QFile::remove(W(QStringLiteral("hello.VOX")));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_Work);
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("exec \"$0\" '/profile=Model C' /converter=vox ") + QLatin1String(c.arguments),
                       QStringLiteral(ORV_PROGRAM_FILE)});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.name;
        if (!c.log.isEmpty()) {
            EXPECT_TRUE(Log().contains(c.log)) << c.name << "\n" << qPrintable(Log());
        }
        EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardError()), c.err) << c.name;
        EXPECT_EQ(QFile::exists(W(QStringLiteral("hello.VOX"))), c.converted) << c.name;
        // Nothing was written under a name with a replacement character in place of the byte.
        for (const QString& name : Files())
            EXPECT_FALSE(name.contains(QChar::ReplacementCharacter)) << c.name << qPrintable(name);
    }
    // Their names cannot be spelled for the temporary folder's own clean-up either.
    ::unlink(latin1.constData());
    ::rmdir((work + "out\xe9").constData());
}

// Patterns match in the current folder only: one that matched nothing says where it looked, and the run still
// succeeds with nothing to convert. A log with lines stays, and so does a file the user named and had before.
TEST_F(CommandLineOwnFilesTest, APatternThatMatchedNothingSaysWhereItLooked)
{
    Write(QStringLiteral("src/tune.mid"), Example("morning.mid"));
    const QString said = QStringLiteral("The pattern %1 matched no file in %2: a pattern matches the names of the "
                                        "current folder only.\n");
    const CRun folder =
        Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"), QStringLiteral("src/*.mid")});
    EXPECT_EQ(folder.exitCode, 0);
    const QStringList logs = Files().filter(QStringLiteral(".log"));
    ASSERT_EQ(logs.size(), 1) << qPrintable(Files().join(LF));
    EXPECT_EQ(Log(logs.first()), said.arg(QStringLiteral("src/*.mid"), m_Work));
    EXPECT_EQ(Files(QStringLiteral("src")), QStringList{QStringLiteral("tune.mid")});

    Write(QStringLiteral("mine.log"), "kept\n");
    const CRun named = Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                            QStringLiteral("/logfile=mine.log"), QStringLiteral("*.none"), QStringLiteral("*.MID")});
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_EQ(Log(QStringLiteral("mine.log")),
              said.arg(QStringLiteral("*.none"), m_Work) + said.arg(QStringLiteral("*.MID"), m_Work));
}

} // namespace
