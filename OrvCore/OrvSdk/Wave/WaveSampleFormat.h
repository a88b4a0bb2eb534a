#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdint>

// What a "fmt " chunk says the samples are. Most files state it in the format
// tag; files in the extensible format (tag 0xFFFE), which common tools write for
// more than two channels, more than 16 bits or high rates, state it in a
// sub-format GUID after the common fields. A standard sub-format GUID carries an
// ordinary format tag in its first two bytes, so an extensible file of PCM
// samples is PCM like any other.
struct WaveSampleFormat
{
    static constexpr uint16_t Pcm = 1;
    static constexpr uint16_t Extensible = 0xFFFE;

    uint16_t tag = 0;          // as the chunk states it
    bool hasSubFormat = false; // an extensible chunk long enough to hold its GUID
    unsigned char subFormat[16] = {};

    // The format the samples follow: the sub-format's tag for an extensible chunk
    // whose GUID is a standard one, else the chunk's own tag.
    uint16_t EffectiveTag() const;
    bool IsPcm() const { return EffectiveTag() == Pcm; }
    // Which format it is, for a message: "float (0x0003)" for a tag with a common
    // name, "0x0004" for another, and for the extensible format its sub-format, as
    // a tag when the GUID is a standard one, else as the whole GUID ("{...}"), or
    // "0xFFFE" when it has none.
    QString Describe() const;
};

// The sample format of the "fmt " chunk whose tag stands at fmtPosition in bytes.
// Only bytes within both the chunk's declared size and the bytes given are read.
WaveSampleFormat ReadWaveSampleFormat(const QByteArray& bytes, qsizetype fmtPosition);
