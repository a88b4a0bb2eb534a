// Size-bounded round trips of both melody texts, and the error texts.
#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"
#include "Util/CMemFile.h"

#include <memory>

namespace {
const char* const kErrorTexts[] = {"name too long",
                                   "melody tag not found",
                                   "melody name string empty",
                                   "nesty loop unsupported",
                                   "digits not found for loop",
                                   "closed parenthesis not found for loop",
                                   "invalid loop specifier found",
                                   "note value not found",
                                   "invalid sharp found",
                                   "invalid flat found",
                                   "repeat specifier out of range",
                                   "volume out of range",
                                   "beat out of range",
                                   "scale out of range",
                                   "style out of range",
                                   "invalid note found",
                                   "invalid end of loop found",
                                   "short silence found before note",
                                   "invalid volume specifier found",
                                   "begin or end pattern mismatch",
                                   "bad size"};
const int kErrorCount = int(sizeof(kErrorTexts) / sizeof(kErrorTexts[0]));
} // namespace

CMelodyTruncate::CMelodyTruncate() = default;
CMelodyTruncate::~CMelodyTruncate() = default;

bool CMelodyTruncate::Fail(int code)
{
    m_nErrorCode = code;
    return false;
}

MidiNote* CMelodyTruncate::NewReadNote(int value, int octave, int duration, int modifier, int level)
{
    MidiNote* note = new MidiNote;
    note->SetValue(value);
    note->SetOctave(octave);
    note->SetDuration(duration);
    note->SetDurationModifier(modifier);
    note->SetVolume(static_cast<int>(static_cast<unsigned>(level) * 8u & 0xFFu));
    return note;
}

QString CMelodyTruncate::GetErrorText(int code)
{
    if (code < 0 || code >= kErrorCount)
        return QStringLiteral("unknown");
    return QString::fromLatin1(kErrorTexts[code]);
}

QString CMelodyTruncate::GetErrorText() const
{
    return GetErrorText(m_nErrorCode);
}

bool CMelodyTruncate::Truncate(const QByteArray& melody_in, QByteArray& melody_out, int maxSize, CProfile* profile,
                               MelodyProgressCallback progress)
{
    CDocumentMelody melody;
    bool found[HeaderLineCount];
    bool oneLine = false;
    if (!ParseIMelody(melody_in, &melody, profile, found, &oneLine))
        return false;
    // A negative limit leaves no room; it never turns into "no limit".
    IMYNotes events;
    return WriteIMelody(&melody, found[HeaderBegin], found[HeaderVersion], found[HeaderFormat], found[HeaderName],
                        found[HeaderBeat], found[HeaderStyle], found[HeaderVolume], profile, melody_out,
                        static_cast<unsigned>(qMax(0, maxSize)), events, progress);
}

bool CMelodyTruncate::TruncateOneLineMelody(const QByteArray& melody_in, QByteArray& melody_out, int maxSize,
                                            CProfile* profile, MelodyProgressCallback progress)
{
    CDocumentMelody melody;
    if (!ParseOneLineMelody(melody_in, &melody, profile))
        return false;
    CMemFile file;
    IBrimselNotes events;
    return WriteOneLineMelody(&melody, melody_out, profile, maxSize, &file, &events, progress);
}
