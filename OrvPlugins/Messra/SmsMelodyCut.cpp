#include "SmsMelodyCut.h"
#include "Melody/CMelodyTruncate.h"

namespace SmsMelodyCut {
char ZeroStandIn(const QByteArray& melody)
{
    // Bytes an iMelody writer never produces come first, so none of its own
    // output is mistaken for a former zero octet.
    static const char preferred[] = "@~|^`";
    for (const char candidate : QByteArray(preferred))
        if (!melody.contains(candidate))
            return candidate;
    for (int value = 1; value < 256; ++value) {
        const char candidate = char(value);
        if (candidate != '\r' && candidate != '\n' && !melody.contains(candidate))
            return candidate;
    }
    return '\0';
}

bool Cut(bool oneLine, QByteArray& melody, int maxSize, CProfile* profile, QString& errorText)
{
    CMelodyTruncate truncate;
    QByteArray cut;
    bool done = false;
    if (oneLine)
        done = truncate.TruncateOneLineMelody(melody, cut, maxSize, profile, nullptr);
    else {
        // The text reader stops at a zero octet: carry zeros through as a byte the text lacks.
        const char standIn = melody.contains('\0') ? ZeroStandIn(melody) : '\0';
        QByteArray text = melody;
        if (standIn != '\0')
            text.replace('\0', standIn);
        done = truncate.Truncate(text, cut, maxSize, profile, nullptr);
        if (done && standIn != '\0')
            cut.replace(standIn, '\0');
    }
    if (!done) {
        errorText = truncate.GetErrorText();
        return false;
    }
    melody = cut;
    return true;
}
} // namespace SmsMelodyCut
