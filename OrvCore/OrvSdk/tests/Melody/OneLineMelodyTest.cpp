#include "Melody/CMelodyTruncate.h"
#include "MelodyTestSupport.h"
#include "TestProfile.h"
#include "Util/CMemFile.h"

#include <gtest/gtest.h>

namespace {
struct Written
{
    bool ok = false;
    int error = -1;
    QByteArray bytes;
    IBrimselNotes events;
};

Written WriteOneLine(CDocumentMelody& doc, CProfile* profile, int maxSize = CMelodyTruncate::NoSizeLimit)
{
    MessageCapture quiet;
    Written w;
    CMelodyTruncate writer;
    CMemFile file;
    w.ok = writer.WriteOneLineMelody(&doc, w.bytes, profile, maxSize, &file, &w.events, nullptr);
    w.error = writer.GetErrorCode();
    return w;
}

QByteArray Header(int count, int beat, int style, int volume)
{
    return CMelodyTruncate::MakeOneLineHeader(count, beat, style, volume);
}

// A one-line file from its code bytes, with the end byte and a matching count.
QByteArray OneLineFile(const QByteArray& codes, int beat = 120, int style = 0, int volume = 7)
{
    return Header(codes.size() + 1, beat, style, volume) + codes + QByteArray(1, '\x1F');
}

int ParseError(const QByteArray& bytes, CProfile* profile)
{
    MessageCapture quiet;
    CMelodyTruncate reader;
    CDocumentMelody doc;
    return reader.ParseOneLineMelody(bytes, &doc, profile) ? -1 : reader.GetErrorCode();
}

QList<int> Steps(const IBrimselNotes& events)
{
    QList<int> steps;
    for (IBrimselEvent* e : events)
        if (e->GetEventType() == IBrimselEvent::Note)
            steps << static_cast<IBrimselNote*>(e)->GetDeltaVolume();
    return steps;
}

// The notes and rests read back from a one-line file, as dump lines.
QStringList NoteTexts(const QByteArray& bytes, CProfile* profile)
{
    MessageCapture quiet;
    CMelodyTruncate reader;
    CDocumentMelody doc;
    reader.ParseOneLineMelody(bytes, &doc, profile);
    QStringList texts;
    for (const MelodyElement* e : doc.GetMelodyNoteList())
        if (e->GetElementType() == MelodyElement::Note)
            texts << static_cast<const MidiNote*>(e)->Dump();
    return texts;
}

// Notes, repeats, a rest and a loop: every kind of code.
void FillVaried(CDocumentMelody& doc)
{
    MelodyNoteList& list = doc.GetMelodyNoteList();
    list.append(MakeNote(0, 4, 2));
    list.append(MakeNote(0, 4, 3));
    list.append(new MelodyBeginPattern(10));
    list.append(MakeNote(4, 4, 3, 1));
    list.append(MakeRest(4));
    list.append(MakeNote(7, 5, 1, 2, 60));
    list.append(new MelodyEndPattern(10));
    list.append(MakeNote(11, 3, 0, 3));
}
} // namespace

TEST(OneLineMelody, HeaderBytes)
{
    EXPECT_EQ(Header(3, 120, 2, 7), Bytes({'.', 'Q', 'B', 'R', 0x03, 0x00, 0x10, 0x20, 0x1E, 0x27}));
    EXPECT_EQ(Header(0x1234, 63, 1, 15), Bytes({'.', 'Q', 'B', 'R', 0x34, 0x12, 0x10, 0x20, 0x0F, 0xDF}));
}

TEST(OneLineMelody, OneNote)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    doc.SetBeat(120);
    doc.SetStyle(2);
    doc.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    const Written w = WriteOneLine(doc, profile.get());
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.bytes, Header(3, 120, 2, 7) + Bytes({0x10, 0x40, 0x1F}));
}

TEST(OneLineMelody, RepeatedPitchesAndVolumeChanges)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody equal;
    equal.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    equal.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    EXPECT_EQ(WriteOneLine(equal, profile.get()).bytes.mid(10), Bytes({0x10, 0x40, 0x15, 0x1F}));

    CDocumentMelody louder;
    louder.GetMelodyNoteList().append(MakeNote(0, 4, 2, 0, 127));
    louder.GetMelodyNoteList().append(MakeNote(0, 4, 2, 0, 64));
    // Levels 7 then 3: a rest of the note's length parts the two, one step down.
    EXPECT_EQ(WriteOneLine(louder, profile.get()).bytes.mid(10), Bytes({0x10, 0x40, 0x13, 0x14, 0x40, 0x1F}));
}

TEST(OneLineMelody, VolumeMovesOneLevelPerNote)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    doc.SetVolume(15);
    const int pitches[] = {0, 2, 4, 5, 7, 9, 11, 1, 3};
    for (int i = 0; i < 9; ++i)
        doc.GetMelodyNoteList().append(MakeNote(pitches[i], 4, 3, 0, i < 4 ? 100 : 127));
    // Levels 11 for the first four notes and 15 for the rest, from level 15.
    const Written w = WriteOneLine(doc, profile.get());
    EXPECT_EQ(Steps(w.events), (QList<int>{-1, -1, -1, -1, 1, 1, 1, 1, 0}));
}

TEST(OneLineMelody, SizeLimitKeepsTheFirstNotes)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    for (int i = 0; i < 100; ++i)
        doc.GetMelodyNoteList().append(MakeNote(i % 2 ? 2 : 0, 4, 3));
    const Written w = WriteOneLine(doc, profile.get(), 60);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.bytes.size(), 59); // 24 notes of 2 bytes; a 25th would need 61
    EXPECT_EQ(w.events.count(), 24);
    const int count = static_cast<uchar>(w.bytes[4]) | static_cast<uchar>(w.bytes[5]) << 8;
    EXPECT_EQ(count, w.bytes.size() - 10);
    EXPECT_EQ(static_cast<uchar>(w.bytes.back()), 0x1F);
}

TEST(OneLineMelody, LoopOpeningNeedsRoomForItsClose)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    MelodyNoteList& list = doc.GetMelodyNoteList();
    list.append(MakeNote(0, 4, 2));
    list.append(new MelodyBeginPattern(3));
    list.append(MakeNote(2, 4, 2));
    list.append(MakeNote(4, 4, 2));
    list.append(new MelodyEndPattern(3));
    // Room for the first note and the opening, but not its close: dropped.
    Written w = WriteOneLine(doc, profile.get(), 11 + 2 + 1 + 2 + 2);
    EXPECT_EQ(w.bytes.mid(10), Bytes({0x10, 0x40, 0x10, 0x42, 0x10, 0x44, 0x1F}));
    // Room for everything.
    w = WriteOneLine(doc, profile.get(), 11 + 8);
    EXPECT_EQ(w.bytes.mid(10), Bytes({0x10, 0x40, 0x09, 0x10, 0x42, 0x10, 0x44, 0x79, 0x1F}));
    // One byte after the note: the opening leaves no byte for its close.
    w = WriteOneLine(doc, profile.get(), 11 + 3);
    EXPECT_EQ(w.bytes.mid(10), Bytes({0x10, 0x40, 0x1F}));
}

TEST(OneLineMelody, RepeatCountComesFromTheClose)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    doc.GetMelodyNoteList().append(new MelodyBeginPattern(0));
    doc.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    doc.GetMelodyNoteList().append(new MelodyEndPattern(10));
    EXPECT_EQ(WriteOneLine(doc, profile.get()).bytes.mid(10), Bytes({0x29, 0x10, 0x40, 0x59, 0x1F}));
}

TEST(OneLineMelody, TooSmallALimitIsBadSize)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    doc.GetMelodyNoteList().append(MakeNote(0, 4, 2));
    for (int maxSize : {10, 0, -1, -100000}) {
        const Written w = WriteOneLine(doc, profile.get(), maxSize);
        EXPECT_FALSE(w.ok);
        EXPECT_EQ(w.error, 20);
        EXPECT_TRUE(w.bytes.isEmpty());
    }
    const Written empty = WriteOneLine(doc, profile.get(), 11);
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.bytes, Header(1, 63, 0, 7) + Bytes({0x1F}));
}

TEST(OneLineMelody, ReadBack)
{
    ProfileValues values;
    values.minBpm = 40;
    values.maxBpm = 200;
    std::unique_ptr<CProfile> profile = MakeProfile(values);
    CDocumentMelody doc;
    doc.SetBeat(300);
    doc.SetStyle(1);
    doc.SetVolume(9);
    FillVaried(doc);
    const Written w = WriteOneLine(doc, profile.get());
    ASSERT_TRUE(w.ok);

    MessageCapture quiet;
    CMelodyTruncate reader;
    CDocumentMelody back;
    ASSERT_TRUE(reader.ParseOneLineMelody(w.bytes, &back, profile.get())) << reader.GetErrorText().toStdString();
    EXPECT_EQ(back.GetBeat(), 200);
    EXPECT_EQ(back.GetStyle(), 1);
    EXPECT_EQ(back.GetVolume(), 9);
    const MelodyNoteList& a = doc.GetMelodyNoteList();
    const MelodyNoteList& b = back.GetMelodyNoteList();
    ASSERT_EQ(a.count(), b.count());
    for (int i = 0; i < a.count(); ++i) {
        ASSERT_EQ(a.at(i)->GetElementType(), b.at(i)->GetElementType()) << i;
        if (a.at(i)->GetElementType() == MelodyElement::Note) {
            const MidiNote* x = static_cast<const MidiNote*>(a.at(i));
            const MidiNote* y = static_cast<const MidiNote*>(b.at(i));
            EXPECT_EQ(x->GetValue(), y->GetValue()) << i;
            if (!x->IsSilence()) {
                EXPECT_EQ(x->GetOctave(), y->GetOctave()) << i;
            }
            EXPECT_EQ(x->GetDuration(), y->GetDuration()) << i;
            EXPECT_EQ(x->GetDurationModifier(), y->GetDurationModifier()) << i;
        } else if (a.at(i)->GetElementType() == MelodyElement::EndPattern) {
            EXPECT_EQ(static_cast<const MelodyEndPattern*>(b.at(i))->GetRepeatCount(), 10);
        }
    }
}

TEST(OneLineMelody, ReaderErrors)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    struct Case
    {
        QByteArray bytes;
        int error;
        const char* what;
    };
    const QByteArray header = Header(1, 120, 0, 7);
    const Case cases[] = {
        {Bytes({'.', 'Q', 'B'}), 20, "shorter than the header"},
        {header.left(9), 20, "nine header bytes"},
        {header, 20, "count of 1 without its byte"},
        {OneLineFile(Bytes({0x10, 0x40})) + Bytes({0x00}), 20, "one byte too many"},
        {Header(1, 120, 0, 7) + Bytes({0x10}), 20, "note without its second byte"},
        {OneLineFile(Bytes({0x10, 0x4D})), 15, "pitch nibble 13"},
        {OneLineFile(Bytes({0x10, 0x4F})), 15, "pitch nibble 15"},
        {OneLineFile(Bytes({0x30, 0x40})), 15, "note duration code 6"},
        {OneLineFile(Bytes({0x3B})), 15, "silence duration code 7"},
        {OneLineFile(Bytes({0x10, 0x90})), 13, "octave 9"},
        {OneLineFile(Bytes({0x16, 0x40})), 18, "volume step code 3"},
        {OneLineFile(Bytes({0x15})), 17, "short silence first"},
        {OneLineFile(Bytes({0x13, 0x15})), 17, "short silence after a rest only"},
        {OneLineFile(Bytes({0x19})), 16, "close without opening"},
        {OneLineFile(Bytes({0x09, 0x10, 0x40})), 19, "opening never closed"},
        {OneLineFile(Bytes({0x10, 0x40}), 120, 3, 7), 14, "style 3"},
        {OneLineFile(Bytes({0x01})), 15, "undefined code"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseError(c.bytes, profile.get()), c.error) << c.what;
    EXPECT_EQ(ParseError(OneLineFile(Bytes({0x10, 0x40, 0x15, 0x09, 0x13, 0x39})), profile.get()), -1);
}

TEST(OneLineMelody, EveryTruncationPoint)
{
    std::unique_ptr<CProfile> profile = MakeProfile();
    CDocumentMelody doc;
    FillVaried(doc);
    FillVaried(doc);
    const Written full = WriteOneLine(doc, profile.get());
    ASSERT_TRUE(full.ok);
    const int length = full.bytes.size();
    const QStringList allNotes = NoteTexts(full.bytes, profile.get());
    ASSERT_EQ(allNotes.size(), 12);

    for (int cut = 0; cut < length; ++cut) {
        const QByteArray prefix = full.bytes.left(cut);
        EXPECT_EQ(ParseError(prefix, profile.get()), 20) << cut;
        if (cut >= 10) {
            // The same prefix with a count that matches it: cut inside a note
            // or a loop it fails cleanly, else it reads.
            QByteArray consistent = prefix;
            consistent[4] = static_cast<char>((cut - 10) & 0xFF);
            consistent[5] = static_cast<char>((cut - 10) >> 8);
            const int error = ParseError(consistent, profile.get());
            EXPECT_TRUE(error == -1 || error == 20 || error == 19) << cut << " " << error;
        }
    }

    for (int maxSize = 0; maxSize <= length + 2; ++maxSize) {
        MessageCapture quiet;
        CMelodyTruncate truncate;
        QByteArray out;
        const bool ok = truncate.TruncateOneLineMelody(full.bytes, out, maxSize, profile.get());
        if (maxSize < 11) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(truncate.GetErrorCode(), 20);
            EXPECT_TRUE(out.isEmpty());
            continue;
        }
        ASSERT_TRUE(ok) << maxSize;
        EXPECT_LE(out.size(), maxSize);
        EXPECT_EQ(ParseError(out, profile.get()), -1) << maxSize;
        // What is kept is the start of the melody; only a loop cut open
        // loses its opening.
        const QStringList kept = NoteTexts(out, profile.get());
        EXPECT_EQ(kept, allNotes.mid(0, kept.size())) << maxSize;
        if (maxSize >= length) {
            EXPECT_EQ(out, full.bytes);
        }
    }
}
