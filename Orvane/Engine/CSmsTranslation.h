#pragma once
#include <QString>

class CEngineHost;
class COrvEngine;
class CEngineState;
class CGenerationInfo;
class CPluginBase;
class CPluginClass;

// The SMS tab's translation: the translator imports the source file itself, converts it, and every output chunk
// (one per short message) is written to a file of its own. Nothing of the run is kept afterwards.
class CSmsTranslation
{
public:
    explicit CSmsTranslation(COrvEngine& engine);

    // outputName, when not empty, gives the folder and base name of the files; else the info's destination
    // folder and the source's base name do.
    void Run(const CGenerationInfo& info, const QString& outputName);

    // The file of chunk index of count.
    static QString MakeOutputFileName(const CGenerationInfo& info, const QString& outputName, int index, int count,
                                      const QString& extension);

private:
    void Translate(CPluginClass& record, const CGenerationInfo& info, const QString& outputName);
    void WriteChunks(CPluginBase* translator, const CGenerationInfo& info, const QString& outputName);

    CEngineHost& m_Host;
    CEngineState& m_State;
    COrvEngine& m_Engine;
};
