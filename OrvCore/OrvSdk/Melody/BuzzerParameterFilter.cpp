// The buzzer melody exporters' parameters fitted to the phone and the
// document: the tempo within the buzzer's range, the style among those the
// phone plays, and the tempo and style of the melody being converted.
#include "Melody/BuzzerParameterFilter.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Util/Assert.h"

#include <QDebug>

namespace {
// A missing style flag counts as supported: only a phone that says it lacks
// a style loses it.
bool ProfileSupportsStyle(CProfile* profile, const char* key)
{
    return ParameterRead::Bool(profile, key, true);
}

void NarrowTempo(CIntParameter* tempo, CProfile* profile)
{
    tempo->mMin = qMax(tempo->mMin, ParameterRead::Int(profile, "MinBpmBuzzer", tempo->mMin));
    tempo->mMax = qMin(tempo->mMax, ParameterRead::Int(profile, "MaxBpmBuzzer", tempo->mMax));
    if (tempo->mIsConst)
        return;
    if (tempo->mValue > tempo->mMax) {
        tempo->mValue = tempo->mMax;
        if (tempo->mMax < tempo->mMin)
            tempo->mValue = tempo->mMin;
    }
    if (tempo->mValue < tempo->mMin) {
        tempo->mValue = tempo->mMin;
        if (tempo->mMax < tempo->mMin)
            tempo->mValue = tempo->mMax;
    }
}
} // namespace

void BuzzerParameterFilter::FilterWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    if (!parameters)
        return;
    CEnumParameter* style = parameters->GetEnumParameter(QStringLiteral("Style"));
    if (apply != 1) {
        if (style)
            style->RestoreValues();
        return;
    }
    if (!profile)
        return;

    if (CIntParameter* tempo = parameters->GetIntParameter(QStringLiteral("Tempo")))
        NarrowTempo(tempo, profile);
    if (!style)
        return;

    // Refused quietly when the parameter is constant.
    style->SetValue(CProfile::GetBuzzerStyle(profile, style->GetValue()));

    static const struct
    {
        const char* key;
        const char* style;
    } kStyleFlags[] = {{"BuzzerNaturalCompatible", "Natural"},
                       {"BuzzerContinuousCompatible", "Continuous"},
                       {"BuzzerStaccatoCompatible", "Staccato"}};
    for (const auto& flag : kStyleFlags)
        if (!ProfileSupportsStyle(profile, flag.key))
            style->RemoveValue(QString::fromLatin1(flag.style));
}

void BuzzerParameterFilter::FilterWithDocument(CParameters* parameters, CDocument* document, const char* className)
{
    // Documents cross the plug-in boundary, where casts that need type
    // information fail: the document type says what the object is.
    const int type = document ? document->GetDocType() : 0;
    CDocumentMelody* pDocumentMelody = type == CDocument::MELODY ? static_cast<CDocumentMelody*>(document) : nullptr;
    CDocumentMidi* pDocumentMidi = type == CDocument::MIDI ? static_cast<CDocumentMidi*>(document) : nullptr;
    ASSERT(pDocumentMelody != 0 || pDocumentMidi != 0);
    if ((!pDocumentMelody && !pDocumentMidi) || !parameters)
        return;

    const int tempo = pDocumentMelody ? pDocumentMelody->GetBeat() : pDocumentMidi->GetTempo();
    CIntParameter* tempoParameter = parameters->GetIntParameter(QStringLiteral("Tempo"));
    if (tempoParameter && !tempoParameter->mIsConst) {
        if (tempo > tempoParameter->mMax)
            tempoParameter->mValue = tempoParameter->mMax;
        else if (tempo < tempoParameter->mMin)
            tempoParameter->mValue = tempoParameter->mMin;
        else
            tempoParameter->mValue = tempo;
    }

    if (!pDocumentMelody)
        return;
    CEnumParameter* style = parameters->GetEnumParameter(QStringLiteral("Style"));
    QString styleName;
    pDocumentMelody->GetStyle(styleName);
    if (!style || !style->SetValue(styleName))
        qDebug("%s::FilterParametersWithDocument> Style can not be set; it can be const or the state has been "
               "disabled by profile",
               className);
}
