#pragma once
// The MSEQ exporter: a MIDI document becomes a polyphonic sequence that the
// phone can play within its budgets, with a synthesised wave preview.
#include "MseqRender.h"

#include "Plugin/CDebugFolder.h"
#include "Plugin/CPluginBase.h"

#include <QString>

struct PolyraProfile;

class CPolyra : public CPluginBase, public IMseqProgressSink
{
public:
    // Which synthesis the progress reports belong to.
    enum ProgressPhase
    {
        PhaseNone = 0,
        PhaseAnalysis = 1,
        PhaseFinal = 2
    };

    CPolyra();

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
    int IsCancelable() override;
    int Cancel() override;
    // The media script in the source's folder, which a conversion reads beside the MIDI document.
    QStringList GetNamedFiles(const QString& sourcePath, qint64 sourceByteLimit) override;

    // Modes: 1 and 2 start a synthesis, 3 its percent, 4 the merge's beat.
    void ReportProgress(const char* text, int value, int mode) override;

    int GetProgressPhase() const { return m_nProgressPhase; }
    const QString& GetDebugFolder() const { return m_DebugFolder.GetFolder(); }

private:
    // The settings reader's messages, through a plain callback.
    static void ReportSettingMessage(void* converter, const char* id);
    void LogMessage(const char* id);
    // A message of a file's name and a text the program worded about it (a reason, a size): the name is shown
    // (ShowName), the text, whose names are shown already, stands as it is.
    void LogMessage(const char* id, const QString& name, const QString& text);
    // False, said in the log, when the phone or the run leaves nothing to convert with.
    bool CanConvertWith(const PolyraProfile& profile);
    // The media script beside the source into script (found when there is one). False, said in the log, when it
    // is the run log, not a regular file, or too large.
    bool ReadMediaScript(QByteArray& script, bool& found);
    // At least one instrument is offered and kept.
    bool HasKeptInstrument() const;
    void WriteDebugFiles(const QByteArray& format0, const QByteArray& dest, const QByteArray& sequence,
                         const QByteArray& wave);

    int m_nProgressPhase = PhaseNone;
    CDebugFolder m_DebugFolder;
};
