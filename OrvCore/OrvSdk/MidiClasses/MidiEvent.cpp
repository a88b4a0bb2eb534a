#include "MidiClasses/MidiEvent.h"

#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiEventData.h"
#include "Util/Assert.h"

MidiEvent::MidiEvent(uint32_t deltaTime, uint8_t status) : m_DeltaTime(deltaTime), m_Status(status) {}

MidiEvent::~MidiEvent()
{
    Unlink();
}

bool MidiEvent::Store(MidiArchive& ar)
{
    ASSERT(ar.IsStoring());
    return false;
}

void MidiEvent::GetData(MidiEventData& data) const
{
    data.Clear();
    data.m_DeltaTime = m_DeltaTime;
    data.m_Status = m_Status;
    FillData(data);
}

MidiEventText MidiEvent::GetText() const
{
    WarnNotApplicable();
    return MidiEventText();
}

uint32_t MidiEvent::GetValue() const
{
    WarnNotApplicable();
    return 0;
}

int MidiEvent::GetMetaKind() const
{
    WarnNotApplicable();
    return 0;
}

int MidiEvent::CountFollowing() const
{
    int count = 0;
    for (const MidiEvent* event = m_pNext; event; event = event->m_pNext)
        ++count;
    return count;
}

bool MidiEvent::LoadSizedData(MidiArchive& ar, QByteArray& data, uint32_t& bytesRead)
{
    data.clear();
    uint32_t length = 0;
    uint32_t lengthBytes = 0;
    const bool lengthRead = ar.ReadVarLen(length, lengthBytes);
    bytesRead += lengthBytes;
    if (!lengthRead)
        return false;
    if (length == 0)
        return true;
    if (length > ar.GetRemaining())
        return false;

    data = QByteArray(qsizetype(length), '\0');
    const uint32_t got = ar.Read(data.data(), length);
    bytesRead += got;
    if (got != length) {
        data.clear();
        return false;
    }
    return true;
}

void MidiEvent::WarnNotApplicable()
{
    ASSERT((0));
}
