#pragma once
// The vocoders a VOX message can name: a 4-bit id stored in every message.
// The AMR modes are ids 8-15 (mode = id - 8); ids 3-7 are unnamed.
#include <QString>

enum VocoderId
{
    VocoderGsmFr = 0,
    VocoderGsmEfr = 1,
    VocoderGsmHr = 2,
    VocoderAmrFirst = 8,
    VocoderAmr475 = 8,
    VocoderAmr122 = 15,
    VocoderCount = 16
};

inline bool IsAmrVocoder(int id)
{
    return id >= VocoderAmrFirst && id < VocoderCount;
}
inline int AmrModeOf(int id)
{
    return id - VocoderAmrFirst;
}

// The name of an id ("" for the unnamed ones and for ids outside the table).
const char* VocoderName(int id);
// The id of a name, compared exactly; -1 when the table holds no such name.
int FindVocoder(const QString& name);
// Writes "\t<name>\n" for every named vocoder, in id order, to the current
// conversion log's summary.
void ListVocoders();

// The rows a phone profile can allow, in the order the filtering walks them:
// gsm_fr, gsm_efr, gsm_hr, then the eight AMR modes from 4.75 to 12.2.
constexpr int kVocoderCompatibilityRows = 11;
int CompatibilityRowVocoder(int row);
// The profile key of a row: its name followed by "VocoderCompatible".
QString CompatibilityKey(int row);
