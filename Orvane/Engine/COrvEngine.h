#pragma once
// The conversion engine's facade: the one object the application's engine slots relay to. It owns the
// engine's state and is given everything else through CEngineHost.
#include "CEngineState.h"
#include "Documents/CDocument.h"
#include "Util/Types.h"
#include <QObject>
#include <QString>
#include <QStringList>

class CBatchInfoList;
class CEngineHost;
class CGenerationInfo;
class CParameterChoices;
class CParameters;
class CPluginClass;

class COrvEngine : public QObject
{
    Q_OBJECT
public:
    explicit COrvEngine(CEngineHost& host);
    ~COrvEngine() override;

    CEngineHost& Host() { return m_Host; }
    // The documents, results and run state; the window-side hooks are set here too.
    CEngineState& State() { return m_State; }
    const CEngineState& State() const { return m_State; }

    // Media tab.
    void LoadMediaAsked(QString& path, int converter, B32& success);
    void ClearMediaAsked();
    void GetLoadedDocument(CDocument** document);
    void GetPreviewDocument(CDocument** document);
    void GetPreviewRawData(CDocument** document);
    void GetResultFileName(QString& name);
    void GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& names, const QString& base, int converter);
    void LoadPreviewAsked(const QStringList& names, CDocument::DOCTYPE type, B32& success);
    void SaveAsked(B32 savePreview, QString folder, QString sourceName, B32& saved);
    void GetExportExtension(QString& extension);
    void GetExportExtensionForConverter(QString& extension, int converter);
    void GetExportExtensionForTranslator(QString& extension, int translator);
    void SetResizeOption(B32 on);

    // Parameters.
    void GetConverterParameters(int converter, CParameters** parameters);
    void GetTraductorParameters(int translator, CParameters** parameters, QString& source);
    void SaveParamsAsked(QString path, CParameters* parameters);
    void LoadParamsAsked(int converter, QString path);
    void LoadDefaultParamsAsked(int converter);
    void LoadTraductorParamsAsked(int translator, QString path);
    void LoadDefaultTraductorParamsAsked(int translator);
    // What the user chose in the record's parameter form.
    CParameterChoices& ChoicesOf(const CPluginClass* record);
    // Before a run of the media or SMS tab: the form's set, when the run uses it, fitted again to the phone and
    // the source as a batch entry's is, and each value the phone changed said in the run log as a batch says it.
    void FitFormSetForRun(CPluginClass* record, const CParameters* parameters, CDocument* document);

    // Conversion, translation, batch and command-line runs.
    void ConvertionAsked(B32 rawData, CGenerationInfo* info);
    void TranslationAsked(CGenerationInfo* info, QString outputName);
    void LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result);
    B32 RunCommandLine();
    // The files besides the source that the command-line job reads for that source argument
    // (CCommandLineRun::NamedFiles).
    QStringList CommandLineNamedFiles(const QString& source);

    // Forgets every document and result, at shut-down (before the plug-ins that made them are unloaded).
    void Clear();

public slots:
    // Converters' progress: the engine shows its own text with the converter's value.
    void ProgressForConvertion(const QString text, int progress);
    void ProgressForTranslation(const QString text, int progress);
    void ProgressForBatch(const QString text, int progress);
    void CancelConvertion();
    void CancelBatch();

private:
    CEngineHost& m_Host;
    CEngineState m_State;
};
