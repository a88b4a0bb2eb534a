#pragma once
#include <QByteArray>
#include <QtGlobal>

// Where the format and the sample chunks of a RIFF WAVE file lie.
struct WavChunks
{
    qsizetype formatOffset = -1; // position of the "fmt " tag
    qsizetype dataOffset = -1;   // position of the first sample byte
    quint32 dataSize = 0;        // as the "data" chunk declares it
};

// Follows the chunk chain of a RIFF WAVE file (tag, size, body, pad byte to an even
// size) and finds the first "fmt " chunk of at least 16 bytes and the first "data"
// chunk. False when the file does not start as RIFF WAVE, or the chain breaks
// before both were found. Only the bytes given are read.
bool WalkRiffChunks(const QByteArray& bytes, WavChunks& chunks);

// The bytes of a data chunk that the file really holds: the declared size when it
// fits, else the whole frames of `blockAlign` bytes that are present.
quint32 PresentDataSize(const QByteArray& bytes, qsizetype dataOffset, quint32 declared, int blockAlign);
