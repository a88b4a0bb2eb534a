// The real program on the built application folder, run as a user would run it with hostile inputs, several
// runs at once and a destination that fills up: what each run logs, returns and leaves in its folders.
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ProgramRunFixture;

class CommandLineFaultTest : public CProgramRunTest
{};

TEST_F(CommandLineFaultTest, EachRunCreatesItsOwnLogAndNeverEmptiesAnOlderOne)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    // Logs of this second and the next few are taken already, as when runs start in the same second.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList taken;
    for (int second = 0; second < 5; ++second) {
        const QDateTime moment = now.addSecs(second);
        taken << QStringLiteral("Logfile") + moment.toString(QStringLiteral("dd_MM_yyyy_hh_mm_ss"));
        Write(taken.last() + QStringLiteral(".log"), "older run\n");
    }
    const CRun run =
        Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"), QStringLiteral("tune.mid")});
    EXPECT_EQ(run.exitCode, 0);
    QStringList fresh;
    for (const QString& name : Files()) {
        if (!name.endsWith(QStringLiteral(".log")))
            continue;
        if (Log(name) == QStringLiteral("older run\n"))
            continue;
        fresh << name;
    }
    ASSERT_EQ(fresh.size(), 1) << qPrintable(fresh.join(LF));
    EXPECT_TRUE(fresh.first().endsWith(QStringLiteral("_2.log"))) << qPrintable(fresh.first());
    EXPECT_TRUE(taken.contains(fresh.first().left(fresh.first().size() - 6))) << qPrintable(fresh.first());
    EXPECT_TRUE(Log(fresh.first()).startsWith(QStringLiteral("Opening ") + W(QStringLiteral("tune.mid"))));
}

// A log that cannot be created is said on standard error, and its lines follow there: the reason a source failed
// is never lost.
TEST_F(CommandLineFaultTest, ALogThatIsASourceIsRefusedAndOneThatCannotBeCreatedIsSaid)
{
    const QByteArray midi = Example("morning.mid");
    Write("tune.mid", midi);
    QDir(m_Work).mkdir(QStringLiteral("folder"));
    ASSERT_TRUE(QFile::link(W("tune.mid"), W("alias.log")));
    ASSERT_EQ(::link(QFile::encodeName(W("tune.mid")).constData(), QFile::encodeName(W("hard.log")).constData()), 0);
    const QByteArray parameters = "<not even a parameter file/>";
    Write("my.xml", parameters);
    const QString aSource = QStringLiteral("The run log %1 is also a source; nothing was converted.\n");
    const auto notCreated = [this](const char* log, const char* why) {
        return QStringLiteral("The run log %1 cannot be created: %2. Its lines follow on standard error.\n"
                              "The source ghost.mid does not exist.\n")
            .arg(W(log), Word(why));
    };
    const struct
    {
        const char *name, *log;
        QString err;
        bool converted;
        QStringList more;
    } cases[] = {
        {"the source itself", "tune.mid", aSource.arg(QStringLiteral("tune.mid")), false, {}},
        {"a link to the source", "alias.log", aSource.arg(QStringLiteral("alias.log")), false, {}},
        {"a hard link to the source", "hard.log", aSource.arg(QStringLiteral("hard.log")), false, {}},
        {"the parameter file", "my.xml",
         QStringLiteral("The run log my.xml is also the parameter file; nothing was converted.\n"), false,
         Words("/parameter=my.xml")},
        {"missing folder", "missing/run.log", notCreated("missing/run.log", "No such file or directory"), true, {}},
        {"a folder", "folder", notCreated("folder", "is a folder"), true, {}},
    };
    for (const auto& c : cases) {
        QFile::remove(W("tune.IMY"));
        const CRun run = Run(Words("/profile=Model A", "/converter=imy", QStringLiteral("/logfile=") + Word(c.log),
                                   "tune.mid", "ghost.mid")
                             + c.more);
        // The missing source fails every run.
        EXPECT_EQ(run.exitCode, 1) << c.name;
        if (c.converted) {
            EXPECT_TRUE(run.err.startsWith(c.err)) << c.name << "\n" << qPrintable(run.err);
            EXPECT_TRUE(run.err.endsWith(QStringLiteral("Conversion succeeded.\nSaving ") + W("tune.IMY") + LF))
                << c.name;
        } else {
            EXPECT_EQ(run.err, c.err) << c.name;
        }
        EXPECT_EQ(ReadBytes(W("tune.mid")), midi) << c.name;
        EXPECT_EQ(ReadBytes(W("my.xml")), parameters) << c.name;
        EXPECT_EQ(QFile::exists(W("tune.IMY")), c.converted) << c.name;
    }
    EXPECT_EQ(Files(), Words("alias.log", "folder", "hard.log", "my.xml", "tune.IMY", "tune.mid"));
}

TEST_F(CommandLineFaultTest, TheHelpLeavesNoLogAndEndsWithHowToNameAnOptionLikeSource)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    auto process = Start({QStringLiteral("/help"), QStringLiteral("tune.mid")});
    ASSERT_TRUE(process->waitForFinished(30000));
    EXPECT_EQ(process->exitCode(), 1);
    const QStringList lines = QString::fromLocal8Bit(process->readAllStandardOutput()).split(LF, Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains(QStringLiteral("//previews/tune.mid"))) << qPrintable(lines.last());
    EXPECT_EQ(Files(), QStringList{QStringLiteral("tune.mid")});
}

TEST_F(CommandLineFaultTest, ANameWrittenOnceInARunIsNeverWrittenAgainInIt)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    Write(QStringLiteral("tune.rtx"), Example("lantern.rtx"));
    Write(QStringLiteral("d1/t.mid"), Example("morning.mid"));
    Write(QStringLiteral("d2/t.rtx"), Example("lantern.rtx"));
    QDir(m_Work).mkdir(QStringLiteral("ref"));
    ASSERT_EQ(Imy({QStringLiteral("tune.mid"), QStringLiteral("/destination=ref")}).exitCode, 0);
    const QByteArray first = ReadBytes(W(QStringLiteral("ref/tune.IMY")));

    struct Case
    {
        const char* name;
        QStringList sources;
        QString result;
        QString earlier, later;
    };
    const Case cases[] = {
        {"one folder",
         {QStringLiteral("tune.mid"), QStringLiteral("tune.rtx")},
         QStringLiteral("tune.IMY"),
         W(QStringLiteral("tune.mid")),
         W(QStringLiteral("tune.rtx"))},
        {"two folders",
         {QStringLiteral("d1/t.mid"), QStringLiteral("d2/t.rtx")},
         QStringLiteral("t.IMY"),
         W(QStringLiteral("d1/t.mid")),
         W(QStringLiteral("d2/t.rtx"))},
    };
    for (const Case& c : cases) {
        QDir(W(QStringLiteral("out"))).removeRecursively();
        QDir(m_Work).mkdir(QStringLiteral("out"));
        const CRun run = Imy(c.sources + QStringList{QStringLiteral("/destination=out"), QStringLiteral("/preview")});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        const QString path = W(QStringLiteral("out/") + c.result);
        EXPECT_TRUE(Log().contains(QStringLiteral("%1 was not written: the source %2 wrote it earlier in this run, "
                                                  "so the source %3 fails.\n")
                                       .arg(path, c.earlier, c.later)))
            << c.name << qPrintable(Log());
        // The later source's preview has another name, but the source failed: nothing of it is written.
        EXPECT_EQ(Files(QStringLiteral("out")),
                  (QStringList{c.result, c.result.left(c.result.size() - 4) + QStringLiteral("_previewIMY.WAV")}))
            << c.name;
        if (c.result == QLatin1String("tune.IMY")) {
            EXPECT_EQ(ReadBytes(path), first) << c.name;
        }
    }

    // An e-card's second message is not replaced by the message of a source named like it.
    Write(QStringLiteral("sms/g.ecd"), Example("greeting.ecd"));
    Write(QStringLiteral("sms/chime.imy"), Example("chime.imy")); // the melody the e-card names
    Write(QStringLiteral("sms/g_1.imy"), Example("chime.imy"));
    QDir(m_Work).mkdir(QStringLiteral("msg"));
    const CRun run = Run({QStringLiteral("/profile=Model A"), QStringLiteral("/converter=ems_sms"),
                          QStringLiteral("/logfile=run.log"), QStringLiteral("/destination=msg"),
                          QStringLiteral("sms/g.ecd"), QStringLiteral("sms/g_1.imy")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Log().endsWith(QStringLiteral("%1 was not written: the source %2 wrote it earlier in this run, so the "
                                              "source %3 fails.\n")
                                   .arg(W(QStringLiteral("msg/g_1.EMS_SMS")), W(QStringLiteral("sms/g.ecd")),
                                        W(QStringLiteral("sms/g_1.imy")))))
        << qPrintable(Log());
    EXPECT_EQ(Files(QStringLiteral("msg")),
              (QStringList{QStringLiteral("g_0.EMS_SMS"), QStringLiteral("g_1.EMS_SMS")}));
}

TEST_F(CommandLineFaultTest, OutsideFilesAreReadOnlyWhenRegularAndWithinTheirCap)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    QDir(m_Work).mkdir(QStringLiteral("folder.mid"));
    Fifo(QStringLiteral("pipe.mid"));
    Fifo(QStringLiteral("pipe.xml"));
    ASSERT_TRUE(QFile::link(W(QStringLiteral("gone.mid")), W(QStringLiteral("broken.mid"))));
    {
        QFile huge(W(QStringLiteral("huge.mid")));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(qint64(256) * 1024 * 1024 + 1)); // sparse: costs no disk
    }
    struct Case
    {
        const char* name;
        QStringList arguments;
        QString line;
    };
    const Case cases[] = {
        {"endless parameter file",
         {QStringLiteral("/parameter=/dev/zero"), QStringLiteral("tune.mid")},
         QStringLiteral("The parameter file /dev/zero could not be read.\nReason: it is a device.\n")},
        {"parameter FIFO",
         {QStringLiteral("/parameter=pipe.xml"), QStringLiteral("tune.mid")},
         QStringLiteral("The parameter file %1 could not be read.\nReason: it is a FIFO.\n")
             .arg(W(QStringLiteral("pipe.xml")))},
        {"source over the cap",
         {QStringLiteral("huge.mid")},
         QStringLiteral("The file %1 could not be read.\nReason: it is larger than 268435456 bytes.\n")
             .arg(W(QStringLiteral("huge.mid")))},
        {"source folder",
         {QStringLiteral("folder.mid")},
         QStringLiteral("The file folder.mid could not be read.\nReason: it is a folder.\n")},
        {"source FIFO",
         {QStringLiteral("pipe.mid")},
         QStringLiteral("The file pipe.mid could not be read.\nReason: it is a FIFO.\n")},
        {"broken link",
         {QStringLiteral("broken.mid")},
         QStringLiteral("The file broken.mid could not be read.\nReason: it is a broken link.\n")},
        {"missing", {QStringLiteral("ghost.mid")}, QStringLiteral("The source ghost.mid does not exist.\n")},
    };
    for (const Case& c : cases) {
        const CRun run = Imy(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(Log().contains(c.line)) << c.name << "\n" << qPrintable(Log());
    }
}

TEST_F(CommandLineFaultTest, AMissingProfileOrConverterOptionListsTheChoices)
{
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    struct Case
    {
        const char* name;
        QStringList arguments;
        QRegularExpression line;
    };
    const Case cases[] = {
        {"profile",
         {QStringLiteral("/converter=imy")},
         QRegularExpression(QStringLiteral("^No phone profile was chosen: add /profile= with one of: "
                                           "Model A, Model B, Model C\\.\n$"))},
        {"converter",
         {QStringLiteral("/profile=Model A")},
         QRegularExpression(QStringLiteral("^No converter was chosen: add /converter= with one of: "
                                           "([A-Z_]+, )*IMY(, [A-Z_]+)*\\.\n$"))},
    };
    for (const Case& c : cases) {
        const CRun run = Run(c.arguments + QStringList{QStringLiteral("/logfile=run.log"), QStringLiteral("tune.mid")});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_TRUE(c.line.match(Log()).hasMatch()) << c.name << "\n" << qPrintable(Log());
    }
}

TEST_F(CommandLineFaultTest, ReplacingAResultKeepsItsModeItsLinkAndALongName)
{
    const QString longBase = QString(250, QLatin1Char('n'));
    Write(longBase + QStringLiteral(".mid"), Example("morning.mid"));
    Write(QStringLiteral("tune.mid"), Example("morning.mid"));
    Write(QStringLiteral("ring.rtx"), Example("lantern.rtx"));
    Write(QStringLiteral("out/tune.IMY"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(W(QStringLiteral("out/tune.IMY"))).constData(), 0640), 0);
    Write(QStringLiteral("kept/ring.IMY"), "old");
    ASSERT_TRUE(QFile::link(QStringLiteral("../kept/ring.IMY"), W(QStringLiteral("out/ring.IMY"))));

    const CRun run = Imy({longBase + QStringLiteral(".mid"), QStringLiteral("tune.mid"), QStringLiteral("ring.rtx"),
                          QStringLiteral("/destination=out")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(Log());
    EXPECT_TRUE(ReadBytes(W(QStringLiteral("out/") + longBase + QStringLiteral(".IMY"))).startsWith("BEGIN:IMELODY"));
    EXPECT_TRUE(ReadBytes(W(QStringLiteral("out/tune.IMY"))).startsWith("BEGIN:IMELODY"));
    struct stat mode;
    ASSERT_EQ(::stat(QFile::encodeName(W(QStringLiteral("out/tune.IMY"))).constData(), &mode), 0);
    EXPECT_EQ(mode.st_mode & 07777, 0640u);
    EXPECT_TRUE(QFileInfo(W(QStringLiteral("out/ring.IMY"))).isSymLink());
    EXPECT_TRUE(ReadBytes(W(QStringLiteral("kept/ring.IMY"))).startsWith("BEGIN:IMELODY"));
    EXPECT_EQ(Files(QStringLiteral("kept")), QStringList{QStringLiteral("ring.IMY")});
    EXPECT_EQ(Files(QStringLiteral("out")),
              (QStringList{longBase + QStringLiteral(".IMY"), QStringLiteral("ring.IMY"), QStringLiteral("tune.IMY")}));
}

TEST_F(CommandLineFaultTest, ARunEndedBySigtermOrCtrlCLeavesNoTemporaryFile)
{
    QStringList sources;
    for (int i = 0; i < 400; ++i) {
        Write(QStringLiteral("s%1.mid").arg(i), Example("morning.mid"));
        sources << QStringLiteral("s%1.mid").arg(i);
    }
    for (const int signal : {SIGTERM, SIGINT}) {
        QDir(W(QStringLiteral("out"))).removeRecursively();
        QDir(m_Work).mkdir(QStringLiteral("out"));
        QFile::remove(W(QStringLiteral("run.log")));
        auto process = Start(QStringList{QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                                         QStringLiteral("/logfile=run.log"), QStringLiteral("/destination=out"),
                                         QStringLiteral("/preview")}
                             + sources);
        // Stopped in the middle of the run, wherever its writing is then.
        for (int wait = 0; wait < 3000 && Log().count(QStringLiteral("Saving")) < 20; ++wait)
            QThread::msleep(2);
        ::kill(pid_t(process->processId()), signal);
        ASSERT_TRUE(process->waitForFinished(30000));
        EXPECT_EQ(process->exitStatus(), QProcess::CrashExit) << signal;
        for (const QString& name : Files(QStringLiteral("out")))
            EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << qPrintable(name);
    }
}

TEST_F(CommandLineFaultTest, FortySourcesOnAFillingDiskLoseNothing)
{
    const QByteArray midi = Example("morning.mid");
    const QByteArray rtttl = Example("lantern.rtx");
    const QByteArray card = Example("greeting.ecd");
    QStringList sources, good;
    const auto add = [&](const QString& name, const QByteArray& bytes) {
        Write(name, bytes);
        sources << name;
    };
    for (int i = 0; i < 8; ++i) {
        add(QStringLiteral("gm%1.mid").arg(i), midi);
        good << QStringLiteral("gm%1").arg(i);
    }
    for (int i = 0; i < 7; ++i) {
        add(QStringLiteral("gr%1.rtx").arg(i), rtttl);
        good << QStringLiteral("gr%1").arg(i);
    }
    sources << QStringLiteral("missing1.mid") << QStringLiteral("missing2.rtx");
    QDir(m_Work).mkdir(QStringLiteral("dir1.mid"));
    QDir(m_Work).mkdir(QStringLiteral("dir2.rtx"));
    sources << QStringLiteral("dir1.mid") << QStringLiteral("dir2.rtx");
    Fifo(QStringLiteral("fifo1.mid"));
    Fifo(QStringLiteral("fifo2.rtx"));
    sources << QStringLiteral("fifo1.mid") << QStringLiteral("fifo2.rtx");
    for (int i = 0; i < 4; ++i) {
        add(QStringLiteral("cutm%1.mid").arg(i), midi.left(5 + i * 9));
        add(QStringLiteral("noisem%1.mid").arg(i), Noise(300 + i, 7 + i));
    }
    for (int i = 0; i < 3; ++i) {
        add(QStringLiteral("cutr%1.rtx").arg(i), rtttl.left(3 + i * 7));
        add(QStringLiteral("noiser%1.rtx").arg(i), Noise(200 + i, 99 + i));
    }
    add(QStringLiteral("cutcard.ecd"), card.left(40));
    add(QStringLiteral("noisecard.ecd"), Noise(120, 5));
    add(QStringLiteral("twin.mid"), midi);
    add(QStringLiteral("twin.rtx"), rtttl);
    {
        add(QStringLiteral("huge.mid"), QByteArray());
        QFile huge(W(QStringLiteral("huge.mid")));
        ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
        ASSERT_TRUE(huge.resize(qint64(256) * 1024 * 1024 + 1));
    }
    ASSERT_EQ(sources.size(), 40);
    QDir(m_Work).mkdir(QStringLiteral("out"));

    // The iMelody results are small; the wave previews are larger than the limit and fail part-way.
    const qint64 limit = 64 * 1024;
    const CRun run = Imy(sources + QStringList{QStringLiteral("/destination=out"), QStringLiteral("/preview")}, limit);
    EXPECT_EQ(run.exitCode, 1);
    const QString log = Log();
    const QString out = W(QStringLiteral("out/"));

    for (const QString& base : good + QStringList{QStringLiteral("twin")}) {
        const QByteArray result = ReadBytes(out + base + QStringLiteral(".IMY"));
        EXPECT_TRUE(result.startsWith("BEGIN:IMELODY") && result.endsWith("END:IMELODY")) << qPrintable(base);
        const QString preview = out + base + QStringLiteral("_previewIMY.WAV");
        EXPECT_TRUE(log.contains(QStringLiteral("Saving %1 failed: File too large.\n").arg(preview)))
            << qPrintable(base);
    }
    const QStringList named = {
        QStringLiteral("The source missing1.mid does not exist.\n"),
        QStringLiteral("The source missing2.rtx does not exist.\n"),
        QStringLiteral("The file dir1.mid could not be read.\nReason: it is a folder.\n"),
        QStringLiteral("The file dir2.rtx could not be read.\nReason: it is a folder.\n"),
        QStringLiteral("The file fifo1.mid could not be read.\nReason: it is a FIFO.\n"),
        QStringLiteral("The file fifo2.rtx could not be read.\nReason: it is a FIFO.\n"),
        QStringLiteral("No importer can read cutcard.ecd for this converter.\n"),
        QStringLiteral("No importer can read noisecard.ecd for this converter.\n"),
        QStringLiteral("The file %1 could not be read.\nReason: it is larger than 268435456 bytes.\n")
            .arg(W(QStringLiteral("huge.mid"))),
        QStringLiteral(
            "%1twin.IMY was not written: the source %2 wrote it earlier in this run, so the source %3 fails.\n")
            .arg(out, W(QStringLiteral("twin.mid")), W(QStringLiteral("twin.rtx"))),
    };
    for (const QString& line : named)
        EXPECT_TRUE(log.contains(line)) << qPrintable(line);

    // Every damaged source either failed with the importer's or converter's own words, or converted into a
    // complete result; no half-written and no temporary file is left.
    for (const QString& name : Files(QStringLiteral("out"))) {
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << qPrintable(name);
        const QByteArray result = ReadBytes(out + name);
        if (name.endsWith(QStringLiteral("_previewIMY.WAV"))) {
            // A cut source of a note or two has a preview under the limit: it is whole.
            ASSERT_GE(result.size(), 8) << qPrintable(name);
            EXPECT_EQ(qFromLittleEndian<quint32>(result.constData() + 4), quint32(result.size() - 8))
                << qPrintable(name);
            continue;
        }
        EXPECT_TRUE(name.endsWith(QStringLiteral(".IMY"))) << qPrintable(name);
        EXPECT_TRUE(result.endsWith("END:IMELODY")) << qPrintable(name);
    }
    for (const QString& source : sources) {
        if (!source.startsWith(QStringLiteral("cut")) && !source.startsWith(QStringLiteral("noise")))
            continue;
        const int opened = log.indexOf(QStringLiteral("Opening ") + W(source) + LF);
        if (source.endsWith(QStringLiteral(".ecd"))) {
            EXPECT_LT(opened, 0) << qPrintable(source);
            continue;
        }
        ASSERT_GE(opened, 0) << qPrintable(source);
        const int next = log.indexOf(QStringLiteral("\nOpening "), opened + 1);
        const QString part = log.mid(opened, next < 0 ? -1 : next - opened);
        const bool converted = part.contains(QStringLiteral("Conversion succeeded.\n"));
        const QString base = QFileInfo(source).completeBaseName();
        EXPECT_EQ(QFile::exists(out + base + QStringLiteral(".IMY")), converted) << qPrintable(part);
        if (!converted) {
            EXPECT_GE(part.split(LF, Qt::SkipEmptyParts).size(), 3)
                << "a failure without its words: " << qPrintable(part);
        }
    }
}

TEST_F(CommandLineFaultTest, RunsAtOnceFromOneFolderEachKeepTheirWholeLog)
{
    for (const int count : {2, 4}) {
        QDir(m_Dir.path()).removeRecursively();
        QDir().mkpath(m_Work);
        // Each run converts its own sources into its own folder, so its log is known from a run alone.
        QList<QStringList> commands;
        QStringList expected;
        for (int run = 0; run < count; ++run) {
            QStringList command{QStringLiteral("/profile=Model A"), QStringLiteral("/converter=imy"),
                                QStringLiteral("/destination=out%1").arg(run)};
            for (int i = 0; i < 5; ++i) {
                const QString name = QStringLiteral("r%1s%2").arg(run).arg(i);
                Write(name + QStringLiteral(".mid"), Example("morning.mid"));
                command << name + QStringLiteral(".mid") << QStringLiteral("/destination=out%1").arg(run);
            }
            QDir(m_Work).mkdir(QStringLiteral("out%1").arg(run));
            commands << command;
            ASSERT_EQ(Run(command + QStringList{QStringLiteral("/logfile=alone.log")}).exitCode, 0);
            expected << Log(QStringLiteral("alone.log"));
            QFile::remove(W(QStringLiteral("alone.log")));
        }
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList& command : commands)
            processes.push_back(Start(command));
        for (auto& process : processes)
            EXPECT_EQ(Finish(*process).exitCode, 0) << count;
        QStringList logs;
        for (const QString& name : Files()) {
            if (name.endsWith(QStringLiteral(".log")))
                logs << Log(name);
        }
        logs.sort();
        expected.sort();
        EXPECT_EQ(logs, expected) << count;
    }
}

} // namespace
