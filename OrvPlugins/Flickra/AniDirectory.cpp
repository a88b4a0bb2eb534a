#include "AniDirectory.h"

#include <QtGlobal>

namespace {
const int kTimeWord = 0xF000;

void AppendWord(QByteArray& out, int word)
{
    out.append(static_cast<char>(word & 0xFF));
    out.append(static_cast<char>((word >> 8) & 0xFF));
}

// Frames share a time word when their times agree before the limit applies.
bool NeedsTimeWord(const QVector<int>& times, int frame)
{
    return frame == 0 || AniDirectory::TimeOf(times.at(frame)) != AniDirectory::TimeOf(times.at(frame - 1));
}
} // namespace

int AniDirectory::TimeOf(int displayTimeMs)
{
    return qMax(0, displayTimeMs) / 100;
}

AniDirectory::Layout AniDirectory::Plan(const QVector<int>& displayTimesMs, const QVector<int>& bodySizes)
{
    Layout layout;
    const int frames = int(displayTimesMs.size());
    int words = frames;
    for (int i = 0; i < frames; ++i)
        if (NeedsTimeWord(displayTimesMs, i))
            ++words;
    layout.directorySize = 2 + 2 * words;
    qint64 offset = layout.directorySize;
    for (int i = 0; i < frames; ++i) {
        if (offset > MaxOffset)
            layout.fits = false;
        layout.offsets.append(static_cast<int>(qMin<qint64>(offset, MaxOffset)));
        offset += bodySizes.value(i);
    }
    layout.fileSize = static_cast<int>(qMin<qint64>(offset, 0x7FFFFFFF));
    return layout;
}

void AniDirectory::Append(const Layout& layout, const QVector<int>& displayTimesMs, QByteArray& out, int& clamped)
{
    clamped = 0;
    AppendWord(out, (layout.directorySize - 2) / 2);
    for (int i = 0; i < displayTimesMs.size(); ++i) {
        if (NeedsTimeWord(displayTimesMs, i)) {
            int time = TimeOf(displayTimesMs.at(i));
            if (time > MaxTime) {
                time = MaxTime;
                ++clamped;
            }
            AppendWord(out, kTimeWord | time);
        }
        AppendWord(out, layout.offsets.value(i));
    }
}
