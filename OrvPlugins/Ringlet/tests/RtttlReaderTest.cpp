// Reading ring-tone texts written here into notes, values and warnings.
#include "RtttlReader.h"

#include <climits>
#include <gtest/gtest.h>

namespace {
// Notes as "A4/3." : pitch, octave (the text's - 1), duration index, dot.
QString Describe(const QList<RtttlNote>& notes)
{
    static const char* const Names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B", "R"};
    QStringList parts;
    for (const RtttlNote& note : notes)
        parts << QStringLiteral("%1%2/%3%4")
                     .arg(QString::fromLatin1(Names[note.pitch]))
                     .arg(note.octave)
                     .arg(note.durationIndex)
                     .arg(note.dotted ? QStringLiteral(".") : QString());
    return parts.join(QLatin1Char(' '));
}

std::string Lines(const QStringList& texts)
{
    return texts.join(QLatin1Char('\n')).toStdString();
}

const QString Name = QString::fromLatin1(RtttlMessage::NameNotFound);
const QString Feature = QString::fromLatin1(RtttlMessage::UnrecognizedFeature);
const QString Sequence = QString::fromLatin1(RtttlMessage::UnrecognizedSequence);
const QString Short = QString::fromLatin1(RtttlMessage::ShortNotes);
const QString Moved = QString::fromLatin1(RtttlMessage::OctaveMoved);

struct Case
{
    QByteArray text;
    QString name;
    int beat, style, loop;
    QString notes;
    QStringList messages;
};
} // namespace

TEST(RtttlReader, Texts)
{
    const Case cases[] = {
        {"Test:d=8,o=5,b=125:8a5,16h.5,p,d#6",
         QStringLiteral("test"),
         125,
         0,
         0,
         QStringLiteral("A4/3 B4/4. R4/3 D#5/3"),
         {}},
        {"4c,4d", QString(), 63, 0, 0, QStringLiteral("C5/2 D5/2"), {Name}},
        {"x:d=4,o=5,b=100,l=2:4c", QStringLiteral("x"), 100, 0, 2, QStringLiteral("C4/2"), {}},
        // One dot on either side of the octave; "_" is a sharp in the notes only.
        {"x:d=4,o=5,b=100:8c6.,8c.6,8a_5,8a#5",
         QStringLiteral("x"),
         100,
         0,
         0,
         QStringLiteral("C5/3. C5/3. A#4/3 A#4/3"),
         {}},
        {"o_tannenbaum:d=4,o=5:a_,p.,8c.6.,8c6..,8c9.,e_,8g_.4",
         QStringLiteral("o_tannenbaum"),
         63,
         0,
         0,
         QStringLiteral("A#4/2 R4/2. G#3/3."),
         {Feature, Feature, Feature, Feature}},
        // "b" is B as "h" is, with its duration, dot and octave; "b=" stays the beat.
        {"x:d=4,o=5,b=100:8b5,8h5,8c6", QStringLiteral("x"), 100, 0, 0, QStringLiteral("B4/3 B4/3 C5/3"), {}},
        {"x:d=16,o=6,b=90:b,4b.,32b7,b=140,b4,h#5,b#5",
         QStringLiteral("x"),
         90,
         0,
         0,
         QStringLiteral("B5/4 B5/2. B6/5 B3/4"),
         {Feature, Feature}},
        // 48ths and 64ths are the melody's shortest note, with one warning for the tune.
        {"x:d=4:64c,c,48d.,32e", QStringLiteral("x"), 63, 0, 0, QStringLiteral("C5/5 C5/2 D5/5. E5/5"), {Short}},
        {"x:d=4:24c,96c,128c", QStringLiteral("x"), 63, 0, 0, QString(), {Feature, Feature, Feature}},
        {"x:d=64:c", QStringLiteral("x"), 63, 0, 0, QStringLiteral("C5/2"), {Feature}},
        {"x:o=5:o=9,4c,o=4,4c", QStringLiteral("x"), 63, 0, 0, QStringLiteral("C4/2 C3/2"), {Feature}},
        {"x:b=100:b=200,s=s,4c", QStringLiteral("x"), 100, 0, 0, QStringLiteral("C5/2"), {}},
        {"x::q=1,=5,4c", QStringLiteral("x"), 63, 0, 0, QStringLiteral("C5/2"), {Feature, Feature}},
        {"x:d=4:8c,,8d", QStringLiteral("x"), 63, 0, 0, QStringLiteral("C5/3"), {Feature}},
        {"X:D=4,O=5,B=90:8C, 8D#\r\n,\t16G", QStringLiteral("x"), 90, 0, 0, QStringLiteral("C4/3 D#4/3 G4/4"), {}},
        {"x:d=8,o=5,b=100,s=s,l=1,d=16:c", QStringLiteral("x"), 100, 2, 1, QStringLiteral("C4/3"), {}},
        {"x:s=c:c", QStringLiteral("x"), 63, 1, 0, QStringLiteral("C5/2"), {}},
        {"x:s=x,s:c", QStringLiteral("x"), 63, 0, 0, QStringLiteral("C5/2"), {Feature}},
        {"d=4,o=5,b=100:4c", QString(), 100, 0, 0, QStringLiteral("C4/2"), {Name}},
        {":d=4:c", QString(), 63, 0, 0, QStringLiteral("C5/2"), {Name}},
        {"x:d=4:", QStringLiteral("x"), 63, 0, 0, QString(), {}},
        {"x:l=15:c", QStringLiteral("x"), 63, 0, 15, QStringLiteral("C5/2"), {}},
        {"x:l=16,o=3,o=8,b=0,b=1000:c",
         QStringLiteral("x"),
         63,
         0,
         0,
         QStringLiteral("C7/2"),
         {Feature, Feature, Feature, Moved}},
        {"x:d=4:8c9,8c3,8cd,32g#7,1a#4",
         QStringLiteral("x"),
         63,
         0,
         0,
         QStringLiteral("C2/3 G#6/5 A#3/0"),
         {Feature, Moved, Feature}},
        // Every octave digit 0 to 8, in a note, the defaults or a control; a rest needs no octave.
        {"x:o=0:c,c8,o=2,c,o=9,p3,c4",
         QStringLiteral("x"),
         63,
         0,
         0,
         QStringLiteral("C-1/2 C7/2 C1/2 R2/2 C3/2"),
         {Moved, Feature}},
        // The sharp after the octave, alone or before a dot; only a note that has a sharp takes it.
        {"x:d=8,o=5:a5#,c6#.,f.5#,g_5#,e5#,h5#,p5#,a5.#,a#5#,a5##",
         QStringLiteral("x"),
         63,
         0,
         0,
         QStringLiteral("A#4/3 C#5/3. F#4/3."),
         {Feature, Feature, Feature, Feature, Feature, Feature, Feature}},
        {"x:d=16,o=5,b=180:48f.,64p,a5#,8c3,8c8",
         QStringLiteral("x"),
         180,
         0,
         0,
         QStringLiteral("F4/5. R4/5 A#4/4 C2/3 C7/3"),
         {Short, Moved}},
        {QByteArray("x:d=4:c\0ignored,d", 17), QStringLiteral("x"), 63, 0, 0, QStringLiteral("C5/2"), {}},
    };
    for (const Case& c : cases) {
        const RtttlTune tune = CRtttlReader::Read(c.text);
        SCOPED_TRACE(c.text.constData());
        EXPECT_EQ(tune.name.toStdString(), c.name.toStdString());
        EXPECT_EQ(tune.beat, c.beat);
        EXPECT_EQ(tune.style, c.style);
        EXPECT_EQ(tune.loop, c.loop);
        EXPECT_EQ(Describe(tune.notes).toStdString(), c.notes.toStdString());
        EXPECT_EQ(Lines(tune.messages), Lines(c.messages));
    }
}

TEST(RtttlReader, NameLosesByteOrderMarkControlsAndSurroundingBlanks)
{
    const RtttlTune tune = CRtttlReader::Read("\xEF\xBB\xBF  My\tTone\r\n:d=4:c");
    EXPECT_EQ(tune.name.toStdString(), "my tone");
    EXPECT_TRUE(tune.messages.isEmpty());
    EXPECT_EQ(Lines(CRtttlReader::Read("\x01\x02 :d=4:c").messages), Lines({Name}));
}

TEST(RtttlReader, NumbersSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(CRtttlReader::ReadNumber(QStringLiteral("x99999999999999999999"), 1), INT_MAX);
    EXPECT_EQ(CRtttlReader::ReadNumber(QStringLiteral("b=125,"), 2), 125);
    EXPECT_EQ(CRtttlReader::ReadNumber(QStringLiteral("b="), 2), 0);
    EXPECT_EQ(CRtttlReader::ReadNumber(QStringLiteral("b"), 7), 0);

    const RtttlTune tune = CRtttlReader::Read("x:b=99999999999999,l=99999999999:99999999999c,c");
    EXPECT_EQ(tune.beat, 63);
    EXPECT_EQ(tune.loop, 0);
    EXPECT_EQ(Describe(tune.notes).toStdString(), "C5/2");
    EXPECT_EQ(Lines(tune.messages), Lines({Feature, Feature, Feature}));
}
