#pragma once
// One monophonic melody: notes, rests and loop markers in playing order, with
// the global values that the iMelody header carries.
#include "Documents/CDocument.h"
#include "Melody/MidiNote.h"

#include <QString>

class CDocumentMelody : public CDocument
{
public:
    enum Style
    {
        Natural = 0,
        Continuous = 1,
        Staccato = 2
    };

    CDocumentMelody();
    ~CDocumentMelody() override;
    CDocumentMelody(const CDocumentMelody&) = delete;
    CDocumentMelody& operator=(const CDocumentMelody&) = delete;

    int GetDocType() override { return MELODY; }

    MelodyNoteList& GetMelodyNoteList() { return m_MelodyNoteList; }
    const MelodyNoteList& GetMelodyNoteList() const { return m_MelodyNoteList; }

    // True when at least one note is not a rest.
    bool HasNotes() const;
    // True when every loop close has an opening before it and none stays open.
    bool CheckPatterns() const;

    void SetMelodyName(const QString& name) { m_MelodyName = name; }
    // Falls back to the document file's base name (up to its first ".").
    QString GetMelodyName();

    bool SetStyle(const QString& style);
    void GetStyle(QString& style) const;
    int GetStyle() const { return m_nStyle; }
    void SetStyle(int style) { m_nStyle = style; }
    static QString StyleName(int style);
    // The style number of an exact style name; -1 for any other text.
    static int StyleFromName(const QString& style);

    int GetBeat() const { return m_nBeat; }
    void SetBeat(int beat) { m_nBeat = beat; }
    int GetVolume() const { return m_nVolume; }
    void SetVolume(int volume) { m_nVolume = volume; }

private:
    MelodyNoteList m_MelodyNoteList;
    QString m_MelodyName;
    int m_nStyle = Natural;
    int m_nBeat = 63;
    int m_nVolume = 7;
};
