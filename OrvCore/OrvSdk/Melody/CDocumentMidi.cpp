#include "Melody/CDocumentMidi.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CMidiInstrumentUsage.h"
#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiMemoryStream.h"
#include "MidiClasses/MidiSequences.h"
#include "MidiClasses/MidiStream.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"

#include <QFile>

CDocumentMidi::CDocumentMidi() = default;

CDocumentMidi::~CDocumentMidi()
{
    Clear();
}

void CDocumentMidi::Clear()
{
    m_MemoryFile = QByteArray();
    m_FirstSequence = QByteArray();
    m_nSequenceCount = 1;
    delete m_pMidiStream;
    m_pMidiStream = nullptr;
    delete m_pInstrumentUsage;
    m_pInstrumentUsage = nullptr;
    delete m_pMelodyDocument;
    m_pMelodyDocument = nullptr;
}

void CDocumentMidi::SetRawData(const unsigned char* datas, unsigned length)
{
    ASSERT(m_MemoryFile.isNull());
    ASSERT(m_pMidiStream == (0L));
    ASSERT(datas != (0L));
    if (!datas)
        return;
    // A second call replaces the file rather than mixing two.
    Clear();
    m_MemoryFile = QByteArray(reinterpret_cast<const char*>(datas), static_cast<qsizetype>(length));
    m_pMidiStream = new MidiStream;
    Parse(m_MemoryFile);
    // Independent sequences are not meant to sound together: only the first is
    // kept for every converter, whichever way it reads the file.
    if (m_pMidiStream->GetHeader().GetFormat() == MidiSequences::IndependentFormat
        && m_pMidiStream->GetTrackCount() > 1) {
        m_nSequenceCount = m_pMidiStream->GetTrackCount();
        m_FirstSequence = MidiSequences::FirstSequenceFile(m_MemoryFile);
        Parse(m_FirstSequence);
    }
    m_pInstrumentUsage = new CMidiInstrumentUsage(m_pMidiStream);
}

void CDocumentMidi::Parse(const QByteArray& file)
{
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(file.constData()),
                            static_cast<uint32_t>(file.size()));
    MidiArchive archive(source);
    m_pMidiStream->Serialize(archive);
}

bool CDocumentMidi::SaveMidiFile(const QString& path) const
{
    ASSERT(!m_MemoryFile.isNull());
    if (m_MemoryFile.isNull())
        return false;
    return WriteBytesSafely(path, m_MemoryFile);
}

int CDocumentMidi::GetTempo() const
{
    return m_pInstrumentUsage ? m_pInstrumentUsage->GetTempo() : 0;
}
