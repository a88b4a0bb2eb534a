#include "MidiStreamLoad.h"

#include "MidiClasses/MidiEventData.h"
#include "MidiClasses/MidiEventList.h"
#include "MidiClasses/MidiMessageEvent.h"
#include "MidiClasses/MidiMetaEvent.h"
#include "MidiClasses/MidiSysexEvent.h"

#include <gtest/gtest.h>

using namespace MidiTest;

namespace {

// A meta event loaded from its type and data, as a track would read it.
std::unique_ptr<MidiMetaEvent> MakeMeta(int type, const QByteArray& data)
{
    QByteArray bytes = Bytes({type});
    AppendVarLen(bytes, uint32_t(data.size()));
    bytes += data;
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(bytes.constData()), uint32_t(bytes.size()));
    MidiArchive archive(source);
    auto meta = std::make_unique<MidiMetaEvent>(0);
    uint32_t read = 0;
    EXPECT_TRUE(meta->Load(archive, read));
    EXPECT_EQ(read, uint32_t(bytes.size()));
    return meta;
}

std::unique_ptr<MidiMessageEvent> MakeMessage(int status, const QByteArray& data)
{
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(data.constData()), uint32_t(data.size()));
    MidiArchive archive(source);
    auto message = std::make_unique<MidiMessageEvent>(0, uint8_t(status));
    uint32_t read = 0;
    EXPECT_TRUE(message->Load(archive, read));
    return message;
}

} // namespace

TEST(MidiMetaEvent, ValueByType)
{
    struct Case
    {
        int type;
        QByteArray data;
        uint32_t value;
    };
    const Case cases[] = {
        {0x51, Bytes({0x07, 0xA1, 0x20}), 500000},
        {0x51, Bytes({0xFF, 0xFF, 0xFF, 0x99}), 0xFFFFFF},
        {0x58, Bytes({0x06, 0x03, 0x24, 0x08}), 0x08240806},
        {0x58, Bytes({0x04, 0x02, 0x18, 0x08}), 0x08180404},
        {0x58, Bytes({0x04, 0x07, 0x18, 0x08}), 0x08188004},
        // 2^8 and beyond do not fit the denominator's 8 bits.
        {0x58, Bytes({0x04, 0x08, 0x18, 0x08}), 0x08180004},
        {0x58, Bytes({0x04, 0xC8, 0x18, 0x08}), 0x08180004},
        {0x59, Bytes({0xFD, 0x01}), 0xFD01},
        {0x59, Bytes({0x02, 0x00}), 0x0200},
        {0x00, Bytes({0x00, 0x07}), 0},
        {0x01, QByteArray("abcd"), 0},
        {0x2F, QByteArray(), 0},
        // Data too short for its type gives 0.
        {0x51, Bytes({0x07, 0xA1}), 0},
        {0x51, QByteArray(), 0},
        {0x58, Bytes({0x06, 0x03, 0x24}), 0},
        {0x58, Bytes({0x06}), 0},
        {0x59, Bytes({0xFD}), 0},
        {0x59, QByteArray(), 0},
    };
    for (const Case& c : cases) {
        auto meta = MakeMeta(c.type, c.data);
        EXPECT_EQ(meta->GetValue(), c.value) << "type " << c.type << " data " << c.data.toHex().constData();
    }
}

TEST(MidiMetaEvent, TextIsLatin1CutAt255CharactersOrAZeroByte)
{
    EXPECT_EQ(MakeMeta(0x05, QByteArray("caf\xe9"))->GetText().second, QStringLiteral("caf\u00e9"));
    EXPECT_EQ(MakeMeta(0x01, QByteArray(300, 'x'))->GetText().second, QString(255, QLatin1Char('x')));
    EXPECT_EQ(MakeMeta(0x01, QByteArray("ab\0cd", 5))->GetText().second, QStringLiteral("ab"));
    EXPECT_EQ(MakeMeta(0x01, QByteArray("ab\0cd", 5))->GetLength(), 5u);
}

TEST(MidiEvent, GetDataCopiesTheEventByKind)
{
    auto message = MakeMessage(0xB2, Bytes({0x07, 0x40}));
    MidiEventData data;
    data.m_Data = QByteArray("stale");
    message->GetData(data);
    EXPECT_EQ(data.m_Kind, MidiEventData::KIND_MESSAGE);
    EXPECT_EQ(data.m_Status, 0xB2);
    EXPECT_EQ(data.m_Data1, 0x07);
    EXPECT_EQ(data.m_Data2, 0x40);
    EXPECT_TRUE(data.m_Data.isEmpty());

    auto meta = MakeMeta(0x51, Bytes({0x07, 0xA1, 0x20}));
    meta->GetData(data);
    EXPECT_EQ(data.m_Kind, MidiEventData::KIND_META);
    EXPECT_EQ(data.m_Status, 0xFF);
    EXPECT_EQ(data.m_MetaType, 0x51);
    EXPECT_EQ(data.m_Length, 3u);
    EXPECT_EQ(data.m_Data, Bytes({0x07, 0xA1, 0x20}));
    MidiEventData copy = data;
    copy.m_Data[0] = 0;
    EXPECT_EQ(data.m_Data.at(0), 0x07);

    const QByteArray sysexBytes = Bytes({0x03, 0x43, 0x10, 0xF7});
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(sysexBytes.constData()), 4);
    MidiArchive archive(source);
    MidiSysexEvent sysex(12, 0xF0);
    uint32_t read = 0;
    ASSERT_TRUE(sysex.Load(archive, read));
    EXPECT_EQ(read, 4u);
    sysex.GetData(data);
    EXPECT_EQ(data.m_Kind, MidiEventData::KIND_SYSEX);
    EXPECT_EQ(data.m_DeltaTime, 12u);
    EXPECT_EQ(data.m_Length, 3u);
    EXPECT_EQ(data.m_Data, Bytes({0x43, 0x10, 0xF7}));

    MidiEventList head;
    head.GetData(data);
    EXPECT_EQ(data.m_Kind, MidiEventData::KIND_NONE);
}

TEST(MidiEvent, OperationsThatDoNotApplyWarnAndAnswerNothing)
{
    auto message = MakeMessage(0x90, Bytes({0x3C, 0x40}));
    MidiSysexEvent sysex(0, 0xF0);
    MidiEventList head;
    const QList<const MidiEvent*> events = {message.get(), &sysex, &head};
    for (const MidiEvent* event : events) {
        MessageCapture warnings;
        EXPECT_TRUE(event->GetText().second.isEmpty());
        EXPECT_EQ(event->GetValue(), 0u);
        EXPECT_EQ(event->GetMetaKind(), 0);
        ASSERT_EQ(warnings.Messages().size(), 3);
        for (const QString& warning : warnings.Messages())
            EXPECT_TRUE(warning.startsWith(QStringLiteral("ASSERT: \"(0)\""))) << qPrintable(warning);
    }

    MessageCapture warnings;
    MidiMemoryStream source(nullptr, 0);
    MidiArchive archive(source);
    uint32_t read = 7;
    EXPECT_FALSE(head.Load(archive, read));
    EXPECT_EQ(read, 0u);
    QString text;
    head.Dump(text);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(warnings.Messages().size(), 2);
}

TEST(MidiEvent, ChainLinksInsertsMovesAndUnlinks)
{
    MidiEventList head;
    auto* a = new MidiMessageEvent(1, 0x90);
    auto* b = new MidiMessageEvent(2, 0x90);
    auto* c = new MidiMessageEvent(3, 0x90);
    a->InsertAfter(&head);
    b->InsertAfter(a);
    c->InsertAfter(&head); // head, c, a, b
    EXPECT_EQ(head.CountFollowing(), 3);
    EXPECT_EQ(head.GetNext(), c);
    EXPECT_EQ(c->GetNext(), a);
    EXPECT_EQ(a->GetPrev(), c);
    EXPECT_EQ(b->GetNext(), nullptr);
    EXPECT_TRUE(c->IsLinked());

    c->InsertAfter(b); // moving a linked event unlinks it first: head, a, b, c
    EXPECT_EQ(head.GetNext(), a);
    EXPECT_EQ(b->GetNext(), c);
    EXPECT_EQ(c->GetPrev(), b);
    EXPECT_EQ(head.CountFollowing(), 3);

    a->Unlink();
    EXPECT_FALSE(a->IsLinked());
    EXPECT_EQ(a->GetNext(), nullptr);
    EXPECT_EQ(head.GetNext(), b);
    EXPECT_EQ(b->GetPrev(), &head);
    delete a;

    delete b; // deleting unlinks
    EXPECT_EQ(head.GetNext(), c);
    EXPECT_EQ(c->GetPrev(), &head);
    EXPECT_EQ(head.CountFollowing(), 1);
    // The head deletes c.
}

TEST(MidiMemoryStream, ReadAndSeekStayInsideTheBlock)
{
    const unsigned char bytes[] = {1, 2, 3, 4, 5};
    MidiMemoryStream source(bytes, 5);
    unsigned char buffer[8] = {0};
    EXPECT_EQ(source.Read(buffer, 2), 2u);
    EXPECT_EQ(buffer[1], 2);
    EXPECT_EQ(source.Read(buffer, 8), 3u);
    EXPECT_EQ(buffer[2], 5);
    EXPECT_EQ(source.Read(buffer, 1), 0u);

    EXPECT_EQ(source.Seek(1, MidiMemoryStream::FROM_START), 1u);
    EXPECT_EQ(source.Seek(2, MidiMemoryStream::FROM_CURRENT), 3u);
    EXPECT_EQ(source.Seek(-1, MidiMemoryStream::FROM_CURRENT), 2u);
    EXPECT_EQ(source.Seek(1, MidiMemoryStream::FROM_END), 4u);
    EXPECT_EQ(source.Seek(-10, MidiMemoryStream::FROM_CURRENT), 0u);
    EXPECT_EQ(source.Seek(99, MidiMemoryStream::FROM_START), 5u);
    EXPECT_EQ(source.Seek(-3, MidiMemoryStream::FROM_END), 5u);
    EXPECT_EQ(source.Seek(int64_t(1) << 40, MidiMemoryStream::FROM_CURRENT), 5u);
    EXPECT_EQ(source.GetRemaining(), 0u);
}
