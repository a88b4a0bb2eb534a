#include "PolyraSettings.h"

#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Util/Assert.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>

namespace Polyra {
const int KeyClass[ClassCount] = {0, 3, 4, 5, 16, 10, 11, 12, 8, 7, 9, 6, 2, 14, 1, 13, 15};
const char* const ClassNames[ClassCount] = {"Piano",
                                            "Percussion chromatique",
                                            "Orgue",
                                            "Guitare",
                                            "Basse",
                                            "Instrument a corde",
                                            "Ensemble",
                                            "Cuivre",
                                            "Saxophone",
                                            "Instrument a vent",
                                            "Synthe(solo)",
                                            "Synthe(nappes)",
                                            "Synthe(FX)",
                                            "Instruments ethniques",
                                            "Instruments percussifs",
                                            "FX",
                                            "Drum kit"};
const char* const LoadNames[LoadKinds] = {"Polyphonie", "capacite CPU", "capacite RAM"};
} // namespace Polyra

namespace {
QByteArray KeyName(const char* stem, int key)
{
    return QByteArray(stem) + QByteArray::number(key);
}

int IndexIn(const QStringList& values, const QString& value)
{
    return int(values.indexOf(value));
}
} // namespace

PolyraProfile PolyraProfile::Read(const CProfile* profile)
{
    const CParameters* set = profile;
    PolyraProfile record;
    record.highNote = ParameterRead::Int(set, "DSPWidthHighBand", 127);
    record.lowNote = ParameterRead::Int(set, "DSPWidthLowBand", 0);
    static const char* const maxima[Polyra::LoadKinds][3] = {
        {"PolyphonyCapacity", "GlobalCurrentPolyphony", "MaxGlobalPolyphony"},
        {"DSPPower", "GlobalCurrentCpu", "MaxGlobalCpu"},
        {"RamCapacity", "GlobalCurrentRam", "MaxGlobalRam"}};
    static const char* const perClass[Polyra::LoadKinds] = {"Polyphony", "Cpu", "Ram"};
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        PolyraLoadKind& load = record.loads[kind];
        load.maximum = kind == 1 ? ParameterRead::Float(set, maxima[kind][0], 0)
                                 : float(ParameterRead::Int(set, maxima[kind][0], 0));
        load.current = ParameterRead::Float(set, maxima[kind][1], 0);
        load.globalMaximum = ParameterRead::Float(set, maxima[kind][2], 0);
        for (int key = 0; key < Polyra::ClassCount; ++key)
            load.perClass[Polyra::KeyClass[key]] =
                ParameterRead::Float(set, KeyName(perClass[kind], key).constData(), 0);
    }
    for (int key = 0; key < Polyra::ClassCount; ++key)
        record.release[Polyra::KeyClass[key]] = ParameterRead::Float(set, KeyName("Release", key).constData(), 0);
    return record;
}

PolyraParameters PolyraParameters::Read(const CParameters* parameters, const CProfile* profile, bool bassMute,
                                        void (*report)(void* context, const char* id), void* context)
{
    const CParameters* profileSet = profile;
    PolyraParameters record;
    if (bassMute) {
        const bool on = ParameterRead::Bool(parameters, "BassMute", false);
        record.equalizer = int16_t(ParameterRead::Int(profileSet, on ? "BassMuteOn" : "BassMuteOff", 0));
        record.textTrack = 0;
        record.booster = 1;
    } else {
        record.equalizer = int16_t(ParameterRead::Int(parameters, "Equalizer", 0));
        record.textTrack = ParameterRead::Bool(parameters, "KeepKaraoke", false) ? 1 : 0;
        static const QStringList boosters = {QStringLiteral("Automatic"), QStringLiteral("Off"), QStringLiteral("On")};
        const int booster = IndexIn(boosters, ParameterRead::Enum(parameters, "VolumeBoost", boosters[1]));
        if (booster < 0) {
            ASSERT(booster >= 0);
            report(context, "id_volumevoost_not_found");
        } else
            record.booster = int16_t(booster);
    }
    record.polyphonyLimit = float(ParameterRead::Int(parameters, "PolyphonyLimitation", 0));

    static const QStringList ambiances = {QStringLiteral("Classic"), QStringLiteral("Rock"),    QStringLiteral("Pop"),
                                          QStringLiteral("Techno"),  QStringLiteral("Disco"),   QStringLiteral("Jazz"),
                                          QStringLiteral("Folk"),    QStringLiteral("Specific")};
    const int globalShift = ParameterRead::Int(parameters, "GlobalShift", 0);
    for (int key = 0; key < Polyra::ClassCount; ++key) {
        const int c = Polyra::KeyClass[key];
        const int detune = ParameterRead::Int(parameters, KeyName("Shift", key).constData(), 0) * 12 + globalShift;
        record.detune[c] = int8_t(std::clamp(detune, -128, 127));
        record.keep[c] = ParameterRead::Bool(parameters, KeyName("Keep", key).constData(), false) ? 1 : 0;
        record.volume[c] = ParameterRead::Float(parameters, KeyName("Volume", key).constData(), 1.0f);
        const int ambiance =
            IndexIn(ambiances, ParameterRead::Enum(parameters, KeyName("Atmosphere", key).constData(), ambiances[0]));
        if (ambiance < 0) {
            ASSERT(ambiance >= 0);
            report(context, "id_atmosphere_not_found");
        }
        record.ambiance[c] = uint8_t(std::max(ambiance, 0));
        record.priority[c] =
            uint8_t(std::clamp(ParameterRead::Int(parameters, KeyName("Priority", key).constData(), 0), 0, 255));
    }
    return record;
}
