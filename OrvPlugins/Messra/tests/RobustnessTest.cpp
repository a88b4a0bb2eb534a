// Malformed and awkward input: every check stays inside its bytes, every message ends.
#include "CEcardDocument.h"
#include "CSmsComposer.h"
#include "SmsMediaChecks.h"
#include "UserDataReader.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(Robustness, MediaChecksOnRandomFiles)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 20000; ++round)
    {
        QByteArray file(int(random.bounded(40)), '\0');
        for (char& octet : file)
            octet = char(random.bounded(256));
        // Small counts and offsets so that tables point inside and past the file alike.
        if (file.size() > 1 && round % 2)
        {
            file[0] = char(random.bounded(6));
            file[1] = char(0);
        }
        QByteArray content;
        SmsMediaChecks::SplitPictureFile(file, content);
        SmsMediaChecks::CheckVariablePicture(content);
        SmsMediaChecks::CheckPicture(file);
        SmsMediaChecks::CheckFrameTable(file);
    }
}

TEST(Robustness, EcardReaderOnRandomBytes)
{
    QRandomGenerator random(11);
    const QByteArray start("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>");
    for (int round = 0; round < 2000; ++round)
    {
        QByteArray bytes = round % 2 ? start : QByteArray();
        const int extra = int(random.bounded(60));
        for (int i = 0; i < extra; ++i)
            bytes.append(char(random.bounded(256)));
        CEcardDocument ecard(QStringLiteral("ECARD"));
        QString message;
        if (!ecard.SetContent(bytes) || !ecard.Check(message))
            continue;
        int guard = 0;
        do
        {
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
    for (int length = 1; length <= 320; ++length)
    {
        CSmsItem lead, object, braces;
        QString messages;
        lead.SetContent(QStringLiteral("TXT"), QString(), QString(length, QLatin1Char('a')), QString(), false, 1,
                        nullptr, messages, 0);
        object.SetContent(QStringLiteral("EMA"), QStringLiteral("PRE"), QStringLiteral("1"), QString(), false, 1,
                          nullptr, messages, 0);
        braces.SetContent(QStringLiteral("TXT"), QString(), QString(30, QLatin1Char('{')), QString(), false, 1,
                          nullptr, messages, 0);
        CSmsComposer composer;
        composer.SetTextFormat(latin1, CSmsComposer::MODE_EMS);
        composer.AddItem(lead);
        composer.AddItem(object);
        composer.AddItem(braces);
        QList<QByteArray> chunks;
        ASSERT_TRUE(composer.Export(chunks)) << length;

        int septetsTotal = 0;
        for (const QByteArray& chunk : chunks)
        {
            UserDataReader::UserData ud;
            ASSERT_TRUE(UserDataReader::Parse(chunk, ud)) << length;
            // The septet count of a chunk: the most that fit, less one when the
            // last slot is only padding.
            const int startBit = ((ud.udhl + 1) * 8 + 6) / 7 * 7;
            int count = (int(chunk.size()) * 8 - startBit) / 7;
            QByteArray septets;
            if (!UserDataReader::Septets(chunk, ud.udhl, count, septets))
            {
                ASSERT_TRUE(UserDataReader::Septets(chunk, ud.udhl, --count, septets)) << length;
            }
            if (!septets.isEmpty() && septets.endsWith('\0') && septets.size() > 1)
                septets.chop(1); // a padding slot, never an "@" here
            for (int i = 0; i < septets.size(); ++i)
            {
                if (uchar(septets.at(i)) == 0x1B)
                {
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
