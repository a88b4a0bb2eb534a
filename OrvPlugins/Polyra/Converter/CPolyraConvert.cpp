// One conversion: settings in, the pipeline, the sequence and its preview
// out, and the debug files beside the source.
#include "CPolyra.h"

#include "MediaScriptFile.h"
#include "PolyraPipeline.h"
#include "PolyraSettings.h"

#include "Documents/CDocument.h"
#include "Import/SourceNamedFiles.h"
#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CRunFiles.h"
#include "Util/Assert.h"
#include "Util/CMemFile.h"
#include "Wave/CDocumentWave.h"
#include "Wave/WaveHeader.h"

#include <QDir>

#include <cstring>

namespace {
const uint32_t kWaveHeaderSize = 44;

// The preview from the rendered wave: its header, then as many sample bytes
// as the header says and the file holds. The preview takes the wave's buffer
// over, which leaves the wave empty.
CDocumentWave* PreviewOf(CMemFile& wave)
{
    if (wave.GetSize() < kWaveHeaderSize)
        return nullptr;
    WAVEHEADER header;
    std::memcpy(&header, wave.GetBuffer(), sizeof header);
    const uint32_t available = wave.GetSize() - kWaveHeaderSize;
    const uint32_t samples = header.data_ckSize < available ? header.data_ckSize : available;
    CDocumentWave* document = new CDocumentWave;
    document->SetHeader(&header);
    document->AdoptInputData(wave.TakeBuffer(), kWaveHeaderSize, samples);
    return document;
}

} // namespace

void CPolyra::ReportSettingMessage(void* converter, const char* id)
{
    static_cast<CPolyra*>(converter)->LogMessage(id);
}

bool CPolyra::Convert(CDocument* document)
{
    if (!document)
        return false;
    if (document->GetDocType() != CDocument::MIDI) {
        LogMessage("id_document_not_compatible");
        return false;
    }
    ASSERT(mpCurrentParameters);
    ASSERT(mpProfile);
    if (!mpCurrentParameters || !mpProfile) {
        LogMessage("id_no_parameters_or_profile");
        return false;
    }
    if (!HasKeptInstrument()) {
        LogMessage("id_at_least_one_instrument_must_be_selected");
        return false;
    }

    const bool bassMute = mpCurrentParameters->GetBoolParameter(QStringLiteral("BassMute")) != nullptr;
    const PolyraProfile profile = PolyraProfile::Read(mpProfile);
    QByteArray script;
    bool hasScript = false;
    if (!CanConvertWith(profile) || (!bassMute && !ReadMediaScript(script, hasScript)))
        return false;
    const PolyraParameters parameters =
        PolyraParameters::Read(mpCurrentParameters, mpProfile, bassMute, &CPolyra::ReportSettingMessage, this);

    const QByteArray& midi = static_cast<CDocumentMidi*>(document)->GetFirstSequenceBytes();
    CMemFile source, format0, dest, sequence, wave;
    source.SetData(reinterpret_cast<const uchar*>(midi.constData()), uint(midi.size()));
    PolyraFiles files{source, format0, dest, sequence, wave, hasScript ? &script : nullptr};
    m_DebugFolder.Prepare(document, !bassMute, GetRunFiles(), &mConversionLog);

    m_nProgressPhase = PhaseNone;
    PolyraResults results;
    const PolyraOutcome outcome =
        Polyra::RunPipeline(profile, parameters, files, results, &mConversionLog, this, bassMute);
    if (outcome == PolyraOutcome::NoClassKept)
        LogMessage("id_not_a_valid_midi_file");
    // The debug files are written from the files themselves, before the preview takes the wave.
    if (!bassMute)
        WriteDebugFiles(format0.View(), dest.View(), sequence.View(), wave.View());
    if (outcome == PolyraOutcome::Done) {
        mRawDataList.append(sequence.Bytes());
        // A preview the host did not take over is the converter's to free.
        delete mpPreviewDocument;
        mpPreviewDocument = PreviewOf(wave);
    }
    // A debug file that cannot be written fails the conversion; the log says which and why.
    return outcome == PolyraOutcome::Done && !m_DebugFolder.HasFailed();
}

bool CPolyra::CanConvertWith(const PolyraProfile& profile)
{
    // Every note would be over the budget and dropped, which would only show as a silent file.
    if (profile.loads[0].maximum <= 0) {
        LogMessage("id_no_polyphony");
        return false;
    }
    return true;
}

QStringList CPolyra::GetNamedFiles(const QString& sourcePath, qint64)
{
    return {MediaScript::PathIn(SourceNamedFiles::FolderOf(sourcePath))};
}

bool CPolyra::ReadMediaScript(QByteArray& script, bool& found)
{
    found = false;
    // Read from the source's folder: one that is the run log would hold the log's lines.
    const QString path = MediaScript::PathIn(QDir::currentPath());
    const QString refusal = CRunFiles::NamedFileRefusal(GetRunFiles(), path);
    if (!refusal.isEmpty()) {
        LogMessage("id_media_script_unreadable", path, refusal);
        return false;
    }
    QString reason;
    qint64 size = 0;
    switch (MediaScript::ReadFile(path, script, reason, size)) {
    case MediaScript::Read:
        found = true;
        return true;
    case MediaScript::Absent:
        return true;
    case MediaScript::Refused:
        break;
    }
    if (size > 0)
        LogMessage("id_media_script_too_large", path, QString::number(size));
    else
        LogMessage("id_media_script_unreadable", path, reason);
    return false;
}

void CPolyra::WriteDebugFiles(const QByteArray& format0, const QByteArray& dest, const QByteArray& sequence,
                              const QByteArray& wave)
{
    if (!m_DebugFolder.IsActive())
        return;
    // The log as the conversion log saves itself: Latin-1 and a closing zero.
    m_DebugFolder.Write(QStringLiteral("Trace.txt"), mConversionLog.GetSummaryText().toLatin1() + '\0');
    m_DebugFolder.Write(QStringLiteral("Format0.mid"), format0);
    m_DebugFolder.Write(QStringLiteral("Dest.mid"), dest);
    m_DebugFolder.Write(QStringLiteral("Out.seq"), sequence);
    m_DebugFolder.Write(QStringLiteral("Preview.wav"), wave);
}
