// iMelody text writer: header lines, the "MELODY:" line wrapped at column 75
// and "END:IMELODY", all within a byte budget.
#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"
#include "Melody/MelodyProfileLimits.h"
#include "Melody/UnclosedPatterns.h"
#include "Melody/WriterNotes.h"
#include "Util/Assert.h"

namespace {
const int kLineWidth = 75;
const int kMelodyTagLength = 7; // "MELODY:"
const int kEndTagLength = 11;   // "END:IMELODY"
const int kLineBreakLength = 2; // CR LF
const int kWrapCost = 3;        // CR LF and the blank that starts a continuation line

// Where a text of the given length lands on the line that has reached
// column: how many characters stay on this line (the rest continue on the
// next one) and the column after it. A text longer than a whole line stays
// in one piece on its continuation line.
struct LinePlacement
{
    bool bWrap = false;
    int nKept = 0;
    int nColumn = 0;
};

LinePlacement Place(int column, int length, bool oneLine)
{
    LinePlacement placement;
    placement.bWrap = !oneLine && column + length > kLineWidth;
    if (placement.bWrap) {
        placement.nKept = qMax(0, kLineWidth - column);
        placement.nColumn = length - placement.nKept + 1;
    } else {
        placement.nKept = length;
        placement.nColumn = column + length;
    }
    return placement;
}

QString EndedLine(const QString& text)
{
    return text + QLatin1String("\r\n");
}
} // namespace

QString CMelodyTruncate::WriteHeader(CDocumentMelody* doc, bool begin, bool version, bool format, bool name, bool beat,
                                     bool style, bool volume)
{
    ASSERT(doc);
    if (!begin || !doc)
        return QString();
    QString header = EndedLine(QStringLiteral("BEGIN:IMELODY"));
    if (version)
        header += EndedLine(QStringLiteral("VERSION:1.0"));
    if (format)
        header += EndedLine(QStringLiteral("FORMAT:CLASS1.0"));
    if (name)
        header += EndedLine(QStringLiteral("NAME:") + doc->GetMelodyName());
    if (beat)
        header += EndedLine(QStringLiteral("BEAT:%1").arg(doc->GetBeat()));
    if (style)
        header += EndedLine(QStringLiteral("STYLE:%1").arg(doc->GetStyle()));
    if (volume)
        header += EndedLine(QStringLiteral("VOLUME:%1").arg(doc->GetVolume()));
    return header;
}

bool CMelodyTruncate::WriteIMelody(CDocumentMelody* doc, bool begin, bool version, bool format, bool name, bool beat,
                                   bool style, bool volume, CProfile* profile, QByteArray& melody_out, unsigned maxSize,
                                   IMYNotes& events, MelodyProgressCallback progress)
{
    CDocumentMelody* pMelodyDoc = doc;
    CProfile* pProfile = profile;
    ASSERT(pMelodyDoc);
    ASSERT(melody_out.size() == 0);
    ASSERT(pProfile);
    if (!pMelodyDoc)
        return false;

    const MelodyProfileLimits limits = MelodyProfileLimits::Read(profile);
    const QString header = WriteHeader(doc, begin, version, format, name, beat, style, volume);
    const qint64 endLength = begin ? kEndTagLength : 0;
    const qint64 budget = maxSize;
    // The melody line needs at least its tag and its line break.
    if (header.length() + kMelodyTagLength + kLineBreakLength + endLength > budget)
        return Fail(NameTooLong);

    MelodyNoteList notes;
    VolumeInfo info;
    PrepareWriterNotes(*doc, limits, notes, info);

    WriteNotes(notes, doc->GetStyle(), budget - header.length() - endLength, events, &info, limits.bOneLine, progress);
    RemoveUnclosedIMYPatterns(events);

    const QString end = begin ? QStringLiteral("END:IMELODY") : QString();
    QString line;
    WriteMelodyLine(events, limits.bOneLine, line);
    // Dropping unclosed loops only shortens the line; this keeps the limit
    // a hard one whatever the wrapping does.
    while (header.length() + line.length() + end.length() > budget && !events.isEmpty()) {
        events.removeAt(events.count() - 1);
        RemoveUnclosedIMYPatterns(events);
        WriteMelodyLine(events, limits.bOneLine, line);
    }
    melody_out = (header + line + end).toLatin1();
    return true;
}

int CMelodyTruncate::WriteNotes(const MelodyNoteList& notes, int style, qint64 sizeLeft, IMYNotes& events,
                                VolumeInfo* info, bool oneLine, MelodyProgressCallback progress)
{
    events.clear();
    sizeLeft -= kLineBreakLength;
    qint64 lineLength = kMelodyTagLength;
    int column = kMelodyTagLength;
    const MidiNote* previous = nullptr;
    const int total = notes.count();
    int done = 0;

    for (const MelodyElement* element : notes) {
        IMYEvent* event = nullptr;
        switch (element->GetElementType()) {
        case MelodyElement::Note: {
            const MidiNote* note = static_cast<const MidiNote*>(element);
            event = new IMYNote(note, previous, style, info);
            if (!note->IsSilence())
                previous = note;
            break;
        }
        case MelodyElement::BeginPattern:
            event = new IMYBeginPattern(static_cast<const MelodyBeginPattern*>(element));
            break;
        case MelodyElement::EndPattern:
            event = new IMYEndPattern(static_cast<const MelodyEndPattern*>(element));
            break;
        default:
            ASSERT((0));
            continue;
        }

        const int length = event->GetText().length();
        const LinePlacement placement = Place(column, length, oneLine);
        const qint64 cost = length + (placement.bWrap ? kWrapCost : 0);
        if (lineLength + cost > sizeLeft) {
            delete event;
            break;
        }
        lineLength += cost;
        column = placement.nColumn;
        events.append(event);
        ++done;
        if (progress)
            progress(static_cast<int>(100LL * done / total));
    }
    return static_cast<int>(qMin<qint64>(lineLength + kLineBreakLength, INT_MAX));
}

void CMelodyTruncate::WriteMelodyLine(IMYNotes& events, bool oneLine, QString& out)
{
    out = QStringLiteral("MELODY:");
    int column = kMelodyTagLength;
    for (IMYEvent* event : events) {
        const QString text = event->GetText();
        const LinePlacement placement = Place(column, text.length(), oneLine);
        if (placement.bWrap) {
            out += text.left(placement.nKept);
            out += QLatin1String("\r\n ");
            out += text.mid(placement.nKept);
        } else {
            out += text;
        }
        column = placement.nColumn;
    }
    out += QLatin1String("\r\n");
}

void CMelodyTruncate::RemoveUnclosedIMYPatterns(IMYNotes& events)
{
    RemoveUnclosedPatterns(events);
}
