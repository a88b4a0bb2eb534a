#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One note or rest read from a ring-tone text.
struct RtttlNote
{
    int pitch = 12;        // 0 to 11 from C, 12 for a rest
    int octave = 5;        // the text's octave - 1
    int durationIndex = 2; // 0 whole to 5 thirty-second
    bool dotted = false;
};

// Everything a ring-tone text gives: the melody's values, its notes in order, and
// the message ids of what was skipped, in the order they were met.
struct RtttlTune
{
    QString name; // empty when the text has none
    int beat = 63;
    int style = 0;
    int loop = 0;
    QList<RtttlNote> notes;
    QStringList messages;
};

// Lenient reader of RTTTL/RTX ring-tone texts (name:defaults:notes). Unknown or
// unsupported parts are skipped with a warning id; nothing is refused here.
class CRtttlReader
{
public:
    static RtttlTune Read(const QByteArray& bytes);

    // The digits at `position` as a number; 0 without digits, saturated on overflow.
    static int ReadNumber(const QString& text, qsizetype position);

    // The text with every character outside the ring-tone alphabet removed.
    static QString Filter(const QString& text);

private:
    CRtttlReader() = default;

    bool ReadDefaults(QString text);
    void ReadControl(const QString& item);
    void ReadNote(QString item);
    void Warn(const char* id);
    // A warning that says something of the whole tune: given once, where first met.
    void WarnOnce(const char* id);

    RtttlTune m_Tune;
    int m_Duration = 4;
    int m_Octave = 6;
};

// Message ids of the ring-tone importer.
namespace RtttlMessage {
inline constexpr char NameNotFound[] = "id_import_rtx_name_not_found_warning";
inline constexpr char UnrecognizedFeature[] = "id_import_rtx_unrecognized_feature_warning";
inline constexpr char UnrecognizedSequence[] = "id_import_rtx_unrecognized_sequence_warning";
inline constexpr char NoNotesFound[] = "id_import_rtx_no_notes_found_error";
inline constexpr char ShortNotes[] = "id_import_rtx_short_notes_warning";
inline constexpr char OctaveMoved[] = "id_import_rtx_octave_moved_warning";
} // namespace RtttlMessage
