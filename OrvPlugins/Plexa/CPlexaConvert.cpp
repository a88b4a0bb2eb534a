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

#include <cerrno>
#include <cstring>

namespace {
constexpr unsigned kVoxRate = 8000;
constexpr int kVoxBits = 16;
constexpr int kVoxChannels = 1;
constexpr uint32_t kFrameBytes = 320;
constexpr int kWavHeaderBytes = 44;

QByteArray BytesOf(const CMemFile& file)
{
    return QByteArray(reinterpret_cast<const char*>(file.GetBuffer()), int(file.GetSize()));
}

// The resampled samples belong to the source document only for the length
// of one conversion.
class OutputRelease
{
public:
    explicit OutputRelease(CDocumentWave* wave) : mpWave(wave) {}
    ~OutputRelease()
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
    return ok;
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

    CMemFile input;
    input.SetData(wave->GetOutputData(), header.data_ckSize);
    input.Rewind();
    unsigned char headerBytes[kWavHeaderBytes];
    std::memcpy(headerBytes, &header, sizeof(headerBytes));

    CMemFile vox;
    if (!EncodeVox(headerBytes, input, vox, settings.VocoderName, settings.bNoDtx, this))
        return Fail();
    CMemFile wav;
    if (!DecodeVox(vox, wav, false))
        return Fail();
    const QByteArray voxBytes = BytesOf(vox);
    if (m_bDebug) {
        m_DebugFolder.Write(QStringLiteral("out.vox"), voxBytes);
        m_DebugFolder.Write(QStringLiteral("PreviewVox.wav"), BytesOf(wav));
        CMemFile none;
        const bool traced = DecodeVox(vox, none, true);
        SaveTrace();
        if (!traced)
            return false;
    }
    CDocumentWave* preview = MakePreview(wav);
    if (!preview) {
        LogErrorId("id_error_writing_output_file", QString::fromLocal8Bit(std::strerror(ENOMEM)));
        return Fail();
    }
    mRawDataList.append(voxBytes);
    mpPreviewDocument = preview;
    return true;
}

bool CPlexa::Fail()
{
    if (m_bDebug)
        SaveTrace();
    return false;
}

void CPlexa::SaveTrace() const
{
    QByteArray text = mConversionLog.GetSummaryText().toLatin1();
    text.append('\0');
    m_DebugFolder.Write(QStringLiteral("TraceVox.txt"), text);
}

CDocumentWave* CPlexa::MakePreview(const CMemFile& wav)
{
    if (wav.GetSize() < uint32_t(kWavHeaderBytes))
        return nullptr;
    CDocumentWave* preview = new CDocumentWave;
    preview->SetHeader(wav.GetBuffer());
    const uint32_t available = wav.GetSize() - kWavHeaderBytes;
    const uint32_t size = qMin(preview->m_WAVEheader.data_ckSize, available);
    if (size > 0 && preview->SetInputData(wav.GetBuffer() + kWavHeaderBytes, size) != size) {
        delete preview;
        return nullptr;
    }
    return preview;
}
