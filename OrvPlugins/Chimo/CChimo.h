#pragma once
// The one-line melody exporter: a MIDI or melody document becomes the maker's
// QBR buzzer melody within the phone's note range and size limit, with a
// wave preview of the written events.
#include "Melody/IBrimselEvent.h"
#include "Melody/MelodyPreviewWalk.h"
#include "Plugin/CDebugFolder.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/ProgressPump.h"

#include <QString>

class CChimo : public CPluginBase
{
public:
    // The three parts of a conversion, each a third of the progress bar.
    enum ProgressStage
    {
        StageMelody = 0,
        StageNotes = 1,
        StagePreview = 2
    };

    CChimo();
    ~CChimo() override;

    int UnloadResources() override;
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

    void ReportProgress(int percent, int stage);
    // The folder beside the source that receives the debug files, emptied of
    // this converter's earlier files; empty when none are to be written.
    QString PrepareDebugFolder(CDocument* document);
    // Plays the events from index `from` into the preview wave, each loop
    // body as many times as its opening says, and goes on after it.
    void GeneratePreview(IBrimselNotes& events, int tempo, int from, int to);

    bool IsDebugEnabled() const { return m_bDebug; }
    const QString& GetDebugFolder() const { return m_DebugFolder.GetFolder(); }

    // The one converter of the loaded plug-in, for the library's progress
    // callbacks, which carry no object.
    static CChimo* GetLiveConverter();

private:
    void LogMessage(const char* id);

    bool m_bDebug = false;
    CDebugFolder m_DebugFolder;
    CMelodyPreviewWalk m_PreviewWalk;
    ProgressPump m_ProgressPump;
};
