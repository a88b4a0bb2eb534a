#include "CPluginClass.h"
#include "Parameters/CParameters.h"
#include "Plugin/CPluginBase.h"

CPluginClass::~CPluginClass()
{
    if (mpConverter) {
        mpConverter->UnloadResources();
        delete mpConverter;
    }
    delete mpUserParameters;
    delete mpStartupParameters;
    delete mpDefaultParameters;
}

void CPluginClass::SetUserParameters(CParameters* parameters, const QString& file)
{
    mUserParametersFile = parameters ? file : QString();
    if (parameters == mpUserParameters)
        return;
    delete mpUserParameters;
    mpUserParameters = parameters;
}

CPluginClass* PluginClassAt(const QList<CPluginClass*>& list, int index)
{
    if (index < 0 || index >= list.size())
        return nullptr;
    return list.at(index);
}

CPluginBase* ConverterAt(const QList<CPluginClass*>& list, int index)
{
    CPluginClass* record = PluginClassAt(list, index);
    return record ? record->GetConverter() : nullptr;
}
