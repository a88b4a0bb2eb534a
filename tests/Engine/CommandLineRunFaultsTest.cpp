// The real program when the system lets a run down: a disk that takes no more, a stop sent while the toolkit's
// threads run, too little memory, and the profiles and names a user hands it.
#include "GifBuilder.h"
#include "MidiFileBuilder.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using namespace ProgramRunFixture;

// The longest name the log shows whole.
constexpr int kShownNameLength = 256;

class CommandLineRunFaultsTest : public CProgramRunTest
{
protected:
    // Every file of the folder with its bytes.
    QMap<QString, QByteArray> Contents(const char* folder) const
    {
        QMap<QString, QByteArray> contents;
        for (const QString& name : Files(folder))
            contents[name] = ReadBytes(W(QString::fromLatin1(folder) + QLatin1Char('/') + name));
        return contents;
    }
#if defined(ORV_NO_MEMORY_SHIM) && !defined(__SANITIZE_ADDRESS__)
    // The run with memory that runs out just after its write-th file is put in place. (A sanitizer's allocator
    // would not hear of the shim's failure.)
    CRun RunOutOfMemoryAfterWrite(int write, const QStringList& arguments)
    {
        m_Environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(ORV_NO_MEMORY_SHIM));
        m_Environment.insert(QStringLiteral("ORV_TEST_NO_MEMORY_AFTER_RENAME"), QString::number(write));
        const CRun run = Run(arguments);
        m_Environment.clear();
        return run;
    }
#endif
};

// Results and previews of pictures and animations, each kind written past a file size limit: the run fails with
// the system's reason for each file that did not fit, and every file left is whole.
TEST_F(CommandLineRunFaultsTest, AWriteCutByTheFileSizeLimitFailsTheRunAndLeavesNothingHalfWritten)
{
    for (const char* name : {"logo.png", "wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"})
        CopyExample(name);
    const struct
    {
        const char *converter, *source;
    } kinds[] = {{"/converter=pic", "logo.png"}, {"/converter=ani", "wink.anim"}, {"/converter=ema", "wink.anim"}};
    for (const auto& kind : kinds) {
        const QStringList arguments =
            Words("/profile=Model B", kind.converter, "/destination=out", "/preview", "/logfile=run.log", kind.source);
        QDir(W("out")).removeRecursively();
        QDir(m_Work).mkdir(QStringLiteral("out"));
        ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
        const QMap<QString, QByteArray> whole = Contents("out");
        // A result and at least one preview.
        ASSERT_GE(whole.size(), 2) << kind.converter;
        for (const QByteArray& cut : whole) {
            const qint64 limit = cut.size() - 1;
            SCOPED_TRACE(QStringLiteral("%1 under a limit of %2 bytes").arg(Word(kind.converter)).arg(limit).toStdString());
            QDir(W("out")).removeRecursively();
            QDir(m_Work).mkdir(QStringLiteral("out"));
            QFile::remove(W("run.log"));
            const CRun run = Run(arguments, limit);
            EXPECT_EQ(run.exitCode, 1);
            // A log larger than the limit goes on on standard error.
            const QString said = Log() + run.err;
            const QMap<QString, QByteArray> left = Contents("out");
            int failed = 0;
            for (auto file = whole.constBegin(); file != whole.constEnd(); ++file) {
                const QString path = W(QStringLiteral("out/") + file.key());
                if (file.value().size() <= limit) {
                    EXPECT_EQ(left.value(file.key()), file.value()) << qPrintable(file.key());
                    continue;
                }
                EXPECT_FALSE(left.contains(file.key())) << qPrintable(file.key());
                // The frames after a failed one are not tried.
                if (said.contains(QStringLiteral("Saving %1\n").arg(path))) {
                    EXPECT_TRUE(said.contains(QStringLiteral("Saving %1 failed: File too large.\n").arg(path)))
                        << qPrintable(file.key()) << "\n" << qPrintable(said);
                    ++failed;
                }
            }
            EXPECT_GE(failed, 1) << qPrintable(said);
            for (const QString& name : left.keys())
                EXPECT_TRUE(whole.contains(name)) << "left behind: " << qPrintable(name);
        }
    }
}

// A profile whose range admits no value is refused at start-up with both keys named, as a value that is no number
// is; a range of one value is a range.
TEST_F(CommandLineRunFaultsTest, AProfileWhoseRangeIsEmptyIsRefusedNamingBothKeys)
{
    const QByteArray shipped = ReadBytes(QStringLiteral(ORV_APP_DIR "/Profiles/Model_A.xml"));
    const auto with = [&shipped](const char* key, const char* from, const char* to) {
        QByteArray profile = shipped;
        const QByteArray old = QByteArray("NAME=\"") + key + "\" TYPE=\"Integer\" VALUE=\"" + from + "\"";
        EXPECT_TRUE(profile.contains(old)) << key;
        return profile.replace(old, QByteArray("NAME=\"") + key + "\" TYPE=\"Integer\" VALUE=\"" + to + "\"");
    };
    const struct
    {
        const char* name;
        QByteArray profile;
        QString refusal; // empty: the profile is taken
    } cases[] = {
        {"tempo", with("MaxBpmBuzzer", "200", "0"),
         QStringLiteral("the range is empty: \"MinBpmBuzzer\" is 40, above \"MaxBpmBuzzer\", which is 0.")},
        {"one tempo", with("MaxBpmBuzzer", "200", "40"), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearWork();
        CopyExample("morning.mid", "tune.mid");
        const QString app = AppFolderWith({{QStringLiteral("Model_A.xml"), c.profile}});
        m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
        const CRun run = Imy(Words("tune.mid"));
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(run.exitCode, 0) << qPrintable(Log());
            EXPECT_TRUE(ReadBytes(W("tune.IMY")).contains("BEAT:40")) << ReadBytes(W("tune.IMY")).constData();
            continue;
        }
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Log().contains(QStringLiteral("The profile file %1 was refused: %2\n")
                                       .arg(app + QStringLiteral("/Profiles/Model_A.xml"), c.refusal)))
            << qPrintable(Log());
        EXPECT_FALSE(QFile::exists(W("tune.IMY")));
    }
}

// Names in the log never read as other names, whatever bytes or characters they hold, and a huge one is shown by
// its start and its length wherever it is mentioned.
TEST_F(CommandLineRunFaultsTest, NamesInTheLogAreEscapedAndBounded)
{
    const QString hugeName = QString(100000, QLatin1Char('x')) + QStringLiteral(".png");
    Write("long.anim", "<ANIMATION><FRAME REF=\"" + hugeName.toLatin1() + "\" DELAY=\"200\"/></ANIMATION>");
    const CRun run = RunThroughShell(QStringLiteral("'/profile=Model B' /converter=ani /destination=. "
                                                    "/logfile=run.log long.anim \"$(printf 'caf\\351.mid')\" ")
                                     + QStringLiteral("'tune") + QChar(0x202E) + QStringLiteral("gpj.mid'"));
    EXPECT_EQ(run.exitCode, 1);
    const QString log = Log();
    EXPECT_TRUE(log.startsWith(QStringLiteral("The name of the source caf\\xe9.mid cannot be read in this system's "
                                              "character set.\nThe source tune\\xe2\\x80\\xaegpj.mid does not exist.\n")))
        << qPrintable(log);
    EXPECT_FALSE(log.contains(QChar(0x202E)));
    EXPECT_FALSE(log.contains(QChar::ReplacementCharacter));
    // A name without folders is all file name: its first and last 96 characters.
    EXPECT_TRUE(log.contains(QString(96, QLatin1Char('x')) + QStringLiteral("...") + QString(92, QLatin1Char('x'))
                             + QStringLiteral(".png (100004 characters)")))
        << qPrintable(log.left(2000));
    EXPECT_FALSE(log.contains(QString(97, QLatin1Char('x'))));
    EXPECT_LT(log.size(), 4096);
}

// Two sources of one long folder, one of them no MIDI file: each line of the log names its file by the folders'
// start and the file's own name whole, so the reader sees which failed.
TEST_F(CommandLineRunFaultsTest, ALongPathKeepsTheFileNameSoTheFailedSourceIsKnown)
{
    const QString folder = QString(200, QLatin1Char('d'));
    const QString good = folder + QLatin1Char('/') + QString(100, QLatin1Char('s')) + QStringLiteral("_good.mid");
    const QString bad = folder + QLatin1Char('/') + QString(100, QLatin1Char('s')) + QStringLiteral("_bad.mid");
    Write(good, Example("morning.mid"));
    Write(bad, QByteArray("no MIDI file at all"));
    ASSERT_GT(W(bad).size(), kShownNameLength);
    EXPECT_EQ(Imy(Words("/destination=.") + QStringList{good, bad}).exitCode, 1);
    const QString log = Log();
    const auto shown = [this](const QString& relative) {
        const QString path = W(relative);
        const int file = int(path.size() - path.lastIndexOf(QLatin1Char('/')) - 1);
        return path.left(kShownNameLength - file) + QStringLiteral("...") + path.right(file)
               + QStringLiteral(" (%1 characters)").arg(path.size());
    };
    EXPECT_TRUE(log.contains(QStringLiteral("Opening ") + shown(bad) + QStringLiteral("\nImporting...\nThe file ")
                             + shown(bad)
                             + QStringLiteral(" could not be read.\nReason: The file is not a Standard MIDI File.\n")))
        << qPrintable(log);
    EXPECT_TRUE(log.contains(QStringLiteral("Opening ") + shown(good) + QLatin1Char('\n'))) << qPrintable(log);
    EXPECT_TRUE(QFile::exists(W(QString(100, QLatin1Char('s')) + QStringLiteral("_good.IMY"))));
}

#ifndef __SANITIZE_ADDRESS__
// Thirty minutes of melody (the longest preview the synthesiser renders) take more memory than the run is given:
// that source fails with the reason, the next source converts, and nothing temporary is left. (A sanitizer's own
// memory would not fit such a limit.)
TEST_F(CommandLineRunFaultsTest, ASourceThatRunsOutOfMemoryFailsAloneWithTheReason)
{
    SmfTrack track;
    track.Program(0, 0, 0);
    // Half a second a note at the default tempo: 3600 notes.
    for (int note = 0; note < 3600; ++note)
        track.NoteOn(0, 0, 48 + note * 7 % 24, 100).NoteOff(96, 0, 48 + note * 7 % 24);
    Write("long.mid", SmfFile({track}, 96, 0));
    CopyExample("morning.mid", "tune.mid");
    QDir(m_Work).mkdir(QStringLiteral("out"));
    m_ChildSetup = [] {
        const struct rlimit limit = {rlim_t(96000) * 1024, rlim_t(96000) * 1024};
        ::setrlimit(RLIMIT_AS, &limit);
    };
    const CRun run = Run(Words("/profile=Model C", "/converter=seq", "/destination=out", "/logfile=run.log",
                               "long.mid", "tune.mid"));
    EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
    EXPECT_TRUE(Log().contains(QStringLiteral("The source %1 failed: not enough memory.\nOpening %2\n")
                                   .arg(W("long.mid"), W("tune.mid"))))
        << qPrintable(Log());
    EXPECT_EQ(Files("out"), QStringList{QStringLiteral("tune.SEQ")});
    for (const QString& name : Files())
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << qPrintable(name);
}
#endif

#ifdef ORV_STOP_WRITE_SHIM
// A large picture first starts the toolkit's thread pool; the stop then comes just after the next temporary file is
// created, before the run has noted its name. The main thread takes it once the name is noted, and removes the file.
TEST_F(CommandLineRunFaultsTest, AStopWhileThePoolRunsLeavesNoTemporaryFile)
{
    // Sixteen bits a channel: the program converts it, and the toolkit spreads a conversion this large over its
    // pool.
    QImage big(1500, 1500, QImage::Format_RGBX64);
    big.fill(Qt::darkCyan);
    ASSERT_TRUE(big.save(W("big.png")));
    CopyExample("logo.png");
    QDir(m_Work).mkdir(QStringLiteral("out"));
    m_Environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(ORV_STOP_WRITE_SHIM));
    m_Environment.insert(QStringLiteral("ASAN_OPTIONS"),
                         qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
    m_Environment.insert(QStringLiteral("ORV_TEST_SIGNAL_AT_TEMPORARY"), QString::number(SIGTERM));
    auto process = Start(Words("/profile=Model B", "/converter=pic", "/destination=out", "/preview",
                               "/logfile=run.log", "big.png", "logo.png"));
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitStatus(), QProcess::CrashExit) << qPrintable(Log());
    EXPECT_EQ(process->exitCode(), SIGTERM);
    EXPECT_TRUE(Log().endsWith(QStringLiteral("Saving %1\n").arg(W("out/logo.PIC")))) << qPrintable(Log());
    EXPECT_EQ(Files("out"), QStringList());
}
#endif

#if defined(ORV_NO_MEMORY_SHIM) && !defined(__SANITIZE_ADDRESS__)
// A melody converted to MSEQ writes its five debug files beside the source (from inside the plug-in), then its
// result and its preview. A source that runs out of memory just after each of those writes but the last in turn
// leaves none of them, nor the debug folder it made; where an earlier run left its own, another melody under the
// same name leaves them, and the earlier result and preview, with their bytes.
TEST_F(CommandLineRunFaultsTest, ASourceThatRunsOutOfMemoryLeavesEveryFileAsItFoundIt)
{
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const QStringList arguments =
        Words("/profile=Model C", "/converter=seq", "/destination=out", "/preview", "/logfile=run.log", "tune.mid");
    const QString failed = QStringLiteral("The source %1 failed: not enough memory.\n").arg(W("tune.mid"));
    const auto failAfterEachWrite = [&](const QMap<QString, QByteArray>& debug, const QMap<QString, QByteArray>& out) {
        for (int write = 1; write <= 6; ++write) {
            SCOPED_TRACE(write);
            const CRun run = RunOutOfMemoryAfterWrite(write, arguments);
            EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
            EXPECT_TRUE(Log().contains(failed)) << qPrintable(Log());
            EXPECT_EQ(QFileInfo::exists(W("Debug")), !debug.isEmpty());
            EXPECT_EQ(Contents("Debug"), debug);
            EXPECT_EQ(Contents("out"), out);
        }
    };
    CopyExample("morning.mid", "tune.mid");
    failAfterEachWrite({}, {});

    ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
    const QMap<QString, QByteArray> debug = Contents("Debug");
    const QMap<QString, QByteArray> out = Contents("out");
    ASSERT_EQ(debug.size(), 5);
    ASSERT_EQ(out.keys(), (QStringList{QStringLiteral("tune.SEQ"), QStringLiteral("tune_previewSEQ.WAV")}));
    SmfTrack track;
    track.Program(0, 0, 40);
    for (int note = 0; note < 40; ++note)
        track.NoteOn(0, 0, 55 + note % 9, 90).NoteOff(240, 0, 55 + note % 9);
    Write("tune.mid", SmfFile({track}));
    failAfterEachWrite(debug, out);
    ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
    const QMap<QString, QByteArray> replaced = Contents("out");
    EXPECT_EQ(replaced.keys(), out.keys());
    for (const QString& name : out.keys())
        EXPECT_NE(replaced.value(name), out.value(name)) << qPrintable(name);
}

// An animation converted with a preview of each frame, then another animation under the same name that runs out of
// memory just after each of its writes but the last in turn: the first result and every preview keep their bytes.
TEST_F(CommandLineRunFaultsTest, ASourceThatRunsOutOfMemoryPutsBackTheFilesItReplaced)
{
    for (const char* name : {"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"})
        CopyExample(name);
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const QStringList arguments =
        Words("/profile=Model B", "/converter=ani", "/destination=out", "/preview", "/logfile=run.log", "wink.anim");
    ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
    const QMap<QString, QByteArray> old = Contents("out");
    ASSERT_EQ(old.size(), 5);
    const Qt::GlobalColor colours[] = {Qt::darkMagenta, Qt::white, Qt::black, Qt::darkGreen};
    for (int frame = 1; frame <= 4; ++frame) {
        QImage other(16, 16, QImage::Format_RGB32);
        other.fill(colours[frame - 1]);
        ASSERT_TRUE(other.save(W(QStringLiteral("wink%1.png").arg(frame))));
    }
    for (int write = 1; write <= 4; ++write) {
        SCOPED_TRACE(write);
        const CRun run = RunOutOfMemoryAfterWrite(write, arguments);
        EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
        EXPECT_TRUE(Log().contains(QStringLiteral("The source %1 failed: not enough memory.\n").arg(W("wink.anim"))))
            << qPrintable(Log());
        EXPECT_EQ(Contents("out"), old);
    }
    ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
    const QMap<QString, QByteArray> replaced = Contents("out");
    EXPECT_EQ(replaced.keys(), old.keys());
    for (const QString& name : old.keys())
        EXPECT_NE(replaced.value(name), old.value(name)) << qPrintable(name);
}
#endif

} // namespace

namespace {

using namespace ProgramRunFixture;

class CommandLineMemoryAndDebugTest : public CProgramRunTest
{
protected:
    // The converter's default parameter file with its debug files turned on, in the work folder.
    QString DebugParameters(const char* file)
    {
        QByteArray text = ReadBytes(QStringLiteral(ORV_APP_DIR "/Plugins/Parameters/") + Word(file));
        text.replace("NAME=\"GenerateDebugFiles\" TYPE=\"Boolean\" VALUE=\"false\"",
                     "NAME=\"GenerateDebugFiles\" TYPE=\"Boolean\" VALUE=\"true\"");
        return Write(Word("debug-") + Word(file), text);
    }
    // Three hundred frames of 320 x 240, each drawn on a canvas its area is cleared from.
    static QByteArray LongGif()
    {
        GifToBuild gif;
        gif.width = 320;
        gif.height = 240;
        gif.globalColours = TestPalette(16);
        for (int frame = 0; frame < 300; ++frame) {
            GifImageToBuild image = PatternImage(0, 0, 320, 240, 2 + frame % 14);
            image.control = true;
            image.delay = 10;
            image.disposal = 2;
            gif.images.append(image);
        }
        return BuildGif(gif);
    }
    // Runs the program under a limit of its address space, as `ulimit -v` sets it.
    CRun RunWithin(qint64 kilobytes, const QStringList& arguments)
    {
        m_ChildSetup = [kilobytes] {
            const struct rlimit limit = {rlim_t(kilobytes) * 1024, rlim_t(kilobytes) * 1024};
            ::setrlimit(RLIMIT_AS, &limit);
        };
        const CRun run = Run(arguments);
        m_ChildSetup = nullptr;
        return run;
    }
};

// A debug file cut by a file size limit fails its source with the system's reason: no result, and no debug file
// half written. The earlier debug files are whole.
TEST_F(CommandLineMemoryAndDebugTest, ADebugFileThatCannotBeWrittenFailsItsSource)
{
    CopyExample("morning.mid", "tune.mid");
    CopyExample("hello.wav");
    const struct
    {
        const char *profile, *converter, *source, *parameters, *largest;
    } cases[] = {
        {"/profile=Model A", "/converter=qbr", "tune.mid", "QBRParameters.xml", "preview.wav"},
        {"/profile=Model C", "/converter=seq", "tune.mid", nullptr, "Preview.wav"},
        {"/profile=Model C", "/converter=vox", "hello.wav", "VoxParameters.xml", "PreviewVox.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.converter);
        QStringList arguments = Words(c.profile, c.converter, "/destination=out", "/logfile=run.log", c.source);
        if (c.parameters)
            arguments.prepend(QStringLiteral("/parameter=") + DebugParameters(c.parameters));
        QDir(W("Debug")).removeRecursively();
        QDir(W("out")).removeRecursively();
        QDir(m_Work).mkdir(QStringLiteral("out"));
        ASSERT_EQ(Run(arguments).exitCode, 0) << qPrintable(Log());
        const QString largest = W(QStringLiteral("Debug/") + Word(c.largest));
        const qint64 size = QFileInfo(largest).size();
        qint64 others = QFileInfo(W("run.log")).size();
        for (const QString& name : Files("Debug"))
            if (name != Word(c.largest))
                others = qMax(others, QFileInfo(W(QStringLiteral("Debug/") + name)).size());
        for (const QString& name : Files("out"))
            others = qMax(others, QFileInfo(W(QStringLiteral("out/") + name)).size());
        ASSERT_GT(size, others + 1);

        QDir(W("Debug")).removeRecursively();
        QDir(W("out")).removeRecursively();
        QDir(m_Work).mkdir(QStringLiteral("out"));
        QFile::remove(W("run.log"));
        const CRun run = Run(arguments, size - 1);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Log().contains(QStringLiteral("The debug file %1 cannot be written: File too large.").arg(largest)))
            << qPrintable(Log());
        EXPECT_FALSE(Files("Debug").contains(Word(c.largest)));
        for (const QString& name : Files("Debug"))
            EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << qPrintable(name);
        EXPECT_EQ(Files("out"), QStringList());
    }
}

// An animation description larger than an XML file may be is refused for its size, unread: its reader's limit is
// an XML file's.
TEST_F(CommandLineMemoryAndDebugTest, ADescriptionLargerThanAnXmlFileIsRefusedWithItsSize)
{
    QFile large(W("large.anim"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(qint64(20) << 20));
    large.close();
    const CRun run = Run(Words("/profile=Model B", "/converter=ani", "/destination=.", "/logfile=run.log", "large.anim"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Log().contains(
        QStringLiteral("The file %1 could not be read.\nReason: it is larger than 16777216 bytes.\n").arg(W("large.anim"))))
        << qPrintable(Log());
}

#ifndef __SANITIZE_ADDRESS__
// The run log's check reads the sources: a description of the most bytes its reader takes, in less memory than
// that leaves, fails alone there, with the reason, and the run converts the next source. (A sanitizer's own memory
// would not fit such a limit.)
TEST_F(CommandLineMemoryAndDebugTest, ASourceWhoseLogCheckRunsOutOfMemoryFailsAlone)
{
    QFile large(W("big.anim"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(qint64(16) << 20));
    large.close();
    for (const char* name : {"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"})
        CopyExample(name);
    Write("run.log", "an old log\n");
    QDir(m_Work).mkdir(QStringLiteral("out"));
    // The check reads a description only for a converter whose importer takes it: the animation converter.
    const CRun run = RunWithin(95000, Words("/profile=Model B", "/converter=ani", "/destination=out",
                                            "/logfile=run.log", "big.anim", "wink.anim"));
    EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
    EXPECT_TRUE(Log().startsWith(QStringLiteral("The source %1 failed: not enough memory.\n").arg(W("big.anim"))))
        << qPrintable(Log());
    EXPECT_EQ(Files("out"), QStringList{QStringLiteral("wink.ANI")});
}

// A source larger than its reader takes is refused from its size, the limit named, before the check of the run log
// or the run reads a byte of it: a description is an XML file, an e-card a message source. Within the memory in
// which reading 16 MB runs short (above), neither the 200 MB description nor the 20 MB e-card costs any.
TEST_F(CommandLineMemoryAndDebugTest, ASourceLargerThanItsReaderTakesIsRefusedUnreadWithTheLimit)
{
    const struct
    {
        const char *name, *profile, *converter;
        qint64 bytes;
    } cases[] = {
        {"big.anim", "/profile=Model B", "/converter=ani", qint64(200) << 20},
        {"big.ecd", "/profile=Model A", "/converter=ems_sms", qint64(20) << 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(W(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(c.bytes)); // sparse: costs no disk
        file.close();
        QFile::remove(W("run.log"));
        const CRun run = RunWithin(95000, Words(c.profile, c.converter, "/destination=.", "/logfile=run.log", c.name));
        EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
        EXPECT_EQ(Log(), QStringLiteral("Opening %1\nThe file %1 could not be read.\nReason: it is larger than 16777216 bytes.\n")
                             .arg(W(c.name)));
        QFile::remove(W(c.name));
    }
}

// Twenty minutes of melody previewed in less memory than it takes: the source fails with the reason instead of
// leaving a preview cut short, and the next source converts.
TEST_F(CommandLineMemoryAndDebugTest, AMelodyPreviewThatCannotGrowFailsItsSource)
{
    SmfTrack track;
    track.Program(0, 0, 0);
    for (int note = 0; note < 2400; ++note)
        track.NoteOn(0, 0, 60 + note % 12, 100).NoteOff(96, 0, 60 + note % 12);
    Write("long.mid", SmfFile({track}, 96, 0));
    CopyExample("morning.mid", "tune.mid");
    QDir(m_Work).mkdir(QStringLiteral("out"));
    const CRun run = RunWithin(100000, Words("/profile=Model A", "/converter=imy", "/destination=out", "/preview",
                                             "/logfile=run.log", "long.mid", "tune.mid"));
    EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
    EXPECT_TRUE(Log().contains(QStringLiteral("The source %1 failed: not enough memory.\n").arg(W("long.mid"))))
        << qPrintable(Log());
    EXPECT_EQ(Files("out"), (QStringList{QStringLiteral("tune.IMY"), QStringLiteral("tune_previewIMY.WAV")}));
}

// A long animated GIF whose canvas must be copied for every frame, under limits around where the copy runs short:
// each run ends by itself; where the GIF runs out of memory it fails alone with the reason, and the next source
// converts.
TEST_F(CommandLineMemoryAndDebugTest, AGifWhoseCanvasCannotBeCopiedFailsAlone)
{
    Write("anim.gif", LongGif());
    for (const char* name : {"wink.anim", "wink1.png", "wink2.png", "wink3.png", "wink4.png"})
        CopyExample(name);
    bool failedAlone = false;
    for (qint64 kilobytes = 100000; kilobytes <= 260000; kilobytes += 8000) {
        SCOPED_TRACE(kilobytes);
        QDir(W("out")).removeRecursively();
        QDir(m_Work).mkdir(QStringLiteral("out"));
        QFile::remove(W("run.log"));
        const CRun run = RunWithin(kilobytes, Words("/profile=Model B", "/converter=ani", "/destination=out",
                                                    "/logfile=run.log", "anim.gif", "wink.anim"));
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << qPrintable(run.err);
        if (Log().contains(QStringLiteral("The source %1 failed: not enough memory.\n").arg(W("anim.gif")))) {
            failedAlone = true;
            EXPECT_TRUE(Files("out").contains(QStringLiteral("wink.ANI"))) << qPrintable(Log());
            EXPECT_FALSE(Files("out").contains(QStringLiteral("anim.ANI")));
        }
    }
    EXPECT_TRUE(failedAlone);
}

// The same GIF to both animation formats under a few limits about where reading it runs short (in giflib, in its
// frames, in the words of a refusal): every run ends by itself, and a GIF that fails says it lacked memory, never
// that it cannot be read.
TEST_F(CommandLineMemoryAndDebugTest, AGifThatRunsOutOfMemoryIsNeverCalledUnreadable)
{
    Write("anim.gif", LongGif());
    int failed = 0;
    for (const char* converter : {"/converter=ani", "/converter=ema"}) {
        for (const qint64 kilobytes : {88000, 98000, 108000}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(converter)).arg(kilobytes).toStdString());
            QFile::remove(W("run.log"));
            const CRun run = RunWithin(kilobytes, Words("/profile=Model B", converter, "/destination=.",
                                                        "/logfile=run.log", "anim.gif"));
            ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << qPrintable(run.err);
            EXPECT_FALSE(Log().contains(QStringLiteral("not a readable animated GIF"))) << qPrintable(Log());
            if (run.exitCode == 1 && Log().contains(QStringLiteral("Opening ")))
                EXPECT_TRUE(Log().contains(QStringLiteral("The source %1 failed: not enough memory.\n")
                                               .arg(W("anim.gif"))))
                    << qPrintable(Log());
            failed += Log().contains(QStringLiteral("not enough memory")) ? 1 : 0;
        }
    }
    EXPECT_GT(failed, 0);
}

// Under any limit of its memory the program ends by itself with exit code 0 or 1, never by a signal, and a start-up
// that lacks memory says so. Below what the system's loader needs for the toolkit the program never starts (127);
// the limits just above that are tried closely, where start-up runs short.
TEST_F(CommandLineMemoryAndDebugTest, UnderAnyMemoryLimitTheProgramEndsByItself)
{
    CopyExample("logo.png");
    bool saidAtStart = false;
    const auto runWithin = [&](qint64 kilobytes) {
        SCOPED_TRACE(kilobytes);
        const CRun run = RunWithin(kilobytes, Words("/profile=Model B", "/converter=pic", "/logfile=run.log",
                                                    "/destination=.", "logo.png"));
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1 || run.exitCode == 127)
            << run.exitCode << qPrintable(run.err);
        saidAtStart = saidAtStart || run.err.contains(QStringLiteral("The program cannot go on: not enough memory."));
        return run.exitCode;
    };
    qint64 starts = 20000;
    while (starts < 400000 && runWithin(starts) == 127)
        starts += 10000;
    for (qint64 kilobytes = starts - 10000; kilobytes <= starts + 30000; kilobytes += 1000)
        runWithin(kilobytes);
    EXPECT_TRUE(saidAtStart);
}
#endif

} // namespace
