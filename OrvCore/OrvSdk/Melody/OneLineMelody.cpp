// The maker's one-line melody format: a 10-byte header, one- and two-byte
// event codes, and the end byte 0x1F.
#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"
#include "Melody/MelodyProfileLimits.h"
#include "Melody/UnclosedPatterns.h"
#include "Melody/WriterNotes.h"
#include "Util/Assert.h"
#include "Util/CMemFile.h"

#include <QtDebug>

namespace {
const int kHeaderSize = 10;
const int kFrameSize = kHeaderSize + 1; // header and end byte
const uchar kEndByte = 0x1F;
// The header counts the code bytes and the end byte in 16 bits.
const qint64 kMaxCodeBytes = 0xFFFF - 1;

// Matches each loop opening with its close so that the opening can carry the
// repeat count, which a melody keeps in the closing item.
QVector<const MelodyEndPattern*> MatchLoopCloses(const MelodyNoteList& notes)
{
    QVector<const MelodyEndPattern*> closes(notes.count(), nullptr);
    QVector<int> open;
    for (int i = 0; i < notes.count(); ++i) {
        const int type = notes.at(i)->GetElementType();
        if (type == MelodyElement::BeginPattern)
            open.append(i);
        else if (type == MelodyElement::EndPattern && !open.isEmpty())
            closes[open.takeLast()] = static_cast<const MelodyEndPattern*>(notes.at(i));
    }
    return closes;
}
} // namespace

QByteArray CMelodyTruncate::MakeOneLineHeader(int count, int beat, int style, int volume)
{
    QByteArray header(kHeaderSize, '\0');
    header[0] = '.';
    header[1] = 'Q';
    header[2] = 'B';
    header[3] = 'R';
    header[4] = static_cast<char>(count & 0xFF);
    header[5] = static_cast<char>((count >> 8) & 0xFF);
    header[6] = 0x10;
    header[7] = 0x20;
    header[8] = static_cast<char>((static_cast<unsigned>(beat) >> 2) & 0xFFu);
    header[9] = static_cast<char>((static_cast<unsigned>(beat) & 3u) << 6 | (static_cast<unsigned>(style) & 3u) << 4
                                  | (static_cast<unsigned>(volume) & 15u));
    return header;
}

bool CMelodyTruncate::WriteOneLineMelody(CDocumentMelody* doc, QByteArray& melody_out, CProfile* profile, int maxSize,
                                         CMemFile* file, IBrimselNotes* events, MelodyProgressCallback progress)
{
    CDocumentMelody* pMelodyDoc = doc;
    CProfile* pProfile = profile;
    ASSERT(pMelodyDoc);
    ASSERT(pProfile);
    ASSERT(melody_out.size() == 0);
    ASSERT(events);
    ASSERT(file);
    if (!pMelodyDoc || !events || !file)
        return false;
    ASSERT(events->count() == 0);
    ASSERT(file->GetSize() == 0);
    // Below the header and end byte nothing can be written at all.
    if (maxSize < kFrameSize)
        return Fail(BadSize);

    const MelodyProfileLimits limits = MelodyProfileLimits::Read(profile);
    const qint64 sizeLeft = qMin<qint64>(static_cast<qint64>(maxSize) - kFrameSize, kMaxCodeBytes);

    MelodyNoteList notes;
    VolumeInfo info;
    PrepareWriterNotes(*doc, limits, notes, info);

    if (!BuildBrimselNotes(notes, doc->GetStyle(), sizeLeft, events, info, progress))
        return false;
    RemoveUnclosedBrimselPatterns(events);
    DumpBrimselNotes(events);

    const QByteArray placeholder(kHeaderSize, '\0');
    file->Write(placeholder.constData(), 1, kHeaderSize);
    const int codeBytes = WriteBrimselCodes(events, file);
    file->Write(&kEndByte, 1, 1);
    const QByteArray header = MakeOneLineHeader(codeBytes + 1, doc->GetBeat(), doc->GetStyle(), doc->GetVolume());
    file->Seek(0, 0);
    file->Write(header.constData(), 1, kHeaderSize);
    file->CopyToArray(&melody_out);
    return true;
}

bool CMelodyTruncate::BuildBrimselNotes(const MelodyNoteList& notes, int style, qint64 sizeLeft, IBrimselNotes* events,
                                        const VolumeInfo& info, MelodyProgressCallback progress)
{
    events->clear();
    const QVector<const MelodyEndPattern*> closes = MatchLoopCloses(notes);
    qint64 used = 0;
    int level = info.nTopLevel;
    const MidiNote* previous = nullptr;
    const int total = notes.count();

    for (int index = 0; index < total; ++index) {
        const MelodyElement* element = notes.at(index);
        IBrimselEvent* event = nullptr;
        if (element->GetElementType() == MelodyElement::BeginPattern) {
            // An opening is written only with room for its close.
            if (used + 2 > sizeLeft)
                break;
            QBRBeginPattern* begin = new QBRBeginPattern(static_cast<const MelodyBeginPattern*>(element));
            if (closes.at(index))
                begin->SetRepeatCount(closes.at(index)->GetRepeatCount());
            events->append(begin);
            used += 1;
        } else if (element->GetElementType() == MelodyElement::EndPattern) {
            used += 1;
            if (used > sizeLeft)
                break;
            events->append(new QBREndPattern(static_cast<const MelodyEndPattern*>(element)));
        } else {
            const MidiNote* note = static_cast<const MidiNote*>(element);
            if (note->IsSilence()) {
                event = new UserSilence(note, style, level, 0);
            } else {
                const int target = note->GetVolumeLevel(info);
                const bool same =
                    previous && previous->GetValue() == note->GetValue() && previous->GetOctave() == note->GetOctave();
                if (target == level) {
                    if (same)
                        event = new ShortSilence(note, style, level, 0);
                    else
                        event = new IBrimselNote(note, style, level, 0);
                } else {
                    // The format moves the volume by one level per note at most.
                    const int step = target > level ? 1 : -1;
                    if (same) {
                        if (used + 1 > sizeLeft)
                            break;
                        events->append(new UserSilence(note, style, level, 0));
                        used += 1;
                    }
                    level += step;
                    event = new IBrimselNote(note, style, level, step);
                }
                previous = note;
            }
            unsigned size = 0;
            event->GetCode(size);
            if (used + size > sizeLeft) {
                delete event;
                break;
            }
            events->append(event);
            used += size;
        }
        if (progress)
            progress(static_cast<int>(100LL * (index + 1) / total));
    }
    return true;
}

int CMelodyTruncate::WriteBrimselCodes(IBrimselNotes* events, CMemFile* file)
{
    if (!events || !file)
        return 0;
    int written = 0;
    for (IBrimselEvent* event : *events) {
        unsigned size = 0;
        const uint16_t code = event->GetCode(size);
        const uchar bytes[2] = {static_cast<uchar>(code & 0xFF), static_cast<uchar>(code >> 8)};
        file->Write(bytes, 1, size);
        written += static_cast<int>(size);
    }
    return written;
}

void CMelodyTruncate::DumpBrimselNotes(IBrimselNotes* events)
{
    if (!events)
        return;
    qDebug("--------------------------------------------------");
    for (IBrimselEvent* event : *events)
        qDebug().noquote() << event->Dump();
}

void CMelodyTruncate::RemoveUnclosedBrimselPatterns(IBrimselNotes* events)
{
    if (events)
        RemoveUnclosedPatterns(*events);
}

bool CMelodyTruncate::ParseOneLineMelody(const QByteArray& melody_in, CDocumentMelody* doc, CProfile* profile)
{
    CDocumentMelody* pMelodyDoc = doc;
    CProfile* pProfile = profile;
    ASSERT(pMelodyDoc);
    ASSERT(!melody_in.isNull() && !melody_in.isEmpty());
    ASSERT(pProfile);
    if (!pMelodyDoc)
        return false;

    const int length = melody_in.size();
    const uchar* bytes = reinterpret_cast<const uchar*>(melody_in.constData());
    if (length < kHeaderSize)
        return Fail(BadSize);
    const int count = bytes[4] | bytes[5] << 8;
    if (length != count + kHeaderSize)
        return Fail(BadSize);

    const MelodyProfileLimits limits = MelodyProfileLimits::Read(profile);
    const int beat = bytes[8] * 4 + (bytes[9] >> 6);
    const int style = (bytes[9] >> 4) & 3;
    if (style > 2)
        return Fail(StyleOutOfRange);
    const int volume = bytes[9] & 15;
    doc->SetBeat(qMax(limits.nMinBpm, qMin(beat, limits.nMaxBpm)));
    doc->SetStyle(MelodyProfileLimits::SupportedStyle(profile, style));
    doc->SetVolume(volume);
    int level = volume;

    MelodyNoteList& notes = doc->GetMelodyNoteList();
    QVector<MelodyBeginPattern*> openLoops;
    const MidiNote* previous = nullptr;
    for (int at = kHeaderSize; at < length;) {
        const uchar code = bytes[at];
        const int duration = (code >> 3) & 7;
        const int modifier = code >> 6;
        const int kind = (code >> 1) & 3;
        if (!(code & 1)) {
            // A two-byte note: the volume step, then octave and pitch.
            if (at + 1 >= length)
                return Fail(BadSize);
            if (kind == 3)
                return Fail(InvalidVolumeSpecifier);
            const uchar second = bytes[at + 1];
            const int octave = second >> 4;
            const int pitch = second & 15;
            if (octave >= 9)
                return Fail(ScaleOutOfRange);
            if (pitch > MidiNote::Silence || duration >= MidiNote::DurationCount)
                return Fail(InvalidNote);
            level += kind == 1 ? 1 : (kind == 2 ? -1 : 0);
            MidiNote* note = NewReadNote(pitch, octave, duration, modifier, level);
            notes.append(note);
            previous = note;
            at += 2;
            continue;
        }
        ++at;
        if (kind == 3)
            continue; // the end byte
        if (kind == 1 || kind == 2) {
            if (duration >= MidiNote::DurationCount)
                return Fail(InvalidNote);
            if (kind == 2 && !previous)
                return Fail(ShortSilenceBeforeNote);
            if (kind == 1) {
                notes.append(NewReadNote(MidiNote::Silence, 0, duration, modifier, 0));
                continue;
            }
            // A repeat of the previous pitch after a short silence.
            MidiNote* note = NewReadNote(previous->GetValue(), previous->GetOctave(), duration, modifier, level);
            notes.append(note);
            previous = note;
            continue;
        }
        // Loop markers: bit 3 set, bit 4 tells opening from close.
        if (!(code & 0x08))
            return Fail(InvalidNote);
        const int part = code >> 5;
        if (!(code & 0x10)) {
            MelodyBeginPattern* begin = new MelodyBeginPattern(part);
            notes.append(begin);
            openLoops.append(begin);
        } else {
            if (openLoops.isEmpty())
                return Fail(InvalidEndOfLoop);
            MelodyBeginPattern* begin = openLoops.takeLast();
            const int repeat = begin->GetRepeatCount() * 8 + part;
            begin->SetRepeatCount(repeat);
            notes.append(new MelodyEndPattern(repeat));
        }
    }
    if (!openLoops.isEmpty())
        return Fail(PatternMismatch);
    return true;
}
