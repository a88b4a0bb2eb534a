#include "SynthTables.h"

namespace SynthTables {
namespace {
constexpr int O = AlgorithmOscillator;
constexpr int R = AlgorithmResonator;
constexpr int N = AlgorithmNoise;

// The drum map: two pitches to a word, the even pitch in the high byte.
constexpr uint16_t DrumPair(int evenPreset, int oddPreset)
{
    return uint16_t((evenPreset << 8) | oddPreset);
}

const uint16_t DrumMap[64] = {
    // pitches 0..33
    DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0),
    DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0),
    DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 8), // 34, 35
    DrumPair(8, 1),                                                 // 36, 37
    DrumPair(9, 9),                                                 // 38, 39
    DrumPair(9, 9),                                                 // 40, 41
    DrumPair(1, 9),                                                 // 42, 43
    DrumPair(1, 9),                                                 // 44, 45
    DrumPair(1, 3),                                                 // 46, 47
    DrumPair(4, 0),                                                 // 48, 49
    DrumPair(4, 2),                                                 // 50, 51
    DrumPair(0, 7),                                                 // 52, 53
    DrumPair(2, 2),                                                 // 54, 55
    DrumPair(4, 0),                                                 // 56, 57
    DrumPair(9, 2),                                                 // 58, 59
    DrumPair(4, 3),                                                 // 60, 61
    DrumPair(4, 4),                                                 // 62, 63
    DrumPair(3, 4),                                                 // 64, 65
    DrumPair(3, 6),                                                 // 66, 67
    DrumPair(5, 1),                                                 // 68, 69
    DrumPair(2, 2),                                                 // 70, 71
    DrumPair(2, 1),                                                 // 72, 73
    DrumPair(2, 7),                                                 // 74, 75
    DrumPair(4, 3),                                                 // 76, 77
    DrumPair(6, 5),                                                 // 78, 79
    DrumPair(7, 7),                                                 // 80, 81
    // pitches 82..127
    DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0),
    DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0),
    DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0), DrumPair(0, 0),
    DrumPair(0, 0), DrumPair(0, 0)};
static_assert(sizeof(DrumMap) / sizeof(DrumMap[0]) == 64, "one word per two pitches");
} // namespace

const uint16_t ClassPresets[ClassCount] = {
    PresetWord(0, R, 0), PresetWord(1, R, 0), PresetWord(2, O, 0),  PresetWord(3, R, 0),
    PresetWord(4, R, 7), PresetWord(5, O, 0), PresetWord(0, R, 0),  PresetWord(6, O, 0),
    PresetWord(7, O, 0), PresetWord(8, O, 0), PresetWord(20, O, 0), PresetWord(0, R, 0),
    PresetWord(0, R, 0), PresetWord(0, R, 0), PresetWord(1, R, 0),  PresetWord(9, R, 0)};

const uint16_t DrumPresets[DrumPresetCount] = {
    PresetWord(10, N, 12), PresetWord(11, N, 0),  PresetWord(12, N, 0),   PresetWord(13, R, 57), PresetWord(14, R, 61),
    PresetWord(15, R, 83), PresetWord(16, R, 90), PresetWord(17, R, 101), PresetWord(18, R, 61), PresetWord(19, N, 0)};

uint16_t DrumPresetWord(int pitch)
{
    const uint16_t pair = DrumMap[(pitch & 0x7F) >> 1];
    const int drum = (pitch & 1) ? (pair & 0xFF) : (pair >> 8);
    return DrumPresets[drum < DrumPresetCount ? drum : 0];
}

const int16_t CostA[PresetCount] = {105, 105, 24,  105, 100, 16,  16,  16,  16, 105, 59,
                                    59,  59,  105, 105, 105, 105, 105, 115, 29, 12,  0};
const int16_t CostB[PresetCount] = {270, 270, 130, 270, 240, 110, 110, 110, 110, 270, 270,
                                    270, 270, 270, 270, 270, 270, 270, 270, 270, 90,  0};

const int16_t SemitoneRatio[SemitoneTableSize] = {8679,  9195,  9742,  10321, 10935, 11585, 12274, 13004,
                                                  13777, 14596, 15464, 16384, 17358, 18390, 19484, 20643,
                                                  21870, 23170, 24548, 26008, 27554, 29193, 30929};

const uint16_t TopOctaveIncrement[12] = {17146, 18165, 19246, 20390, 21602, 22887,
                                         24248, 25690, 27217, 28836, 30551, 32367};

uint16_t NotePhaseIncrement(int note)
{
    if (note < 0)
        note = 0;
    if (note >= 108)
        return 32767; // at or above half the sampling rate: held just below it
    return uint16_t(TopOctaveIncrement[note % 12] >> (8 - note / 12));
}

const int16_t QuarterCosine[33] = {32767, 32728, 32609, 32412, 32137, 31785, 31356, 30852, 30273, 29621, 28898,
                                   28105, 27245, 26319, 25329, 24279, 23170, 22005, 20787, 19519, 18204, 16846,
                                   15446, 14010, 12539, 11039, 9512,  7962,  6393,  4808,  3212,  1608,  0};

void FillNoiseTable(int16_t table[NoiseTableSize])
{
    // A 31-bit shift register: the new bit 30 is bit 0 xor bit 2; each value
    // gathers 14 outgoing bits, the first as its most significant.
    uint32_t shiftRegister = 17373576;
    for (int i = 0; i < NoiseTableSize; ++i) {
        int value = 0;
        for (int bit = 0; bit < 14; ++bit) {
            const uint32_t out = shiftRegister & 1u;
            const uint32_t feedback = (shiftRegister ^ (shiftRegister >> 2)) & 1u;
            shiftRegister = (shiftRegister >> 1) | (feedback << 30);
            value = (value << 1) | int(out);
        }
        table[i] = int16_t(value >= 0x2000 ? value - 0x4000 : value);
    }
}
} // namespace SynthTables
