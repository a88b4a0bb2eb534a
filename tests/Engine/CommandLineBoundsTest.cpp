// The real program on hostile files: an animation description that names one picture half a million times and an
// e-card of countless empty entries stay within their memory bound (the kernel's count of the run's peak) and
// say what they refused; and files that start-up reads which are FIFOs never block it.
#include "BlackPng.h"
#include "PeakMemoryRun.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using namespace ProgramRunFixture;

// Far below the gigabytes such files took when they were read into a document.
constexpr long kMemoryBoundKb = 500 * 1024;
#ifdef __SANITIZE_ADDRESS__
// Under AddressSanitizer the peak counts the sanitizer's own shadow memory and quarantine, not the program's.
constexpr bool kPeakIsTheProgramsOwn = false;
#else
constexpr bool kPeakIsTheProgramsOwn = true;
#endif

class CommandLineBoundsTest : public CProgramRunTest
{
protected:
    CMeasuredRun RunMeasuredHere(const QStringList& arguments, const QString& app = QStringLiteral(ORV_APP_DIR)) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), app);
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        QList<QByteArray> words;
        for (const QString& argument : arguments)
            words << argument.toUtf8();
        return RunMeasured(ORV_PROGRAM_FILE, words, QFile::encodeName(m_Work), environment,
                           QFile::encodeName(W("err.txt")));
    }

    // An application folder whose entries are links to the built one's, but for the files of `replaced` (paths
    // inside it), which are made FIFOs; their folders are made of links too.
    QString AppFolderWithFifos(const QStringList& replaced) const
    {
        const QString app = W("app");
        LinkEntries(QStringLiteral(ORV_APP_DIR), app, replaced);
        for (const QString& path : replaced)
            Fifo(QStringLiteral("app/") + path);
        return app;
    }

private:
    void LinkEntries(const QString& from, const QString& to, const QStringList& replaced) const
    {
        QDir().mkpath(to);
        const QString inside = to.mid(W("app").size() + 1);
        const QDir source(from);
        for (const QString& name : source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            const QString relative = inside.isEmpty() ? name : inside + QLatin1Char('/') + name;
            if (replaced.contains(relative))
                continue;
            const bool holdsReplaced = std::any_of(replaced.begin(), replaced.end(), [&](const QString& path) {
                return path.startsWith(relative + QLatin1Char('/'));
            });
            if (holdsReplaced)
                LinkEntries(source.filePath(name), to + QLatin1Char('/') + name, replaced);
            else
                QFile::link(source.filePath(name), to + QLatin1Char('/') + name);
        }
    }
};

TEST_F(CommandLineBoundsTest, ADescriptionOfHalfAMillionFramesIsRefusedFromItsCountWithinTheBound)
{
    Write("f.png", BlackPng::Grey(16, 16));
    const QByteArray frame = "<FRAME REF=\"f.png\" DELAY=\"100\"/>";
    const int frames = (16 * 1024 * 1024 - 16) / int(frame.size());
    Write("hostile.anim", "<A>" + frame.repeated(frames) + "</A>");

    const CMeasuredRun run =
        RunMeasuredHere(Words("/profile=Model B", "/converter=ani", "/logfile=run.log", "hostile.anim"));
    EXPECT_TRUE(run.ExitedWith(1));
    if (kPeakIsTheProgramsOwn) {
        EXPECT_LT(run.peakKb, kMemoryBoundKb);
    }
    EXPECT_TRUE(Log().contains(
        QStringLiteral("The animation description names more than 1000 frames, the most an animation may have.\n")))
        << qPrintable(Log());
    EXPECT_EQ(Files(), QStringList({QStringLiteral("err.txt"), QStringLiteral("f.png"), QStringLiteral("hostile.anim"),
                                    QStringLiteral("run.log")}));
}

// A benchmark runs the full 16 MB of four million entries; fifty thousand show the same here at little cost.
TEST_F(CommandLineBoundsTest, AnECardOfCountlessEmptyEntriesNamesTenAndCountsTheRest)
{
    const int entries = 50000;
    Write("hostile.ecd", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hi"
                             + QByteArray("<a/>").repeated(entries) + "</ECARD>");

    const CMeasuredRun run =
        RunMeasuredHere(Words("/profile=Model A", "/converter=ems_sms", "/logfile=run.log", "hostile.ecd"));
    EXPECT_TRUE(run.ExitedWith(0));
    if (kPeakIsTheProgramsOwn) {
        EXPECT_LT(run.peakKb, kMemoryBoundKb);
    }
    const QString named =
        QStringLiteral("Entry skipped: <a> is neither text nor an IE element with TYPE, STYPE and REF\n");
    const QString log = Log();
    EXPECT_EQ(log.count(named), 10) << qPrintable(log.left(2000));
    EXPECT_TRUE(log.contains(named
                             + QStringLiteral("%1 more entries skipped: each is neither text nor an IE element "
                                              "with TYPE, STYPE and REF.\n")
                                   .arg(entries - 10)))
        << qPrintable(log.left(2000));
    EXPECT_LT(log.size(), 4000);
}

// A document type whose one default every element of its name takes: a megabyte for each of a thousand frames of a
// 1 MB description, four megabytes for each parameter of a 4 MB profile. Each is refused unread within a bound far
// below the gigabytes they took, and says why; defaults that add a few kilobytes are read as ever.
QByteArray WithDefault(const QByteArray& document, const char* root, const char* element, int bytes)
{
    const int afterDeclaration = document.startsWith("<?xml") ? int(document.indexOf("?>")) + 2 : 0;
    return document.left(afterDeclaration) + "<!DOCTYPE " + root + " [<!ATTLIST " + element + " NOTE CDATA \""
           + QByteArray(bytes, 'n') + "\">]>" + document.mid(afterDeclaration);
}

TEST_F(CommandLineBoundsTest, DefaultsThatWouldAddMoreThanTheFileMayHoldAreRefusedUnread)
{
    constexpr long kBoundKb = 100 * 1024;
    Write("f.png", BlackPng::Grey(16, 16));
    const QByteArray frame = "<FRAME REF=\"f.png\" DELAY=\"100\"/>";
    Write("large.anim", WithDefault("<A>" + frame.repeated(1000) + "</A>", "A", "FRAME", 1 << 20));
    Write("small.anim", WithDefault("<A>" + frame.repeated(3) + "</A>", "A", "FRAME", 2048));
    CopyExample("morning.mid", "tune.mid");
    QByteArray profile = ReadBytes(QStringLiteral(ORV_APP_DIR "/Profiles/Model_C.xml"));
    profile.replace("VALUE=\"Model C\"", "VALUE=\"Model Y\"");
    const QString app =
        AppFolderWith({{QStringLiteral("Model_Y.xml"), WithDefault(profile, "Profile", "DATA", 4 << 20)}});
    const QString tooLarge =
        QStringLiteral("a document type whose defaults would add more than 16777216 bytes to it, more than ");

    const CMeasuredRun description =
        RunMeasuredHere(Words("/profile=Model B", "/converter=ani", "/logfile=run.log", "large.anim"));
    EXPECT_TRUE(description.ExitedWith(1));
    if (kPeakIsTheProgramsOwn) {
        EXPECT_LT(description.peakKb, kBoundKb);
    }
    EXPECT_TRUE(Log().contains(QStringLiteral("The animation description has ") + tooLarge
                               + QStringLiteral("a description may hold.\n")))
        << qPrintable(Log());

    const CMeasuredRun phone =
        RunMeasuredHere(Words("/profile=Model Y", "/converter=imy", "/logfile=run.log", "tune.mid"), app);
    EXPECT_TRUE(phone.ExitedWith(1));
    if (kPeakIsTheProgramsOwn) {
        EXPECT_LT(phone.peakKb, kBoundKb);
    }
    EXPECT_EQ(Log(), QStringLiteral("No phone profile is named MODEL Y.\nThe profile file %1/Profiles/Model_Y.xml was "
                                    "refused: has %2the file may hold.\n")
                         .arg(app, tooLarge));

    const CMeasuredRun small =
        RunMeasuredHere(Words("/profile=Model B", "/converter=ani", "/logfile=run.log", "small.anim"));
    EXPECT_TRUE(small.ExitedWith(0)) << qPrintable(Log());
    EXPECT_EQ(Files(),
              QStringList({QStringLiteral("app"), QStringLiteral("err.txt"), QStringLiteral("f.png"),
                           QStringLiteral("large.anim"), QStringLiteral("run.log"), QStringLiteral("small.ANI"),
                           QStringLiteral("small.anim"), QStringLiteral("tune.mid")}));
}

// Start-up opens nothing that could block before it knows it is a regular file: a FIFO language file ends the
// run at once, its name and why on standard error (in the system's words, as no language file gives any); a FIFO
// "Paths.xml" before it gives the default folders.
TEST_F(CommandLineBoundsTest, AFifoLanguageFileEndsStartUpAtOnceWithItsNameAndWhy)
{
    const QString app = AppFolderWithFifos({QStringLiteral("Paths.xml"), QStringLiteral("Languages/English.xml")});
    m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
    CopyExample("morning.mid", "tune.mid");

    const CRun run = Imy(Words("tune.mid"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(
        QStringLiteral("The language file %1/Languages/English.xml cannot be read: No such device or address.\n")
            .arg(app)))
        << qPrintable(run.err);
    EXPECT_FALSE(QFile::exists(W("tune.IMY")));
}

// A FIFO profile is no profile, and a FIFO parameter file is refused with its reason; the run goes on.
TEST_F(CommandLineBoundsTest, AFifoProfileOrParameterFileNeverBlocksTheRun)
{
    const QString app = AppFolderWithFifos(
        {QStringLiteral("Profiles/Model_C.xml"), QStringLiteral("Plugins/Parameters/VoxParameters.xml")});
    m_Environment.insert(QStringLiteral("ORVANEDIR"), app);
    CopyExample("morning.mid", "tune.mid");

    const CRun run = Imy(Words("tune.mid"));
    EXPECT_EQ(run.exitCode, 0) << qPrintable(Log());
    EXPECT_TRUE(Log().startsWith(
        QStringLiteral("The parameter file VoxParameters.xml could not be read.\nReason: it is a FIFO.\n")))
        << qPrintable(Log());
    EXPECT_TRUE(QFile::exists(W("tune.IMY")));
}

} // namespace
