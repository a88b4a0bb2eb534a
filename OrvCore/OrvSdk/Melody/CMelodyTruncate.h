#pragma once
// The melody text class: iMelody writer and parser, one-line melody writer
// and reader, and the size-bounded round trips of both formats. Failures are
// a false result with an error code whose text GetErrorText gives.
#include "Melody/IBrimselEvent.h"
#include "Melody/IMYNote.h"
#include "Melody/MelodyProgress.h"
#include "Melody/MidiNote.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <climits>

class CDocumentMelody;
class CMemFile;
class CProfile;

class CMelodyTruncate
{
public:
    enum ErrorCode
    {
        NameTooLong = 0,
        MelodyTagNotFound = 1,
        MelodyNameEmpty = 2,
        NestedLoop = 3,
        LoopDigitsNotFound = 4,
        LoopParenthesisNotFound = 5,
        InvalidLoopSpecifier = 6,
        NoteValueNotFound = 7,
        InvalidSharp = 8,
        InvalidFlat = 9,
        RepeatOutOfRange = 10,
        VolumeOutOfRange = 11,
        BeatOutOfRange = 12,
        ScaleOutOfRange = 13,
        StyleOutOfRange = 14,
        InvalidNote = 15,
        InvalidEndOfLoop = 16,
        ShortSilenceBeforeNote = 17,
        InvalidVolumeSpecifier = 18,
        PatternMismatch = 19,
        BadSize = 20
    };

    // Header flags of the writer and "found" flags of the parser, in order.
    enum HeaderLine
    {
        HeaderBegin = 0,
        HeaderVersion,
        HeaderFormat,
        HeaderName,
        HeaderBeat,
        HeaderStyle,
        HeaderVolume,
        HeaderLineCount
    };

    // The size limit that means "as large as the melody".
    static const int NoSizeLimit = INT_MAX;

    CMelodyTruncate();
    ~CMelodyTruncate();

    int GetErrorCode() const { return m_nErrorCode; }
    // The text of the last error.
    QString GetErrorText() const;
    static QString GetErrorText(int code);

    // --- size-bounded round trips ---
    bool Truncate(const QByteArray& melody_in, QByteArray& melody_out, int maxSize, CProfile* profile,
                  MelodyProgressCallback progress = nullptr);
    bool TruncateOneLineMelody(const QByteArray& melody_in, QByteArray& melody_out, int maxSize, CProfile* profile,
                               MelodyProgressCallback progress = nullptr);

    // --- iMelody writer ---
    QString WriteHeader(CDocumentMelody* doc, bool begin, bool version, bool format, bool name, bool beat, bool style,
                        bool volume);
    // Writes the document's melody within maxSize bytes; the document itself
    // is not changed (its notes are fitted to the profile's band in a copy).
    bool WriteIMelody(CDocumentMelody* doc, bool begin, bool version, bool format, bool name, bool beat, bool style,
                      bool volume, CProfile* profile, QByteArray& melody_out, unsigned maxSize, IMYNotes& events,
                      MelodyProgressCallback progress = nullptr);
    // Builds the events of a note list while their melody line stays within
    // sizeLeft bytes; returns the line's length with its final CR LF.
    int WriteNotes(const MelodyNoteList& notes, int style, qint64 sizeLeft, IMYNotes& events, VolumeInfo* info,
                   bool oneLine, MelodyProgressCallback progress = nullptr);
    void WriteMelodyLine(IMYNotes& events, bool oneLine, QString& out);
    void RemoveUnclosedIMYPatterns(IMYNotes& events);

    // --- iMelody parser ---
    bool ParseIMelody(const QByteArray& melody_in, CDocumentMelody* doc, CProfile* profile, bool found[HeaderLineCount],
                      bool* oneLine);

    // --- one-line melody ---
    bool WriteOneLineMelody(CDocumentMelody* doc, QByteArray& melody_out, CProfile* profile, int maxSize,
                            CMemFile* file, IBrimselNotes* events, MelodyProgressCallback progress = nullptr);
    bool ParseOneLineMelody(const QByteArray& melody_in, CDocumentMelody* doc, CProfile* profile);
    static QByteArray MakeOneLineHeader(int count, int beat, int style, int volume);
    int WriteBrimselCodes(IBrimselNotes* events, CMemFile* file);
    void DumpBrimselNotes(IBrimselNotes* events);
    void RemoveUnclosedBrimselPatterns(IBrimselNotes* events);

private:
    bool Fail(int code);
    // A note read back from either text; its volume is the running level
    // times 8, kept to one byte as the level is not bounded.
    static MidiNote* NewReadNote(int value, int octave, int duration, int modifier, int level);

    // iMelody parser steps (positions index the filtered melody string).
    bool CheckLoops(const QString& melody);
    static QString ReadNameField(const QString& text, int position);
    static int ReadNumber(const QString& text, int position);
    static void FilterString(QString& text, const char* keep);
    int NextToken(const QString& melody, int start);
    static int ReadOctave(const QString& token);
    bool ParseNote(const QString& token, int& pitch, int& duration, int& modifier);
    MelodyElement* ParseMelodyString(const QString& melody, int& position, QVector<MelodyBeginPattern*>& openLoops);

    // One-line writer step.
    bool BuildBrimselNotes(const MelodyNoteList& notes, int style, qint64 sizeLeft, IBrimselNotes* events,
                           const VolumeInfo& info, MelodyProgressCallback progress);

    int m_nErrorCode = 0;
    int m_nVolumeLevel = 0;
};
