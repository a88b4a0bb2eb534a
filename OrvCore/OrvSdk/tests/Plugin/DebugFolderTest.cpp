// A converter's debug files are written as its results are: a run stopped while one of them is written leaves
// that one absent and the ones written before it whole, and none replaces a file of the run.
#include "Documents/CDocumentAbstract.h"
#include "ForkedChild.h"
#include "Plugin/CConversionLog.h"
#include "Plugin/CDebugFolder.h"
#include "Plugin/CRunFiles.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include "Text/CLanguageResources.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DebugFolder, AStopWhileAFileIsWrittenLeavesItAbsentAndTheEarlierOnesWhole)
{
    const QByteArray trace(5000, 't');
    const QByteArray preview(64 * 1024, 'p');
    for (const int signal : {SIGINT, SIGTERM}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString debug = dir.filePath(QStringLiteral("Debug"));
        const CChildEnd child = RunInChild([&]() {
            CDocumentAbstract document;
            document.SetName(dir.filePath(QStringLiteral("song.mid")));
            CDebugFolder folder({QStringLiteral("Trace.txt"), QStringLiteral("Preview.wav")});
            folder.Prepare(&document, true);
            folder.Write(QStringLiteral("Trace.txt"), trace);
            // Stopped half-way through the preview, as Ctrl+C would stop it.
            folder.WriteWith(QStringLiteral("Preview.wav"), [&preview, signal](const QString& file) {
                QFile out(file);
                if (out.open(QIODevice::WriteOnly))
                    out.write(preview.left(preview.size() / 2));
                out.close();
                ::kill(::getpid(), signal);
                out.open(QIODevice::Append);
                out.write(preview.mid(preview.size() / 2));
                return true;
            });
        });
        EXPECT_TRUE(child.EndedBy(signal)) << signal;
        EXPECT_EQ(QDir(debug).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  QStringList{QStringLiteral("Trace.txt")})
            << signal;
        EXPECT_EQ(ReadFileBytes(debug + QStringLiteral("/Trace.txt")), trace) << signal;
    }
}

TEST(DebugFolder, FilesAreWholeAndNeverWrittenThroughALink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CDocumentAbstract document;
    document.SetName(dir.filePath(QStringLiteral("song.mid")));
    QFile outside(dir.filePath(QStringLiteral("outside.txt")));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.write("mine");
    outside.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Debug")));
    ASSERT_TRUE(QFile::link(outside.fileName(), dir.filePath(QStringLiteral("Debug/Out.seq"))));

    CDebugFolder folder({QStringLiteral("Trace.txt"), QStringLiteral("Out.seq"), QStringLiteral("Preview.wav")});
    ASSERT_EQ(folder.Prepare(&document, true), dir.filePath(QStringLiteral("Debug")));
    folder.Write(QStringLiteral("Trace.txt"), QByteArray("trace\0", 6));
    folder.Write(QStringLiteral("Out.seq"), "sequence");
    folder.WriteWith(QStringLiteral("Preview.wav"), [](const QString&) { return false; });

    EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("Debug/Trace.txt"))), QByteArray("trace\0", 6));
    EXPECT_EQ(ReadFileBytes(outside.fileName()), QByteArray("mine"));
    // A failed write leaves neither the file nor its temporary file.
    EXPECT_EQ(
        QDir(dir.filePath(QStringLiteral("Debug"))).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name),
        (QStringList{QStringLiteral("Out.seq"), QStringLiteral("Trace.txt")}));
}

// A debug file that is a source of the run, its parameter file or its run log (by any name) is neither removed
// when the folder is prepared nor written; the conversion log says which file it is.
TEST(DebugFolder, AFileOfTheRunIsSkippedWithALineNamingBoth)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString debug = dir.filePath(QStringLiteral("Debug"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Debug")));
    ASSERT_TRUE(WriteFileBytes(debug + QStringLiteral("/Dest.mid"), "a source"));
    ASSERT_TRUE(WriteFileBytes(debug + QStringLiteral("/Trace.txt"), "the log"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("params.xml")), "parameters"));
    // The parameter file reaches the debug folder through a hard link.
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath(QStringLiteral("params.xml"))).constData(),
                     QFile::encodeName(debug + QStringLiteral("/Out.seq")).constData()),
              0);
    CRunFiles files;
    files.Add(CRunFiles::SOURCE, QStringLiteral("Debug/../Debug/Dest.mid").prepend(dir.path() + QLatin1Char('/')));
    files.Add(CRunFiles::PARAMETER_FILE, dir.filePath(QStringLiteral("params.xml")));
    files.Add(CRunFiles::RUN_LOG, debug + QStringLiteral("/Trace.txt"));

    CDocumentAbstract document;
    document.SetName(dir.filePath(QStringLiteral("song.mid")));
    CConversionLog log;
    CDebugFolder folder({QStringLiteral("Trace.txt"), QStringLiteral("Dest.mid"), QStringLiteral("Out.seq"),
                         QStringLiteral("Preview.wav")});
    ASSERT_EQ(folder.Prepare(&document, true, &files, &log), debug);
    for (const char* name : {"Trace.txt", "Dest.mid", "Out.seq", "Preview.wav"})
        folder.Write(QString::fromLatin1(name), "debug bytes");

    EXPECT_EQ(ReadFileBytes(debug + QStringLiteral("/Dest.mid")), "a source");
    EXPECT_EQ(ReadFileBytes(debug + QStringLiteral("/Trace.txt")), "the log");
    EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("params.xml"))), "parameters");
    EXPECT_EQ(ReadFileBytes(debug + QStringLiteral("/Preview.wav")), "debug bytes");
    const QString said =
        QStringLiteral(
            "The debug file %1/Trace.txt was not written: it is the run log %1/Trace.txt of this run.\n"
            "The debug file %1/Dest.mid was not written: it is the source %2/Debug/../Debug/Dest.mid of "
            "this run.\n"
            "The debug file %1/Out.seq was not written: it is the parameter file %2/params.xml of this run.\n")
            .arg(debug, dir.path());
    EXPECT_EQ(log.GetSummaryText(), said);
    CLanguageResources::Load(QString());
}

// A debug file that cannot be written fails the conversion: the log names the file and the system's reason, and
// nothing of it is left.
TEST(DebugFolder, AFileThatCannotBeWrittenFailsTheConversionWithTheReason)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString debug = dir.filePath(QStringLiteral("Debug"));
    ASSERT_TRUE(QDir().mkpath(debug + QStringLiteral("/Out.seq")));
    CDocumentAbstract document;
    document.SetName(dir.filePath(QStringLiteral("song.mid")));
    CConversionLog log;
    CDebugFolder folder({QStringLiteral("Trace.txt"), QStringLiteral("Out.seq"), QStringLiteral("Preview.wav")});
    ASSERT_EQ(folder.Prepare(&document, true, nullptr, &log), debug);
    EXPECT_TRUE(folder.Write(QStringLiteral("Trace.txt"), "trace"));
    EXPECT_FALSE(folder.HasFailed());
    EXPECT_FALSE(folder.Write(QStringLiteral("Out.seq"), "sequence"));
    EXPECT_FALSE(folder.WriteWith(QStringLiteral("Preview.wav"), [](const QString&) { return false; }));
    EXPECT_TRUE(folder.HasFailed());
    EXPECT_EQ(log.GetSummaryText(),
              QStringLiteral("The debug file %1/Out.seq cannot be written: Is a directory.\n"
                             "The debug file %1/Preview.wav cannot be written: the file could not be written.\n")
                  .arg(debug));
    EXPECT_EQ(QDir(debug).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
              QStringList{QStringLiteral("Trace.txt")});
    // A folder that cannot be made fails too; the next preparation starts afresh.
    CDocumentAbstract lost;
    lost.SetName(dir.filePath(QStringLiteral("gone/song.mid")));
    EXPECT_TRUE(folder.Prepare(&lost, true, nullptr, &log).isEmpty());
    EXPECT_TRUE(folder.HasFailed());
    EXPECT_TRUE(folder.Prepare(&document, true).size() > 0);
    EXPECT_FALSE(folder.HasFailed());
    CLanguageResources::Load(QString());
}

} // namespace
