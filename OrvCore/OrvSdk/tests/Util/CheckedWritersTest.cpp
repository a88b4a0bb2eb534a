// The writers of whole files check every byte they write: one cut by a file size limit fails and leaves the file it
// would replace as it was.
#include "ForkedChild.h"
#include "Melody/CDocumentMidi.h"
#include "MidiFileBuilder.h"
#include "Plugin/CConversionLog.h"
#include "QtPrinters.h"
#include "TestBytes.h"
#include "Util/CMemFile.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A Standard MIDI File of a few kilobytes.
QByteArray LongMidiFile()
{
    SmfTrack track;
    for (int note = 0; note < 400; ++note)
        track.NoteOn(0, 0, 60 + note % 12, 100).NoteOff(120, 0, 60 + note % 12);
    return SmfFile({track});
}

// Each writer of a whole file, past a file size limit: the write fails (a writer without a result says nothing),
// and the file it would replace keeps its bytes; a new file is not left cut.
TEST(CheckedWriters, AWriteCutByTheFileSizeLimitLeavesTheFileAsItWas)
{
    const QByteArray midiBytes = LongMidiFile();
    ASSERT_GT(midiBytes.size(), 2000);
    const QString text(3000, QLatin1Char('n'));
    const struct
    {
        const char* writer;
        std::function<bool(const QString& path)> write; // true when it said it failed
    } cases[] = {
        {"CMemFile::WriteFile",
         [&](const QString& path) {
             CMemFile file;
             file.Write(midiBytes.constData(), 1, uint(midiBytes.size()));
             return !file.WriteFile(QFile::encodeName(path).constData(), CMemFile::ModeBinary);
         }},
        {"CDocumentMidi::SaveMidiFile",
         [&](const QString& path) {
             CDocumentMidi midi;
             midi.SetRawData(reinterpret_cast<const unsigned char*>(midiBytes.constData()), unsigned(midiBytes.size()));
             return !midi.SaveMidiFile(path);
         }},
        {"CConversionLog::SaveToFile",
         [&](const QString& path) {
             CConversionLog log;
             log.AddText(CConversionLog::SUMMARY, text);
             log.SaveToFile(path);
             return true;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writer);
        for (const bool replacing : {true, false}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("out.bin"));
            if (replacing) {
                ASSERT_TRUE(WriteFileBytes(path, "old"));
            }
            const CChildEnd end = RunInChild([&] {
                LimitFileSize(1000);
                ::_exit(c.write(path) ? 0 : 1);
            });
            EXPECT_TRUE(end.ExitedWithZero()) << end.err.constData();
            EXPECT_EQ(FilesIn(dir.path()), replacing ? QStringList{QStringLiteral("out.bin")} : QStringList());
            if (replacing) {
                EXPECT_EQ(ReadFileBytes(path), "old");
            }
        }
    }
}

} // namespace
