// The conversion: a wave document in, one VOX chunk and its decoded preview
// out. Nothing is handed over before everything that can fail has run, so a
// failed conversion leaves neither a chunk nor a preview.
#include "CPlexa.h"
#include "PlexaLog.h"
#include "PlexaSettings.h"
#include "VoxCodec.h"

#include "Util/Assert.h"
#include "Util/CMemFile.h"
#include "Wave/CDocumentWave.h"

#include <cstring>
#include <memory>

namespace {
constexpr unsigned kVoxRate = 8000;
constexpr int kVoxBits = 16;
constexpr int kVoxChannels = 1;
constexpr uint32_t kFrameBytes = 320;
constexpr int kWavHeaderBytes = 44;

// The WAV file of a wave document's input, for the debug folder.
QByteArray WaveFileOf(const CDocumentWave& wave)
{
    QByteArray bytes(reinterpret_cast<const char*>(&wave.m_WAVEheader), kWavHeaderBytes);
    bytes.append(reinterpret_cast<const char*>(wave.m_pInputData), qsizetype(wave.m_WAVEheader.data_ckSize));
    return bytes;
}

// The resampled samples belong to the source document only for the length
// of one conversion; they go as soon as they are coded.
class OutputRelease
{
public:
    explicit OutputRelease(CDocumentWave* wave) : mpWave(wave) {}
    ~OutputRelease() { Release(); }
    void Release()
    {
        if (mpWave->HasOutputData())
            mpWave->FreeOutputData();
    }
    OutputRelease(const OutputRelease&) = delete;
    OutputRelease& operator=(const OutputRelease&) = delete;

private:
    CDocumentWave* mpWave;
};
} // namespace

bool CPlexa::Convert(CDocument* document)
{
    // An earlier preview the host did not take is not this conversion's.
    delete mpPreviewDocument;
    mpPreviewDocument = nullptr;
    if (!document)
        return false;
    if (document->GetDocType() != CDocument::WAVE) {
        LogMessage("id_document_not_compatible");
        return false;
    }
    ASSERT_TEXT(GetParameters(), "GetParameters()");
    ASSERT_TEXT(GetProfile(), "GetProfile()");
    if (!GetParameters() || !GetProfile())
        return false;

    const PlexaSettings settings = PlexaSettings::Read(GetParameters());
    SetCurrentLog(&mConversionLog);
    PrepareDebugFolder(document, settings.bDebugFiles);
    m_ProgressPump.Restart();
    const bool ok = ConvertWave(static_cast<CDocumentWave*>(document), settings);
    SetCurrentLog(nullptr);
    // A debug file that cannot be written fails the conversion; the log says which and why.
    return ok && !m_DebugFolder.HasFailed();
}

bool CPlexa::ConvertWave(CDocumentWave* wave, const PlexaSettings& settings)
{
    wave->ConvertFormat(kVoxChannels, kVoxBits, kVoxRate);
    OutputRelease release(wave);
    if (!wave->HasOutputData()) {
        LogMessage("id_not_proper_wav_file");
        return Fail();
    }
    const WAVEHEADER& header = wave->m_OutputWAVEheader;
    // Under one whole frame there is nothing to code: the clip would hold
    // no message at all.
    if (header.nSamplesPerSec == kVoxRate && header.data_ckSize < kFrameBytes) {
        LogMessage("id_sound_too_short");
        return Fail();
    }

    unsigned char headerBytes[kWavHeaderBytes];
    std::memcpy(headerBytes, &header, sizeof(headerBytes));

    // A long clip would otherwise hold its sound several times over: the 8 kHz
    // samples are coded where they lie and freed before the preview is decoded
    // straight into its document.
    CMemFile vox;
    if (!EncodeVox(headerBytes, wave->GetOutputData(), header.data_ckSize, vox, settings.VocoderName, settings.bNoDtx,
                   this))
        return Fail();
    release.Release();
    std::unique_ptr<CDocumentWave> preview(new CDocumentWave);
    if (!DecodeVox(vox, *preview))
        return Fail();
    if (m_bDebug) {
        m_DebugFolder.Write(QStringLiteral("out.vox"), vox.View());
        m_DebugFolder.Write(QStringLiteral("PreviewVox.wav"), WaveFileOf(*preview));
        CMemFile none;
        const bool traced = DecodeVox(vox, none, true);
        SaveTrace();
        if (!traced)
            return false;
    }
    mRawDataList.append(vox.Bytes());
    mpPreviewDocument = preview.release();
    return true;
}

bool CPlexa::Fail()
{
    if (m_bDebug)
        SaveTrace();
    return false;
}

void CPlexa::SaveTrace()
{
    QByteArray text = mConversionLog.GetSummaryText().toLatin1();
    text.append('\0');
    m_DebugFolder.Write(QStringLiteral("TraceVox.txt"), text);
}
