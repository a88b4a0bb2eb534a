// iMelody text parser: header fields, then the melody string as notes, rests
// and loop markers.
#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"
#include "Melody/MelodyProfileLimits.h"
#include "Util/Assert.h"

#include <QtDebug>

namespace {
const char kMelodyAlphabet[] = "abcdefg#&r+-*:.;()@0123456789";
// A note token holds at most an accidental, an octave prefix, a letter with
// its duration and a modifier; the volume marks that follow do not count.
const int kMaxTokenLength = 10;

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsNoteLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('g')) || c == QLatin1Char('r');
}

int DigitValue(QChar c)
{
    return c.unicode() - '0';
}
} // namespace

bool CMelodyTruncate::ParseIMelody(const QByteArray& melody_in, CDocumentMelody* doc, CProfile* profile,
                                   bool found[HeaderLineCount], bool* oneLine)
{
    CDocumentMelody* pMelodyDoc = doc;
    CProfile* pProfile = profile;
    ASSERT(!melody_in.isNull() && !melody_in.isEmpty());
    ASSERT(pMelodyDoc);
    ASSERT(pProfile);
    if (!pMelodyDoc)
        return false;
    MelodyNoteList* pMelodyNoteList = &doc->GetMelodyNoteList();
    ASSERT(pMelodyNoteList);

    bool localFound[HeaderLineCount];
    bool* flags = found ? found : localFound;
    for (int i = 0; i < HeaderLineCount; ++i)
        flags[i] = false;

    const QString text = QString::fromLatin1(melody_in.constData(), melody_in.size());
    const MelodyProfileLimits limits = MelodyProfileLimits::Read(profile);
    int beat = 120;
    int style = 1;
    int volume = 7;

    flags[HeaderBegin] = text.startsWith(QLatin1String("BEGIN:IMELODY"));
    if (flags[HeaderBegin]) {
        int position = text.indexOf(QLatin1String("BEAT:"));
        if (position > 0) {
            flags[HeaderBeat] = true;
            const int n = ReadNumber(text, position);
            if (n < 25 || n > 900)
                return Fail(BeatOutOfRange);
            beat = qMax(limits.nMinBpm, qMin(n, limits.nMaxBpm));
        }
        position = text.indexOf(QLatin1String("STYLE:"));
        if (position > 0) {
            flags[HeaderStyle] = true;
            const int n = ReadNumber(text, position);
            if (n > 2)
                return Fail(StyleOutOfRange);
            style = MelodyProfileLimits::SupportedStyle(profile, n);
        }
        position = text.indexOf(QLatin1String("VOLUME:"));
        if (position > 0) {
            flags[HeaderVolume] = true;
            const int n = ReadNumber(text, position);
            if (n > 15)
                return Fail(VolumeOutOfRange);
            volume = n;
        }
        position = text.indexOf(QLatin1String("NAME:"));
        if (position > 0) {
            flags[HeaderName] = true;
            const QString name = ReadNameField(text, position + 5);
            if (name.isEmpty())
                return Fail(MelodyNameEmpty);
            doc->SetMelodyName(name);
        }
        flags[HeaderFormat] = text.indexOf(QLatin1String("FORMAT:")) > 0;
        flags[HeaderVersion] = text.indexOf(QLatin1String("VERSION:")) > 0;
    }
    doc->SetBeat(beat);
    doc->SetStyle(style);
    doc->SetVolume(volume);
    m_nVolumeLevel = volume;

    const int tag = text.indexOf(QLatin1String("MELODY:"));
    if (tag < 0)
        return Fail(MelodyTagNotFound);
    QString melody = text.mid(tag + 7);
    qDebug().noquote() << QStringLiteral("Melody String :") + melody;
    if (!CheckLoops(melody))
        return false;

    const int end = melody.indexOf(QLatin1String("END:IMELODY"));
    if (end > 0)
        melody.truncate(end);
    melody = melody.trimmed();
    qDebug().noquote() << QStringLiteral("Without footer Melody String :") + melody;
    if (oneLine)
        *oneLine = melody.indexOf(QLatin1String("\r\n")) <= 0;

    melody = melody.toLower();
    FilterString(melody, kMelodyAlphabet);
    qDebug().noquote() << QStringLiteral("Filtered Melody String :") + melody;

    QVector<MelodyBeginPattern*> openLoops;
    int position = 0;
    while (position < melody.length()) {
        MelodyElement* element = ParseMelodyString(melody, position, openLoops);
        if (!element)
            return false;
        pMelodyNoteList->append(element);
    }
    return true;
}

bool CMelodyTruncate::CheckLoops(const QString& melody)
{
    QString marks = melody;
    FilterString(marks, "@()");
    if (marks.isEmpty())
        return true;
    bool inLoop = false;
    QChar previous;
    for (const QChar c : marks) {
        if (c == QLatin1Char('(')) {
            if (inLoop)
                return Fail(NestedLoop);
            inLoop = true;
        } else if (c == QLatin1Char(')')) {
            if (previous != QLatin1Char('@'))
                return Fail(InvalidEndOfLoop);
            inLoop = false;
        } else if (previous != QLatin1Char('(')) {
            return Fail(InvalidLoopSpecifier);
        }
        previous = c;
    }
    if (marks.at(marks.length() - 1) != QLatin1Char(')'))
        return Fail(LoopParenthesisNotFound);
    return true;
}

QString CMelodyTruncate::ReadNameField(const QString& text, int position)
{
    // Runs of white space become one blank, the leading one included: a
    // field that starts with white space (an empty NAME line) has no name.
    QString field;
    bool inSpace = false;
    for (int i = qMax(0, position); i < text.length(); ++i) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            if (!inSpace)
                field += QLatin1Char(' ');
            inSpace = true;
        } else {
            field += c;
            inSpace = false;
        }
    }
    const int blank = field.indexOf(QLatin1Char(' '));
    const QString name = blank < 0 ? field : field.left(blank);
    qDebug().noquote() << QStringLiteral("Melody Name:") + name;
    return name;
}

int CMelodyTruncate::ReadNumber(const QString& text, int position)
{
    int i = qMax(0, position);
    while (i < text.length() && !IsDigit(text.at(i)))
        ++i;
    // Long digit runs saturate: an out-of-range value stays out of range.
    qint64 value = 0;
    for (; i < text.length() && IsDigit(text.at(i)); ++i)
        value = qMin<qint64>(value * 10 + DigitValue(text.at(i)), INT_MAX);
    return static_cast<int>(value);
}

void CMelodyTruncate::FilterString(QString& text, const char* keep)
{
    const QString allowed = QString::fromLatin1(keep);
    QString kept;
    kept.reserve(text.length());
    for (const QChar c : text)
        if (allowed.contains(c))
            kept += c;
    text = kept;
}

int CMelodyTruncate::NextToken(const QString& melody, int start)
{
    const int length = melody.length();
    const QChar first = melody.at(start);
    if (first == QLatin1Char('('))
        return 1;
    if (first == QLatin1Char(')')) {
        Fail(InvalidEndOfLoop);
        return -1;
    }
    if (first == QLatin1Char('@')) {
        int i = start + 1;
        if (i >= length || !IsDigit(melody.at(i))) {
            Fail(LoopDigitsNotFound);
            return -1;
        }
        ++i;
        if (i < length && IsDigit(melody.at(i)))
            ++i;
        while (i < length && (melody.at(i) == QLatin1Char('+') || melody.at(i) == QLatin1Char('-')))
            ++i;
        if (i >= length || melody.at(i) != QLatin1Char(')')) {
            Fail(LoopParenthesisNotFound);
            return -1;
        }
        return i + 1 - start;
    }

    bool sharp = false;
    bool flat = false;
    bool octave = false;
    bool letter = false;
    bool modifier = false;
    int counted = 0;
    int i = start;
    while (i < length) {
        const QChar c = melody.at(i);
        if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            m_nVolumeLevel += c == QLatin1Char('+') ? 1 : -1;
            ++i;
            continue;
        }
        if (counted >= kMaxTokenLength)
            return 0;
        if (c == QLatin1Char('#') || c == QLatin1Char('&')) {
            bool& seen = c == QLatin1Char('#') ? sharp : flat;
            if (seen || letter)
                break;
            seen = true;
            ++i;
            ++counted;
        } else if (c == QLatin1Char('*')) {
            if (octave || letter)
                break;
            octave = true;
            ++i;
            ++counted;
            if (i < length && IsDigit(melody.at(i))) {
                ++i;
                ++counted;
            }
        } else if (IsNoteLetter(c)) {
            if (letter)
                break;
            letter = true;
            ++i;
            ++counted;
            if (i < length && IsDigit(melody.at(i))) {
                ++i;
                ++counted;
            }
        } else if (c == QLatin1Char('.') || c == QLatin1Char(':') || c == QLatin1Char(';')) {
            if (modifier)
                break;
            modifier = true;
            ++i;
            ++counted;
        } else if (c == QLatin1Char('(') || c == QLatin1Char('@') || c == QLatin1Char(')')) {
            break; // starts the next token
        } else {
            qDebug().noquote() << QStringLiteral("invalid note: ") + c;
            Fail(InvalidNote);
            return -1;
        }
    }
    return i - start;
}

int CMelodyTruncate::ReadOctave(const QString& token)
{
    const int star = token.indexOf(QLatin1Char('*'));
    if (star < 0)
        return 4;
    if (star + 1 < token.length() && IsDigit(token.at(star + 1)))
        return DigitValue(token.at(star + 1));
    return -1;
}

bool CMelodyTruncate::ParseNote(const QString& token, int& pitch, int& duration, int& modifier)
{
    const bool flat = token.contains(QLatin1Char('&'));
    const bool sharp = token.contains(QLatin1Char('#'));
    int at = 0;
    while (at < token.length() && !IsNoteLetter(token.at(at)))
        ++at;
    if (at >= token.length())
        return Fail(NoteValueNotFound);
    if (at + 1 >= token.length() || !IsDigit(token.at(at + 1)) || DigitValue(token.at(at + 1)) > 5)
        return Fail(InvalidNote);
    duration = DigitValue(token.at(at + 1));
    modifier = 0;
    if (at + 2 < token.length()) {
        const QChar c = token.at(at + 2);
        modifier = c == QLatin1Char('.') ? 1 : c == QLatin1Char(':') ? 2 : c == QLatin1Char(';') ? 3 : 0;
    }

    // Per letter: plain, sharp and flat values; -1 is a sign that does not exist.
    struct Pitches
    {
        char letter;
        int plain, sharp, flat;
    };
    static const Pitches kPitches[] = {
        {'c', 0, 1, -1},   {'d', 2, 3, 1},
        {'e', 4, -1, 3},   {'f', 5, 6, -1},
        {'g', 7, 8, 6},    {'a', 9, 10, 8},
        {'b', 11, -1, 10}, {'r', MidiNote::Silence, MidiNote::Silence, MidiNote::Silence}};
    for (const Pitches& p : kPitches) {
        if (token.at(at) != QLatin1Char(p.letter))
            continue;
        if (sharp) {
            if (p.sharp < 0)
                return Fail(InvalidSharp);
            pitch = p.sharp;
        } else if (flat) {
            if (p.flat < 0)
                return Fail(InvalidFlat);
            pitch = p.flat;
        } else {
            pitch = p.plain;
        }
        return true;
    }
    return Fail(InvalidNote);
}

MelodyElement* CMelodyTruncate::ParseMelodyString(const QString& melody, int& position,
                                                  QVector<MelodyBeginPattern*>& openLoops)
{
    const int length = NextToken(melody, position);
    if (length < 0)
        return nullptr;
    if (length == 0) {
        Fail(NoteValueNotFound);
        return nullptr;
    }
    const QString token = melody.mid(position, length);
    position += length;

    const QChar first = token.at(0);
    if (first == QLatin1Char('(')) {
        MelodyBeginPattern* begin = new MelodyBeginPattern(0);
        openLoops.append(begin);
        return begin;
    }
    if (first == QLatin1Char(')')) {
        Fail(InvalidEndOfLoop);
        return nullptr;
    }
    if (first == QLatin1Char('@')) {
        const int n = ReadNumber(token, 0);
        if (n > 15) {
            Fail(RepeatOutOfRange);
            return nullptr;
        }
        if (openLoops.isEmpty()) {
            Fail(InvalidEndOfLoop);
            return nullptr;
        }
        openLoops.takeLast()->SetRepeatCount(n);
        return new MelodyEndPattern(n);
    }

    const int octave = ReadOctave(token);
    if (octave < 0 || octave > 8) {
        Fail(ScaleOutOfRange);
        return nullptr;
    }
    int pitch = 0;
    int duration = 0;
    int modifier = 0;
    if (!ParseNote(token, pitch, duration, modifier))
        return nullptr;
    return NewReadNote(pitch, octave, duration, modifier, m_nVolumeLevel);
}
