#include "RtttlReader.h"

#include "Util/Assert.h"

#include <QtDebug>
#include <climits>

namespace {
const QString Alphabet = QStringLiteral("ahcdefg.#p:,=odbslncs0123456789");

// Pitch names in search order; the last one found in an item wins, so "c#" beats "c".
// B is written "h" or, in most ring tones, "b"; "b=" stays the beat, as an item with
// "=" is a control and never a note.
struct PitchName
{
    const char* name;
    int value;
};
const PitchName PitchNames[] = {
    {"c", 0}, {"c#", 1}, {"d", 2}, {"d#", 3},  {"e", 4},  {"f", 5},  {"f#", 6},
    {"g", 7}, {"g#", 8}, {"a", 9}, {"a#", 10}, {"h", 11}, {"b", 11}, {"p", 12},
};

const char* const DurationWords[] = {"ronde", "blanche", "noire", "croche", "double croche", "triple croche"};

// The duration index of 1, 2, 4, 8, 16 or 32; -1 for any other length.
int DurationIndex(int duration)
{
    for (int index = 0; index <= 5; ++index)
        if (duration == 1 << index)
            return index;
    return -1;
}

// Some collections write triplets as 48ths and the shortest notes as 64ths; the melody's
// shortest note is the thirty-second, which they become.
bool IsShorterThanThirtySecond(int duration)
{
    return duration == 48 || duration == 64;
}

// The octaves a ring tone may write; the converters move notes outside the phone's
// band by whole octaves, as they do every note.
bool IsOctave(int octave)
{
    return octave >= 0 && octave <= 8;
}

// The octaves the usual grammar allows; others are read with one warning per tune.
bool IsUsualOctave(int octave)
{
    return octave >= 4 && octave <= 7;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// C sharp, D sharp, F sharp, G sharp and A sharp.
bool IsSharp(int pitch)
{
    return pitch == 1 || pitch == 3 || pitch == 6 || pitch == 8 || pitch == 10;
}

bool StartsWithDigit(const QString& text)
{
    return !text.isEmpty() && IsDigit(text.at(0));
}

// The next item of a comma list. A comma at the very start does not split: then the
// whole rest is one item.
QString TakeItem(QString& text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    QString item;
    if (comma >= 1) {
        item = text.left(comma);
        text.remove(0, comma + 1);
    } else {
        item = text;
        text.clear();
    }
    return item;
}

// The melody name as it may stand in a one-line header: no control characters, no
// surrounding blanks.
QString CleanName(QString name)
{
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return name.trimmed();
}

void DebugSkipped(const char* label, const QString& item)
{
    qDebug("%s", label);
    qDebug("%s", qPrintable(item));
}
} // namespace

int CRtttlReader::ReadNumber(const QString& text, qsizetype position)
{
    qint64 value = 0;
    for (qsizetype i = qMax<qsizetype>(0, position); i < text.size() && IsDigit(text.at(i)); ++i)
        value = qMin<qint64>(value * 10 + (text.at(i).unicode() - '0'), INT_MAX);
    return int(value);
}

QString CRtttlReader::Filter(const QString& text)
{
    QString filtered;
    filtered.reserve(text.size());
    for (QChar c : text)
        if (Alphabet.contains(c))
            filtered.append(c);
    return filtered;
}

void CRtttlReader::Warn(const char* id)
{
    m_Tune.messages << QString::fromLatin1(id);
}

void CRtttlReader::WarnOnce(const char* id)
{
    if (!m_Tune.messages.contains(QLatin1String(id)))
        Warn(id);
}

RtttlTune CRtttlReader::Read(const QByteArray& bytes)
{
    CRtttlReader reader;
    RtttlTune& tune = reader.m_Tune;

    // A text editor's byte-order mark is no part of the name.
    QByteArray raw = bytes;
    if (raw.startsWith("\xEF\xBB\xBF"))
        raw.remove(0, 3);
    const qsizetype end = raw.indexOf('\0');
    QString text = QString::fromLatin1(raw.constData(), end < 0 ? raw.size() : end).toLower();

    const qsizetype first = text.indexOf(QLatin1Char(':'));
    const qsizetype last = text.lastIndexOf(QLatin1Char(':'));
    if (first < 0) {
        reader.Warn(RtttlMessage::NameNotFound);
    } else {
        const QString name = text.left(first);
        const QString defaults = last > first ? text.mid(first + 1, last - first - 1) : QString();
        qDebug("%s", QByteArray(52, '-').constData());
        qDebug("%s", qPrintable(name));
        // A first section that reads as a defaults list is taken for one.
        if (reader.ReadDefaults(name)) {
            reader.Warn(RtttlMessage::NameNotFound);
        } else {
            tune.name = CleanName(name);
            if (tune.name.isEmpty())
                reader.Warn(RtttlMessage::NameNotFound);
            reader.ReadDefaults(defaults);
        }
    }

    // Some collections write a sharp as "_" ("a_5"), a character the alphabet drops;
    // only the notes read it as "#": the name above keeps it.
    QString notes = Filter(QString(text).replace(QLatin1Char('_'), QLatin1Char('#')));
    const qsizetype lastColon = notes.lastIndexOf(QLatin1Char(':'));
    if (lastColon >= 0)
        notes.remove(0, lastColon + 1);
    while (!notes.isEmpty()) {
        const QString item = TakeItem(notes);
        if (item.contains(QLatin1Char('=')))
            reader.ReadControl(item);
        else
            reader.ReadNote(item);
    }
    return tune;
}

bool CRtttlReader::ReadDefaults(QString text)
{
    if (text.indexOf(QLatin1Char('=')) < 1)
        return false;
    text = Filter(text);
    for (int count = 0; count < 5 && !text.isEmpty(); ++count) {
        const QString item = TakeItem(text);
        if (item.size() < 2 || item.at(1) != QLatin1Char('='))
            return false;
        const int value = ReadNumber(item, 2);
        const QChar styleKey = item.size() > 2 ? item.at(2) : QChar();
        switch (item.at(0).unicode()) {
        case 'b':
            if (value >= 1 && value <= 999)
                m_Tune.beat = value;
            else
                Warn(RtttlMessage::UnrecognizedFeature);
            break;
        case 'd':
            if (DurationIndex(value) >= 0)
                m_Duration = value;
            else
                Warn(RtttlMessage::UnrecognizedFeature);
            break;
        case 'l':
            if (value >= 0 && value <= 15)
                m_Tune.loop = value;
            else
                Warn(RtttlMessage::UnrecognizedFeature);
            break;
        case 'o':
            if (IsOctave(value))
                m_Octave = value;
            else
                Warn(RtttlMessage::UnrecognizedFeature);
            break;
        case 's':
            if (styleKey == QLatin1Char('n'))
                m_Tune.style = 0;
            else if (styleKey == QLatin1Char('c'))
                m_Tune.style = 1;
            else if (styleKey == QLatin1Char('s'))
                m_Tune.style = 2;
            else
                Warn(RtttlMessage::UnrecognizedFeature);
            break;
        default:
            Warn(RtttlMessage::UnrecognizedFeature);
            break;
        }
    }
    return true;
}

void CRtttlReader::ReadControl(const QString& item)
{
    const qsizetype equal = item.indexOf(QLatin1Char('='));
    ASSERT(equal >= 0);
    const QChar key = equal >= 1 ? item.at(equal - 1) : QChar();
    if (key == QLatin1Char('o')) {
        const int octave = ReadNumber(item, equal + 1);
        if (IsOctave(octave)) {
            m_Octave = octave;
        } else {
            DebugSkipped("octave redefined inside melody, but out of limits (0-8) => skiping", item);
            Warn(RtttlMessage::UnrecognizedFeature);
        }
    } else if (key == QLatin1Char('b')) {
        DebugSkipped("Unsupported Sequence (beat redefined inside melody): impossible to change beat inside melody",
                     item);
    } else if (key == QLatin1Char('s')) {
        DebugSkipped("Unsupported Sequence (style redefined inside melody): impossible to change style inside melody",
                     item);
    } else {
        Warn(RtttlMessage::UnrecognizedFeature);
        DebugSkipped("Unrecognized Sequence:", item);
    }
}

void CRtttlReader::ReadNote(QString item)
{
    const QString original = item;
    int duration = m_Duration;
    if (StartsWithDigit(item)) {
        duration = ReadNumber(item, 0);
        item.remove(0, duration > 10 ? 2 : 1);
    }
    const bool shortened = IsShorterThanThirtySecond(duration);
    const int durationIndex = shortened ? 5 : DurationIndex(duration);
    if (durationIndex < 0) {
        DebugSkipped("Unsupported Note Duration:", original);
        Warn(RtttlMessage::UnrecognizedFeature);
        return;
    }

    int pitch = -1;
    qsizetype pitchLength = 0;
    for (const PitchName& name : PitchNames) {
        if (item.contains(QLatin1String(name.name))) {
            pitch = name.value;
            pitchLength = qsizetype(qstrlen(name.name));
        }
    }
    if (pitch < 0) {
        DebugSkipped("Unsupported Sequence", original);
        Warn(RtttlMessage::UnrecognizedSequence);
        return;
    }
    item.remove(0, pitchLength);

    bool dotted = false;
    if (!item.isEmpty() && !StartsWithDigit(item)) {
        if (item.at(0) != QLatin1Char('.')) {
            DebugSkipped("Unsupported Special Duration", original);
            Warn(RtttlMessage::UnrecognizedFeature);
            return;
        }
        item.remove(0, 1);
        dotted = true;
    }

    int octave = m_Octave;
    if (StartsWithDigit(item)) {
        // Collections also write the sharp after the octave ("a5#") and, as the usual
        // grammar does, the dot ("8c6."): one dot, on either side, makes the note dotted.
        qsizetype at = 1;
        const bool sharpAfter = at < item.size() && item.at(at) == QLatin1Char('#');
        if (sharpAfter)
            ++at;
        const bool dotAfter = !dotted && at < item.size() && item.at(at) == QLatin1Char('.');
        if (dotAfter)
            ++at;
        // Only a natural that has a sharp takes one: "e5#" is skipped as "e#5" is.
        const bool sharpable = pitch < 12 && pitch != 4 && pitch != 11 && !IsSharp(pitch);
        if (at != item.size() || (sharpAfter && !sharpable)) {
            DebugSkipped("Unsupported Sequence", original);
            Warn(RtttlMessage::UnrecognizedFeature);
            return;
        }
        octave = item.at(0).unicode() - '0';
        dotted = dotted || dotAfter;
        if (sharpAfter)
            ++pitch;
    }
    if (!IsOctave(octave)) {
        DebugSkipped("Unsupported Scale", original);
        Warn(RtttlMessage::UnrecognizedFeature);
        return;
    }
    if (shortened)
        WarnOnce(RtttlMessage::ShortNotes);
    if (!IsUsualOctave(octave) && pitch != 12)
        WarnOnce(RtttlMessage::OctaveMoved);

    static const char* const Names[] = {"do",  "do#",  "re", "re#", "mi", "fa",     "fa#",
                                        "sol", "sol#", "la", "la#", "si", "silence"};
    qDebug("%s %d %s%s volume %d", Names[pitch], octave, DurationWords[durationIndex], dotted ? " pointee" : "", 127);
    m_Tune.notes.append(RtttlNote{pitch, octave - 1, durationIndex, dotted});
}
