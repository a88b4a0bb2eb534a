// Information elements, room accounting and the user data of one deliver.
#include "CInformationElement.h"
#include "CSmsDeliver.h"
#include "CSmsDeliverTpdu.h"
#include "MessraTestSupport.h"
#include "UserDataReader.h"
#include <gtest/gtest.h>

namespace {
CSourceEncodingType Latin1()
{
    CSourceEncodingType format;
    format.SetIso8859_1();
    return format;
}

CSourceEncodingType Ucs2()
{
    CSourceEncodingType format;
    format.SetUcs2();
    return format;
}

using MessraTest::Bytes;

QByteArray UserDataOf(const CSmsDeliver& deliver, int mode = 0)
{
    CSmsDeliverTpdu tpdu;
    EXPECT_TRUE(tpdu.Build(deliver, mode, deliver.GetTextFormat().IsUcs2()));
    QByteArray chunk;
    EXPECT_TRUE(tpdu.Serialize(chunk));
    return chunk;
}
} // namespace

TEST(InformationElement, OdiAndPredefinedSoundOctets)
{
    // The ODI is always the same four octets; the sound sits at position zero.
    CInformationElement odi, sound;
    odi.SetObjectDistributionIndicator();
    sound.SetEmsObject(0x0B, Bytes({7}), 0);
    QByteArray out;
    odi.AppendTo(out);
    EXPECT_EQ(out, Bytes({0x17, 0x02, 0x00, 0x01}));
    out.clear();
    sound.AppendTo(out);
    EXPECT_EQ(out, Bytes({0x0B, 0x02, 0x00, 0x07}));
}

TEST(InformationElement, PositionStaysBelow160)
{
    CInformationElement object;
    object.SetEmsObject(0x0D, Bytes({1}), 200);
    EXPECT_EQ(object.GetPositionInText(), 159u);
}

TEST(InformationElement, TddElementLayoutAndPatch)
{
    CInformationElement empty;
    empty.SetTdd(QByteArray(), 0, true, 3, false);
    EXPECT_EQ(empty.GetData(), Bytes({0x01, 0x03, 0x00, 0x00}));

    CInformationElement titled;
    titled.SetTdd(Bytes({0xAA, 0xBB}), 15, false, 2, true);
    ASSERT_TRUE(titled.PatchTddTotal(0x1234));
    QByteArray out;
    titled.AppendTo(out);
    EXPECT_EQ(out, Bytes({0x80, 0x06, 0x0F, 0xAA, 0xBB, 0x82, 0x12, 0x34}));

    CInformationElement notTdd;
    notTdd.SetObjectDistributionIndicator();
    EXPECT_FALSE(notTdd.PatchTddTotal(5));
}

TEST(Deliver, EmptyDeliverHasHeaderLengthZeroAndSixFillBits)
{
    CSmsDeliver deliver;
    deliver.Init(Latin1(), false, false, false);
    EXPECT_EQ(deliver.getUserDataHeaderLength(), 0);
    EXPECT_EQ(deliver.GetFillBits(), 6);
    EXPECT_EQ(deliver.GetAvailableRoom(), 139);

    QByteArray text("hello");
    EXPECT_TRUE(deliver.AddPayload(text));
    // Worked by hand: "hello" = E8 32 9B FD 06 packed, moved up by 6 bits.
    EXPECT_EQ(UserDataOf(deliver), Bytes({0x00, 0x00, 0xBA, 0xCC, 0x66, 0xBF, 0x01}));

    CSmsDeliverTpdu tpdu;
    ASSERT_TRUE(tpdu.Build(deliver, 0, false));
    EXPECT_EQ(tpdu.GetFirstOctet(), 0x40);
    EXPECT_EQ(tpdu.GetProtocolIdentifier(), 0x5E);
    EXPECT_EQ(tpdu.GetDataCodingScheme(), 0x40);
    EXPECT_EQ(tpdu.GetUsedOctetCount(), 7);
}

TEST(Deliver, HeaderOfThirteenOctetsNeedsNoFill)
{
    CSmsDeliver deliver;
    deliver.Init(Latin1(), true, false, false);
    CInformationElement a, b;
    a.SetEmsObject(0x0D, Bytes({1}), 0);
    b.SetEmsObject(0x0D, Bytes({2}), 0);
    ASSERT_TRUE(deliver.AddElement(a));
    ASSERT_TRUE(deliver.AddElement(b));
    EXPECT_EQ(deliver.getUserDataHeaderLength(), 13);
    EXPECT_EQ(deliver.GetFillBits(), 0);
    QByteArray text("A");
    ASSERT_TRUE(deliver.AddPayload(text));
    EXPECT_EQ(UserDataOf(deliver),
              Bytes({13, 0x00, 0x03, 0x00, 0x01, 0x01, 0x0D, 0x02, 0x00, 0x01, 0x0D, 0x02, 0x00, 0x02, 0x41}));
}

TEST(Deliver, TextWhosePackedSizeEqualsTheRoomLeavesOneCharacter)
{
    // 157 septets after 6 fill bits take 139 octets, exactly the room.
    CSmsDeliver deliver;
    deliver.Init(Latin1(), false, false, false);
    QByteArray text(157, 'a');
    EXPECT_FALSE(deliver.AddPayload(text));
    EXPECT_EQ(text.size(), 1);
    EXPECT_EQ(deliver.GetPayload().size(), 156);

    CSmsDeliver roomy;
    roomy.Init(Latin1(), false, false, false);
    QByteArray shorter(156, 'a');
    EXPECT_TRUE(roomy.AddPayload(shorter));
}

TEST(Deliver, EscapePairIsNeverParted)
{
    // With the concatenation element 153 septets fit; the 153rd would be an escape.
    CSmsDeliver deliver;
    deliver.Init(Latin1(), true, false, false);
    QByteArray text(152, 'a');
    text.append("\x1B\x28", 2);
    text.append("bb");
    EXPECT_FALSE(deliver.AddPayload(text));
    EXPECT_EQ(deliver.GetPayload().size(), 152);
    EXPECT_EQ(text, QByteArray("\x1B\x28"
                               "bb",
                               4));
    EXPECT_EQ(deliver.GetTextPosition(), 152);
}

TEST(Deliver, NothingMovesWhenNoWholeCharacterFits)
{
    CSmsDeliver deliver;
    deliver.Init(Latin1(), false, false, false);
    QByteArray filler(155, 'a');
    ASSERT_TRUE(deliver.AddPayload(filler));
    // 155 septets take 137 octets: room 2, which holds one more septet but not an escape pair.
    ASSERT_EQ(deliver.GetAvailableRoom(), 2);
    ASSERT_FALSE(deliver.IsFull());
    QByteArray pair("\x1B\x28", 2);
    EXPECT_FALSE(deliver.AddPayload(pair));
    EXPECT_EQ(pair.size(), 2);
    EXPECT_EQ(deliver.GetPayload().size(), 155);
    QByteArray plain("xy");
    EXPECT_FALSE(deliver.AddPayload(plain));
    EXPECT_EQ(plain, QByteArray("y"));
}

TEST(Deliver, Ucs2MovesWholeCharacters)
{
    CSmsDeliver deliver;
    deliver.Init(Ucs2(), false, false, false);
    QByteArray text(200, 'x');
    EXPECT_FALSE(deliver.AddPayload(text));
    // Room 139 takes 69 characters, never an odd octet.
    EXPECT_EQ(deliver.GetPayload().size(), 138);
    EXPECT_EQ(deliver.GetTextPosition(), 69);
    EXPECT_EQ(deliver.GetAvailableRoom(), 1);
    EXPECT_TRUE(deliver.IsFull());
    EXPECT_FALSE(deliver.AddPayload(text));
    EXPECT_EQ(text.size(), 62);
}

TEST(Deliver, BinaryPayloadFillsEveryOctet)
{
    CSmsDeliver deliver;
    deliver.Init(Latin1(), true, false, true);
    QByteArray data(300, '\x55');
    EXPECT_FALSE(deliver.AddPayload(data));
    EXPECT_EQ(deliver.GetAvailableRoom(), 0);
    EXPECT_EQ(deliver.GetPayload().size(), 134);
    const QByteArray chunk = UserDataOf(deliver, 1);
    EXPECT_EQ(chunk.size(), 140);
}

TEST(Deliver, ElementThatDoesNotFitIsRefused)
{
    CSmsDeliver deliver;
    deliver.Init(Latin1(), true, false, false);
    CInformationElement big;
    // 128 octets of picture: 131 octets in the header, plus 1 for the first element.
    big.SetEmsObject(0x10, QByteArray(128, '\x0F'), 0);
    ASSERT_TRUE(deliver.AddElement(big));
    EXPECT_EQ(deliver.GetAvailableRoom(), 140 - 1 - 5 - 131);
    CInformationElement second;
    second.SetEmsObject(0x10, QByteArray(128, '\x0F'), 0);
    EXPECT_FALSE(deliver.AddElement(second));
    EXPECT_EQ(deliver.GetElements().size(), 1u);
}

TEST(Deliver, ElementNeverPushesPackedTextPastTheUserData)
{
    // Text that leaves exactly room for the element by the octet count alone: the
    // longer header moves the text by fill bits, which would cost one octet more.
    for (int septets = 1; septets <= 150; ++septets) {
        for (int objectOctets = 1; objectOctets <= 20; ++objectOctets) {
            CSmsDeliver deliver;
            deliver.Init(Latin1(), true, false, false);
            QByteArray text(septets, 'a');
            deliver.AddPayload(text);
            CInformationElement object;
            object.SetEmsObject(0x0C, QByteArray(objectOctets, '\x01'), 0);
            deliver.AddElement(object);
            const QByteArray chunk = UserDataOf(deliver);
            ASSERT_LE(chunk.size(), 140);
            UserDataReader::UserData ud;
            ASSERT_TRUE(UserDataReader::Parse(chunk, ud));
            QByteArray decoded;
            QString error;
            ASSERT_TRUE(UserDataReader::Septets(chunk, ud.udhl, int(deliver.GetPayload().size()), decoded, &error))
                << error.toStdString();
        }
    }
}

TEST(Deliver, ConcatenationHeaderIsFiveOctets)
{
    CSmsDeliver deliver;
    deliver.Init(Latin1(), true, false, false);
    EXPECT_EQ(deliver.getUserDataHeaderLength(), 5);
    EXPECT_EQ(deliver.GetFillBits(), 1);
    EXPECT_TRUE(deliver.SetConcatenation(0, 3, 2));
    EXPECT_EQ(UserDataOf(deliver), Bytes({5, 0x00, 0x03, 0x00, 0x03, 0x02}));
}
