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
    delete mpDefaultParameters;
}

void CPluginClass::SetUserParameters(CParameters* parameters)
{
    if (parameters == mpUserParameters)
        return;
    delete mpUserParameters;
    mpUserParameters = parameters;
}
