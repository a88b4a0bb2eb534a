#pragma once

class CDocument;
class CEngineHost;
class CMediaFitting;
class CProgressPopup;
class COrvEngine;
class CEngineState;
class CGenerationInfo;
class CPluginBase;
class CPluginClass;

// The media tab's conversion: converts the loaded document with one converter of the current profile, keeps
// the joined output and the converter's preview as the current result, and leaves the loaded document as it
// was. Reports in the run log and through the application's Report.
class CMediaConversion
{
public:
    explicit CMediaConversion(COrvEngine& engine);

    void Run(const CGenerationInfo& info);

private:
    // Fits the document to the converter and the phone (the caller restores it) and converts it; 1 when it
    // converted.
    int FitAndConvert(const CGenerationInfo& info, CPluginClass* record, CDocument* document, CMediaFitting& fitting,
                      CProgressPopup& popup);
    // The converter is ready (profile, parameters, progress); 1 when it converted.
    int Convert(CPluginBase* converter);

    CEngineHost& m_Host;
    CEngineState& m_State;
    COrvEngine& m_Engine;
};
