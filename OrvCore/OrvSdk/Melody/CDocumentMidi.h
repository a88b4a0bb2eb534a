#pragma once
// A Standard MIDI File in memory: its bytes, the parsed file, what it plays
// and, on request, the one-voice melody that a buzzer can play from it.
#include "Documents/CDocument.h"
#include "Melody/MelodyProgress.h"

#include <QByteArray>
#include <QString>

class CDocumentMelody;
class CMidiInstrumentUsage;
class MidiStream;

class CDocumentMidi : public CDocument
{
public:
    CDocumentMidi();
    ~CDocumentMidi() override;
    CDocumentMidi(const CDocumentMidi&) = delete;
    CDocumentMidi& operator=(const CDocumentMidi&) = delete;

    int GetDocType() override { return MIDI; }

    // Copies the file bytes, parses them and counts the instruments. Of a file of
    // independent sequences only the first is parsed and converted.
    void SetRawData(const unsigned char* datas, unsigned length);
    // Writes the file bytes unchanged, replacing the file whole; false (the
    // file left as it was) when there are none or not all could be written.
    bool SaveMidiFile(const QString& path) const;

    // Reduces the file to one line of notes and rests. The document keeps the
    // melody (replacing the previous one); the caller must not delete it.
    CDocumentMelody* BuildMelodyDocument(MelodyProgressCallback progress = nullptr);

    const QByteArray& GetRawData() const { return m_MemoryFile; }
    // The first sequence's bytes, which converters read: the file itself when it
    // holds one sequence, else a file of its first one.
    const QByteArray& GetFirstSequenceBytes() const
    {
        return m_FirstSequence.isNull() ? m_MemoryFile : m_FirstSequence;
    }
    // How many independent sequences the file holds: its tracks in format 2, else 1.
    int GetSequenceCount() const { return m_nSequenceCount; }
    MidiStream* GetMidiStream() const { return m_pMidiStream; }
    CMidiInstrumentUsage* GetInstrumentUsage() const { return m_pInstrumentUsage; }
    CDocumentMelody* GetMelodyDocument() const { return m_pMelodyDocument; }
    // Beats per minute the tune plays at; 0 without a parsed file.
    int GetTempo() const;

private:
    void Clear();
    // Reads `file` into the stream, in place of what it held.
    void Parse(const QByteArray& file);

    MidiStream* m_pMidiStream = nullptr;
    CMidiInstrumentUsage* m_pInstrumentUsage = nullptr;
    QByteArray m_MemoryFile;
    QByteArray m_FirstSequence; // null unless the file holds several sequences
    int m_nSequenceCount = 1;
    CDocumentMelody* m_pMelodyDocument = nullptr;
};
