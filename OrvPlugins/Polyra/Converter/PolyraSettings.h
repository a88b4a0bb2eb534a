#pragma once
// What one conversion takes from the phone profile and the parameter set,
// read once at the start of Convert. A key that a hand-edited file lacks
// takes a neutral fallback quietly.
#include <cstdint>

class CParameters;
class CProfile;
class PolyraTrace;

namespace Polyra {
constexpr int ClassCount = 17;
constexpr int DrumClass = 16;
constexpr int SynthLeadClass = 10;
constexpr int LoadKinds = 3;
constexpr int AmbianceCount = 8;

// Key number of the per-instrument parameters and profile keys -> class.
extern const int KeyClass[ClassCount];
// Names of the classes in the traces.
extern const char* const ClassNames[ClassCount];
extern const char* const LoadNames[LoadKinds];
} // namespace Polyra

struct PolyraLoadKind
{
    float maximum = 0;
    float perClass[Polyra::ClassCount] = {};
    float current = 0;
    float globalMaximum = 0;
};

struct PolyraProfile
{
    int highNote = 127;
    int lowNote = 0;
    PolyraLoadKind loads[Polyra::LoadKinds];
    // Milliseconds, per class.
    float release[Polyra::ClassCount] = {};

    static PolyraProfile Read(const CProfile* profile);
};

struct PolyraParameters
{
    int8_t detune[Polyra::ClassCount] = {};
    uint8_t priority[Polyra::ClassCount] = {};
    uint8_t keep[Polyra::ClassCount] = {};
    float volume[Polyra::ClassCount] = {};
    uint8_t ambiance[Polyra::ClassCount] = {};
    float polyphonyLimit = 0;
    int16_t equalizer = 0;
    // 0 automatic, 1 off, 2 on.
    int16_t booster = 1;
    uint8_t textTrack = 0;

    // bassMute: the set holds the boolean "BassMute". Unknown enumeration
    // values are reported through the message callback by id.
    static PolyraParameters Read(const CParameters* parameters, const CProfile* profile, bool bassMute,
                                 void (*report)(void* context, const char* id), void* context);
};
