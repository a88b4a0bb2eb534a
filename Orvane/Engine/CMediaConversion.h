#pragma once

class COrvApplication;
class CEngineState;
class CGenerationInfo;
class CPluginBase;

// The media tab's conversion: converts the loaded document with one converter of the current profile, keeps
// the joined output and the converter's preview as the current result, and leaves the loaded document as it
// was. Reports in the run log and through the application's Report.
class CMediaConversion
{
public:
    CMediaConversion(COrvApplication& application, CEngineState& state);

    void Run(const CGenerationInfo& info);

private:
    // The converter is ready (profile, parameters, progress); 1 when it converted.
    int Convert(CPluginBase* converter);

    COrvApplication& m_Application;
    CEngineState& m_State;
};
