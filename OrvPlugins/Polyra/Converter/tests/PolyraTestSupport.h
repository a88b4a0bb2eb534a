#pragma once
// Shared helpers of the Polyra tests: MSEQ words and files worked out by hand.
#include "MseqFormat.h"

#include "Util/CMemFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace PolyraTest {

using Words = std::vector<uint16_t>;

inline QByteArray WordBytes(const Words& words)
{
    QByteArray bytes;
    for (uint16_t word : words)
    {
        bytes.append(char(word & 0xFF));
        bytes.append(char(word >> 8));
    }
    return bytes;
}

inline Words BytesToWords(const uint8_t* bytes, int length)
{
    Words words;
    for (int i = 0; i + 1 < length; i += 2)
        words.push_back(uint16_t(bytes[i] | (bytes[i + 1] << 8)));
    return words;
}

inline QByteArray FileBytes(const CMemFile& file)
{
    return QByteArray(reinterpret_cast<const char*>(file.GetBuffer()), int(file.GetSize()));
}

// The MISC track around the given commands: open word, size, 0xFFFF, the
// commands, close word.
inline Words MiscTrack(const Words& commands)
{
    const uint32_t size = (uint32_t(commands.size() + 5) << 8) | 0x01;
    Words words = {0x019E, uint16_t(size & 0xFFFF), uint16_t(size >> 16), 0xFFFF};
    words.insert(words.end(), commands.begin(), commands.end());
    words.push_back(0x01FE);
    return words;
}

inline uint16_t NoteWord(int channel, int pitch) { return uint16_t((pitch << 9) | (channel << 5) | 2); }
inline uint16_t NoteLength(unsigned duration, unsigned velocity) { return uint16_t((duration << 6) | velocity); }
inline uint16_t VolumeWord(int channel, int volume) { return uint16_t((volume << 9) | (channel << 5) | 4); }
inline uint16_t DelayWord(unsigned ticks) { return uint16_t((ticks << 5) | 22); }
inline uint16_t RtbWord(unsigned rtb) { return uint16_t((rtb << 5) | 27); }

} // namespace PolyraTest
