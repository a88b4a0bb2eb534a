// The real program run from the command line on the files a run must never lose: its own sources, its run log
// (also on a full disk), the debug files a converter writes when the run is stopped, and sources whose names
// the system cannot read.
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
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

// A small file system of its own, filled to the last block, for the run log of a run.
class CFullDisk
{
public:
    explicit CFullDisk(const QString& folder) : m_Folder(folder)
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

#ifdef ORV_STOP_WRITE_SHIM
TEST_F(CommandLineOwnFilesTest, CtrlCWhileTheDebugPreviewIsWrittenLeavesItWholeOrAbsent)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    const QStringList arguments{QStringLiteral("/profile=Model C"), QStringLiteral("/converter=seq"),
                                QStringLiteral("/destination=out"), QStringLiteral("/logfile=run.log"),
                                QStringLiteral("tune.mid")};
    QDir(m_Work).mkdir(QStringLiteral("out"));
    ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
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

    m_Environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(ORV_STOP_WRITE_SHIM));
    m_Environment.insert(QStringLiteral("ORV_TEST_STOP_AT_WRITE_OF"), QString::number(largestOther + 1));
    // A sanitizer build's runtime would otherwise refuse a library loaded before it.
    m_Environment.insert(QStringLiteral("ASAN_OPTIONS"),
                         qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
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
#endif

TEST_F(CommandLineOwnFilesTest, ANameNotValidInTheCharacterSetIsSaidSo)
{
    // "café.wav" in Latin-1: its fourth byte is no UTF-8.
    const QByteArray latin1 = QByteArray("caf\xe9.wav");
    const QByteArray path = QFile::encodeName(m_Work) + '/' + latin1;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray wave = Example("hello.wav");
    ASSERT_EQ(::write(fd, wave.constData(), size_t(wave.size())), ssize_t(wave.size()));
    ::close(fd);

    // The argument's bytes pass through the shell untouched; the program's own arguments could not carry them.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_Work);
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("exec \"$0\" '/profile=Model C' /converter=vox /logfile=run.log "
                                  "\"$(printf 'caf\\351.wav')\""),
                   QStringLiteral(ORV_PROGRAM_FILE)});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    const QString shown = QStringLiteral("caf") + QChar(QChar::ReplacementCharacter) + QStringLiteral(".wav");
    EXPECT_EQ(Log(),
              QStringLiteral("The name of the source %1 cannot be read in this system's character set.\n").arg(shown));
    // Its name cannot be spelled for the temporary folder's own clean-up either.
    ::unlink(path.constData());
}

TEST_F(CommandLineOwnFilesTest, ALogThatStaysEmptyIsGoneWhenTheRunEnds)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    // A pattern that matches nothing converts nothing and logs nothing.
    const CRun empty =
        Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"), QStringLiteral("*.none")});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("tune.mid")});
    // A log with lines stays, and so does a file the user named and had before, even left empty.
    const CRun full =
        Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"), QStringLiteral("tune.mid")});
    EXPECT_EQ(full.exitCode, 0);
    EXPECT_EQ(Files().filter(QStringLiteral(".log")).size(), 1) << qPrintable(Files().join(LF));
    Write(QStringLiteral("mine.log"), "kept\n");
    const CRun named = Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                            QStringLiteral("/logfile=mine.log"), QStringLiteral("*.none")});
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_TRUE(QFile::exists(W(QStringLiteral("mine.log"))));
}

} // namespace
