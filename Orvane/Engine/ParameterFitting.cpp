#include "ParameterFitting.h"
#include "CParameterChoices.h"
#include "Documents/CDocument.h"
#include "EngineSupport.h"
#include "Host/CPluginClass.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterValue.h"
#include "Plugin/CPluginBase.h"
#include <QVariant>

namespace {

// Why the phone did not keep the value asked for: the range it takes, or that it does not offer the value.
QString Reason(const CParameter* parameter, const QString& asked, const QString& phone)
{
    QString min;
    QString max;
    if (ParameterValue::Bounds(parameter, min, max))
        return Message("id_param_phone_range").arg(phone, min, max);
    if (parameter->mType == CParameter::ENUM_TYPE)
        return Message("id_param_phone_lacks").arg(phone, asked);
    return Message("id_param_phone_lacks").arg(phone, parameter->mName);
}

// The profile filters on the set as it stands: apply 0, then 1 with the phone. Returns the values the phone
// changed, in name order. Nothing without a set.
QList<CPhoneChange> FilterWithProfile(CPluginBase* converter, CParameters* parameters, CProfile* profile)
{
    QList<CPhoneChange> changes;
    if (!converter || !parameters)
        return changes;
    QList<QVariant> asked;
    const QMap<QString, CParameter*>& map = parameters->GetParameterMap();
    for (const CParameter* parameter : map)
        asked.append(ParameterValue::Of(parameter));
    converter->FilterParametersWithProfile(parameters, nullptr, 0);
    converter->FilterParametersWithProfile(parameters, profile, 1);
    const QString phone = profile ? profile->GetMobileName() : QString();
    int i = 0;
    for (auto it = map.cbegin(); it != map.cend(); ++it, ++i) {
        const CParameter* parameter = it.value();
        const QVariant used = ParameterValue::Of(parameter);
        if (used == asked.at(i))
            continue;
        const QString askedText = ParameterValue::Text(parameter, asked.at(i));
        changes.append(
            {it.key(), askedText, ParameterValue::Text(parameter, used), Reason(parameter, askedText, phone)});
    }
    return changes;
}

} // namespace

QList<CPhoneChange> ParameterFitting::FitToPhone(CPluginBase* converter, CParameters* parameters, CProfile* profile,
                                                 const CParameterChoices::Values& chosen)
{
    if (parameters) {
        parameters->RestoreDeclared();
        CParameterChoices::Overlay(*parameters, chosen);
    }
    return FilterWithProfile(converter, parameters, profile);
}

void ParameterFitting::FitToDocument(CPluginBase* converter, CParameters* parameters, CDocument* document)
{
    if (converter && parameters && document)
        converter->FilterParametersWithDocument(parameters, document);
}

QString ParameterFitting::LogLine(const CPhoneChange& change)
{
    return Message("id_param_changed_for_phone").arg(change.mName, change.mUsed, change.mAsked, change.mReason)
           + QLatin1Char('\n');
}

CParameters* ParameterFitting::WorkingSet(const CPluginClass* record)
{
    if (!record)
        return nullptr;
    return record->GetUserParameters() ? record->GetUserParameters() : record->GetDefaultParameters();
}

CParameters* ParameterFitting::PrepareWorkingSet(CPluginClass* record, CParameterChoices& choices, CProfile* profile,
                                                 CDocument* document, QList<CPhoneChange>* changes)
{
    CParameters* parameters = WorkingSet(record);
    if (!parameters)
        return nullptr;
    CPluginBase* converter = record->GetConverter();
    choices.Attach(parameters);
    choices.NoteEdits(*parameters);
    // The file with the choices laid over it, fitted to the phone as the command line fits a parameter file: a
    // number the phone does not take becomes the nearest it takes, a choice it lacks its default. The choice
    // itself is kept for a phone that allows it.
    const QList<CPhoneChange> phoneChanges = FitToPhone(converter, parameters, profile, choices.GetChosen());
    if (changes)
        *changes = phoneChanges;
    const CParameterChoices::Values fitted = CParameterChoices::AsFitted(*parameters, choices.GetChosen());
    // A parameter file's values are the user's choice: no source replaces them. Without a source the choices
    // still belong to the source they were made for, should it come back (a phone change closes it).
    if (!document || parameters == record->GetUserParameters()) {
        choices.Remember(*parameters, choices.GetSource());
        return parameters;
    }
    FitToDocument(converter, parameters, document);
    const QString source = document->GetName();
    if (source == choices.GetSource())
        CParameterChoices::Overlay(*parameters, fitted);
    else
        choices.DropReplaced(*parameters, fitted);
    choices.Remember(*parameters, source);
    return parameters;
}
