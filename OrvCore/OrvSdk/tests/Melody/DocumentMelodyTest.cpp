#include "Melody/CDocumentMelody.h"
#include "MelodyTestSupport.h"

#include <gtest/gtest.h>

TEST(DocumentMelody, NewDocument)
{
    CDocumentMelody doc;
    EXPECT_EQ(doc.GetDocType(), 8);
    EXPECT_TRUE(doc.GetMelodyNoteList().isEmpty());
    EXPECT_EQ(doc.GetStyle(), 0);
    EXPECT_EQ(doc.GetBeat(), 63);
    EXPECT_EQ(doc.GetVolume(), 7);
    EXPECT_TRUE(doc.GetName().isEmpty());
}

TEST(DocumentMelody, NameFallsBackToTheFileBaseName)
{
    CDocumentMelody doc;
    doc.SetName(QStringLiteral("C:/music/Song.v2.mid"));
    EXPECT_EQ(doc.GetMelodyName(), QStringLiteral("Song"));
    doc.SetName(QStringLiteral("/other/Tune.mid"));
    EXPECT_EQ(doc.GetMelodyName(), QStringLiteral("Song")); // kept once taken

    CDocumentMelody backslashed;
    backslashed.SetName(QStringLiteral("C:\\music\\Ring.mid"));
    EXPECT_EQ(backslashed.GetMelodyName(), QStringLiteral("Ring"));

    CDocumentMelody named;
    named.SetName(QStringLiteral("/x/File.mid"));
    named.SetMelodyName(QStringLiteral("Given"));
    EXPECT_EQ(named.GetMelodyName(), QStringLiteral("Given"));
}

TEST(DocumentMelody, HasNotesSkipsRestsAndLoops)
{
    CDocumentMelody doc;
    EXPECT_FALSE(doc.HasNotes());
    doc.GetMelodyNoteList().append(new MelodyBeginPattern);
    doc.GetMelodyNoteList().append(MakeRest(2));
    doc.GetMelodyNoteList().append(new MelodyEndPattern(2));
    EXPECT_FALSE(doc.HasNotes());
    doc.GetMelodyNoteList().append(MakeNote(3, 4, 2));
    EXPECT_TRUE(doc.HasNotes());
}

TEST(DocumentMelody, CheckPatterns)
{
    struct Case
    {
        const char* markers;
        bool ok;
    };
    const Case cases[] = {{"bbee", true}, {"be", true}, {"", true}, {"eb", false}, {"bbe", false}, {"beeb", false}};
    for (const Case& c : cases) {
        CDocumentMelody doc;
        for (const char* m = c.markers; *m; ++m) {
            if (*m == 'b')
                doc.GetMelodyNoteList().append(new MelodyBeginPattern);
            else
                doc.GetMelodyNoteList().append(new MelodyEndPattern(1));
            doc.GetMelodyNoteList().append(MakeNote(0, 4, 2));
        }
        EXPECT_EQ(doc.CheckPatterns(), c.ok) << c.markers;
    }
}

TEST(DocumentMelody, StyleNames)
{
    CDocumentMelody doc;
    EXPECT_TRUE(doc.SetStyle(QStringLiteral("Staccato")));
    EXPECT_EQ(doc.GetStyle(), 2);
    EXPECT_FALSE(doc.SetStyle(QStringLiteral("staccato")));
    EXPECT_EQ(doc.GetStyle(), 2);
    QString name = QStringLiteral("untouched");
    doc.GetStyle(name);
    EXPECT_EQ(name, QStringLiteral("Staccato"));

    MessageCapture capture;
    doc.SetStyle(7);
    name = QStringLiteral("untouched");
    doc.GetStyle(name);
    EXPECT_EQ(name, QStringLiteral("untouched"));
    EXPECT_TRUE(capture.HasWarning(QStringLiteral("\"(0)\"")));
}
