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
    switch (parameter->mType) {
    case CParameter::INT_TYPE: {
        const auto* typed = static_cast<const CIntParameter*>(parameter);
        return Message("id_param_phone_range").arg(phone, QString::number(typed->mMin), QString::number(typed->mMax));
    }
    case CParameter::FLOAT_TYPE: {
        const auto* typed = static_cast<const CFloatParameter*>(parameter);
        return Message("id_param_phone_range")
            .arg(phone, ParameterValue::Text(parameter, typed->mMin), ParameterValue::Text(parameter, typed->mMax));
    }
    case CParameter::ENUM_TYPE:
        return Message("id_param_phone_lacks").arg(phone, asked);
    default:
        return Message("id_param_phone_lacks").arg(phone, parameter->mName);
    }
}

} // namespace

QList<CPhoneChange> ParameterFitting::FilterWithProfile(CPluginBase* converter, CParameters* parameters,
                                                        CProfile* profile)
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

QList<CPhoneChange> ParameterFitting::FitToPhone(CPluginBase* converter, CParameters* parameters, CProfile* profile)
{
    if (parameters)
        parameters->RestoreDeclared();
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
                                                 CDocument* document)
{
    CParameters* parameters = WorkingSet(record);
    if (!parameters)
        return nullptr;
    CPluginBase* converter = record->GetConverter();
    choices.Attach(parameters);
    choices.NoteEdits(*parameters);
    // The file with the choices laid over it, fitted to the phone. A choice the phone does not keep is left out,
    // so that the phone fits the file's value in its place.
    parameters->RestoreDeclared();
    CParameterChoices::Overlay(*parameters, choices.GetChosen());
    FilterWithProfile(converter, parameters, profile);
    const CParameterChoices::Values kept = CParameterChoices::Kept(*parameters, choices.GetChosen());
    if (kept.size() != choices.GetChosen().size()) {
        parameters->RestoreDeclared();
        CParameterChoices::Overlay(*parameters, kept);
        FilterWithProfile(converter, parameters, profile);
    }
    // A parameter file's values are the user's choice: no source replaces them.
    if (!document || parameters == record->GetUserParameters()) {
        choices.Remember(*parameters, QString());
        return parameters;
    }
    FitToDocument(converter, parameters, document);
    const QString source = document->GetName();
    if (source == choices.GetSource())
        CParameterChoices::Overlay(*parameters, kept);
    else
        choices.DropReplaced(*parameters, kept);
    choices.Remember(*parameters, source);
    return parameters;
}
