#pragma once
// The speech clip exporter: a wave document becomes a VOX clip of coded
// 20 ms frames at 8000 Hz, and the clip decoded again is the preview.
#include "Plugin/CDebugFolder.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/ProgressPump.h"

#include <QString>

class CDocumentWave;
class CMemFile;
struct PlexaSettings;

class CPlexa : public CPluginBase
{
public:
    CPlexa();
    ~CPlexa() override;

    int IsCompatibleWithProfile(CProfile* profile) override;
    void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply) override;
    void FilterParametersWithDocument(CParameters* parameters, CDocument* document) override;
    int GetDocumentType() override;
    int GetPreviewDocumentType() override;
    int GetConverterType() override;
    int GetImportExtensionCount() override;
    QString GetImportExtension(int index) override;
    QString GetExportExtension() override;
    QString GetDescription() override;
    QString GetParametersFileName() override;
    CDocument* Import(const QByteArray& bytes) override;
    bool Convert(CDocument* document) override;

    // Shows progress; with emitSignal 1, the host's event loop runs when the
    // percentage has moved since the last report.
    void ReportProgress(const QString& text, int percent, int emitSignal);
    // The folder beside the source that receives the debug files, emptied of
    // this converter's earlier files; empty when they are not enabled.
    QString PrepareDebugFolder(CDocument* document, bool enabled);

    bool IsDebugEnabled() const { return m_bDebug; }
    const QString& GetDebugFolder() const { return m_DebugFolder.GetFolder(); }
    // The allow flags of the last profile filtering, in compatibility-row order.
    static bool IsRowCompatible(int row);

private:
    void LogMessage(const char* id);
    bool ConvertWave(CDocumentWave* wave, const PlexaSettings& settings);
    bool Fail();
    void SaveTrace();

    bool m_bDebug = false;
    CDebugFolder m_DebugFolder;
    ProgressPump m_ProgressPump;
};
