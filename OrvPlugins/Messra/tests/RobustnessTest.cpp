// Malformed and awkward input: every check stays inside its bytes, every message ends.
#include "CSmsComposer.h"
#include "FuzzSeed.h"
#include "Import/CEcardDocument.h"
#include "MessraTestSupport.h"
#include "SmsMediaChecks.h"
#include "UserDataReader.h"
#include "fuzz/MessraFuzzInput.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(Robustness, FuzzSeedsRunThroughBothTranslators)
{
    using namespace MessraTest;
    // Every kind of input the fuzz target tells apart, from well formed to
    // tables that point inside and past their file. Each is kept as a seed.
    const QByteArray twoFrames = Media::Animation({Media::PictureBody(8, 8), Media::PictureBody(8, 8)});
    const struct
    {
        const char* name;
        const char* extension; // empty: the media checks alone
        QByteArray bytes;
    } cases[] = {
        {"card-text", "ecd", Card("ECARD", "Hello" + Ie("IMY", "PRE", "3") + "!")},
        {"card-files", "ecd", Card("ECARD", Ie("EMP", "USR", "missing.emp") + Ie("IMY", "USR", "source.imy"))},
        {"card-tdd", "ecd", Card("TDD", "<TEXT>Hi</TEXT>")},
        {"card-cut", "ecd", Card("ECARD", "Hi").left(30)},
        {"picture", "emp", Filled(128, 0x33)},
        {"animation", "ema", Filled(32, 0x22)},
        {"imelody", "imy", Media::IMelody("c2d2e2f2")},
        {"one-line", "qbr", Media::OneLineMelody(5)},
        {"one-line-short", "qbr", Media::OneLineMelody(5).left(7)},
        {"maker-picture", "pic", Media::PictureBody(16, 16)},
        {"maker-animation", "ani",
         Media::Animation(
             {Media::PictureBody(8, 8), Media::PictureBody(8, 8), Media::PictureBody(8, 8), Media::PictureBody(8, 8)})},
        {"sequence", "seq", Filled(40, 0x7F)},
        {"speech", "vox", Filled(33, 0x01)},
        {"checks-split", "", Bytes({16, 16}) + Filled(32, 0x0F)},
        {"checks-frames-past-end", "", Bytes({5, 0, 0x05, 0xF0, 0xFF, 0x7F})},
        {"checks-two-frames", "", twoFrames},
        {"checks-empty", "", QByteArray()},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray input = MessraFuzzInput::KindOctet(QString::fromLatin1(c.extension)) + c.bytes;
        SaveSeed(QString::fromLatin1(c.name), input);
        EXPECT_TRUE(MessraFuzzInput::Run(input, folder.Path()));
    }
}

TEST(Robustness, EcardReaderOnRandomBytes)
{
    QRandomGenerator random(11);
    const QByteArray start("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>");
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = round % 2 ? start : QByteArray();
        const int extra = int(random.bounded(60));
        for (int i = 0; i < extra; ++i)
            bytes.append(char(random.bounded(256)));
        CEcardDocument ecard(QStringLiteral("ECARD"));
        QString message;
        if (!ecard.SetContent(bytes) || !ecard.Check(message))
            continue;
        int guard = 0;
        do {
            CEcardItem item;
            ecard.ReadCurrentItem(item);
        } while (ecard.Next() && ++guard < 1000);
        EXPECT_LT(guard, 1000);
    }
}

TEST(Robustness, EscapesAroundObjectsNeverSplitAndNeverLoop)
{
    // Text of every length before an object, then escapes: whatever room is left,
    // each message ends on a whole character and the export finishes.
    CSourceEncodingType latin1;
    latin1.SetIso8859_1();
    for (int length = 1; length <= 320; ++length) {
        CSmsItem lead, object, braces;
        QString messages;
        lead.SetContent(QStringLiteral("TXT"), QString(), QString(length, QLatin1Char('a')), QString(), false, 1,
                        nullptr, messages, 0);
        object.SetContent(QStringLiteral("EMA"), QStringLiteral("PRE"), QStringLiteral("1"), QString(), false, 1,
                          nullptr, messages, 0);
        braces.SetContent(QStringLiteral("TXT"), QString(), QString(30, QLatin1Char('{')), QString(), false, 1, nullptr,
                          messages, 0);
        CSmsComposer composer;
        composer.SetTextFormat(latin1, CSmsComposer::MODE_EMS);
        composer.AddItem(lead);
        composer.AddItem(object);
        composer.AddItem(braces);
        QList<QByteArray> chunks;
        ASSERT_TRUE(composer.Export(chunks)) << length;

        int septetsTotal = 0;
        for (const QByteArray& chunk : chunks) {
            UserDataReader::UserData ud;
            ASSERT_TRUE(UserDataReader::Parse(chunk, ud)) << length;
            // The septet count of a chunk: the most that fit, less one when the
            // last slot is only padding.
            const int startBit = ((ud.udhl + 1) * 8 + 6) / 7 * 7;
            int count = (int(chunk.size()) * 8 - startBit) / 7;
            QByteArray septets;
            if (!UserDataReader::Septets(chunk, ud.udhl, count, septets)) {
                ASSERT_TRUE(UserDataReader::Septets(chunk, ud.udhl, --count, septets)) << length;
            }
            if (!septets.isEmpty() && septets.endsWith('\0') && septets.size() > 1)
                septets.chop(1); // a padding slot, never an "@" here
            for (int i = 0; i < septets.size(); ++i) {
                if (uchar(septets.at(i)) == 0x1B) {
                    ASSERT_LT(i + 1, septets.size()) << "message ends on an escape, length " << length;
                    ASSERT_EQ(septets.at(i + 1), char(0x28));
                    ++i;
                }
            }
            septetsTotal += int(septets.size());
        }
        EXPECT_EQ(septetsTotal, length + 60) << length;
    }
}
