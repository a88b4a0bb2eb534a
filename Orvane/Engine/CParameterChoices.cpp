#include "CParameterChoices.h"
#include "Parameters/CParameters.h"
#include "Parameters/ParameterValue.h"

void CParameterChoices::Attach(const CParameters* parameters)
{
    if (parameters == m_pParameters)
        return;
    Clear();
    m_pParameters = parameters;
}

void CParameterChoices::NoteEdits(const CParameters& parameters)
{
    const QMap<QString, CParameter*>& map = parameters.GetParameterMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant value = ParameterValue::Of(it.value());
        const QVariant before = m_HasFitted ? m_Fitted.value(it.key()) : ParameterValue::DeclaredOf(it.value());
        if (value != before)
            m_Chosen.insert(it.key(), value);
    }
}

void CParameterChoices::DropReplaced(const CParameters& parameters, const Values& fitted)
{
    for (auto it = fitted.cbegin(); it != fitted.cend(); ++it) {
        if (ParameterValue::Of(parameters.GetParameter(it.key())) != it.value())
            m_Chosen.remove(it.key());
    }
}

void CParameterChoices::Remember(const CParameters& parameters, const QString& source)
{
    m_Fitted.clear();
    const QMap<QString, CParameter*>& map = parameters.GetParameterMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        m_Fitted.insert(it.key(), ParameterValue::Of(it.value()));
    m_HasFitted = true;
    m_Source = source;
}

void CParameterChoices::Clear()
{
    m_pParameters = nullptr;
    m_Chosen.clear();
    m_Fitted.clear();
    m_HasFitted = false;
    m_Source.clear();
}

void CParameterChoices::Overlay(CParameters& parameters, const Values& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        CParameter* parameter = parameters.GetParameter(it.key());
        if (parameter && !parameter->mIsConst)
            ParameterValue::Set(parameter, it.value());
    }
}

CParameterChoices::Values CParameterChoices::AsFitted(const CParameters& parameters, const Values& values)
{
    Values fitted;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (const CParameter* parameter = parameters.GetParameter(it.key()))
            fitted.insert(it.key(), ParameterValue::Of(parameter));
    }
    return fitted;
}
