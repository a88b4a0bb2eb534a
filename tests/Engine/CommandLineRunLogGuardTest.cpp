// The real program never takes for its run log a file it reads: the files a source names exactly as their
// readers read them (odd attribute rules included), the program's own files in both modes, and a media script
// that could block or is too large is refused before it is read.
#include "BlackPng.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace ProgramRunFixture;

class CommandLineRunLogGuardTest : public CProgramRunTest
{
protected:
    struct Source
    {
        const char *name, *profile, *converter;
        QByteArray bytes;
        QStringList files; // the files beside it
        QStringList read;  // those its reader reads
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
    CRun RunOn(const Source& source, const QString& log) const
    {
        return Run(Words(source.profile, source.converter, "/destination=out", QStringLiteral("/logfile=") + log,
                         source.name));
    }
};

QByteArray Card(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hi" + entries + "</ECARD>";
}

// For each file beside a source, two runs: with the file as the run log, which the program must refuse exactly when
// the reader reads the file; and with the file made a folder, which the reader then says it cannot read exactly
// when it reads it. A file the check missed would show as the reader's own refusal of the run log.
TEST_F(CommandLineRunLogGuardTest, TheLogIsRefusedExactlyForTheFilesTheReaderReads)
{
    const char* ani[] = {"/profile=Model B", "/converter=ani"};
    const Source sources[] = {
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
    };
    const QString named = QStringLiteral("The run log %1 is %2, which the source %3 names; nothing was converted.\n");
    for (const Source& source : sources) {
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
    const QString text = QStringLiteral("The run log %1 is %2, a file of the program that it reads; nothing was "
                                        "converted.\n");
    for (const char* file : {"app/OrvaneSound.so", "app/Help/index.html", "app/Languages/resources/blank.wav"}) {
        const QString log = QString::fromLatin1(file);
        const QByteArray bytes = ReadBytes(W(log));
        ASSERT_FALSE(bytes.isEmpty()) << file;
        for (const bool window : {false, true}) {
            const QStringList words = window ? Words(QStringLiteral("/logfile=") + log)
                                             : Words("/profile=Model A", "/converter=imy", "/destination=out",
                                                     QStringLiteral("/logfile=") + log, "tune.mid");
            const CRun run = Run(words);
            EXPECT_NE(run.exitCode, 0) << file << window;
            EXPECT_EQ(run.err, text.arg(log, W(log))) << file << window;
            EXPECT_EQ(ReadBytes(W(log)), bytes) << file << window;
        }
    }
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
