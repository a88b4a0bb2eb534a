#pragma once
// Shared helpers of the Tunra tests: the authored parameter file and phone
// profiles, melody and MIDI document builders.
#include "CTunra.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/MidiNote.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Text/CLanguageResources.h"

#include "MessageCapture.h"
#include "MidiFileBuilder.h"
#include "TestBytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <initializer_list>
#include <memory>

namespace TunraTest {

inline QString SourcePath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + QString::fromLatin1(relative);
}

inline QString ParameterFilePath()
{
    return SourcePath("data/app/Plugins/Parameters/IMYParameters.xml");
}

inline QString ProfilePath(const char* model)
{
    return SourcePath("data/app/Profiles/") + QString::fromLatin1(model) + QStringLiteral(".xml");
}

inline bool LoadLanguage()
{
    return CLanguageResources::Load(SourcePath("data/app/Languages/English.xml"));
}

// The summary line a message id leaves in the conversion log.
inline QString LogLine(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CTunra"), QString::fromLatin1(id)) + QLatin1Char('\n');
}

inline CBoolParameter* Bool(CParameters& set, const char* name)
{
    return set.GetBoolParameter(QString::fromLatin1(name));
}

inline CIntParameter* Int(CParameters& set, const char* name)
{
    return set.GetIntParameter(QString::fromLatin1(name));
}

inline CEnumParameter* Enum(CParameters& set, const char* name)
{
    return set.GetEnumParameter(QString::fromLatin1(name));
}

// A note of a MIDI key with a duration index (0 whole .. 5 thirty-second).
inline MidiNote* Note(int key, int duration, int modifier = 0, int volume = 100)
{
    MidiNote* note = new MidiNote;
    note->SetMidiKey(key);
    note->SetDuration(duration);
    note->SetDurationModifier(modifier);
    note->SetVolume(volume);
    return note;
}

inline MidiNote* Rest(int duration, int modifier = 0)
{
    MidiNote* rest = new MidiNote;
    rest->SetDuration(duration);
    rest->SetDurationModifier(modifier);
    return rest;
}

inline std::unique_ptr<CDocumentMelody> Melody(std::initializer_list<MelodyElement*> elements,
                                               const QString& name = QStringLiteral("/tunes/Tune.mid"))
{
    std::unique_ptr<CDocumentMelody> melody(new CDocumentMelody);
    melody->SetName(name);
    for (MelodyElement* element : elements)
        melody->GetMelodyNoteList().append(element);
    return melody;
}

// A MIDI document over the given file bytes.
inline std::unique_ptr<CDocumentMidi> MidiDocument(const QByteArray& file)
{
    std::unique_ptr<CDocumentMidi> midi(new CDocumentMidi);
    midi->SetRawData(reinterpret_cast<const unsigned char*>(file.constData()), unsigned(file.size()));
    return midi;
}

// A converter with the authored default parameters and a shipped profile.
struct Converter
{
    explicit Converter(const char* model = "Model_A")
    {
        parametersLoaded = parameters.Load(ParameterFilePath());
        profileLoaded = profile.Load(ProfilePath(model));
        tunra.SetParameters(&parameters);
        tunra.SetProfile(&profile);
    }

    // Converts and hands back the one output chunk (empty on failure).
    QByteArray Run(CDocument* document)
    {
        tunra.ClearRawData();
        converted = tunra.Convert(document);
        return tunra.GetRawDataList().isEmpty() ? QByteArray() : tunra.GetRawDataList().first();
    }

    QString Summary() { return tunra.GetConversionLog()->GetSummaryText(); }

    void HeaderFlags(bool begin, bool version, bool format, bool name, bool beat, bool style, bool volume)
    {
        Bool(parameters, "GenerateHeader")->mValue = begin;
        Bool(parameters, "GenerateHeaderVersion")->mValue = version;
        Bool(parameters, "GenerateHeaderFormat")->mValue = format;
        Bool(parameters, "GenerateHeaderName")->mValue = name;
        Bool(parameters, "GenerateHeaderBeat")->mValue = beat;
        Bool(parameters, "GenerateHeaderStyle")->mValue = style;
        Bool(parameters, "GenerateHeaderVolume")->mValue = volume;
    }

    void Band(int low, int high)
    {
        Int(profile, "BuzzerBandWidthLowNote")->mValue = low;
        Int(profile, "BuzzerBandWidthHighNote")->mValue = high;
    }

    CParameters parameters;
    CProfile profile;
    CTunra tunra;
    bool parametersLoaded = false;
    bool profileLoaded = false;
    bool converted = false;
};

} // namespace TunraTest
