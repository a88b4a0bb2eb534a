#pragma once
// The directory at the head of an ANI file: word 0 counts the words after it;
// then, per frame, a time word when the frame's time differs from the one
// before, and the byte offset of the frame's picture body.
#include <QByteArray>
#include <QVector>

namespace AniDirectory {
// Offsets stop below this: a word from it up is a time word.
const int MaxOffset = 0xEFFF;
const int MaxTime = 0xFFF;

// Tenths of a second, as the directory counts them; a negative time is 0.
int TimeOf(int displayTimeMs);

struct Layout
{
    QVector<int> offsets; // of each frame's body
    int directorySize = 0;
    int fileSize = 0;
    bool fits = true; // every offset at most MaxOffset
};

// The directory for frames shown for those times with bodies of those sizes.
Layout Plan(const QVector<int>& displayTimesMs, const QVector<int>& bodySizes);
// Appends the directory; `clamped` counts the times over MaxTime written as MaxTime.
void Append(const Layout& layout, const QVector<int>& displayTimesMs, QByteArray& out, int& clamped);
} // namespace AniDirectory
