// The real program never takes for its run log a file it reads: the files a source names exactly as the plug-ins
// that read and convert it read them (odd attribute rules included), for every importer and translator, the
// program's own files in both modes (its folders' trees, the launcher, the libraries it has mapped), and a media
// script that could block or is too large is refused before it is read.
#include "BlackPng.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace ProgramRunFixture;

// The names of the files of one folder that any process opens while the watch lasts, as the kernel reports the
// opens (inotify): what a real run read, seen from outside it.
class COpenWatch
{
public:
    explicit COpenWatch(const QString& folder)
        : m_Fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          m_Watch(::inotify_add_watch(m_Fd, QFile::encodeName(folder).constData(), IN_OPEN))
    {}
    ~COpenWatch() { ::close(m_Fd); }
    bool IsWatching() const { return m_Fd >= 0 && m_Watch >= 0; }

    // The files opened so far, each once, sorted; folders are left out.
    QStringList Opened()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        ssize_t size = 0;
        while ((size = ::read(m_Fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && !(event->mask & IN_ISDIR))
                    m_Opened.append(QFile::decodeName(event->name));
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        m_Opened.removeDuplicates();
        m_Opened.sort();
        return m_Opened;
    }

private:
    int m_Fd;
    int m_Watch;
    QStringList m_Opened;
};

class CommandLineRunLogGuardTest : public CProgramRunTest
{
protected:
    struct Source
    {
        const char *name, *profile, *converter;
        QByteArray bytes;
        QStringList files; // the files beside it
        QStringList read;  // those its reader or its converter reads, sorted
    };

    // Every source with the files beside it, afresh.
    void WriteSource(const Source& source) const
    {
        ClearWork();
        for (const QString& file : source.files)
            Write(file, file.endsWith(QLatin1String(".png")) ? BlackPng::Grey(16, 16) : QByteArray("BEGIN:IMELODY"));
        if (source.bytes.isEmpty())
            CopyExample("morning.mid", source.name);
        else
            Write(source.name, source.bytes);
    }
    // A command-line run of tune.mid and a window's start, each with log as its run log: both are refused as a
    // file of the program, and the file keeps its bytes, or is not left behind when it was not there.
    // A file that was there is a file of the program; a new one lies in the folder of the program given.
    void ExpectRefusedAsProgramFile(const QString& log, const QString& folder = QString()) const
    {
        const QString said =
            folder.isEmpty()
                ? QStringLiteral("The run log %1 is %2, a file of the program that it reads; nothing was converted.\n")
                      .arg(log, W(log))
                : QStringLiteral("The run log %1 would be a new file in %2, a folder of the program; nothing was "
                                 "converted.\n")
                      .arg(log, W(folder));
        const bool existed = QFileInfo::exists(W(log));
        const QByteArray bytes = existed ? ReadBytes(W(log)) : QByteArray();
        for (const bool window : {false, true}) {
            const QStringList words = window ? Words(QStringLiteral("/logfile=") + log)
                                             : Words("/profile=Model A", "/converter=imy", "/destination=out",
                                                     QStringLiteral("/logfile=") + log, "tune.mid");
            const CRun run = Run(words);
            EXPECT_NE(run.exitCode, 0) << qPrintable(log) << window;
            EXPECT_EQ(run.err, said) << qPrintable(log) << window;
            EXPECT_EQ(QFileInfo::exists(W(log)), existed) << qPrintable(log) << window;
            EXPECT_EQ(existed ? ReadBytes(W(log)) : QByteArray(), bytes) << qPrintable(log) << window;
            EXPECT_FALSE(QFileInfo::exists(W("out"))) << qPrintable(log) << window;
        }
    }
    CRun RunOn(const Source& source, const QString& log) const
    {
        return Run(Words(source.profile, source.converter, "/destination=out", QStringLiteral("/logfile=") + log,
                         source.name));
    }
};

QByteArray Card(const QByteArray& entries, const QByteArray& root = "ECARD")
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><" + root + ">Hi" + entries + "</" + root + ">";
}

// A 1 x 1 picture as a BMP file of 24-bit pixels, and as a GIF: worked out by hand.
const QByteArray OnePixelBmp("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0"
                             "\x04\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\0",
                             58);
const QByteArray OnePixelGif("GIF89a\x01\0\x01\0\x80\0\0\0\0\0\xff\xff\xff,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;",
                             35);

// For each file beside a source, two runs: with the file as the run log, which the program must refuse exactly when
// the reader reads the file; and with the file made a folder, which the reader then says it cannot read exactly
// when it reads it. A file the check missed would show as the reader's own refusal of the run log.
// Each source is a case of its own: a case runs the program three times for each file beside its source.
class CommandLineRunLogReaderTest : public CommandLineRunLogGuardTest, public ::testing::WithParamInterface<size_t>
{
public:
    static const std::vector<Source>& Sources();
};

const std::vector<CommandLineRunLogGuardTest::Source>& CommandLineRunLogReaderTest::Sources()
{
    static const char* ani[] = {"/profile=Model B", "/converter=ani"};
    static const std::vector<Source> sources = {
        // "ref" is kept from the first frame that lacks "REF" on.
        {"kept.anim",
         ani[0],
         ani[1],
         "<A><FRAME ref=\"a.png\" DELAY=\"100\"/><FRAME REF=\"b.png\" ref=\"c.png\"/></A>",
         {"a.png", "b.png", "c.png"},
         {"a.png", "c.png"}},
        // "frame" elements are not read beside "FRAME", and a frame shown for no time is skipped.
        {"lower.anim",
         ani[0],
         ani[1],
         "<A><FRAME REF=\"n.png\" DELAY=\"0\"/><FRAME REF=\"f.png\" DELAY=\"100\"/><frame REF=\"zz.png\" "
         "DELAY=\"100\"/></A>",
         {"n.png", "f.png", "zz.png"},
         {"f.png"}},
        // "delay" too is kept from the first frame that lacks "DELAY" on: no frame here has a display time.
        {"late.anim",
         ani[0],
         ani[1],
         "<A><FRAME REF=\"n.png\"/><FRAME REF=\"f.png\" DELAY=\"100\"/></A>",
         {"n.png", "f.png"},
         {}},
        // More frames than an animation may have: nothing is read.
        {"many.anim",
         ani[0],
         ani[1],
         "<A>" + QByteArray("<FRAME REF=\"f.png\" DELAY=\"100\"/>").repeated(1001) + "</A>",
         {"f.png"},
         {}},
        // An animation entry is read whatever its STYPE; a predefined one's REF is no file.
        {"card.ecd",
         "/profile=Model A",
         "/converter=ems_sms",
         Card("<IE TYPE=\"ANI\" STYPE=\"PRE\" REF=\"chime.imy\"/><IE TYPE=\"EMA\" STYPE=\"PRE\" REF=\"pre.imy\"/>"),
         {"chime.imy", "pre.imy"},
         {"chime.imy"}},
        // The TDD translator reads templates only.
        {"card.ecd",
         "/profile=Model A",
         "/converter=tdd_sms",
         Card("<IE TYPE=\"ANI\" STYPE=\"PRE\" REF=\"chime.imy\"/>"),
         {"chime.imy"},
         {}},
        // A name with more than one extension is no e-card to the translators: a single item of type "V2.ECD".
        {"card.v2.ecd",
         "/profile=Model A",
         "/converter=ems_sms",
         Card("<IE TYPE=\"IMY\" STYPE=\"USR\" REF=\"chime.imy\"/>"),
         {"chime.imy"},
         {}},
        {"tune.mid", "/profile=Model C", "/converter=seq", QByteArray(), {".emi"}, {".emi"}},
        // Every other importer reads its source alone, whatever lies beside it.
        {"tune.mid", "/profile=Model A", "/converter=imy", QByteArray(), {".emi", "x.png"}, {}},
        {"tune.rtx", "/profile=Model A", "/converter=imy", Example("harbour.rtx"), {".emi", "x.png"}, {}},
        {"hello.wav", "/profile=Model B", "/converter=vox", Example("hello.wav"), {".emi", "x.png"}, {}},
        {"logo.png", "/profile=Model B", "/converter=pic", Example("logo.png"), {".emi", "x.png"}, {}},
        {"dot.bmp", "/profile=Model B", "/converter=pic", OnePixelBmp, {".emi", "x.png"}, {}},
        {"dot.gif", "/profile=Model B", "/converter=pic", OnePixelGif, {".emi", "x.png"}, {}},
        {"dot.gif", "/profile=Model B", "/converter=ani", OnePixelGif, {".emi", "x.png"}, {}},
        // No translator reads a description: the run says so, and a picture it names is no file the run reads.
        {"wink.anim", "/profile=Model A", "/converter=ems_sms", Example("wink.anim"), {"wink2.png"}, {}},
        {"wink.anim",
         "/profile=Model B",
         "/converter=ani",
         Example("wink.anim"),
         {"wink1.png", "wink2.png", "wink3.png", "wink4.png", "x.png"},
         {"wink1.png", "wink2.png", "wink3.png", "wink4.png"}},
        // A single media file is read itself; a template is read by the TDD translator of a phone that takes it.
        {"chime.imy", "/profile=Model A", "/converter=ems_sms", Example("chime.imy"), {"other.imy", ".emi"}, {}},
        {"card.ecd",
         "/profile=Model B",
         "/converter=tdd_sms",
         Card("<IE TYPE=\"IMY\" STYPE=\"USR\" REF=\"chime.imy\"/><IE TYPE=\"EMA\" STYPE=\"PRE\" REF=\"2\"/>",
              "TEMPLATE"),
         {"chime.imy", "x.png"},
         {"chime.imy"}},
    };
    return sources;
}

TEST_P(CommandLineRunLogReaderTest, TheLogIsRefusedExactlyForTheFilesTheReaderReads)
{
    const QString named = QStringLiteral("The run log %1 is %2, which the source %3 names; nothing was converted.\n");
    const Source& source = Sources()[GetParam()];
    // The files a real run opens, but for its source and its log, are exactly those the check names.
    WriteSource(source);
    COpenWatch watch(m_Work);
    ASSERT_TRUE(watch.IsWatching());
    watch.Opened();
    RunOn(source, QStringLiteral("run.log"));
    QStringList opened = watch.Opened();
    opened.removeAll(QString::fromLatin1(source.name));
    opened.removeAll(QStringLiteral("run.log"));
    EXPECT_EQ(opened, source.read) << source.name << " " << source.converter << qPrintable(Log());
    for (const QString& file : source.files) {
        const bool read = source.read.contains(file);
        const QString what = QString::fromLatin1(source.name) + QLatin1Char(' ') + source.converter + " " + file;
        WriteSource(source);
        const QByteArray bytes = ReadBytes(W(file));
        const CRun asLog = RunOn(source, file);
        if (read) {
            EXPECT_EQ(asLog.exitCode, 1) << qPrintable(what);
            EXPECT_EQ(asLog.err, named.arg(file, W(file), QString::fromLatin1(source.name))) << qPrintable(what);
            EXPECT_EQ(ReadBytes(W(file)), bytes) << qPrintable(what);
        } else {
            EXPECT_EQ(asLog.err, QString()) << qPrintable(what);
            EXPECT_FALSE(Log(file).contains(QLatin1String("run log of this run"))) << qPrintable(what);
        }

        WriteSource(source);
        QFile::remove(W(file));
        QDir(m_Work).mkdir(file);
        RunOn(source, QStringLiteral("run.log"));
        EXPECT_EQ(Log().contains(file), read) << qPrintable(what) << qPrintable(Log());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReader, CommandLineRunLogReaderTest,
                         ::testing::Range(size_t(0), CommandLineRunLogReaderTest::Sources().size()));

// The case: a translator reads no description, so a picture the description names is no file of the run,
// and the log beside it is taken; the run says that no plug-in reads the description.
TEST_F(CommandLineRunLogGuardTest, APictureOfADescriptionNoTranslatorReadsMayBeTheLog)
{
    Write("wink.anim", Example("wink.anim"));
    Write("wink2.png", Example("wink2.png"));
    const CRun run =
        Run(Words("/profile=Model A", "/converter=ems_sms", "/destination=out", "/logfile=wink2.png", "wink.anim"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QString());
    EXPECT_EQ(Log("wink2.png"), QStringLiteral("No importer can read wink.anim for this converter.\n"));
}

} // namespace

namespace {

// Copies a folder's tree, links followed, so that a run that damaged a file would damage only the copy.
void CopyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir())
            CopyTree(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

// Files the program reads only later or only in a window (the sound module, the help, a language's resources)
// are refused as the log like the files start-up reads, from the command line and at a window's start alike.
TEST_F(CommandLineRunLogGuardTest, NoFileOfTheProgramIsTheLogInEitherMode)
{
    const QString app = AppFolderWith();
    for (const char* own : {"OrvaneSound.so", "Help", "Languages"}) {
        const QString built = QStringLiteral(ORV_APP_DIR "/") + QString::fromLatin1(own);
        const QString copy = app + QLatin1Char('/') + QString::fromLatin1(own);
        QFile::remove(copy);
        if (QFileInfo(built).isDir())
            CopyTree(built, copy);
        else
            ASSERT_TRUE(QFile::copy(built, copy));
    }
    m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
    m_Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    CopyExample("morning.mid", "tune.mid");
    for (const char* file : {"app/OrvaneSound.so", "app/Help/index.html", "app/Languages/resources/blank.wav"}) {
        ASSERT_FALSE(ReadBytes(W(file)).isEmpty()) << file;
        ExpectRefusedAsProgramFile(QString::fromLatin1(file));
    }
}

// The path of a library this test process has mapped whose name holds part.
QString MappedLibrary(const char* part)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const int path = line.indexOf('/');
        if (path >= 0 && line.contains(part))
            return QString::fromLocal8Bit(line.mid(path));
    }
    return QString();
}

// Whatever the program runs, loads or lists is never its log: the launcher beside it, a copy of a toolkit library
// that LD_LIBRARY_PATH made it load, a copy there of the multimedia library that only its sound module loads (in
// the window, after the log is open), and a new file in its plug-in or profile folder. Each is refused in both
// modes; a file that was there keeps its bytes, and a new one is not left behind.
TEST_F(CommandLineRunLogGuardTest, NoFileTheProgramRunsOrListsIsTheLog)
{
    const QString app = AppFolderWith();
    // A plug-in folder of the test's own, so that a file the program wrongly created there would be its alone.
    const QString plugins = app + QStringLiteral("/Plugins");
    const QString builtPlugins = QStringLiteral(ORV_APP_DIR "/Plugins");
    ASSERT_TRUE(QFile::remove(plugins));
    ASSERT_TRUE(QDir().mkpath(plugins));
    for (const QString& name : QDir(builtPlugins).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        ASSERT_TRUE(QFile::link(builtPlugins + QLatin1Char('/') + name, plugins + QLatin1Char('/') + name));
    const QString toolkit = MappedLibrary("libQt6Core.so");
    ASSERT_FALSE(toolkit.isEmpty());
    ASSERT_TRUE(QDir().mkpath(W("lib")));
    ASSERT_TRUE(QFile::copy(toolkit, W("lib/libQt6Core.so.6")));
    ASSERT_TRUE(QFile::copy(QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Multimedia.so.6"),
                            W("lib/libQt6Multimedia.so.6")));
    m_Environment.insert(QStringLiteral("LD_LIBRARY_PATH"), W("lib"));
    m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
    m_Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    CopyExample("morning.mid", "tune.mid");
    for (const char* file : {"app/Kickra", "lib/libQt6Core.so.6", "lib/libQt6Multimedia.so.6"})
        ExpectRefusedAsProgramFile(QString::fromLatin1(file));
    ExpectRefusedAsProgramFile(QStringLiteral("app/Plugins/new.log"), QStringLiteral("app/Plugins"));
    ExpectRefusedAsProgramFile(QStringLiteral("app/Profiles/new.xml"), QStringLiteral("app/Profiles"));
}

// An executable of the application folder that runs (as the launcher does while it waits for the run) cannot be
// opened for writing at all: it is still refused as a file of the program, not said to be a log that cannot be made.
TEST_F(CommandLineRunLogGuardTest, ARunningExecutableOfTheProgramIsRefusedAsTheLog)
{
    const QString app = AppFolderWith();
    m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
    m_Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), W("app/Busy")));
    QProcess busy;
    busy.start(W("app/Busy"), {QStringLiteral("60")});
    ASSERT_TRUE(busy.waitForStarted());
    CopyExample("morning.mid", "tune.mid");
    ExpectRefusedAsProgramFile(QStringLiteral("app/Busy"));
    busy.kill();
    busy.waitForFinished();
}

// The media script is read only as a regular file of at most 64 KB: a FIFO, which would block the run for ever,
// and a huge sparse file, which would be read to its end, are refused for what they are.
TEST_F(CommandLineRunLogGuardTest, AMediaScriptThatCouldBlockOrIsTooLargeIsRefused)
{
    CopyExample("morning.mid", "tune.mid");
    const QString fifo = QStringLiteral("The media script %1 cannot be read: is a FIFO.").arg(W(".emi"));
    const QString large =
        QStringLiteral("The media script %1 holds 1073741824 bytes, more than the 64 KB a media script may hold.")
            .arg(W(".emi"));
    for (const bool isFifo : {true, false}) {
        QFile::remove(W(".emi"));
        if (isFifo)
            Fifo(QStringLiteral(".emi"));
        else
            ASSERT_EQ(::truncate(QFile::encodeName(Write(".emi", "0\tTXT\thello\n")).constData(), 1 << 30), 0);
        const CRun run =
            Run(Words("/profile=Model C", "/converter=seq", "/destination=out", "/logfile=run.log", "tune.mid"));
        EXPECT_EQ(run.exitCode, 1) << isFifo;
        EXPECT_TRUE(Log().contains(isFifo ? fifo : large)) << qPrintable(Log());
        EXPECT_EQ(Files("out"), QStringList()) << isFifo;
    }
}

} // namespace
