// Property tests: generated melodies written and read back in both formats.
#include "Melody/CMelodyTruncate.h"
#include "MelodyTestSupport.h"
#include "TestProfile.h"
#include "Util/CMemFile.h"

#include <gtest/gtest.h>
#include <random>

namespace {
const int kLow = 48;
const int kHigh = 95;

struct Generator
{
    std::mt19937 rng;
    explicit Generator(unsigned seed) : rng(seed) {}
    int Range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    MidiNote* Note()
    {
        if (Range(0, 5) == 0)
            return MakeRest(Range(0, 5), Range(0, 3));
        MidiNote* note = MakeNote(0, 0, Range(0, 5), Range(0, 3), Range(1, 127));
        note->SetMidiKey(Range(kLow, kHigh));
        return note;
    }

    // Notes with non-nested loops; maxRepeat bounds the loop counts.
    void Fill(CDocumentMelody& doc, int maxRepeat)
    {
        doc.SetBeat(Range(25, 900));
        doc.SetStyle(Range(0, 2));
        doc.SetVolume(Range(0, 15));
        QString name;
        for (int i = Range(1, 8); i > 0; --i)
            name += QLatin1Char(static_cast<char>(Range(0, 1) ? 'a' + Range(0, 25) : '0' + Range(0, 9)));
        doc.SetMelodyName(name);
        MelodyNoteList& list = doc.GetMelodyNoteList();
        for (int i = Range(0, 60); i > 0; --i) {
            if (Range(0, 12) == 0) {
                const int count = Range(0, maxRepeat);
                list.append(new MelodyBeginPattern(count));
                for (int j = Range(1, 5); j > 0; --j)
                    list.append(Note());
                list.append(new MelodyEndPattern(count));
            } else {
                list.append(Note());
            }
        }
    }
};

// Value, octave (notes only), duration and modifier of every note and the
// counts of the loops.
QStringList Shape(const MelodyNoteList& list)
{
    return DescribeElements(list, true);
}

QStringList NotesOnly(const QStringList& shape)
{
    QStringList notes;
    for (const QString& s : shape)
        if (!s.startsWith(QLatin1Char('(')) && !s.startsWith(QLatin1Char(')')))
            notes << s;
    return notes;
}
} // namespace

TEST(RoundTrip, IMelodyWrittenThenParsed)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> wrapping = BandProfile(kLow, kHigh);
    std::unique_ptr<CProfile> single = BandProfile(kLow, kHigh, true);

    Generator gen(20240611u);
    for (int round = 0; round < 400; ++round) {
        CDocumentMelody doc;
        gen.Fill(doc, 15);
        bool flags[CMelodyTruncate::HeaderLineCount];
        for (bool& f : flags)
            f = gen.Range(0, 3) != 0;
        CProfile* profile = gen.Range(0, 1) ? wrapping.get() : single.get();

        CMelodyTruncate melody;
        QByteArray text;
        IMYNotes events;
        ASSERT_TRUE(melody.WriteIMelody(&doc, flags[0], flags[1], flags[2], flags[3], flags[4], flags[5], flags[6],
                                        profile, text, 4294967295u, events));
        CDocumentMelody back;
        bool found[CMelodyTruncate::HeaderLineCount];
        bool oneLine = false;
        ASSERT_TRUE(melody.ParseIMelody(text, &back, profile, found, &oneLine))
            << round << " " << melody.GetErrorText().toStdString() << "\n"
            << text.toStdString();

        EXPECT_EQ(Shape(back.GetMelodyNoteList()), Shape(doc.GetMelodyNoteList())) << round;
        for (int i = 0; i < CMelodyTruncate::HeaderLineCount; ++i)
            EXPECT_EQ(found[i], flags[0] && flags[i]) << round << " line " << i;
        if (flags[0] && flags[4]) {
            EXPECT_EQ(back.GetBeat(), doc.GetBeat());
        }
        if (flags[0] && flags[5]) {
            EXPECT_EQ(back.GetStyle(), doc.GetStyle());
        }
        if (flags[0] && flags[6]) {
            EXPECT_EQ(back.GetVolume(), doc.GetVolume());
        }
        if (flags[0] && flags[3]) {
            EXPECT_EQ(back.GetMelodyName(), doc.GetMelodyName());
        }

        // Every volume step written reads back as the same step.
        VolumeInfo info;
        info.nTopLevel = doc.GetVolume();
        MidiNote::ComputeVolumeFactors(doc.GetMelodyNoteList(), info);
        const MidiNote* previous = nullptr;
        const MidiNote* previousBack = nullptr;
        for (int i = 0; i < doc.GetMelodyNoteList().count(); ++i) {
            if (doc.GetMelodyNoteList().at(i)->GetElementType() != MelodyElement::Note)
                continue;
            const MidiNote* n = static_cast<const MidiNote*>(doc.GetMelodyNoteList().at(i));
            const MidiNote* b = static_cast<const MidiNote*>(back.GetMelodyNoteList().at(i));
            if (n->IsSilence())
                continue;
            if (previous) {
                const int step = n->GetVolumeLevel(info) - previous->GetVolumeLevel(info);
                EXPECT_EQ((b->GetVolume() - previousBack->GetVolume()) & 0xFF, (step * 8) & 0xFF) << round;
            }
            previous = n;
            previousBack = b;
        }
    }
}

TEST(RoundTrip, IMelodyTruncatedToEverySize)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = BandProfile(kLow, kHigh);

    Generator gen(77u);
    for (int round = 0; round < 12; ++round) {
        CDocumentMelody doc;
        gen.Fill(doc, 15);
        CMelodyTruncate melody;
        QByteArray full;
        IMYNotes events;
        ASSERT_TRUE(melody.WriteIMelody(&doc, true, round % 2, true, true, true, true, true, profile.get(), full,
                                        4294967295u, events));
        const QStringList notes = NotesOnly(Shape(doc.GetMelodyNoteList()));
        for (int maxSize = 0; maxSize <= full.size() + 1; ++maxSize) {
            QByteArray out;
            const bool ok = melody.Truncate(full, out, maxSize, profile.get());
            if (!ok) {
                EXPECT_EQ(melody.GetErrorCode(), 0) << maxSize;
                EXPECT_TRUE(out.isEmpty());
                continue;
            }
            EXPECT_LE(out.size(), maxSize);
            EXPECT_TRUE(out.endsWith("END:IMELODY"));
            EXPECT_EQ(out.contains("VERSION:1.0"), round % 2 == 1);
            CDocumentMelody back;
            ASSERT_TRUE(melody.ParseIMelody(out, &back, profile.get(), nullptr, nullptr)) << out.toStdString();
            EXPECT_TRUE(back.CheckPatterns());
            const QStringList kept = NotesOnly(Shape(back.GetMelodyNoteList()));
            EXPECT_EQ(kept, notes.mid(0, kept.size())) << maxSize;
            if (maxSize >= full.size()) {
                // Everything fits; only the volume marks (and so the line
                // breaks) are recomputed from the levels read back.
                auto strip = [](QByteArray text) {
                    for (char c : {'+', '-', '\r', '\n', ' '})
                        text.replace(c, "");
                    return text;
                };
                const QByteArray a = strip(out);
                const QByteArray b = strip(full);
                EXPECT_EQ(kept.size(), notes.size());
                EXPECT_EQ(a, b);
            }
        }
    }
}

TEST(RoundTrip, OneLineWrittenThenRead)
{
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = BandProfile(kLow, kHigh);

    Generator gen(4242u);
    for (int round = 0; round < 400; ++round) {
        CDocumentMelody doc;
        gen.Fill(doc, 63);
        doc.SetBeat(gen.Range(25, 900));
        CMelodyTruncate melody;
        QByteArray bytes;
        CMemFile file;
        IBrimselNotes events;
        ASSERT_TRUE(melody.WriteOneLineMelody(&doc, bytes, profile.get(), CMelodyTruncate::NoSizeLimit, &file, &events,
                                              nullptr));
        CDocumentMelody back;
        ASSERT_TRUE(melody.ParseOneLineMelody(bytes, &back, profile.get()))
            << round << " " << melody.GetErrorText().toStdString();
        EXPECT_EQ(back.GetBeat(), doc.GetBeat());
        EXPECT_EQ(back.GetStyle(), doc.GetStyle());
        EXPECT_EQ(back.GetVolume(), doc.GetVolume());
        // A repeated pitch at a new level is parted by a rest of its length.
        QStringList expected;
        const QStringList original = Shape(doc.GetMelodyNoteList());
        VolumeInfo info;
        info.nTopLevel = doc.GetVolume();
        MidiNote::ComputeVolumeFactors(doc.GetMelodyNoteList(), info);
        int level = info.nTopLevel;
        const MidiNote* previous = nullptr;
        for (int i = 0; i < doc.GetMelodyNoteList().count(); ++i) {
            const MelodyElement* e = doc.GetMelodyNoteList().at(i);
            if (e->GetElementType() == MelodyElement::Note && !static_cast<const MidiNote*>(e)->IsSilence()) {
                const MidiNote* n = static_cast<const MidiNote*>(e);
                const int target = n->GetVolumeLevel(info);
                const bool same =
                    previous && previous->GetValue() == n->GetValue() && previous->GetOctave() == n->GetOctave();
                if (target != level) {
                    if (same)
                        expected << QStringLiteral("12/0/%1/%2").arg(n->GetDuration()).arg(n->GetDurationModifier());
                    level += target > level ? 1 : -1;
                }
                previous = n;
            }
            expected << original.at(i);
        }
        EXPECT_EQ(Shape(back.GetMelodyNoteList()), expected) << round;
    }
}

TEST(RoundTrip, WideBandsStillWriteOnlyReadableOctaves)
{
    // A band wider than the octaves 0 to 8 of both texts: the lowest and the
    // highest MIDI notes must still come back, an octave moved, pitch kept.
    MessageCapture quiet;
    std::unique_ptr<CProfile> profile = BandProfile(0, 200);

    CDocumentMelody doc;
    doc.SetMelodyName(QStringLiteral("Edges"));
    for (int key : {1, 12, 23, 60, 131, 140}) {
        MidiNote* note = MakeNote(0, 0, 2);
        note->SetMidiKey(key);
        doc.GetMelodyNoteList().append(note);
    }
    const QStringList expected = {QStringLiteral("1/0/2/0"), QStringLiteral("0/0/2/0"),  QStringLiteral("11/0/2/0"),
                                  QStringLiteral("0/3/2/0"), QStringLiteral("11/8/2/0"), QStringLiteral("8/8/2/0")};

    CMelodyTruncate melody;
    QByteArray text;
    IMYNotes events;
    ASSERT_TRUE(melody.WriteIMelody(&doc, true, true, true, true, true, true, true, profile.get(), text,
                                    CMelodyTruncate::NoSizeLimit, events));
    CDocumentMelody fromText;
    ASSERT_TRUE(melody.ParseIMelody(text, &fromText, profile.get(), nullptr, nullptr)) << text.toStdString();
    EXPECT_EQ(Shape(fromText.GetMelodyNoteList()), expected);

    QByteArray bytes;
    CMemFile file;
    IBrimselNotes codes;
    ASSERT_TRUE(
        melody.WriteOneLineMelody(&doc, bytes, profile.get(), CMelodyTruncate::NoSizeLimit, &file, &codes, nullptr));
    CDocumentMelody fromCodes;
    ASSERT_TRUE(melody.ParseOneLineMelody(bytes, &fromCodes, profile.get())) << melody.GetErrorText().toStdString();
    EXPECT_EQ(Shape(fromCodes.GetMelodyNoteList()), expected);
    // The document itself keeps its notes as they were.
    EXPECT_EQ(static_cast<const MidiNote*>(doc.GetMelodyNoteList().at(0))->GetMidiKey(), 1);
}
