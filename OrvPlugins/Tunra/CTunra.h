#pragma once
// The iMelody exporter: a MIDI or melody document becomes an iMelody ring
// tone within the phone profile's limits, with a wave preview of the tune.
#include "Melody/IMYNote.h"
#include "Melody/MelodyPreviewWalk.h"
#include "Plugin/CDebugFolder.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/ProgressPump.h"

#include <QString>

class CTunra : public CPluginBase
{
public:
    // The three parts of a conversion, each a third of the progress bar.
    enum ProgressPhase
    {
        PhaseMelody = 0,
        PhaseNotes = 1,
        PhasePreview = 2
    };

    CTunra();
    ~CTunra() override;

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

    // The folder beside the source that receives the debug files, emptied
    // of this converter's earlier files; empty when none are to be written.
    QString PrepareDebugFolder(CDocument* document);
    void ReportProgress(int percent, int phase);
    // Plays the events from index from into the preview wave, loops
    // repeated; a loop close that no opening in the walk matches ends it.
    void GeneratePreview(IMYNotes& events, int tempo, int from, int to);

    int GetProgressPhase() const { return m_nProgressPhase; }
    bool IsDebugEnabled() const { return m_bDebug; }
    const QString& GetDebugFolder() const { return m_DebugFolder.GetFolder(); }

    // The one converter of the loaded plug-in, for the library's progress
    // callbacks, which carry no object.
    static CTunra* GetLiveConverter();

private:
    void LogMessage(const char* id);
    bool WriteDebugFile(const QString& name, const QByteArray& bytes);

    int m_nProgressPhase = PhaseMelody;
    bool m_bDebug = false;
    CDebugFolder m_DebugFolder;

    // Progress bookkeeping: the preview walk, and the event loop run as the bar moves.
    CMelodyPreviewWalk m_PreviewWalk;
    ProgressPump m_ProgressPump;
};
